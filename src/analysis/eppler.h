// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The airfoil analysis engine: panel solution of the potential flow, integral
// boundary layer on both sides, lift, moment and drag coefficients.
//
// Storage follows the engine's fixed-capacity, single-precision layout: every
// stored number is a float, expressions are evaluated in double and rounded
// when stored. The algorithms number nodes, angles and Reynolds numbers from
// 1; in the arrays below element 0 holds number 1.

#include "analysis/boundarylayertrace.h"

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>

namespace velmora {

inline constexpr int kMaxNodes = 500;
inline constexpr int kMaxAngles = 14;
inline constexpr int kMaxReynolds = 5;
// The analysis commands refuse larger profiles before the engine runs.
inline constexpr int kMaxProfilePoints = 450;
// Fewer nodes do not make a contour the panel solution can close.
inline constexpr int kMinNodes = 4;

// The one error type of the engine: every numerical fault (non-finite
// intermediate result, logarithm or root of a non-positive number, division
// by zero, singular system, non-converging tangent fit) and every input it
// cannot analyse. The output of a failed run must not be used. what() is a
// diagnostic for developers; the commands show their own message.
class EpplerError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct TEpplerInput
{
    // Nodes in profile order: upper trailing-edge point first, along the
    // upper side round the nose, back along the lower side to the lower
    // trailing-edge point. Chord units; x of node 1 is the reference chord.
    int32_t pointCount = 0; // kMinNodes..kMaxNodes
    std::array<float, kMaxNodes> x{};
    std::array<float, kMaxNodes> y{};
    std::array<float, kMaxReynolds> reynolds{}; // chord Reynolds numbers, > 0
    int32_t reynoldsCount = 1;                  // 1..kMaxReynolds
    std::array<float, kMaxAngles> alphas{};     // geometric angles of attack, degrees; <= -99 means 0
    int32_t alphaCount = 1;                     // 1..kMaxAngles
    int32_t angleMode = 1;                      // only 1 (geometric angles, speed ratio output)
};

// Boundary-layer result of one side at one angle and Reynolds number.
struct TSideResult
{
    float transitionRun = 0; // arc length transition point -> trailing edge; 0 = laminar throughout
    float separatedRun = 0;  // arc length turbulent separation -> trailing edge; 0 = attached
    float sideDrag = 0;      // magnitude of the side's Squire-Young drag share
    float bubbleFlag = 0;    // 1 when the transition is flagged as a laminar bubble, else 0
    // Chordwise transition position: x of the contour point transitionRun
    // from the trailing edge along the side, within 0..1; 1 when laminar
    // throughout. Equals 1 - transitionRun on a flat surface of unit chord.
    float transitionX = 1;
};

// Per-angle arrays are indexed [angle][Reynolds number], both from 0.
struct TEpplerOutput
{
    using AngleReynolds = std::array<std::array<float, kMaxReynolds>, kMaxAngles>;
    using SideResults = std::array<std::array<TSideResult, kMaxReynolds>, kMaxAngles>;

    AngleReynolds alphaRel{}; // angle from the zero-lift line, degrees
    AngleReynolds ca{};       // lift coefficient
    AngleReynolds cm{};       // moment coefficient about (0.25, 0), nose-up positive
    AngleReynolds cw{};       // drag coefficient
    SideResults upper{};
    SideResults lower{};
    std::array<std::array<float, kMaxAngles>, kMaxNodes> nodeValue{}; // |v/V| per node and angle
    std::array<float, kMaxNodes> xOut{};
    std::array<float, kMaxNodes> yOut{};
    int32_t pointCountOut = 0;
    float zeroLiftAngle = 0; // degrees
    float liftAt0 = 0;       // inviscid lift coefficients of the free streams along +x and +y
    float liftAt90 = 0;
};

// Owns the engine's working storage (a few megabytes, on the heap) and the
// panel solution of the last contour it analysed. A run on a contour with
// exactly the same coordinates reuses that solution; the results are
// bit-identical to a fresh solver's. Not thread-safe; one solver per thread.
class HelperThread;

class EpplerSolver
{
public:
    EpplerSolver();
    ~EpplerSolver();
    EpplerSolver(const EpplerSolver &) = delete;
    EpplerSolver &operator=(const EpplerSolver &) = delete;

    // Runs the whole analysis for every angle and Reynolds number of the
    // input. Throws EpplerError; never returns a non-finite value, nor a
    // result outside physical bounds (zero-lift angle beyond +-30 degrees,
    // |ca| above 5, cw above 1): those belong to contours the panel solution
    // cannot take and fail the run.
    TEpplerOutput run(const TEpplerInput &input);
    // Same, writing into an existing output (avoids a 30 kB temporary).
    void run(const TEpplerInput &input, TEpplerOutput &output);
    // Same, and records the boundary-layer march of angle trace->angle and
    // Reynolds number trace->reynolds (numbered from 0 within the input's
    // lists) into *trace; without a trace (nullptr) exactly the run above.
    // Numbers outside the lists record nothing (empty sides).
    void run(const TEpplerInput &input, TEpplerOutput &output, BoundaryLayerTrace *trace);

    // Computes the panel solution of the input's contour (its points only are
    // read), or keeps it when the solver holds it already, without running
    // any angle. Throws EpplerError when the contour cannot be solved.
    void solvePanel(const TEpplerInput &input);

    // How many panel solutions this solver has computed (reuses do not count).
    int panelSolutionCount() const;

    // Takes over the panel solution `other` holds (copied), so that a run on
    // the same contour reuses it, bit-identical to a run on `other`. Lets
    // several threads, each with its own solver, share one solution. False
    // when `other` holds none.
    bool adoptPanelSolution(const EpplerSolver &other);
    // True when the solver holds the panel solution of the last contour it
    // was given: after a failed run, false means the contour itself failed.
    bool holdsPanelSolution() const;

    // Threads of the panel solution: 0 one per core (at most two), 1 the
    // caller's only. `helper`, when given, is the second thread instead of
    // one the solver keeps of its own; it must outlive the solver's use of
    // it. The results do not depend on either.
    void setPanelThreads(int threads, HelperThread *helper = nullptr);

private:
    void ensurePanelSolution(const TEpplerInput &input);

    struct Work;
    std::unique_ptr<Work> m_work;
};

// Stateless convenience: a fresh solver for one run.
TEpplerOutput EpplerRun(const TEpplerInput &input);

} // namespace velmora

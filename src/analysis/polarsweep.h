// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Polars of one profile over an angle sweep at up to five Reynolds numbers,
// computed on several threads. The sweep is cut into the engine's batches of
// up to kMaxAngles angles; the panel solution is computed once and every
// thread's solver takes a copy, so the result does not depend on the number
// of threads: it is bit-identical to the run on one thread.

#include "analysis/eppler.h"
#include "analysis/helperthread.h"
#include "model/profile.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// One angle of one Reynolds number. When `valid` is false the engine failed
// there: the polar has a gap, the numbers are meaningless.
struct PolarSample
{
    float alpha = 0; // geometric angle of attack, degrees, as swept
    bool valid = false;
    float ca = 0;
    float cm = 0;
    float cw = 0;
    float xtrUpper = 0; // transition position, chord fraction (1 = laminar throughout)
    float xtrLower = 0;
};

struct PolarCurve
{
    double re = 0;
    std::vector<PolarSample> samples; // sweep order
    int failed = 0;                   // samples without a result
};

// The angles of a sweep as the transition polar's fields give them.
struct PolarRange
{
    float start = -12.0f;
    float end = 14.0f;
    float step = 0.1f;
};

// Parses and checks the three angle texts like the transition polar does;
// returns an empty string when they are usable, else the message to show
// (one of the transition polar's messages).
std::string ParsePolarRange(std::string_view startText, std::string_view endText,
                            std::string_view stepText, PolarRange &range);

// A list of 1..kMaxReynolds positive Reynolds numbers separated by commas,
// semicolons or blanks ("1e5,2e5,5e5", "100000; 200000"). Returns an empty
// string when usable, else a German message naming the fault.
std::string ParseReynoldsList(std::string_view text, std::vector<double> &reynolds);

class PolarSweep
{
public:
    // `jobs` threads at most; 0 means one per core.
    explicit PolarSweep(int jobs = 0);
    ~PolarSweep();
    PolarSweep(const PolarSweep &) = delete;
    PolarSweep &operator=(const PolarSweep &) = delete;

    int jobs() const { return m_jobs; }
    // The solver that computes the panel solution of the next run; giving it
    // that solution beforehand (EpplerSolver::adoptPanelSolution) saves it.
    EpplerSolver &leadSolver();

    // One curve per Reynolds number (in the given order) over the angles of
    // `range` (see PolarBatches). A batch the engine rejects is retried angle
    // by angle and then per Reynolds number, so that only the angles that
    // really fail become gaps. When the contour itself cannot be solved every
    // sample is a gap. Points in profile order; more than kMaxNodes points,
    // no Reynolds number or more than kMaxReynolds give every sample a gap.
    // Never throws. `stop`, when given, is asked (from every thread of the
    // run, so it must be thread-safe) before each batch: once it says true
    // the run ends early, its curves incomplete, and stopped() is true.
    std::vector<PolarCurve> run(const std::vector<TKoordi> &points, const std::vector<double> &reynolds,
                                const PolarRange &range, const std::function<bool()> &stop = {});
    // Whether the last run ended early.
    bool stopped() const { return m_stopped; }

private:
    int m_jobs;
    bool m_stopped = false;
    std::vector<std::unique_ptr<EpplerSolver>> m_solvers; // one per thread, kept between runs
    std::vector<std::unique_ptr<HelperThread>> m_helpers;  // the threads beside the caller's, kept too
};

} // namespace velmora

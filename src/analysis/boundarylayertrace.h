// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the boundary-layer march went through on each side, node by node, for
// one angle of attack and one Reynolds number of a run: the quantities behind
// the totals, for the diagrams of the boundary-layer window and for files.
// The engine records it only when asked (EpplerSolver::run with a trace).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

enum class LayerState : uint8_t {
    Laminar,
    Turbulent,
    Separated, // turbulent and no longer attached: carried on without wall friction
};

// The layer at the end of one step, i.e. at a contour node. Lengths in chord
// units, speeds as ratios to the free stream; single precision like every
// value the engine stores.
struct TraceNode
{
    int node = 0;     // contour node, 0-based in profile order
    float s = 0;      // arc length from the stagnation point
    float x = 0;      // chordwise position of the node
    float v = 0;      // edge speed |v/V| (inside a laminar separation bubble the speed it holds)
    float delta2 = 0; // momentum thickness
    float delta3 = 0; // energy thickness
    float h32 = 0;    // delta3 / delta2 (the march's sign for the state dropped)
    float h12 = 0;    // displacement / momentum thickness
    float cf = 0;     // skin-friction coefficient tau_w / (rho/2 U^2); 0 where separated
    float cd = 0;     // dissipation coefficient of the closure; 0 where separated
    LayerState state = LayerState::Laminar;

    float delta1() const { return h12 * delta2; } // displacement thickness
};

// One side from the stagnation point to its trailing-edge node.
struct SideTrace
{
    std::vector<TraceNode> nodes;
    // Where the layer turned turbulent and where it separated, as located
    // inside the step: arc length and chordwise position, both negative when
    // it did not happen on this side.
    float transitionS = -1;
    float transitionX = -1;
    float separationS = -1;
    float separationX = -1;
    // The side's share of cw (magnitude, as in the totals).
    float drag = 0;
};

inline constexpr int kTraceUpper = 0;
inline constexpr int kTraceLower = 1;

struct BoundaryLayerTrace
{
    int angle = 0;    // which angle of the run, from 0
    int reynolds = 0; // which Reynolds number of the run, from 0
    std::array<SideTrace, 2> sides; // kTraceUpper, kTraceLower

    void clear()
    {
        for (SideTrace &s : sides)
            s = SideTrace{};
    }
};

// "laminar", "turbulent", "separated".
const char *LayerStateName(LayerState state);

// The trace as CSV: TraceCsvHeader() names the columns (side, s, x, v,
// delta2, delta3, h32, h12, state, cf, cd; no line end), TraceCsvRows gives
// one line per node, upper side first, each after `prefix` (further leading
// fields with their comma, or empty). Numbers with "." in their shortest
// single-precision form.
std::string TraceCsvHeader();
std::string TraceCsvRows(const BoundaryLayerTrace &trace, const std::string &prefix = {});

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/eppler.h"
#include "model/profile.h"

#include <condition_variable>
#include <mutex>
#include <vector>

namespace velmora {

// Hands the panel solution of a contour from the thread that computes it to
// other threads that need the same contour (the analyses and the polars of
// one edit), so that it is computed once. Thread-safe.
class PanelShare
{
public:
    // Makes `solver` hold the panel solution of `points` (profile order):
    // takes it over when it is known, waits when another thread is computing
    // it, else computes it with `solver` and publishes it. A contour the
    // engine cannot solve is left to the solver's own next run. Never throws.
    void prepare(EpplerSolver &solver, const std::vector<TKoordi> &points);

private:
    enum class State { Empty, Computing, Ready, Failed };
    std::mutex m_mutex;
    std::condition_variable m_done;
    std::vector<float> m_x, m_y;
    State m_state = State::Empty;
    EpplerSolver m_holder;
};

} // namespace velmora

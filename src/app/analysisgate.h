// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Puts the main window's analyses of an edit first on the cores: the
// windows that follow them (polars, boundary layers) start computing once
// the analyses of the newest state are computed, rather than halving the
// cores with them. Thread-safe.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace velmora {

class AnalysisGate
{
public:
    // GUI thread: the analyses of state `generation` were queued on a worker.
    void submitted(uint64_t generation);
    // Worker: the analyses of `generation` are computed (shown or not). A
    // state that was replaced before it ran never reports; the newer one does.
    void computed(uint64_t generation);
    // Follower's worker: returns once no queued analyses are left to compute,
    // or after `limit` at the latest. True when it did not have to give up.
    bool waitForAnalyses(std::chrono::milliseconds limit = std::chrono::milliseconds(2000));
    // From now on nobody waits (the program is closing).
    void release();

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    uint64_t m_latest = 0;
    bool m_computing = false;
    bool m_released = false;
};

} // namespace velmora

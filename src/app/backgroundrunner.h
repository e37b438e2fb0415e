// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Computations that must not hold up painting run off the GUI thread. A job
// computes from a copy of what it needs and returns the step that shows its
// result; that step runs on the GUI thread, which decides there whether the
// result still belongs to the latest state.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace velmora {

class BackgroundRunner
{
public:
    using Apply = std::function<void()>;
    using Job = std::function<Apply()>;
    virtual ~BackgroundRunner() = default;
    // Queues `job`. A job still waiting when a newer one comes is dropped:
    // only the newest state is worth computing.
    virtual void Submit(Job job) = 0;
};

// How a runner's thread (and the threads its jobs start) shares the cores
// with the others: windows that follow the main window's analyses compute at
// Low, so that the analyses of an edit come first where both want the cores.
enum class RunnerPriority { Normal, Low };

// One worker thread. `post` hands each finished job's step to the GUI
// thread (it is called on the worker and must be thread-safe).
class ThreadedRunner : public BackgroundRunner
{
public:
    using Post = std::function<void(Apply)>;
    explicit ThreadedRunner(Post post, RunnerPriority priority = RunnerPriority::Normal);
    // Waits for the running job; a waiting one is dropped, nothing is posted after.
    ~ThreadedRunner() override;
    void Submit(Job job) override;
    // True while a newer job waits (or the runner is closing): the running
    // job computes for a state that is already outdated and may stop early.
    // Thread-safe.
    bool Superseded() const { return m_superseded.load(std::memory_order_relaxed); }

private:
    void loop();

    Post m_post;
    RunnerPriority m_priority;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<Job> m_pending;
    bool m_stop = false;
    std::atomic<bool> m_superseded{false};
    std::thread m_thread;
};

} // namespace velmora

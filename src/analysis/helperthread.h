// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A second thread that takes one task at a time from its owner. Between
// tasks it spins for a short while before it sleeps, and the owner spins
// while it waits: on a machine whose idle cores take milliseconds to wake
// (virtual machines), handing over work then costs microseconds. The work of
// one analysis comes in quick succession; a thread made per task, or one
// that sleeps at once, paid the wake-up every time.

#include <atomic>
#include <exception>
#include <functional>
#include <thread>

namespace velmora {

// Returns the value once it differs from `seen`: spins, pausing, for half a
// millisecond, then sleeps on the atomic. For hand-overs between two threads
// that follow each other within microseconds.
long WaitWhileEqual(const std::atomic<long> &value, long seen);

class HelperThread
{
public:
    HelperThread();
    // Waits for a running task.
    ~HelperThread();
    HelperThread(const HelperThread &) = delete;
    HelperThread &operator=(const HelperThread &) = delete;

    // Runs `task` on the helper. One task at a time: call wait() before the next.
    void start(std::function<void()> task);
    // Returns when the task has finished; rethrows what it threw.
    void wait();

private:
    void loop();

    std::function<void()> m_task;
    std::exception_ptr m_fault;
    // even: idle; odd: a task is waiting or running; -1: stop
    std::atomic<long> m_state{0};
    std::thread m_thread;
};

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/helperthread.h"

#include <chrono>

namespace velmora {

namespace {

using Clock = std::chrono::steady_clock;
// Long enough to bridge the gaps between the steps of one analysis, short
// enough not to hold a core the GUI thread wants; spinning pauses the core.
constexpr auto kSpin = std::chrono::microseconds(500);

// A spinning thread on a core that shares its execution units with the
// worker's (virtual machines place both threads of one host core side by
// side) takes little from it with pause; a yield per poll took 40 % of a
// neighbour's arithmetic here.
inline void relax()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#else
    std::this_thread::yield();
#endif
}

} // namespace

long WaitWhileEqual(const std::atomic<long> &value, long seen)
{
    const auto until = Clock::now() + kSpin;
    int polls = 0;
    for (;;) {
        const long now = value.load(std::memory_order_acquire);
        if (now != seen)
            return now;
        if (++polls % 64 == 0 && Clock::now() > until)
            break;
        relax();
    }
    for (;;) {
        value.wait(seen, std::memory_order_acquire);
        const long now = value.load(std::memory_order_acquire);
        if (now != seen)
            return now;
    }
}


HelperThread::HelperThread()
    : m_thread([this] { loop(); })
{
}

HelperThread::~HelperThread()
{
    wait();
    m_state.store(-1, std::memory_order_release);
    m_state.notify_one();
    m_thread.join();
}

void HelperThread::start(std::function<void()> task)
{
    m_task = std::move(task);
    m_fault = nullptr;
    m_state.fetch_add(1, std::memory_order_acq_rel); // idle -> busy
    m_state.notify_one();
}

void HelperThread::wait()
{
    long state = m_state.load(std::memory_order_acquire);
    if (state >= 0 && state % 2 == 1)
        state = WaitWhileEqual(m_state, state);
    if (m_fault) {
        std::exception_ptr fault = m_fault;
        m_fault = nullptr;
        std::rethrow_exception(fault);
    }
}

void HelperThread::loop()
{
    long idle = 0;
    for (;;) {
        const long state = WaitWhileEqual(m_state, idle);
        if (state < 0)
            return;
        try {
            m_task();
        } catch (...) {
            m_fault = std::current_exception();
        }
        m_task = nullptr;
        idle = state + 1;
        m_state.store(idle, std::memory_order_release); // busy -> idle
        m_state.notify_one();
    }
}

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/backgroundrunner.h"

#if defined(__linux__)
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace velmora {

ThreadedRunner::ThreadedRunner(Post post, RunnerPriority priority)
    : m_post(std::move(post))
    , m_priority(priority)
    , m_thread([this] { loop(); })
{
}

ThreadedRunner::~ThreadedRunner()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_pending.reset();
        m_superseded = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void ThreadedRunner::Submit(Job job)
{
    {
        std::lock_guard lock(m_mutex);
        m_pending = std::move(job);
        m_superseded = true;
    }
    m_wake.notify_one();
}

void ThreadedRunner::loop()
{
#if defined(__linux__)
    // A thread's nice value; the threads it starts inherit it. Failing to
    // lower it changes nothing but the order in which results arrive.
    if (m_priority == RunnerPriority::Low)
        (void)setpriority(PRIO_PROCESS, id_t(gettid()), 10);
#endif
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stop || m_pending; });
            if (m_stop)
                return;
            job = std::move(*m_pending);
            m_pending.reset();
            m_superseded = false;
        }
        Apply apply = job();
        std::lock_guard lock(m_mutex);
        if (!m_stop && apply)
            m_post(std::move(apply));
    }
}

} // namespace velmora

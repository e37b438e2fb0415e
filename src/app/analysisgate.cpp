// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/analysisgate.h"

namespace velmora {

void AnalysisGate::submitted(uint64_t generation)
{
    std::lock_guard lock(m_mutex);
    m_latest = generation;
    m_computing = true;
}

void AnalysisGate::computed(uint64_t generation)
{
    {
        std::lock_guard lock(m_mutex);
        if (generation != m_latest)
            return;
        m_computing = false;
    }
    m_done.notify_all();
}

bool AnalysisGate::waitForAnalyses(std::chrono::milliseconds limit)
{
    std::unique_lock lock(m_mutex);
    return m_done.wait_for(lock, limit, [this] { return m_released || !m_computing; });
}

void AnalysisGate::release()
{
    {
        std::lock_guard lock(m_mutex);
        m_released = true;
    }
    m_done.notify_all();
}

} // namespace velmora

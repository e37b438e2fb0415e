// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/panelshare.h"

#include "analysis/analysiscommands.h"

#include <cmath>

namespace velmora {

void PanelShare::prepare(EpplerSolver &solver, const std::vector<TKoordi> &given)
{
    // the contour the analyses give the engine
    const std::vector<TKoordi> points = AnalysisContour(given);
    if (points.size() < size_t(kMinNodes) || points.size() > size_t(kMaxNodes))
        return;
    TEpplerInput in;
    in.pointCount = int32_t(points.size());
    std::vector<float> x(points.size()), y(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        if (!(std::fabs(points[i].X) <= 3.0e38 && std::fabs(points[i].Y) <= 3.0e38))
            return;
        in.x[i] = x[i] = static_cast<float>(points[i].X);
        in.y[i] = y[i] = static_cast<float>(points[i].Y);
    }
    std::unique_lock lock(m_mutex);
    auto mine = [&] { return m_x == x && m_y == y; };
    if (mine() && m_state != State::Empty) {
        m_done.wait(lock, [&] { return !mine() || m_state != State::Computing; });
        if (mine() && m_state == State::Ready) {
            solver.adoptPanelSolution(m_holder);
            return;
        }
        if (mine() && m_state == State::Failed)
            return;
    }
    m_x = x;
    m_y = y;
    m_state = State::Computing;
    lock.unlock();

    // one angle: the panel solution is the point, the rest costs little
    in.reynolds[0] = 1e6f;
    in.alphas[0] = 0.0f;
    try {
        solver.run(in);
    } catch (const EpplerError &) {
    }
    lock.lock();
    if (mine()) {
        const bool solved = solver.holdsPanelSolution() && m_holder.adoptPanelSolution(solver);
        m_state = solved ? State::Ready : State::Failed;
    }
    lock.unlock();
    m_done.notify_all();
}

} // namespace velmora

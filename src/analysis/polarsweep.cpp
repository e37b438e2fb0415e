// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/polarsweep.h"

#include "analysis/analysiscommands.h"
#include "model/numbertext.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

namespace velmora {

namespace {

bool parseSingle(std::string_view text, float &value)
{
    double d = 0;
    if (!TryParseNumber(text, d) || !(std::fabs(d) <= 3.0e38))
        return false;
    value = static_cast<float>(d);
    return true;
}

struct Batch
{
    std::vector<float> angles;
    size_t first = 0; // index of its first angle in the sweep
};

// The engine's input for the contour; angles and Reynolds numbers are set per run.
TEpplerInput contourInput(const std::vector<TKoordi> &points)
{
    TEpplerInput in;
    in.pointCount = int32_t(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        in.x[i] = static_cast<float>(points[i].X);
        in.y[i] = static_cast<float>(points[i].Y);
    }
    in.angleMode = 1;
    return in;
}

// Runs the angles `angles` at the Reynolds numbers `reIndex` (indices into
// `reynolds`) and stores what the engine gives into the curves at `first`.
bool runInto(EpplerSolver &solver, TEpplerInput &in, TEpplerOutput &out, const std::vector<float> &angles,
             size_t first, const std::vector<double> &reynolds, const std::vector<int> &reIndex,
             std::vector<PolarCurve> &curves)
{
    in.alphaCount = int32_t(angles.size());
    std::copy(angles.begin(), angles.end(), in.alphas.begin());
    in.reynoldsCount = int32_t(reIndex.size());
    for (size_t j = 0; j < reIndex.size(); ++j)
        in.reynolds[j] = static_cast<float>(reynolds[size_t(reIndex[j])]);
    try {
        solver.run(in, out);
    } catch (const EpplerError &) {
        return false;
    }
    for (size_t k = 0; k < angles.size(); ++k) {
        for (size_t j = 0; j < reIndex.size(); ++j) {
            PolarSample &s = curves[size_t(reIndex[j])].samples[first + k];
            s.valid = true;
            s.ca = out.ca[k][j];
            s.cm = out.cm[k][j];
            s.cw = out.cw[k][j];
            s.xtrUpper = out.upper[k][j].transitionX;
            s.xtrLower = out.lower[k][j].transitionX;
        }
    }
    return true;
}

// A failing batch is narrowed down to the angles, then the Reynolds numbers,
// that fail; the rest keep their results.
void runBatch(EpplerSolver &solver, TEpplerInput &in, TEpplerOutput &out, const Batch &batch,
              const std::vector<double> &reynolds, std::vector<PolarCurve> &curves)
{
    std::vector<int> all(reynolds.size());
    for (size_t j = 0; j < all.size(); ++j)
        all[j] = int(j);
    if (runInto(solver, in, out, batch.angles, batch.first, reynolds, all, curves)
        || !solver.holdsPanelSolution())
        return;
    for (size_t k = 0; k < batch.angles.size(); ++k) {
        const std::vector<float> one{batch.angles[k]};
        if (batch.angles.size() > 1 && runInto(solver, in, out, one, batch.first + k, reynolds, all, curves))
            continue;
        if (all.size() == 1)
            continue;
        for (int j : all)
            runInto(solver, in, out, one, batch.first + k, reynolds, {j}, curves);
    }
}

// The angles again in batches for `threads` threads that take the next
// batch as they finish: batches of the engine's size first, then smaller
// ones, so that no thread still runs a whole batch while the others wait.
// An angle's result does not depend on the batch it runs in.
std::vector<Batch> balanced(const std::vector<Batch> &batches, int threads)
{
    std::vector<float> angles;
    for (const Batch &b : batches)
        angles.insert(angles.end(), b.angles.begin(), b.angles.end());
    const size_t full = batches.empty() ? 1 : batches.front().angles.size();
    std::vector<Batch> out;
    for (size_t first = 0; first < angles.size();) {
        const size_t left = angles.size() - first;
        const size_t share = (left + 2 * size_t(threads) - 1) / (2 * size_t(threads));
        const size_t size = std::min(full, std::max<size_t>(1, share));
        out.push_back({std::vector<float>(angles.begin() + long(first), angles.begin() + long(first + size)), first});
        first += size;
    }
    return out;
}

bool usableContour(const std::vector<TKoordi> &points)
{
    if (points.size() < size_t(kMinNodes) || points.size() > size_t(kMaxNodes))
        return false;
    return std::all_of(points.begin(), points.end(), [](const TKoordi &k) {
        return std::fabs(k.X) <= 3.0e38 && std::fabs(k.Y) <= 3.0e38;
    });
}

} // namespace

std::string ParsePolarRange(std::string_view startText, std::string_view endText,
                            std::string_view stepText, PolarRange &range)
{
    float start = 0, end = 0, step = 0;
    // written as negations so that a NaN is refused too
    if (!parseSingle(startText, start) || !(start >= -89.0f && start <= 89.0f))
        return kMsgBadStartAngle;
    if (!parseSingle(endText, end))
        return kMsgBadEndAngle;
    if (!(end >= -89.0f && end <= 89.0f && end >= start))
        return kMsgEndBeforeStart;
    if (!parseSingle(stepText, step) || !(double(step) >= 0.1))
        return kMsgStepTooSmall;
    range = {start, end, step};
    return {};
}

std::string ParseReynoldsList(std::string_view text, std::vector<double> &reynolds)
{
    std::vector<double> list;
    size_t i = 0;
    while (i < text.size()) {
        const size_t end = text.find_first_of(",; \t", i);
        const std::string_view part = text.substr(i, end == std::string_view::npos ? text.npos : end - i);
        i = end == std::string_view::npos ? text.size() : end + 1;
        if (part.empty())
            continue;
        double re = 0;
        if (!TryParseNumber(part, re))
            return "'" + std::string(part) + "' ist kein gültiger Gleitkommawert";
        if (!(re > 0.0 && re <= 3.0e38))
            return "Falscheingabe Reynoldszahl " + std::string(part)
                + " !!.\rBitte nur positive Zahlen eingeben, getrennt durch Komma oder Leerzeichen.";
        list.push_back(re);
    }
    if (list.empty())
        return "Keine Reynoldszahl angegeben !!";
    if (list.size() > size_t(kMaxReynolds))
        return "Zu viele Reynoldszahlen !!.\rHöchstens 5 auf einmal.";
    reynolds = std::move(list);
    return {};
}

PolarSweep::PolarSweep(int jobs)
    : m_jobs(jobs > 0 ? jobs : std::max(1, int(std::thread::hardware_concurrency())))
{
}

PolarSweep::~PolarSweep() = default;

EpplerSolver &PolarSweep::leadSolver()
{
    if (m_solvers.empty())
        m_solvers.push_back(std::make_unique<EpplerSolver>());
    return *m_solvers[0];
}

std::vector<PolarCurve> PolarSweep::run(const std::vector<TKoordi> &points,
                                        const std::vector<double> &reynolds, const PolarRange &range,
                                        const std::function<bool()> &stop)
{
    m_stopped = false;
    std::vector<Batch> batches;
    size_t total = 0;
    for (std::vector<float> &angles : PolarBatches(range.start, range.end, range.step)) {
        batches.push_back({std::move(angles), total});
        total += batches.back().angles.size();
    }
    std::vector<PolarCurve> curves(reynolds.size());
    for (size_t j = 0; j < reynolds.size(); ++j) {
        curves[j].re = reynolds[j];
        curves[j].samples.resize(total);
        for (const Batch &b : batches) {
            for (size_t k = 0; k < b.angles.size(); ++k)
                curves[j].samples[b.first + k].alpha = b.angles[k];
        }
    }
    const bool reUsable = !reynolds.empty() && reynolds.size() <= size_t(kMaxReynolds)
        && std::all_of(reynolds.begin(), reynolds.end(), [](double re) { return re > 0 && re <= 3.0e38; });
    if (stop && stop())
        m_stopped = true;
    else if (!batches.empty() && reUsable && usableContour(points)) {
        const int threads = std::min(m_jobs, int(batches.size()));
        if (threads > 1)
            batches = balanced(batches, threads);
        while (int(m_solvers.size()) < threads)
            m_solvers.push_back(std::make_unique<EpplerSolver>());
        while (int(m_helpers.size()) < threads - 1)
            m_helpers.push_back(std::make_unique<HelperThread>());
        // The panel solution's second thread is the one the batches use next.
        m_solvers[0]->setPanelThreads(std::min(m_jobs, 2), threads >= 2 ? m_helpers[0].get() : nullptr);

        // The panel solution first, on every core, then the batches over it.
        const TEpplerInput contour = contourInput(AnalysisContour(points));
        bool solved = true;
        try {
            m_solvers[0]->solvePanel(contour);
        } catch (const EpplerError &) {
            solved = false;
        }
        // Without a solution every run would fail on the contour again.
        if (solved) {
            for (int t = 1; t < threads; ++t)
                m_solvers[size_t(t)]->adoptPanelSolution(*m_solvers[0]);
            std::atomic<size_t> next{0};
            std::atomic<bool> stopped{false};
            auto work = [&](EpplerSolver &solver) {
                TEpplerInput in = contour;
                TEpplerOutput out;
                for (size_t b = next++; b < batches.size(); b = next++) {
                    if (stopped || (stop && stop())) {
                        stopped = true;
                        return;
                    }
                    runBatch(solver, in, out, batches[b], reynolds, curves);
                }
            };
            for (int t = 1; t < threads; ++t)
                m_helpers[size_t(t - 1)]->start([&work, &solver = *m_solvers[size_t(t)]] { work(solver); });
            work(*m_solvers[0]);
            for (int t = 1; t < threads; ++t)
                m_helpers[size_t(t - 1)]->wait();
            m_stopped = stopped;
        }
    }
    for (PolarCurve &c : curves)
        c.failed = int(std::count_if(c.samples.begin(), c.samples.end(), [](const PolarSample &s) { return !s.valid; }));
    return curves;
}

} // namespace velmora

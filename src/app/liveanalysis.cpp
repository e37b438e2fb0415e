// SPDX-License-Identifier: GPL-3.0-or-later
// The analyses of a point edit, computed off the GUI thread and shown only
// while they belong to the latest state.
#include "app/maincontroller.h"
#include "model/errors.h"

namespace velmora {

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool sameCoordinates(const std::vector<TKoordi> &a, const std::vector<TKoordi> &b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](const TKoordi &p, const TKoordi &q) {
               return p.X == q.X && p.Y == q.Y;
           });
}

} // namespace

struct MainController::Precomputed
{
    std::vector<TKoordi> Points;
    AnalysisInputs Inputs;
    bool HasVelocity = false;
    VelocityDistribution Velocity;
    std::string VelocityError; // the UserError the computation ended with
    bool HasPolar = false;
    TransitionPolar Polar;
    std::string PolarError;
    AnalysisTimes Times;

    // Results are used only for exactly the points and texts they came from.
    bool matches(const std::vector<TKoordi> &points, const AnalysisInputs &in) const
    {
        return Inputs.AlfaText == in.AlfaText && Inputs.ReText == in.ReText && Inputs.StartText == in.StartText
            && Inputs.EndText == in.EndText && Inputs.StepText == in.StepText && sameCoordinates(Points, points);
    }
};

void MainController::newState()
{
    ++m_analysisGeneration;
    m_stateTime = Clock::now();
}

void MainController::runAnalyses()
{
    try {
        RunVelocityDistribution();
        RunTransitionPolar();
    } catch (const UserError &e) {
        reportError(e.what());
    }
}

VelocityDistribution MainController::computeVelocity(const TProfile &profile)
{
    if (m_precomputed && m_precomputed->HasVelocity && m_precomputed->matches(profile.Points, Analysis)) {
        if (!m_precomputed->VelocityError.empty())
            throw UserError(m_precomputed->VelocityError);
        return m_precomputed->Velocity;
    }
    return ComputeVelocityDistribution(m_solver, profile.Points, Analysis.AlfaText, Analysis.ReText);
}

TransitionPolar MainController::computeTransitionPolar(const TProfile &profile)
{
    if (m_precomputed && m_precomputed->HasPolar && m_precomputed->matches(profile.Points, Analysis)) {
        if (!m_precomputed->PolarError.empty())
            throw UserError(m_precomputed->PolarError);
        return m_precomputed->Polar;
    }
    return ComputeTransitionPolar(m_solver, profile.Points, Analysis.ReText, Analysis.StartText,
                                  Analysis.EndText, Analysis.StepText);
}

void MainController::refreshAnalysisLater()
{
    newState();
    const TProfile *profile = m_project.ActiveProfile();
    // without anything to compute the commands only clear: no need to wait
    if (!profile || !profile->Visible || !RowExists(m_selectedRow) || profile->PointCount() > kMaxProfilePoints
        || (!Analysis.VRechnen && !Analysis.UmRechnen)) {
        runAnalyses();
        if (OnAnalysisRefreshed)
            OnAnalysisRefreshed();
        return;
    }
    auto job = std::make_shared<Precomputed>();
    job->Points = profile->Points;
    job->Inputs = Analysis;
    job->HasVelocity = Analysis.VRechnen;
    job->HasPolar = Analysis.UmRechnen;
    job->Times.Generation = m_analysisGeneration;
    job->Times.StateTime = m_stateTime;
    std::shared_ptr<PolarSweep> sweep = m_workerSweep;
    std::shared_ptr<PanelShare> share = m_panelShare;
    std::shared_ptr<AnalysisGate> gate = m_analysisGate;
    gate->submitted(m_analysisGeneration);
    m_runner->Submit([this, job, sweep, share, gate]() -> BackgroundRunner::Apply {
        // the followers wait for this, whatever happens below
        auto opened = [gate, generation = job->Times.Generation](void *) { gate->computed(generation); };
        const std::unique_ptr<void, decltype(opened)> open(sweep.get(), opened);
        EpplerSolver &solver = sweep->leadSolver();
        const AnalysisInputs &in = job->Inputs;
        const auto start = Clock::now();
        share->prepare(solver, job->Points);
        if (job->HasVelocity) {
            try {
                job->Velocity = ComputeVelocityDistribution(solver, job->Points, in.AlfaText, in.ReText);
            } catch (const UserError &e) {
                job->VelocityError = e.what();
            }
            job->Times.VelocityMs = msSince(start);
        }
        if (job->HasPolar) {
            const auto start = Clock::now();
            try {
                job->Polar = ComputeTransitionPolar(*sweep, job->Points, in.ReText, in.StartText, in.EndText,
                                                    in.StepText);
            } catch (const UserError &e) {
                job->PolarError = e.what();
            }
            job->Times.PolarMs = msSince(start);
        }
        return [this, job] {
            // a newer state is on its way: this one is never shown
            if (job->Times.Generation != m_analysisGeneration)
                return;
            m_precomputed = job;
            runAnalyses();
            m_precomputed.reset();
            m_shownTimes = job->Times;
        };
    });
    // windows that follow the analyses hear of the new state at once; their
    // workers start computing it once these analyses are computed
    if (OnAnalysisRefreshed)
        OnAnalysisRefreshed();
}

} // namespace velmora

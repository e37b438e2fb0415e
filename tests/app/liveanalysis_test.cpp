// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analysiscommands.h"
#include "app/backgroundrunner.h"
#include "app/maincontroller.h"
#include "app/polarwindow.h"
#include "fakeview.h"
#include "geometry/naca4.h"
#include "plot/fillchart.h"

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <future>

#if defined(__linux__)
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace velmora;
using velmora::testing::FakeView;

namespace {

// Runs the jobs when the test says so, like a worker that takes a while.
class ManualRunner : public BackgroundRunner
{
public:
    std::optional<Job> pending;
    int submitted = 0;
    void Submit(Job job) override
    {
        pending = std::move(job);
        ++submitted;
    }
    // The worker takes the waiting job and computes it; the returned step is
    // what would reach the GUI thread.
    Apply compute()
    {
        Job job = std::move(*pending);
        pending.reset();
        return job();
    }
};

class LiveAnalysis : public ::testing::Test
{
protected:
    FakeView view;
    MainController c{view, "/prog"};
    ManualRunner runner;
    int followed = 0;

    void SetUp() override
    {
        c.Chart().SetPlotRect({40, 0, 1040, 400});
        c.Project().Profiles.push_back(MakeNaca4("2412", 61));
        FillChart(c.Project(), c.Chart());
        c.AfterDraw();
        c.Analysis.UmRechnen = true;
        c.Analysis.StartText = "-2";
        c.Analysis.EndText = "4";
        c.Analysis.StepText = "0,5";
        c.CheckListBox1MouseDown(0, false);
        TKoordi &k = profile().Points[20];
        k.Marked = k.Active = true;
        c.SetAnalysisRunner(&runner);
        c.OnAnalysisRefreshed = [this] { ++followed; };
    }
    TProfile &profile() { return c.Project().Profiles[0]; }
    std::vector<double> transitionY() const
    {
        return c.Chart().At(c.Chart().LastSeriesContaining("UM_POL_OBEN")).XValues;
    }
};

} // namespace

TEST_F(LiveAnalysis, ANotchMovesThePointAtOnceAndOnlyTheNewestStateIsShown)
{
    const double y0 = profile().Points[20].Y;
    const std::vector<std::string> fieldsBefore = view.results;
    const std::vector<double> transitionBefore = transitionY();

    c.FormMouseWheel(120);
    // the point moved and its series follows before any analysis ran
    EXPECT_NE(profile().Points[20].Y, y0);
    EXPECT_EQ(c.Chart().At(0).YValues[20], profile().Points[20].Y);
    EXPECT_EQ(view.results, fieldsBefore);
    EXPECT_EQ(runner.submitted, 1);
    EXPECT_EQ(followed, 1) << "the polar window starts on the new state at once";

    // the worker is busy with notch 1 while notches 2 and 3 arrive
    BackgroundRunner::Apply first = runner.compute();
    c.FormMouseWheel(120);
    c.FormMouseWheel(120);
    EXPECT_EQ(runner.submitted, 3);
    EXPECT_EQ(followed, 3);
    // notch 1's results arrive late: nothing of them is shown
    first();
    EXPECT_EQ(view.results, fieldsBefore);
    EXPECT_EQ(transitionY(), transitionBefore);
    EXPECT_NE(profile().PolarRows[0].vPunkte[20].y, float(profile().Points[20].Y));

    // notch 2 never ran (the newer one replaced it); notch 3's results are shown
    runner.compute()();
    EXPECT_FALSE(runner.pending);
    EpplerSolver fresh;
    const VelocityDistribution v = ComputeVelocityDistribution(fresh, profile().Points, "0", "100000");
    ASSERT_EQ(v.status, AnalysisStatus::Ok);
    EXPECT_EQ(view.results[0], CoefficientText(v.row.ca));
    EXPECT_EQ(profile().PolarRows[0].vPunkte[20].y, float(profile().Points[20].Y));
    const TransitionPolar polar = ComputeTransitionPolar(fresh, profile().Points, "100000", "-2", "4", "0,5");
    ASSERT_EQ(polar.rows.size(), transitionY().size());
    for (size_t i = 0; i < polar.rows.size(); ++i)
        EXPECT_EQ(transitionY()[i], polar.rows[i].xUpper);
    EXPECT_EQ(c.ShownAnalysisTimes().Generation, c.AnalysisGeneration());
}

TEST_F(LiveAnalysis, ACommandInBetweenOutdatesTheRunningEdit)
{
    c.FormMouseWheel(-120);
    BackgroundRunner::Apply late = runner.compute();
    // a synchronous refresh (here: the selection clicked again) shows the newest state itself
    c.CheckListBox1MouseDown(0, false);
    const std::vector<std::string> shown = view.results;
    const int writes = view.resultFieldWrites;
    late();
    EXPECT_EQ(view.resultFieldWrites, writes) << "the edit's results came after a newer state";
    EXPECT_EQ(view.results, shown);
}

TEST_F(LiveAnalysis, AnEditWhoseResultsNoLongerMatchThePointsIsComputedAfresh)
{
    // a field typed between the edit and its results: the commands compute the fields' state
    c.FormMouseWheel(120);
    BackgroundRunner::Apply apply = runner.compute();
    c.Analysis.AlfaText = "3";
    apply();
    EpplerSolver fresh;
    const VelocityDistribution v = ComputeVelocityDistribution(fresh, profile().Points, "3", "100000");
    EXPECT_EQ(view.results[0], CoefficientText(v.row.ca));
}

// A follower's worker waits while the analyses of the newest edit are
// queued or computing, and goes on once they are computed, whether shown or not.
TEST_F(LiveAnalysis, FollowersWaitForTheAnalysesOfTheNewestEditOnly)
{
    using namespace std::chrono_literals;
    const std::shared_ptr<AnalysisGate> gate = c.AnalysesGate();
    EXPECT_TRUE(gate->waitForAnalyses(0ms)) << "nothing queued: no waiting";
    c.FormMouseWheel(120);
    EXPECT_FALSE(gate->waitForAnalyses(1ms));
    BackgroundRunner::Apply first = runner.compute();
    EXPECT_TRUE(gate->waitForAnalyses(0ms)) << "computed, before the GUI thread shows it";

    // notch 2 is computing when notch 3 comes: only notch 3's analyses open the gate
    c.FormMouseWheel(120);
    BackgroundRunner::Job second = std::move(*runner.pending);
    runner.pending.reset();
    c.FormMouseWheel(120);
    std::atomic<bool> through{false};
    std::thread follower([&] { through = gate->waitForAnalyses(5s); });
    std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(through);
    first();
    second()();
    std::this_thread::sleep_for(5ms);
    EXPECT_FALSE(through) << "an outdated state's analyses do not open it";
    runner.compute()();
    follower.join();
    EXPECT_TRUE(through);

    // closing releases whoever still waits
    c.FormMouseWheel(120);
    std::thread closing([&] { through = gate->waitForAnalyses(5s); });
    gate->release();
    closing.join();
    EXPECT_TRUE(through);
}

TEST(ThreadedRunner, RunsOnItsThreadPostsTheStepAndDropsWaitingJobs)
{
    std::mutex m;
    std::vector<BackgroundRunner::Apply> posted;
    std::promise<void> release;
    std::shared_future<void> gate = release.get_future().share();
    std::atomic<int> ran{0};
    {
        ThreadedRunner runner([&](BackgroundRunner::Apply a) {
            std::lock_guard lock(m);
            posted.push_back(std::move(a));
        });
        const auto gui = std::this_thread::get_id();
        std::atomic<std::thread::id> worker{};
        runner.Submit([&]() -> BackgroundRunner::Apply {
            worker = std::this_thread::get_id();
            gate.wait();
            ++ran;
            return [] {};
        });
        // wait until the first job runs, then queue two: the first of them is dropped
        while (worker.load() == std::thread::id())
            std::this_thread::yield();
        EXPECT_NE(worker.load(), gui);
        EXPECT_FALSE(runner.Superseded());
        std::atomic<int> which{0};
        runner.Submit([&]() -> BackgroundRunner::Apply { which = 2; ++ran; return [] {}; });
        // the running job may now stop early: its state is outdated
        EXPECT_TRUE(runner.Superseded());
        std::atomic<bool> lastSuperseded{true};
        runner.Submit([&]() -> BackgroundRunner::Apply {
            which = 3;
            lastSuperseded = runner.Superseded();
            ++ran;
            return [] {};
        });
        release.set_value();
        while (ran < 2)
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_EQ(which, 3);
        EXPECT_FALSE(lastSuperseded) << "the newest job is not outdated";
    }
    EXPECT_EQ(ran, 2);
    EXPECT_EQ(posted.size(), 2u);
}

#if defined(__linux__)
// Windows that follow the analyses yield the cores to them, down to the
// threads their sweeps start.
TEST(ThreadedRunner, ALowPriorityRunnerAndTheThreadsItsJobsStartRunNicer)
{
    const int own = getpriority(PRIO_PROCESS, id_t(gettid()));
    auto niceOf = [](RunnerPriority priority) {
        std::promise<std::pair<int, int>> seen;
        std::future<std::pair<int, int>> result = seen.get_future();
        {
            ThreadedRunner runner([](BackgroundRunner::Apply) {}, priority);
            runner.Submit([&]() -> BackgroundRunner::Apply {
                int started = 0;
                std::thread([&] { started = getpriority(PRIO_PROCESS, id_t(gettid())); }).join();
                seen.set_value({getpriority(PRIO_PROCESS, id_t(gettid())), started});
                return {};
            });
            result.wait();
        }
        return result.get();
    };
    const auto normal = niceOf(RunnerPriority::Normal);
    EXPECT_EQ(normal.first, own);
    EXPECT_EQ(normal.second, own);
    const auto low = niceOf(RunnerPriority::Low);
    EXPECT_GE(low.first, std::max(own, 10));
    EXPECT_EQ(low.second, low.first);
    EXPECT_EQ(getpriority(PRIO_PROCESS, id_t(gettid())), own) << "the caller's thread keeps its priority";
}
#endif

// SPDX-License-Identifier: GPL-3.0-or-later
// The edit pipeline without a window: wheel notches on the selected profile
// with the speed distribution, the transition polar (-12..14 by 0.1) and the
// polar window (3 Re) following on worker threads, the benchmark thread
// standing in for the GUI thread. Painting is not included.
// Goals on the 2-core reference machine at 450 points: the moved point ready
// well within 16 ms; the analyses of that state shown within 40 ms (with the
// polar window computing beside them); ten notches in 100 ms: the final
// state's results within 60 ms of the last.

#include "app/backgroundrunner.h"
#include "app/maincontroller.h"
#include "app/polarwindow.h"
#include "geometry/naca4.h"
#include "plot/fillchart.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

using namespace velmora;

namespace {

using Clock = std::chrono::steady_clock;

double msBetween(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

class NullView : public MainView, public PolarView
{
public:
    void ShowInfo(const std::string &) override {}
    bool AskYesNo(const std::string &) override { return false; }
    void ShowError(const std::string &) override {}
    std::vector<std::string> ChooseOpenFiles(const FileDialogSetup &, const std::string &) override { return {}; }
    std::optional<std::string> ChooseSaveFile(const FileDialogSetup &, const std::string &,
                                              const std::string &) override
    {
        return std::nullopt;
    }
    std::optional<TColor> ChooseColour(TColor) override { return std::nullopt; }
    std::optional<std::string> AskText(const std::string &, const std::string &, const std::string &) override
    {
        return std::nullopt;
    }
    void ShowRedistributionDialog(const std::function<bool(const std::string &, StationDistribution)> &) override {}
    void RepaintList() override {}
    void RedrawPlot() override {}
    void SetNameTitleFields(const std::string &, const std::string &) override {}
    void SetStatusText(int, const std::string &) override {}
    void SetMenuEnabled(MenuEntry, bool) override {}
    void SetListEnabled(bool) override {}
    void SetResultFields(const std::string &, const std::string &, const std::string &) override {}
    void SetPolarFieldAlarm(PolarField, bool) override {}
    void FocusPolarField(PolarField) override {}
    void SetActivePointFields(const std::string &, const std::string &) override {}
    void CloseMainWindow() override {}
    bool WritePng(const DiagramScene &, const std::string &) override { return false; }
    void Repaint() override {}
};

// The GUI thread's event queue.
class Queue
{
public:
    void post(BackgroundRunner::Apply a)
    {
        {
            std::lock_guard lock(m_mutex);
            m_items.push_back(std::move(a));
        }
        m_wake.notify_one();
    }
    // Runs posted steps until `done` holds or `deadline` passes.
    template <class Pred>
    void pump(Pred done, Clock::time_point deadline)
    {
        while (!done()) {
            BackgroundRunner::Apply a;
            {
                std::unique_lock lock(m_mutex);
                if (!m_wake.wait_until(lock, deadline, [this] { return !m_items.empty(); }))
                    return;
                a = std::move(m_items.front());
                m_items.pop_front();
            }
            a();
        }
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<BackgroundRunner::Apply> m_items;
};

struct Pipeline
{
    NullView view;
    MainController c{view, "/prog"};
    PolarWindowController polar{view};
    PolarComputer computer;
    Queue queue;
    ThreadedRunner analyses{[this](BackgroundRunner::Apply a) { queue.post(std::move(a)); }};
    ThreadedRunner polars{[this](BackgroundRunner::Apply a) { queue.post(std::move(a)); }, RunnerPriority::Low};

    explicit Pipeline(int points)
    {
        c.Chart().SetPlotRect({40, 0, 1040, 600});
        c.Project().Profiles.push_back(MakeNaca4("2412", (points + 1) / 2));
        FillChart(c.Project(), c.Chart());
        c.AfterDraw();
        c.Analysis.UmRechnen = true;
        c.CheckListBox1MouseDown(0, false);
        TKoordi &k = c.Project().Profiles[0].Points[size_t(points / 5)];
        k.Marked = k.Active = true;
        polar.ReText = "100000 200000 500000";
        computer.SetPanelShare(c.SharedPanels());
        c.SetAnalysisRunner(&analyses);
        c.OnAnalysisRefreshed = [this] {
            const PolarJob job = polar.MakeJob(c.Project(), c.SelectedRow(), c.Analysis);
            polars.Submit([this, job, gate = c.AnalysesGate()]() -> BackgroundRunner::Apply {
                gate->waitForAnalyses();
                PolarResults r = computer.Compute(job, [this] { return polars.Superseded(); });
                if (r.Superseded)
                    return {};
                return [this, r] { polar.Show(r); };
            });
        };
    }
    ~Pipeline() { c.SetAnalysisRunner(nullptr); }

    bool analysesShown() const { return c.ShownAnalysisTimes().Generation == c.AnalysisGeneration(); }
    bool upToDate() const { return analysesShown() && polar.Results().Generation == polar.LatestGeneration(); }
    // Returns when the main window's analyses of the latest state were shown.
    Clock::time_point settle()
    {
        Clock::time_point analyses = Clock::now();
        bool seen = analysesShown();
        queue.pump(
            [&] {
                if (!seen && analysesShown()) {
                    seen = true;
                    analyses = Clock::now();
                }
                return upToDate();
            },
            Clock::now() + std::chrono::seconds(5));
        return analyses;
    }
};

// One notch: the edit itself, then everything of its state shown.
void OneNotch(benchmark::State &state)
{
    Pipeline p(int(state.range(0)));
    p.settle();
    double edit = 0, analyses = 0, shown = 0, vel = 0, pol = 0;
    int direction = 1;
    for (auto _ : state) {
        const auto start = Clock::now();
        p.c.FormMouseWheel(120 * direction);
        const auto edited = Clock::now();
        const auto analysed = p.settle();
        const auto done = Clock::now();
        direction = -direction;
        edit += msBetween(start, edited);
        analyses += msBetween(start, analysed);
        vel += p.c.ShownAnalysisTimes().VelocityMs;
        pol += p.c.ShownAnalysisTimes().PolarMs;
        shown += msBetween(start, done);
        state.SetIterationTime(msBetween(start, done) / 1000.0);
    }
    state.counters["edit_ms"] = edit / double(state.iterations());
    state.counters["vel_ms"] = vel / double(state.iterations());
    state.counters["tpol_ms"] = pol / double(state.iterations());
    // the speed distribution and transition polar of the main window
    state.counters["analyses_ms"] = analyses / double(state.iterations());
    // and the polar window too
    state.counters["shown_ms"] = shown / double(state.iterations());
}
BENCHMARK(OneNotch)->Arg(161)->Arg(450)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Ten notches 10 ms apart: time from the last one until its state is shown.
void TenQuickNotches(benchmark::State &state)
{
    Pipeline p(int(state.range(0)));
    p.settle();
    double afterLast = 0, afterLastAnalyses = 0, slowestEdit = 0;
    // Every notch makes a new state (the point goes one way, back in the next
    // iteration): a state met before could come from a cache.
    int direction = 1;
    for (auto _ : state) {
        auto next = Clock::now();
        Clock::time_point last;
        for (int i = 0; i < 10; ++i) {
            // the GUI thread handles arriving results between notches
            p.queue.pump([] { return false; }, next);
            last = Clock::now();
            p.c.FormMouseWheel(120 * direction);
            slowestEdit = std::max(slowestEdit, msBetween(last, Clock::now()));
            next = last + std::chrono::milliseconds(10);
        }
        const auto analysed = p.settle();
        const double ms = msBetween(last, Clock::now());
        direction = -direction;
        afterLast += ms;
        afterLastAnalyses += msBetween(last, analysed);
        state.SetIterationTime(ms / 1000.0);
    }
    state.counters["after_last_ms"] = afterLast / double(state.iterations());
    state.counters["analyses_after_last_ms"] = afterLastAnalyses / double(state.iterations());
    state.counters["slowest_edit_ms"] = slowestEdit;
}
BENCHMARK(TenQuickNotches)->Arg(161)->Arg(450)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();

// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analysiscommands.h"
#include "analysis/panelshare.h"
#include "analysis/polarsweep.h"
#include "analysis/stages.h"
#include "geometry/naca4.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <tuple>

using namespace velmora;

namespace {

bool sameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void expectIdentical(const std::vector<PolarCurve> &a, const std::vector<PolarCurve> &b)
{
    ASSERT_EQ(a.size(), b.size());
    for (size_t j = 0; j < a.size(); ++j) {
        ASSERT_EQ(a[j].samples.size(), b[j].samples.size());
        EXPECT_EQ(a[j].failed, b[j].failed);
        for (size_t k = 0; k < a[j].samples.size(); ++k) {
            const PolarSample &p = a[j].samples[k];
            const PolarSample &q = b[j].samples[k];
            ASSERT_EQ(p.valid, q.valid) << "re " << j << " angle " << k;
            EXPECT_TRUE(sameBits(p.alpha, q.alpha) && sameBits(p.ca, q.ca) && sameBits(p.cm, q.cm)
                        && sameBits(p.cw, q.cw) && sameBits(p.xtrUpper, q.xtrUpper)
                        && sameBits(p.xtrLower, q.xtrLower))
                << "re " << j << " angle " << p.alpha;
        }
    }
}

} // namespace

TEST(PolarSweep, ThreadsGiveTheBitsOfTheSerialRunAndOfTheTransitionPolar)
{
    const std::vector<TKoordi> points = MakeNaca4("2412", 81).Points;
    const PolarRange range{-12.0f, 14.0f, 0.1f};
    PolarSweep serial(1);
    const auto reference = serial.run(points, {2e5}, range);
    ASSERT_EQ(reference.size(), 1u);
    EXPECT_GT(reference[0].samples.size(), 250u);
    EXPECT_EQ(reference[0].failed, 0);
    for (int jobs : {2, 3, 7}) {
        PolarSweep parallel(jobs);
        expectIdentical(reference, parallel.run(points, {2e5}, range));
        // a second run on the kept solvers must not carry anything over
        expectIdentical(reference, parallel.run(points, {2e5}, range));
    }

    // the transition polar of the main window computes the same rows, on
    // one solver or on the threads of a sweep
    EpplerSolver solver;
    PolarSweep shared(2);
    for (const TransitionPolar &polar :
         {ComputeTransitionPolar(solver, points, "200000", "-12", "14", "0,1"),
          ComputeTransitionPolar(shared, points, "200000", "-12", "14", "0,1")}) {
        ASSERT_EQ(polar.status, PolarStatus::Ok);
        ASSERT_EQ(polar.rows.size(), reference[0].samples.size());
        for (size_t k = 0; k < polar.rows.size(); ++k) {
            const PolarSample &s = reference[0].samples[k];
            EXPECT_TRUE(sameBits(s.alpha, polar.rows[k].angle) && sameBits(s.ca, polar.rows[k].ca)
                        && sameBits(s.cm, polar.rows[k].cm) && sameBits(s.cw, polar.rows[k].cw)
                        && sameBits(s.xtrUpper, polar.rows[k].xUpper) && sameBits(s.xtrLower, polar.rows[k].xLower))
                << "angle " << s.alpha;
        }
    }
}

// A sweep for a state that is already outdated stops between batches; the
// solvers it keeps must not carry the stop into the next run.
TEST(PolarSweep, AStoppedSweepEndsEarlyAndTheNextRunIsWhole)
{
    const std::vector<TKoordi> points = MakeNaca4("2412", 81).Points;
    const PolarRange range{-12.0f, 14.0f, 0.1f};
    PolarSweep serial(1);
    const auto reference = serial.run(points, {2e5}, range);
    EXPECT_FALSE(serial.stopped());
    for (int jobs : {1, 2}) {
        PolarSweep sweep(jobs);
        std::atomic<int> asked{0};
        const auto partial = sweep.run(points, {2e5}, range, [&] { return ++asked > 3; });
        EXPECT_TRUE(sweep.stopped());
        ASSERT_EQ(partial.size(), 1u);
        EXPECT_GT(partial[0].failed, 150) << "most batches never ran";
        expectIdentical(reference, sweep.run(points, {2e5}, range));
        EXPECT_FALSE(sweep.stopped());
        // stopped before it began: nothing computed at all
        const auto none = sweep.run(points, {2e5}, range, [] { return true; });
        EXPECT_TRUE(sweep.stopped());
        EXPECT_EQ(size_t(none[0].failed), none[0].samples.size());
    }
}

TEST(PolarSweep, EachReynoldsNumberOfAListGivesItsOwnPolar)
{
    const std::vector<TKoordi> points = MakeNaca4("4412", 61).Points;
    const PolarRange range{-4.0f, 8.0f, 0.5f};
    PolarSweep sweep(2);
    const auto together = sweep.run(points, {1e5, 5e5, 2e6}, range);
    ASSERT_EQ(together.size(), 3u);
    EXPECT_EQ(together[1].re, 5e5);
    // The engine shares laminar steps between the Reynolds numbers of one
    // run, which may move the last bit; anything more is a mix-up of curves.
    for (size_t j = 0; j < together.size(); ++j) {
        const PolarCurve alone = sweep.run(points, {together[j].re}, range)[0];
        ASSERT_EQ(alone.samples.size(), together[j].samples.size());
        for (size_t k = 0; k < alone.samples.size(); ++k) {
            const PolarSample &p = together[j].samples[k];
            const PolarSample &q = alone.samples[k];
            ASSERT_TRUE(p.valid && q.valid);
            EXPECT_NEAR(p.ca, q.ca, 1e-5f);
            EXPECT_NEAR(p.cw, q.cw, 1e-6f) << "re " << q.alpha;
            EXPECT_NEAR(p.xtrUpper, q.xtrUpper, 1e-5f);
            EXPECT_NEAR(p.xtrLower, q.xtrLower, 1e-5f);
        }
    }
    // a higher Reynolds number means less drag at the same angle
    EXPECT_GT(together[0].samples[8].cw, together[2].samples[8].cw);
}

TEST(PolarSweep, AContourTheEngineCannotSolveIsAllGaps)
{
    const std::vector<TKoordi> flat(30, TKoordi{0.5, 0.0});
    PolarSweep sweep(2);
    const auto curves = sweep.run(flat, {1e5, 1e6}, {0.0f, 3.0f, 1.0f});
    ASSERT_EQ(curves.size(), 2u);
    for (const PolarCurve &c : curves) {
        EXPECT_EQ(c.failed, 4);
        EXPECT_EQ(c.samples[3].alpha, 3.0f);
    }
    // too many points, or Reynolds numbers the engine does not take
    std::vector<TKoordi> huge = MakeNaca4("0012", 251).Points;
    EXPECT_EQ(sweep.run(huge, {1e5}, {0.0f, 1.0f, 1.0f})[0].failed, 2);
    EXPECT_EQ(sweep.run(MakeNaca4("0012", 41).Points, {1e5, -1.0}, {0.0f, 1.0f, 1.0f})[0].failed, 2);
}

TEST(PolarSweep, ReadsTheFieldsLikeTheTransitionPolar)
{
    PolarRange r;
    EXPECT_EQ(ParsePolarRange("-4", "8,5", "0.5", r), "");
    EXPECT_EQ(r.start, -4.0f);
    EXPECT_EQ(r.end, 8.5f);
    EXPECT_EQ(r.step, 0.5f);
    EXPECT_EQ(ParsePolarRange("-90", "8", "1", r), kMsgBadStartAngle);
    EXPECT_EQ(ParsePolarRange("0", "x", "1", r), kMsgBadEndAngle);
    EXPECT_EQ(ParsePolarRange("5", "4", "1", r), kMsgEndBeforeStart);
    EXPECT_EQ(ParsePolarRange("0", "4", "0,09", r), kMsgStepTooSmall);
    EXPECT_EQ(r.end, 8.5f) << "a refused text leaves the range alone";

    std::vector<double> re;
    EXPECT_EQ(ParseReynoldsList("1e5,2e5; 500000  1E6", re), "");
    EXPECT_EQ(re, (std::vector<double>{1e5, 2e5, 5e5, 1e6}));
    EXPECT_EQ(ParseReynoldsList("viel", re), "'viel' ist kein gültiger Gleitkommawert");
    EXPECT_NE(ParseReynoldsList("1e5,0", re).find("Reynoldszahl 0 "), std::string::npos);
    EXPECT_NE(ParseReynoldsList("1,2,3,4,5,6", re).find("Höchstens 5"), std::string::npos);
    EXPECT_FALSE(ParseReynoldsList(" , ", re).empty());
    EXPECT_EQ(re.size(), 4u);
}

TEST(PanelSolution, TwoThreadsGiveTheBitsOfOne)
{
    using namespace velmora::eppler;
    for (const auto &[code, half, open] : {std::tuple{"2412", 226, false}, std::tuple{"0012", 81, false},
                                           std::tuple{"4415", 151, true}}) {
        std::vector<TKoordi> pts = MakeNaca4(code, half).Points;
        if (open) {
            pts.front().Y += 0.002;
            pts.back().Y -= 0.002;
        }
        Contour base;
        base.n = int(pts.size());
        for (int i = 0; i < base.n; ++i) {
            base.x[size_t(i) + 1] = float(pts[size_t(i)].X);
            base.y[size_t(i) + 1] = float(pts[size_t(i)].Y);
        }
        ContourTangents(base);
        PanelSolution results[2];
        for (int t : {1, 2}) {
            Contour c = base;
            PanelWorkspace ws;
            ws.threads = t;
            PanelSolve(c, ws, results[t - 1]);
        }
        EXPECT_EQ(std::memcmp(results[0].gamma0.data(), results[1].gamma0.data(), sizeof(results[0].gamma0)), 0) << code;
        EXPECT_EQ(std::memcmp(results[0].gamma90.data(), results[1].gamma90.data(), sizeof(results[0].gamma90)), 0) << code;
        EXPECT_TRUE(sameBits(results[0].alpha0, results[1].alpha0)) << code;
    }
}

TEST(PanelShare, ThreadsOnOneContourSolveItOnceAndGetTheSameBits)
{
    const std::vector<TKoordi> points = MakeNaca4("2412", 101).Points;
    PanelShare share;
    EpplerSolver a, b;
    std::thread other([&] { share.prepare(b, points); });
    share.prepare(a, points);
    other.join();
    EXPECT_EQ(a.panelSolutionCount() + b.panelSolutionCount(), 1);

    PolarSweep sweep(2);
    share.prepare(sweep.leadSolver(), points);
    const auto shared = sweep.run(points, {3e5}, {-3.0f, 5.0f, 0.25f});
    EXPECT_EQ(sweep.leadSolver().panelSolutionCount(), 0) << "the sweep took the shared solution";
    PolarSweep alone(1);
    expectIdentical(shared, alone.run(points, {3e5}, {-3.0f, 5.0f, 0.25f}));

    // another contour is computed anew, not mistaken for the shared one
    std::vector<TKoordi> moved = points;
    moved[7].Y += 1e-4;
    EpplerSolver c;
    share.prepare(c, moved);
    EXPECT_EQ(c.panelSolutionCount(), 1);
}

TEST(HelperThread, RunsEachTaskOnItsOwnThreadAndHandsBackWhatItThrew)
{
    HelperThread helper;
    std::thread::id ran;
    int count = 0;
    for (int k = 0; k < 200; ++k) {
        helper.start([&] {
            ran = std::this_thread::get_id();
            ++count;
        });
        helper.wait();
        // with or without a pause the helper must be found again
        if (k % 50 == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(count, 200);
    EXPECT_NE(ran, std::this_thread::get_id());

    helper.start([] { throw EpplerError("from the helper"); });
    EXPECT_THROW(helper.wait(), EpplerError);
    helper.start([&] { ++count; });
    EXPECT_NO_THROW(helper.wait()) << "a fault is handed back once";
    EXPECT_EQ(count, 201);
    helper.wait(); // nothing running: returns at once
}

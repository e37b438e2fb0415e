// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analysiscommands.h"
#include "analysis/polarsweep.h"
#include "analysis_support.h"
#include "sections.h"
#include "geometry/naca4.h"
#include "model/errors.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace velmora;
using velmora::testing::engineInput;

namespace {

// A profile of exactly `count` points: a NACA section with points added
// halfway along its first panels.
std::vector<TKoordi> profileOf(int count)
{
    std::vector<TKoordi> p = MakeNaca4("2412", (count + 1) / 2).Points;
    for (size_t i = 0; int(p.size()) < count; i += 2)
        p.insert(p.begin() + long(i) + 1, {0.5 * (p[i].X + p[i + 1].X), 0.5 * (p[i].Y + p[i + 1].Y)});
    return p;
}

// Passes every check before the engine, which then fails on the twice-listed point.
std::vector<TKoordi> brokenProfile()
{
    std::vector<TKoordi> p = MakeNaca4("2412", 41).Points;
    p.insert(p.begin() + 20, p[20]);
    return p;
}

std::vector<TKoordi> transformed(std::vector<TKoordi> p, double scale, double dx, double dy, double degrees)
{
    const double c = std::cos(degrees * M_PI / 180.0), s = std::sin(degrees * M_PI / 180.0);
    for (TKoordi &k : p) {
        const double x = k.X, y = k.Y;
        k.X = scale * (c * x - s * y) + dx;
        k.Y = scale * (s * x + c * y) + dy;
    }
    return p;
}

} // namespace

TEST(VelocityDistribution, AnalysesUpTo450PointsAndRefusesMore)
{
    EpplerSolver solver;
    const auto ok = ComputeVelocityDistribution(solver, profileOf(450), 2.0, 1e6);
    EXPECT_EQ(ok.status, AnalysisStatus::Ok);
    EXPECT_EQ(ok.row.vPunkte.size(), 450u);

    const auto refused = ComputeVelocityDistribution(solver, profileOf(451), 2.0, 1e6);
    EXPECT_EQ(refused.status, AnalysisStatus::TooManyPoints);
    EXPECT_EQ(refused.message, "Zu viele Koordinatenpaare für Profil-Rechnung MAX 450 !!");
    // The count is checked before the texts are read.
    EXPECT_EQ(ComputeVelocityDistribution(solver, profileOf(451), "x", "y").status,
              AnalysisStatus::TooManyPoints);
}

TEST(VelocityDistribution, ResultRowHoldsTheEngineResultsAtTheAngle)
{
    const auto points = MakeNaca4("2412").Points;
    EpplerSolver solver;
    const VelocityDistribution r = ComputeVelocityDistribution(solver, points, 3.0, 5e5);
    ASSERT_EQ(r.status, AnalysisStatus::Ok);
    const TEpplerOutput out = EpplerRun(engineInput(points, {3.0f}, {5e5f}));
    const tpolarzeile &row = r.row;
    EXPECT_EQ(row.Re, 5e5);
    EXPECT_EQ(row.Alfa, 3.0);
    EXPECT_EQ(row.cw, double(out.cw[0][0]));
    EXPECT_EQ(row.xUmschlagOben, out.upper[0][0].transitionX);
    EXPECT_EQ(row.blaseUnten, double(out.lower[0][0].bubbleFlag));
    ASSERT_EQ(row.vPunkte.size(), points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(row.vPunkte[i].x, double(float(points[i].X)));
        EXPECT_EQ(row.vPunkte[i].y, double(float(points[i].Y)));
        EXPECT_EQ(row.vPunkte[i].v, double(out.nodeValue[i][0]));
    }
}

TEST(VelocityDistribution, EngineFaultBecomesTheCalculationErrorMessage)
{
    EpplerSolver solver;
    const auto r = ComputeVelocityDistribution(solver, brokenProfile(), 2.0, 1e6);
    EXPECT_EQ(r.status, AnalysisStatus::EngineError);
    EXPECT_EQ(r.message, "Rechenfehler in Profil-Routione !!");
    EXPECT_TRUE(r.row.vPunkte.empty());
}

TEST(AnalysisContract, RefusesWhatWouldGiveMeaninglessNumbersBeforeTheEngineRuns)
{
    const auto naca = MakeNaca4("2412", 41).Points;
    std::vector<TKoordi> reversed(naca.rbegin(), naca.rend());
    std::vector<TKoordi> crossing = naca;
    std::swap(crossing[10].Y, crossing[70].Y); // an upper point drops below the lower side
    const std::vector<TKoordi> onlyThree = {{1, 0}, {0, 0}, {1, -0.01}};
    std::vector<TKoordi> endsCrossed = naca;
    endsCrossed.front().Y = -0.0003;
    endsCrossed.back().Y = 0.0003;
    std::vector<TKoordi> lowerShort = naca;
    lowerShort.resize(lowerShort.size() - 2);
    std::vector<TKoordi> spike = naca; // a point mistyped by 3 % of the chord, well aft of the nose
    spike[10].Y += 0.03;
    std::vector<TKoordi> noseCorner = velmora::testing::nacaSection("2412"); // the lower side leaves the nose along the chord
    const size_t nose = noseCorner.size() / 2;
    for (size_t k = nose + 1; k < nose + 6; ++k)
        noseCorner[k].Y = 0.0;
    struct Case
    {
        const char *what;
        std::vector<TKoordi> points;
        const char *message;
    };
    const Case cases[] = {
        {"reversed", reversed, kMsgAnalysisWrongDirection},
        {"millimetres", transformed(naca, 100, 0, 0, 0), kMsgAnalysisNotNormalised},
        {"moved", transformed(naca, 1, 0.011, 0, 0), kMsgAnalysisNotNormalised},
        {"turned about the nose", transformed(naca, 1, 0, 0, 2), kMsgAnalysisNotNormalised},
        {"crossing", crossing, kMsgAnalysisSelfCrossing},
        {"flat", std::vector<TKoordi>{{1, 0}, {0.5, 0}, {0, 0}, {0.5, 0}, {1, 0}}, kMsgAnalysisWrongDirection},
        {"trailing-edge points crossed", endsCrossed, kMsgAnalysisSidesCross},
        {"lower side short of the trailing edge", lowerShort, kMsgAnalysisSideShort},
        {"spike", spike, kMsgAnalysisKink},
        {"corner at the nose", noseCorner, kMsgAnalysisNoseCorner},
        {"too coarse", MakeNaca4("2412", 20).Points, kMsgAnalysisTooCoarse},
        {"three points", onlyThree, kMsgAnalysisTooCoarse},
        {"none", {}, kMsgAnalysisTooCoarse},
        {"not a number", transformed(naca, NAN, 0, 0, 0), kMsgAnalysisNotNormalised},
    };
    EpplerSolver solver;
    for (const Case &c : cases) {
        EXPECT_EQ(AnalysisContractViolation(c.points), c.message) << c.what;
        const auto r = ComputeVelocityDistribution(solver, c.points, 2.0, 1e6);
        EXPECT_EQ(r.status, AnalysisStatus::Refused) << c.what;
        EXPECT_EQ(r.message, c.message) << c.what;
        const auto polar = ComputeTransitionPolar(solver, c.points, "1e6", "0", "2", "1");
        EXPECT_EQ(polar.status, PolarStatus::Refused) << c.what;
        EXPECT_EQ(polar.message, c.message) << c.what;
        EXPECT_TRUE(polar.rows.empty());
    }
    // Angles and Reynolds numbers outside the method's range, NaN included.
    for (double alpha : {89.5, -90.0, double(NAN)})
        EXPECT_EQ(ComputeVelocityDistribution(solver, naca, alpha, 1e6).message, kMsgBadAngle) << alpha;
    for (double re : {0.0, 1e-30, 9999.0, 1.01e8, 1e300, double(NAN)})
        EXPECT_EQ(ComputeVelocityDistribution(solver, naca, 2.0, re).message, kMsgBadReynolds) << re;
    EXPECT_EQ(ComputeTransitionPolar(solver, naca, "5000", "0", "2", "1").message, kMsgBadReynolds);
    EXPECT_EQ(solver.panelSolutionCount(), 0);
    EXPECT_EQ(ComputeVelocityDistribution(solver, naca, -20.0, 1e4).status, AnalysisStatus::Ok);
    EXPECT_EQ(ComputeVelocityDistribution(solver, naca, 0.0, 1e8).status, AnalysisStatus::Ok);
}

TEST(AnalysisContract, LetsThroughWhatPublishedCoordinateFilesLookLike)
{
    using velmora::testing::SectionPoints;
    using velmora::testing::nacaSection;
    SectionPoints rounded;
    rounded.decimals = 4;
    SectionPoints noisyOpen;
    noisyOpen.noise = 1e-4;
    noisyOpen.openTrailingEdge = true;
    noisyOpen.count = 61;
    SectionPoints noisyDense; // noise larger than the spacing at the trailing edge
    noisyDense.noise = 1e-4;
    noisyDense.count = 449;
    noisyDense.seed = 2;
    const std::vector<std::vector<TKoordi>> accepted = {
        MakeNaca4("0009", 21).Points,
        transformed(nacaSection("2412"), 0.9999, 4e-4, -3e-4, 0.2),
        nacaSection("23012", rounded),
        nacaSection("0009", noisyOpen),
        nacaSection("0012", noisyDense),
        transformed(nacaSection("4412"), 1, 0.009, 0, 0),
    };
    for (const auto &points : accepted)
        EXPECT_EQ(AnalysisContractViolation(points), "");
}

TEST(VelocityDistribution, ReadsTheFieldTextsWithEitherDecimalSeparator)
{
    EpplerSolver solver;
    const auto points = MakeNaca4("2412").Points;
    const auto comma = ComputeVelocityDistribution(solver, points, "2,5", "300000");
    const auto point = ComputeVelocityDistribution(solver, points, " 2.5 ", "3e5");
    ASSERT_EQ(comma.status, AnalysisStatus::Ok);
    EXPECT_EQ(comma.row.Alfa, 2.5);
    EXPECT_EQ(comma.row.ca, point.row.ca);
    try {
        ComputeVelocityDistribution(solver, points, "zwei", "300000");
        FAIL() << "no conversion error";
    } catch (const UserError &e) {
        EXPECT_STREQ(e.what(), "'zwei' ist kein gültiger Gleitkommawert");
    }
}

TEST(VelocityDistribution, CoefficientTextRoundsToSixDecimalsWithAComma)
{
    EXPECT_EQ(CoefficientText(0.123456789), "0,123457");
    EXPECT_EQ(CoefficientText(-0.0954669), "-0,095467");
    EXPECT_EQ(CoefficientText(1.5), "1,5");
    EXPECT_EQ(CoefficientText(0.0000004), "0");
}

TEST(TransitionPolar, RefusesBadAnglesWithTheFieldsMessages)
{
    EpplerSolver solver;
    const auto p = MakeNaca4("2412", 41).Points;
    struct Case
    {
        const char *start, *end, *step;
        PolarStatus status;
        const char *message;
    };
    const Case cases[] = {
        {"-90", "14", "0,1", PolarStatus::BadStart,
         "Falscheingabe Startwinkel !!.\rBitte nur Zahlen zwischen -89 und +89 eingeben."},
        {"89,5", "89,6", "0,1", PolarStatus::BadStart, kMsgBadStartAngle},
        {"abc", "14", "0,1", PolarStatus::BadStart, kMsgBadStartAngle},
        {"-12", "", "0,1", PolarStatus::BadEnd,
         "Falscheingabe Endwinkel !!.\rBitte nur Zahlen zwischen -89 und +89 eingeben."},
        {"-12", "90", "0,1", PolarStatus::BadEnd,
         "Falscheingabe Endwinkel !!.\rBitte nur Zahlen zwischen -89 und +89 eingeben."
         "\rEndwinkel muß > Startwinkel sein"},
        {"5", "4,9", "0,1", PolarStatus::BadEnd, kMsgEndBeforeStart},
        {"-12", "14", "0.09", PolarStatus::BadStep,
         "Falscheingabe: Stepwinkel zu klein !!.\rBitte nur Zahlen >=0,1 eingeben."},
        {"-12", "14", "-1", PolarStatus::BadStep, kMsgStepTooSmall},
        {"-12", "14", "x", PolarStatus::BadStep, kMsgStepTooSmall},
    };
    for (const Case &c : cases) {
        const TransitionPolar r = ComputeTransitionPolar(solver, p, "1e6", c.start, c.end, c.step);
        EXPECT_EQ(r.status, c.status) << c.start << " " << c.end << " " << c.step;
        EXPECT_EQ(r.message, c.message) << c.start << " " << c.end << " " << c.step;
        EXPECT_TRUE(r.rows.empty());
    }
    EXPECT_EQ(solver.panelSolutionCount(), 0);
}

TEST(TransitionPolar, ChecksThePointCountBeforeTheReynoldsText)
{
    EpplerSolver solver;
    EXPECT_EQ(ComputeTransitionPolar(solver, profileOf(451), "x", "0", "1", "0,1").status,
              PolarStatus::TooManyPoints);
    EXPECT_THROW(ComputeTransitionPolar(solver, profileOf(40), "x", "0", "1", "0,1"), UserError);
}

TEST(TransitionPolar, DefaultSweepStepsInSinglePrecisionInBatchesOf14)
{
    const auto batches = PolarBatches(-12.0f, 14.0f, 0.1f);
    ASSERT_EQ(batches.size(), 19u);
    size_t total = 0;
    float expected = -12.0f;
    for (size_t b = 0; b < batches.size(); ++b) {
        if (b + 1 < batches.size()) {
            EXPECT_EQ(batches[b].size(), 14u);
        }
        for (float angle : batches[b]) {
            EXPECT_EQ(angle, expected);
            expected += 0.1f;
        }
        total += batches[b].size();
    }
    // Single-precision sums drift: the 261st angle is 14.000027 > 14.
    EXPECT_EQ(total, 260u);
    EXPECT_LT(batches.back().size(), 14u);
    EXPECT_LE(batches.back().back(), 14.0f);
    EXPECT_GT(batches.back().back() + 0.1f, 14.0f);

    EXPECT_EQ(PolarBatches(3.0f, 3.0f, 0.1f), std::vector<std::vector<float>>{{3.0f}});
    EXPECT_TRUE(PolarBatches(3.0f, 2.0f, 0.1f).empty());
    // A step below the angle's resolution ends the sweep instead of hanging.
    EXPECT_EQ(PolarBatches(80.0f, 81.0f, 1e-7f).size(), 1u);
}

TEST(TransitionPolar, SweepsEveryAngleWithOneRowEachAndOnePanelSolution)
{
    EpplerSolver solver;
    const auto points = MakeNaca4("2412").Points;
    const TransitionPolar r = ComputeTransitionPolar(solver, points, "1e6", "-4", "4", "0.5");
    ASSERT_EQ(r.status, PolarStatus::Ok);
    ASSERT_EQ(r.rows.size(), 17u);
    EXPECT_EQ(solver.panelSolutionCount(), 1);
    // Each row is what the speed-distribution command shows at that angle.
    for (const TUmschlagPunkt &row : r.rows) {
        const auto single = ComputeVelocityDistribution(solver, points, double(row.angle), 1e6);
        EXPECT_EQ(row.xUpper, float(single.row.xUmschlagOben)) << row.angle;
        EXPECT_EQ(row.xLower, float(single.row.xUmschlagUnten)) << row.angle;
        EXPECT_EQ(row.ca, float(single.row.ca)) << row.angle;
        EXPECT_EQ(row.cw, float(single.row.cw)) << row.angle;
    }
    EXPECT_EQ(solver.panelSolutionCount(), 1);
    EXPECT_EQ(ComputeTransitionPolar(solver, points, "1e6", "2,5", "2.5", "0,1").rows.size(), 1u);
}

TEST(TransitionPolar, EngineErrorReportsTheFailingAngleForTheFieldMarking)
{
    EpplerSolver solver;
    PolarSweep sweep(2);
    const TransitionPolar shared = ComputeTransitionPolar(sweep, brokenProfile(), "1e6", "-5", "5", "0,1");
    EXPECT_EQ(shared.status, PolarStatus::EngineError);
    EXPECT_TRUE(shared.rows.empty());
    const TransitionPolar r = ComputeTransitionPolar(solver, brokenProfile(), "1e6", "-5", "5", "0,1");
    EXPECT_EQ(shared.failedAngle, r.failedAngle);
    EXPECT_EQ(r.status, PolarStatus::EngineError);
    EXPECT_TRUE(r.message.empty());
    EXPECT_TRUE(r.rows.empty());
    // The first batch fails; its last angle is the one reported.
    EXPECT_EQ(r.failedAngle, PolarBatches(-5.0f, 5.0f, 0.1f).front().back());
    EXPECT_NEAR(r.failedAngle, -3.7, 1e-5);
    EXPECT_TRUE(r.engineErrorAtStart(-2.0));
    EXPECT_TRUE(r.engineErrorAtStart(double(r.failedAngle)));
    EXPECT_FALSE(r.engineErrorAtStart(-4.0));
}

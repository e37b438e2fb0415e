// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analysiscommands.h"
#include "analysis/polarsweep.h"

#include "model/numbertext.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

void fillContour(TEpplerInput &in, const std::vector<TKoordi> &points)
{
    in.pointCount = int32_t(points.size());
    for (size_t i = 0; i < points.size() && i < size_t(kMaxNodes); ++i) {
        in.x[i] = static_cast<float>(points[i].X);
        in.y[i] = static_cast<float>(points[i].Y);
    }
}

// Profile coordinates beyond the float range would make the conversion
// itself undefined; they are an engine error like any other fault.
bool fitsSingle(const std::vector<TKoordi> &points)
{
    for (const TKoordi &k : points) {
        if (!(std::fabs(k.X) <= 3.0e38) || !(std::fabs(k.Y) <= 3.0e38))
            return false;
    }
    return true;
}

bool fitsSingle(double value)
{
    return std::fabs(value) <= 3.0e38;
}

// A field's value as the command holds it, or false when it is not a number.
bool parseSingle(std::string_view text, float &value)
{
    double d = 0;
    if (!TryParseNumber(text, d) || !fitsSingle(d))
        return false;
    value = static_cast<float>(d);
    return true;
}

// Sign of the turn a -> b -> c: > 0 counter-clockwise.
double turn(const TKoordi &a, const TKoordi &b, const TKoordi &c)
{
    return (b.X - a.X) * (c.Y - a.Y) - (b.Y - a.Y) * (c.X - a.X);
}

// Segments cross at a point inside both; touching ends do not count (a
// closed trailing edge shares its point between the first and last segment).
bool properlyCross(const TKoordi &a, const TKoordi &b, const TKoordi &c, const TKoordi &d)
{
    const double d1 = turn(c, d, a), d2 = turn(c, d, b);
    const double d3 = turn(a, b, c), d4 = turn(a, b, d);
    return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

// Where the contour crosses itself: the x of the crossing farthest forward,
// or +inf when it does not. Crossings of the last panels closer than the
// digitising noise of published files (a few 1e-4 chord) are left to the
// trailing-edge check.
double forwardmostCrossing(const std::vector<TKoordi> &p)
{
    // the segments i -> i + 1 and the closing one from the last point to the first
    const size_t n = p.size();
    auto from = [&](size_t i) -> const TKoordi & { return p[i]; };
    auto to = [&](size_t i) -> const TKoordi & { return p[(i + 1) % n]; };
    double forward = INFINITY;
    for (size_t i = 0; i < n; ++i) {
        const double loX = std::min(from(i).X, to(i).X), hiX = std::max(from(i).X, to(i).X);
        for (size_t j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1)
                continue; // neighbours across the closing segment
            if (std::max(from(j).X, to(j).X) < loX || std::min(from(j).X, to(j).X) > hiX)
                continue;
            if (!properlyCross(from(i), to(i), from(j), to(j)))
                continue;
            const double t = turn(from(j), to(j), from(i))
                / (turn(from(j), to(j), from(i)) - turn(from(j), to(j), to(i)));
            forward = std::min(forward, from(i).X + t * (to(i).X - from(i).X));
        }
    }
    return forward;
}

// x of the forwardmost point listed twice apart from a closed trailing edge,
// or +inf. Rounding can put the last points of a thin trailing edge on both
// sides; the panel solution cannot take a node on another panel.
double sharedPoint(const std::vector<TKoordi> &p)
{
    const size_t n = p.size();
    double forward = INFINITY;
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = i + 2; j < n; ++j) {
            if (!(i == 0 && j == n - 1) && p[i].X == p[j].X && p[i].Y == p[j].Y)
                forward = std::min(forward, p[i].X);
        }
    }
    return forward;
}

bool withinTolerance(double x, double y, double atX, double atY)
{
    // written so that a NaN fails
    return std::hypot(x - atX, y - atY) <= kNormalisedTolerance;
}

double turnDegrees(const TKoordi &a, const TKoordi &b, const TKoordi &c)
{
    return std::fabs(std::remainder(std::atan2(c.Y - b.Y, c.X - b.X) - std::atan2(b.Y - a.Y, b.X - a.X),
                                    2.0 * M_PI))
        * 180.0 / M_PI;
}

bool samePoint(const TKoordi &a, const TKoordi &b)
{
    return a.X == b.X && a.Y == b.Y;
}

// An interior point of a pair of segments that cross aft of
// 1 - 5 * kTrailingEdgeNoise (where a closed edge is thinner than the noise),
// the one farthest aft; 0 when no segments cross there.
size_t pointOfTrailingEdgeCrossing(const std::vector<TKoordi> &p)
{
    const size_t n = p.size();
    const double from = 1.0 - 5 * kTrailingEdgeNoise;
    for (size_t i = 0; i + 1 < n; ++i) {
        if (std::max(p[i].X, p[i + 1].X) < from)
            continue;
        for (size_t j = i + 2; j + 1 < n; ++j) {
            // the two edge panels of a closed edge whose ends rounding put a
            // hair out of order: no point between them to leave out
            if (i == 0 && j + 2 == n)
                continue;
            if (std::max(p[j].X, p[j + 1].X) < from || !properlyCross(p[i], p[i + 1], p[j], p[j + 1]))
                continue;
            size_t aftmost = 0;
            for (size_t k : {i, i + 1, j, j + 1}) {
                if (k != 0 && k != n - 1 && p[k].X >= from && (aftmost == 0 || p[k].X > p[aftmost].X))
                    aftmost = k;
            }
            if (aftmost != 0)
                return aftmost;
        }
    }
    return 0;
}

} // namespace

std::vector<TKoordi> AnalysisContour(const std::vector<TKoordi> &points)
{
    std::vector<TKoordi> p = points;
    for (;;) {
        if (p.size() <= size_t(kMinAnalysisPoints))
            return p;
        if (const size_t crossing = pointOfTrailingEdgeCrossing(p); crossing != 0) {
            p.erase(p.begin() + std::ptrdiff_t(crossing));
            continue;
        }
        size_t sharpest = 0;
        double sharpestTurn = kFoldDegrees;
        for (size_t i = 1; i + 1 < p.size(); ++i) {
            const TKoordi &a = p[i - 1], &b = p[i], &c = p[i + 1];
            // a point listed twice in a row has no direction; the engine names it
            if (!(b.X > kKinkRegion) || samePoint(a, b) || samePoint(b, c) || samePoint(a, c))
                continue;
            const double t = turnDegrees(a, b, c);
            if (!(t > sharpestTurn))
                continue;
            const double offset = std::fabs(turn(a, c, b)) / std::hypot(c.X - a.X, c.Y - a.Y);
            if (offset < kFoldNoise) {
                sharpest = i;
                sharpestTurn = t;
            }
        }
        if (sharpest == 0)
            return p;
        p.erase(p.begin() + std::ptrdiff_t(sharpest));
    }
}

std::string AnalysisContractViolation(const std::vector<TKoordi> &points)
{
    const size_t n = points.size();
    if (n < size_t(kMinNodes))
        return kMsgAnalysisTooCoarse;
    size_t nose = 0;
    for (size_t i = 1; i < n; ++i) {
        if (points[i].X < points[nose].X)
            nose = i;
    }
    const TKoordi &first = points.front();
    const TKoordi &last = points.back();
    if (!withinTolerance(points[nose].X, points[nose].Y, 0.0, 0.0)
        || !withinTolerance((first.X + last.X) / 2.0, (first.Y + last.Y) / 2.0, 1.0, 0.0))
        return kMsgAnalysisNotNormalised;
    // Twice the enclosed area, positive when the upper side comes first.
    double area = 0;
    for (size_t i = 0; i < n; ++i) {
        const TKoordi &a = points[i];
        const TKoordi &b = points[(i + 1) % n];
        area += a.X * b.Y - b.X * a.Y;
    }
    if (nose == 0 || nose == n - 1 || !(area > 0.0))
        return kMsgAnalysisWrongDirection;
    const double crossing = forwardmostCrossing(points);
    const double shared = sharedPoint(points);
    if (crossing < kTrailingEdgeRegion || shared < kTrailingEdgeRegion)
        return kMsgAnalysisSelfCrossing;
    if (crossing < 1.0 - 5 * kTrailingEdgeNoise || shared <= 1.0 || first.Y < last.Y - kTrailingEdgeNoise)
        return kMsgAnalysisSidesCross;
    if (std::fabs(first.X - last.X) > kTrailingEdgeNoise * 5)
        return kMsgAnalysisSideShort;
    if (n < size_t(kMinAnalysisPoints))
        return kMsgAnalysisTooCoarse;
    const std::vector<TKoordi> contour = AnalysisContour(points);
    for (size_t i = 1; i + 1 < contour.size(); ++i) {
        const TKoordi &a = contour[i - 1], &b = contour[i], &c = contour[i + 1];
        // a point listed twice in a row has no direction; the engine names it
        if (!(b.X > kKinkRegion) || samePoint(a, b) || samePoint(b, c))
            continue;
        if (turnDegrees(a, b, c) > kKinkDegrees)
            return kMsgAnalysisKink;
    }
    if (nose >= 2 && nose + 2 < n) {
        auto turnAt = [&](size_t i) { return turnDegrees(points[i - 1], points[i], points[i + 1]); };
        if (turnAt(nose) - std::min(turnAt(nose - 1), turnAt(nose + 1)) > kNoseCornerDegrees)
            return kMsgAnalysisNoseCorner;
    }
    return {};
}

VelocityDistribution ComputeVelocityDistribution(EpplerSolver &solver,
                                                 const std::vector<TKoordi> &points, double alpha,
                                                 double re, BoundaryLayerTrace *trace)
{
    VelocityDistribution result;
    if (trace)
        *trace = BoundaryLayerTrace{};
    auto refuse = [&](AnalysisStatus status, std::string message) {
        if (trace)
            *trace = BoundaryLayerTrace{};
        result.status = status;
        result.message = std::move(message);
        return result;
    };
    if (points.size() > size_t(kMaxProfilePoints))
        return refuse(AnalysisStatus::TooManyPoints, kMsgTooManyPoints);
    if (!(std::fabs(alpha) <= kAnalysisAngleLimit))
        return refuse(AnalysisStatus::Refused, kMsgBadAngle);
    if (!(re >= kLowestReynolds && re <= kHighestReynolds))
        return refuse(AnalysisStatus::Refused, kMsgBadReynolds);
    if (std::string why = AnalysisContractViolation(points); !why.empty())
        return refuse(AnalysisStatus::Refused, std::move(why));
    try {
        if (!fitsSingle(points) || !fitsSingle(alpha) || !fitsSingle(re))
            throw EpplerError("value outside single precision");
        TEpplerInput in;
        fillContour(in, AnalysisContour(points));
        in.reynolds[0] = static_cast<float>(re);
        in.reynoldsCount = 1;
        in.alphas[0] = static_cast<float>(alpha);
        in.alphaCount = 1;
        in.angleMode = 1;
        TEpplerOutput out;
        solver.run(in, out, trace);

        tpolarzeile &row = result.row;
        row.Re = re;
        row.Alfa = alpha;
        row.ca = out.ca[0][0];
        row.cm = out.cm[0][0];
        row.cw = out.cw[0][0];
        row.xUmschlagOben = out.upper[0][0].transitionX;
        row.xUmschlagUnten = out.lower[0][0].transitionX;
        row.blaseOben = std::trunc(out.upper[0][0].bubbleFlag);
        row.blaseUnten = std::trunc(out.lower[0][0].bubbleFlag);
        row.vPunkte.resize(size_t(out.pointCountOut));
        for (int i = 0; i < out.pointCountOut; ++i)
            row.vPunkte[size_t(i)] = {out.xOut[i], out.yOut[i], out.nodeValue[i][0]};
        result.zeroLiftAngle = out.zeroLiftAngle;
    } catch (const EpplerError &) {
        if (trace)
            *trace = BoundaryLayerTrace{};
        result = VelocityDistribution{};
        result.status = AnalysisStatus::EngineError;
        result.message = kMsgEngineError;
    }
    return result;
}

VelocityDistribution ComputeVelocityDistribution(EpplerSolver &solver,
                                                 const std::vector<TKoordi> &points,
                                                 std::string_view alphaText,
                                                 std::string_view reText)
{
    if (points.size() > size_t(kMaxProfilePoints)) {
        VelocityDistribution result;
        result.status = AnalysisStatus::TooManyPoints;
        result.message = kMsgTooManyPoints;
        return result;
    }
    const double alpha = ParseNumber(alphaText);
    const double re = ParseNumber(reText);
    return ComputeVelocityDistribution(solver, points, alpha, re);
}

std::string CoefficientText(double value)
{
    return FloatToCommaText(RoundDecimals(6, value));
}

std::vector<std::vector<float>> PolarBatches(float start, float end, float step)
{
    std::vector<std::vector<float>> batches;
    if (!(step > 0.0f) || !(start <= end))
        return batches;
    std::vector<float> batch;
    float angle = start;
    do {
        batch.push_back(angle);
        const float next = angle + step;
        // A step below the resolution of the angle would never get past end.
        const bool stuck = !(next > angle);
        if (int(batch.size()) == kMaxAngles || next > end || stuck) {
            batches.push_back(std::move(batch));
            batch.clear();
        }
        if (stuck)
            break;
        angle = next;
    } while (!(angle > end));
    return batches;
}

namespace {

// The checks of the transition polar in their order; false with `result`
// holding the refusal, else the sweep's angles and Reynolds number.
bool checkTransitionPolar(TransitionPolar &result, const std::vector<TKoordi> &points, std::string_view reText,
                          std::string_view startText, std::string_view endText, std::string_view stepText,
                          PolarRange &range, double &re)
{
    auto refuse = [&](PolarStatus status, std::string message) {
        result.status = status;
        result.message = std::move(message);
        return false;
    };
    if (points.size() > size_t(kMaxProfilePoints))
        return refuse(PolarStatus::TooManyPoints, kMsgTooManyPoints);
    re = ParseNumber(reText);

    float start = 0, end = 0, step = 0;
    // Written as negations so that a NaN is refused too.
    if (!parseSingle(startText, start) || !(start >= -89.0f && start <= 89.0f))
        return refuse(PolarStatus::BadStart, kMsgBadStartAngle);
    if (!parseSingle(endText, end))
        return refuse(PolarStatus::BadEnd, kMsgBadEndAngle);
    if (!(end >= -89.0f && end <= 89.0f && end >= start))
        return refuse(PolarStatus::BadEnd, kMsgEndBeforeStart);
    if (!parseSingle(stepText, step) || !(double(step) >= 0.1))
        return refuse(PolarStatus::BadStep, kMsgStepTooSmall);
    if (!(re >= kLowestReynolds && re <= kHighestReynolds))
        return refuse(PolarStatus::Refused, kMsgBadReynolds);
    if (std::string why = AnalysisContractViolation(points); !why.empty())
        return refuse(PolarStatus::Refused, std::move(why));
    range = {start, end, step};
    return true;
}

TransitionPolar engineError(float failedAngle)
{
    TransitionPolar result;
    result.status = PolarStatus::EngineError;
    result.failedAngle = failedAngle;
    return result;
}

} // namespace

TransitionPolar ComputeTransitionPolar(EpplerSolver &solver, const std::vector<TKoordi> &points,
                                       std::string_view reText, std::string_view startText,
                                       std::string_view endText, std::string_view stepText)
{
    TransitionPolar result;
    PolarRange range;
    double re = 0;
    if (!checkTransitionPolar(result, points, reText, startText, endText, stepText, range, re))
        return result;

    TEpplerInput in;
    fillContour(in, AnalysisContour(points));
    in.reynoldsCount = 1;
    in.angleMode = 1;
    TEpplerOutput out;
    for (const std::vector<float> &batch : PolarBatches(range.start, range.end, range.step)) {
        try {
            if (!fitsSingle(points) || !fitsSingle(re))
                throw EpplerError("value outside single precision");
            in.reynolds[0] = static_cast<float>(re);
            in.alphaCount = int32_t(batch.size());
            for (size_t k = 0; k < batch.size(); ++k)
                in.alphas[k] = batch[k];
            solver.run(in, out);
        } catch (const EpplerError &) {
            return engineError(batch.back());
        }
        for (size_t k = 0; k < batch.size(); ++k) {
            result.rows.push_back({batch[k], out.upper[k][0].transitionX, out.lower[k][0].transitionX,
                                   out.ca[k][0], out.cm[k][0], out.cw[k][0]});
        }
    }
    return result;
}

TransitionPolar ComputeTransitionPolar(PolarSweep &sweep, const std::vector<TKoordi> &points,
                                       std::string_view reText, std::string_view startText,
                                       std::string_view endText, std::string_view stepText)
{
    TransitionPolar result;
    PolarRange range;
    double re = 0;
    if (!checkTransitionPolar(result, points, reText, startText, endText, stepText, range, re))
        return result;
    const std::vector<std::vector<float>> batches = PolarBatches(range.start, range.end, range.step);
    if (batches.empty())
        return result;
    if (!fitsSingle(points) || !fitsSingle(re))
        return engineError(batches.front().back());

    const std::vector<PolarCurve> curves = sweep.run(points, {re}, range);
    const std::vector<PolarSample> &samples = curves.front().samples;
    size_t first = 0;
    for (const std::vector<float> &batch : batches) {
        for (size_t k = 0; k < batch.size(); ++k) {
            const PolarSample &s = samples[first + k];
            if (!s.valid)
                return engineError(batch.back());
            result.rows.push_back({s.alpha, s.xtrUpper, s.xtrLower, s.ca, s.cm, s.cw});
        }
        first += batch.size();
    }
    return result;
}

} // namespace velmora

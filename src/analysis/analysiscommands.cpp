// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analysiscommands.h"

#include "model/numbertext.h"

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

} // namespace

VelocityDistribution ComputeVelocityDistribution(EpplerSolver &solver,
                                                 const std::vector<TKoordi> &points, double alpha,
                                                 double re)
{
    VelocityDistribution result;
    if (points.size() > size_t(kMaxProfilePoints)) {
        result.status = AnalysisStatus::TooManyPoints;
        result.message = kMsgTooManyPoints;
        return result;
    }
    try {
        if (!fitsSingle(points) || !fitsSingle(alpha) || !fitsSingle(re))
            throw EpplerError("value outside single precision");
        TEpplerInput in;
        fillContour(in, points);
        in.reynolds[0] = static_cast<float>(re);
        in.reynoldsCount = 1;
        in.alphas[0] = static_cast<float>(alpha);
        in.alphaCount = 1;
        in.angleMode = 1;
        TEpplerOutput out;
        solver.run(in, out);

        tpolarzeile &row = result.row;
        row.Re = re;
        row.Alfa = alpha;
        row.ca = out.ca[0][0];
        row.cm = out.cm[0][0];
        row.cw = out.cw[0][0];
        row.xUmschlagOben = 1.0 - double(out.upper[0][0].transitionRun);
        row.xUmschlagUnten = 1.0 - double(out.lower[0][0].transitionRun);
        row.blaseOben = std::trunc(out.upper[0][0].bubbleFlag);
        row.blaseUnten = std::trunc(out.lower[0][0].bubbleFlag);
        row.vPunkte.resize(size_t(out.pointCountOut));
        for (int i = 0; i < out.pointCountOut; ++i)
            row.vPunkte[size_t(i)] = {out.xOut[i], out.yOut[i], out.nodeValue[i][0]};
        result.zeroLiftAngle = out.zeroLiftAngle;
    } catch (const EpplerError &) {
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

TransitionPolar ComputeTransitionPolar(EpplerSolver &solver, const std::vector<TKoordi> &points,
                                       std::string_view reText, std::string_view startText,
                                       std::string_view endText, std::string_view stepText)
{
    TransitionPolar result;
    auto refuse = [&](PolarStatus status, const char *message) {
        result.status = status;
        result.message = message;
        return result;
    };
    if (points.size() > size_t(kMaxProfilePoints))
        return refuse(PolarStatus::TooManyPoints, kMsgTooManyPoints);
    const double re = ParseNumber(reText);

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

    TEpplerInput in;
    fillContour(in, points);
    in.reynoldsCount = 1;
    in.angleMode = 1;
    TEpplerOutput out;
    for (const std::vector<float> &batch : PolarBatches(start, end, step)) {
        try {
            if (!fitsSingle(points) || !fitsSingle(re))
                throw EpplerError("value outside single precision");
            in.reynolds[0] = static_cast<float>(re);
            in.alphaCount = int32_t(batch.size());
            for (size_t k = 0; k < batch.size(); ++k)
                in.alphas[k] = batch[k];
            solver.run(in, out);
        } catch (const EpplerError &) {
            result.status = PolarStatus::EngineError;
            result.failedAngle = batch.back();
            result.rows.clear();
            return result;
        }
        for (size_t k = 0; k < batch.size(); ++k) {
            TUmschlagPunkt row;
            row.angle = batch[k];
            row.xUpper = static_cast<float>(1.0 - double(out.upper[k][0].transitionRun));
            row.xLower = static_cast<float>(1.0 - double(out.lower[k][0].transitionRun));
            row.ca = out.ca[k][0];
            row.cm = out.cm[k][0];
            row.cw = out.cw[k][0];
            result.rows.push_back(row);
        }
    }
    return result;
}

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/align.h"

#include "geometry/primitives.h"
#include "model/numbertext.h"

#include <array>
#include <cmath>

namespace velmora {

namespace {

constexpr int kMaxRounds = 15;
constexpr int kExtrapolationPasses = 20;

struct Mid
{
    double x;
    double y;
};

Mid trailingEdgeMid(const TProfile &p)
{
    const TKoordi &a = p.Points.front();
    const TKoordi &b = p.Points.back();
    return {(a.X + b.X) / 2, (a.Y + b.Y) / 2};
}

bool settled(double value, double target)
{
    return RoundDecimals(8, value) == target;
}

// The cubic through four points of one end, evaluated at x = 1; false when
// two of the points share their x.
bool extrapolateToOne(const TProfile &p, std::array<int, 4> indices, double &y)
{
    std::array<LagrangePair, 4> table;
    for (size_t i = 0; i < 4; ++i) {
        const TKoordi &k = p.Points[size_t(indices[i])];
        table[i] = {k.X, k.Y};
    }
    for (size_t i = 0; i < 4; ++i) {
        for (size_t j = i + 1; j < 4; ++j) {
            if (table[i].x == table[j].x)
                return false;
        }
    }
    y = LagrangeValue(table, 3, 1.0);
    return true;
}

// One run of the normalisation rounds; false with `why` set when the contour
// has no chord to normalise to.
bool normalise(TProfile &p, std::string_view &why)
{
    for (int round = 0; round < kMaxRounds; ++round) {
        Mid m = trailingEdgeMid(p);
        const double shiftX = 1 - m.x;
        const double shiftY = 0 - m.y;
        for (TKoordi &k : p.Points) {
            k.X += shiftX;
            k.Y += shiftY;
        }

        m = trailingEdgeMid(p);
        const int nose = NoseIndex(p);
        const double noseX = p.Points[size_t(nose)].X;
        const double noseY = p.Points[size_t(nose)].Y;
        if (1 - noseX == 0) {
            why = kMsgNoseAtTrailingEdge;
            return false;
        }
        const double angle = std::atan(noseY / (1 - noseX));
        RotatePoints(p, 0, PointCount(p) - 1, m.x, m.y, -angle);

        const double chord = m.x - p.Points[size_t(nose)].X;
        if (!(chord > 0) || !std::isfinite(chord)) {
            why = kMsgNoseAtTrailingEdge;
            return false;
        }
        if (chord != 1.0) {
            for (TKoordi &k : p.Points) {
                k.X /= chord;
                k.Y /= chord;
            }
        }

        m = trailingEdgeMid(p);
        if (settled(noseX, 0) && settled(noseY, 0) && settled(m.x, 1) && settled(m.y, 0))
            break;
    }
    return true;
}

} // namespace

GeometryResult AlignNormalise(TProfile &profile, bool extrapolate)
{
    const int n = PointCount(profile);
    if (n < (extrapolate ? 4 : 2))
        return GeometryResult::refused(kMsgTooFewPoints);
    bool vertical = true;
    for (const TKoordi &k : profile.Points)
        vertical = vertical && k.X == profile.Points.front().X;
    if (vertical)
        return GeometryResult::refused(kMsgVerticalLine);

    const std::vector<TKoordi> original = profile.Points;
    auto refuse = [&](std::string_view why) {
        profile.Points = original;
        return GeometryResult::refused(why);
    };

    const int passes = extrapolate ? kExtrapolationPasses : 1;
    for (int pass = 0; pass < passes; ++pass) {
        std::string_view why;
        if (!normalise(profile, why))
            return refuse(why);
        if (!extrapolate)
            break;
        if (profile.Points.front().X == 1.0 && profile.Points.back().X == 1.0)
            break;
        double y = 0;
        if (!extrapolateToOne(profile, {0, 1, 2, 3}, y))
            return refuse(kMsgEqualX);
        profile.Points.front().X = 1.0;
        profile.Points.front().Y = y;
        if (!extrapolateToOne(profile, {n - 1, n - 2, n - 3, n - 4}, y))
            return refuse(kMsgEqualX);
        profile.Points.back().X = 1.0;
        profile.Points.back().Y = y;
    }
    if (!AllFinite(profile.Points))
        return refuse(kMsgNoValidResult);
    return GeometryResult::ok();
}

void RoundTo6(TProfile &profile)
{
    // beyond about 1e302 the scaled value overflows; such a number has no
    // decimals to round anyway
    auto round = [](double v) {
        const double r = RoundTo6(v);
        return std::isfinite(r) ? r : v;
    };
    for (TKoordi &k : profile.Points) {
        k.X = round(k.X);
        k.Y = round(k.Y);
    }
}

} // namespace velmora

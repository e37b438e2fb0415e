// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/sides.h"

#include "geometry/primitives.h"

#include <algorithm>

namespace velmora {

namespace {

TKoordi point(double x, double y)
{
    TKoordi k;
    k.X = x;
    k.Y = y;
    return k;
}

std::string invertedName(const std::string &name)
{
    const size_t first = name.find('.');
    const size_t last = name.rfind('.');
    const std::string extension = last == std::string::npos ? std::string() : name.substr(last);
    return name.substr(0, first) + "_inv" + extension;
}

} // namespace

GeometryResult Invert(TProfile &profile)
{
    const size_t n = profile.Points.size();
    if (n == 0)
        return GeometryResult::refused(kMsgTooFewPoints);
    const TProfile copy = WholeCopy(profile);
    for (size_t k = 0; k < n; ++k) {
        profile.Points[n - 1 - k].X = copy.Points[k].X;
        profile.Points[n - 1 - k].Y = -copy.Points[k].Y;
    }
    profile.Name = invertedName(profile.Name);
    profile.Title += " inv";
    return GeometryResult::ok();
}

TProfile InverseCopy(const TProfile &profile)
{
    TProfile copy = WholeCopy(profile);
    Invert(copy);
    return copy;
}

namespace {

bool allOnOneVertical(const TProfile &profile)
{
    return std::all_of(profile.Points.begin(), profile.Points.end(),
                       [&profile](const TKoordi &k) { return k.X == profile.Points.front().X; });
}

} // namespace

GeometryResult MirrorUpper(TProfile &profile)
{
    const int k = NoseIndex(profile);
    if (k < 0 || PointCount(profile) < 2)
        return GeometryResult::refused(kMsgTooFewPoints);
    if (allOnOneVertical(profile))
        return GeometryResult::refused(kMsgVerticalLine);
    // a profile stored nose first has plenty of points, just no upper side
    if (k == 0)
        return GeometryResult::refused(kMsgNoseFirst);
    profile.Points.resize(size_t(k) + 1);
    for (int i = k - 1; i >= 0; --i)
        profile.Points.push_back(point(profile.Points[size_t(i)].X, -profile.Points[size_t(i)].Y));
    return GeometryResult::ok();
}

GeometryResult MirrorLower(TProfile &profile)
{
    const int k = NoseIndex(profile);
    const int n = PointCount(profile);
    if (k < 0 || n < 2)
        return GeometryResult::refused(kMsgTooFewPoints);
    if (allOnOneVertical(profile))
        return GeometryResult::refused(kMsgVerticalLine);
    if (k == n - 1)
        return GeometryResult::refused(kMsgNoseLast);
    TProfile mirrored;
    for (int i = n - 1; i >= k; --i)
        mirrored.Points.push_back(point(profile.Points[size_t(i)].X, -profile.Points[size_t(i)].Y));
    // the mirrored lower side runs from the trailing edge to the nose like an
    // upper side; one that ends at the nose's x again has none
    if (!MirrorUpper(mirrored))
        return GeometryResult::refused(kMsgNoseLast);
    profile.Points = std::move(mirrored.Points);
    return GeometryResult::ok();
}

GeometryResult ReplaceLowerSide(TProfile &profile, const TProfile &clipboard)
{
    const int nose = NoseIndex(profile);
    if (nose < 0)
        return GeometryResult::refused(kMsgTooFewPoints);
    const int clipNose = NoseIndex(clipboard);
    if (clipNose < 0 || clipNose == PointCount(clipboard) - 1)
        return GeometryResult::refused(kMsgNoClipboardLowerSide);
    profile.Points.resize(size_t(nose) + 1);
    for (size_t i = size_t(clipNose) + 1; i < clipboard.Points.size(); ++i)
        profile.Points.push_back(point(clipboard.Points[i].X, clipboard.Points[i].Y));
    return GeometryResult::ok();
}

GeometryResult DeleteMarkedPoints(TProfile &profile)
{
    std::erase_if(profile.Points, [](const TKoordi &k) { return k.Marked; });
    profile.MarkRangeStart = -1;
    profile.MarkRangeEnd = -1;
    profile.UnmarkRangeStart = -1;
    profile.UnmarkRangeEnd = -1;
    return GeometryResult::ok();
}

} // namespace velmora

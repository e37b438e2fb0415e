// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/coordinatefile.h"

#include "model/codepage.h"
#include "model/errors.h"
#include "model/numbertext.h"
#include "model/textfile.h"

#include <cmath>

namespace velmora {

std::string ProfileNameFromPath(const std::string &path)
{
    const std::string file = FileNamePart(path);
    const size_t at = UpperAscii(file).find(".DAT");
    // a file name may hold line breaks; a name must not carry them into a project
    return at == std::string::npos ? std::string()
                                   : WithoutControlCharacters(utf8ToCp1252(file.substr(0, at)));
}

namespace {

struct PointLine
{
    std::string_view text; // trimmed
    int number;            // line number in the file, from 1
};

double coordinate(std::string_view text, const PointLine &line)
{
    const double v = ParseNumber(text);
    if (std::fabs(v) > kMaxCoordinate)
        throw UserError(msgCoordinateTooLarge(line.number, cp1252ToUtf8(line.text)));
    return v;
}

// A tab separates the two numbers like a blank.
size_t separatorPos(std::string_view line)
{
    return line.find_first_of(" \t");
}

TKoordi parsePointLine(const PointLine &line)
{
    const size_t p = separatorPos(line.text);
    if (p == std::string_view::npos)
        throw NotAFloatError(line.text); // a single number: the whole line is at fault
    TKoordi k;
    k.X = coordinate(TrimText(line.text.substr(0, p + 1)), line);
    k.Y = coordinate(TrimText(line.text.substr(p)), line);
    return k;
}

bool isCount(double v)
{
    return v > 1 && v < 1e7 && std::floor(v) == v;
}

// A side as the count layout stores it: from the nose (its smallest x) to
// the trailing edge (its largest x).
bool runsNoseToTail(const std::vector<TKoordi> &side)
{
    if (side.size() < 2 || !(side.front().X < side.back().X))
        return false;
    for (const TKoordi &k : side) {
        if (k.X < side.front().X || k.X > side.back().X)
            return false;
    }
    return true;
}

// The layout with counts: "61. 61." then both sides from the nose to the
// trailing edge. Read literally the count line would give a point (61, 61),
// so the layout is taken only where the counts match the lines and both
// blocks really run that way; otherwise false and `points` stays empty.
bool readCountLayout(const std::vector<PointLine> &lines, std::vector<TKoordi> &points)
{
    if (lines.empty())
        return false;
    const std::string_view first = lines.front().text;
    const size_t p = separatorPos(first);
    double a = 0;
    double b = 0;
    if (p == std::string_view::npos || !TryParseNumber(TrimText(first.substr(0, p + 1)), a)
        || !TryParseNumber(TrimText(first.substr(p)), b) || !isCount(a) || !isCount(b)
        || size_t(a) + size_t(b) != lines.size() - 1)
        return false;
    const size_t upper = size_t(a);
    std::vector<TKoordi> upperSide;
    std::vector<TKoordi> lowerSide;
    upperSide.reserve(upper);
    lowerSide.reserve(size_t(b));
    for (size_t i = 1; i < lines.size(); ++i)
        (i <= upper ? upperSide : lowerSide).push_back(parsePointLine(lines[i]));
    if (!runsNoseToTail(upperSide) || !runsNoseToTail(lowerSide))
        return false;
    points.assign(upperSide.rbegin(), upperSide.rend());
    const bool sameNose = lowerSide.front().X == upperSide.front().X
        && lowerSide.front().Y == upperSide.front().Y;
    points.insert(points.end(), lowerSide.begin() + (sameNose ? 1 : 0), lowerSide.end());
    return true;
}

} // namespace

void ParseCoordinateText(TProfile &profile, std::string_view text, const std::string &name)
{
    // views into `text`, blank lines left out as they are read: a file of
    // nothing but line breaks costs no memory
    std::string_view title;
    bool hasTitle = false;
    std::vector<PointLine> pointLines;
    int number = 0;
    ForEachLine(text, [&](std::string_view line) {
        ++number;
        if (!hasTitle) {
            title = line;
            hasTitle = true;
            return;
        }
        const std::string_view t = TrimText(line);
        if (!t.empty())
            pointLines.push_back({t, number});
    });
    if (!hasTitle)
        throw UserError(msgListIndex(0));

    std::vector<TKoordi> points;
    if (!readCountLayout(pointLines, points)) {
        points.reserve(pointLines.size());
        for (const PointLine &line : pointLines)
            points.push_back(parsePointLine(line));
    }

    profile.Name = name;
    profile.Title = std::string(title);
    profile.Points = std::move(points);
}

void LoadCoordinateFile(TProfile &profile, const std::string &path)
{
    const std::string bytes = ReadFileBytes(path);
    ParseCoordinateText(profile, bytes, ProfileNameFromPath(path));
}

std::string CoordinateFileText(const TProfile &profile)
{
    std::string text;
    text.reserve(profile.Title.size() + 2 + profile.Points.size() * 24);
    text += WithoutControlCharacters(profile.Title);
    text += "\r\n";
    for (size_t i = 0; i < profile.Points.size(); ++i) {
        const TKoordi &k = profile.Points[i];
        text += CoordinateText(profile, i, k.X);
        text += ' ';
        text += CoordinateText(profile, i, k.Y);
        text += "\r\n";
    }
    return text;
}

std::string CoordinateText(const TProfile &profile, size_t point, double value)
{
    std::string text = FormatCoordinate(11, 6, '.', value);
    // the cut may take decimals, never digits before the point
    if (text.find('.') == std::string::npos)
        throw UserError(msgCannotWriteValue(cp1252ToUtf8(profile.Name), int(point) + 1,
                                            FormatCoordinate(0, 6, ',', value)));
    return text;
}

void WriteCoordinateFile(const TProfile &profile, const std::string &path)
{
    WriteFileAtomic(path, CoordinateFileText(profile));
}

} // namespace velmora

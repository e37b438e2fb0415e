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
    return at == std::string::npos ? std::string() : utf8ToCp1252(file.substr(0, at));
}

namespace {

TKoordi parsePointLine(std::string_view line)
{
    const size_t p = line.find(' ');
    TKoordi k;
    if (p == std::string_view::npos) {
        // a single number, or numbers joined by a tab: the whole line is at fault
        throw NotAFloatError(line);
    }
    k.X = ParseNumber(TrimText(line.substr(0, p + 1)));
    k.Y = ParseNumber(TrimText(line.substr(p)));
    return k;
}

bool isCount(double v)
{
    return v > 1 && v < 1e7 && std::floor(v) == v;
}

} // namespace

void ParseCoordinateText(TProfile &profile, std::string_view text, const std::string &name)
{
    const std::vector<std::string> lines = SplitLines(text);
    if (lines.empty())
        throw UserError(msgListIndex(0));

    std::vector<std::string_view> pointLines;
    pointLines.reserve(lines.size());
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string_view t = TrimText(lines[i]);
        if (!t.empty())
            pointLines.push_back(t);
    }

    std::vector<TKoordi> points;
    points.reserve(pointLines.size());

    // Layout with counts: "61. 61." then both sides from the nose to the
    // trailing edge. Read literally it would give a point (61, 61).
    bool counted = false;
    if (!pointLines.empty()) {
        const std::string_view first = pointLines.front();
        const size_t p = first.find(' ');
        double a = 0;
        double b = 0;
        if (p != std::string_view::npos && TryParseNumber(TrimText(first.substr(0, p + 1)), a)
            && TryParseNumber(TrimText(first.substr(p)), b) && isCount(a) && isCount(b)
            && size_t(a) + size_t(b) == pointLines.size() - 1) {
            counted = true;
            const size_t upper = size_t(a);
            std::vector<TKoordi> upperSide;
            upperSide.reserve(upper);
            for (size_t i = 1; i <= upper; ++i)
                upperSide.push_back(parsePointLine(pointLines[i]));
            points.assign(upperSide.rbegin(), upperSide.rend());
            for (size_t i = upper + 1; i < pointLines.size(); ++i) {
                const TKoordi k = parsePointLine(pointLines[i]);
                const bool sameNose = i == upper + 1 && k.X == upperSide.front().X
                    && k.Y == upperSide.front().Y;
                if (!sameNose)
                    points.push_back(k);
            }
        }
    }
    if (!counted) {
        for (const std::string_view line : pointLines)
            points.push_back(parsePointLine(line));
    }

    profile.Name = name;
    profile.Title = lines.front();
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
    text += profile.Title;
    text += "\r\n";
    for (const TKoordi &k : profile.Points) {
        text += FormatCoordinate(11, 6, '.', k.X);
        text += ' ';
        text += FormatCoordinate(11, 6, '.', k.Y);
        text += "\r\n";
    }
    return text;
}

void WriteCoordinateFile(const TProfile &profile, const std::string &path)
{
    WriteFileAtomic(path, CoordinateFileText(profile));
}

} // namespace velmora

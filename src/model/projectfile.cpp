// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/projectfile.h"

#include "model/codepage.h"
#include "model/coordinatefile.h"
#include "model/errors.h"
#include "model/numbertext.h"
#include "model/textfile.h"

#include <algorithm>
#include <cmath>

namespace velmora {

std::string ScrambleText(std::string_view text, std::string_view key)
{
    std::string out(text);
    if (key.empty())
        return out;
    size_t k = 0;
    for (char &ch : out) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 32) {
            const auto d = static_cast<unsigned char>(c ^ static_cast<unsigned char>(key[k]));
            if (d >= 32)
                ch = static_cast<char>(d);
        }
        k = (k + 1) % key.size();
    }
    return out;
}

bool IsScrambledProjectPath(const std::string &path)
{
    return EndsWithNoCase(path, ".VMPRO2");
}

std::string ProjectPlainText(const TProf_Projekt &project)
{
    std::vector<std::string> lines;
    for (const TProfile &p : project.Profiles) {
        lines.emplace_back("SER_START");
        lines.push_back("SER_TITEL=" + WithoutControlCharacters(p.Name) + ";"
                        + WithoutControlCharacters(p.Title));
        lines.emplace_back(p.Modified ? "SER_MOD=TRUE" : "SER_MOD=FALSE");
        lines.push_back("SER_COLOR=" + std::to_string(p.Color));
        lines.emplace_back(p.Visible ? "SER_ACTIVE=1" : "SER_ACTIVE=0");
        for (size_t i = 0; i < p.Points.size(); ++i) {
            const TKoordi &k = p.Points[i];
            lines.push_back("DATA_XY=" + CoordinateText(p, i, k.X) + " " + CoordinateText(p, i, k.Y));
            lines.emplace_back(k.IsNew ? "KOOR_STATUS=NEU" : "KOOR_STATUS=ORGINAL");
        }
        lines.emplace_back("SER_END");
    }
    return JoinLinesCrLf(lines);
}

namespace {

bool contains(std::string_view line, std::string_view key)
{
    return line.find(key) != std::string_view::npos;
}

std::string_view valueAfterEquals(std::string_view line)
{
    const size_t eq = line.find('=');
    return eq == std::string_view::npos ? std::string_view() : line.substr(eq + 1);
}

double coordinate(std::string_view text, int lineNumber, std::string_view line)
{
    const double v = ParseNumber(text);
    if (std::fabs(v) > kMaxCoordinate)
        throw UserError(msgCoordinateTooLarge(lineNumber, cp1252ToUtf8(line)));
    return v;
}

TKoordi parseDataXY(std::string_view value, int lineNumber, std::string_view line)
{
    std::string v(value);
    for (char &c : v) {
        if (c == '\t')
            c = ' ';
    }
    const size_t first = v.find_first_not_of(' ');
    v = first == std::string::npos ? std::string() : v.substr(first);
    const size_t sp = v.find(' ');
    TKoordi k;
    if (sp == std::string::npos) {
        // one number or none: the value as a whole is not a coordinate pair
        throw NotAFloatError(v);
    }
    std::string_view y(v);
    y = y.substr(sp);
    y = y.substr(std::min(y.size(), y.find_first_not_of(' ')));
    k.X = coordinate(std::string_view(v).substr(0, sp), lineNumber, line);
    k.Y = coordinate(y, lineNumber, line);
    return k;
}

} // namespace

std::vector<TProfile> ParseProjectText(std::string_view plainText)
{
    std::vector<TProfile> profiles;
    bool inBlock = false;
    TKoordi *current = nullptr;
    int lineNumber = 0;
    ForEachLine(plainText, [&](std::string_view line) {
        ++lineNumber;
        if (!inBlock) {
            if (contains(line, "SER_START")) {
                profiles.emplace_back();
                inBlock = true;
                current = nullptr;
            }
            return;
        }
        TProfile &p = profiles.back();
        // the first key found decides, so a title may hold any key text
        if (contains(line, "SER_TITEL=")) {
            const std::string_view value = valueAfterEquals(line);
            const size_t semi = value.find(';');
            if (semi == std::string_view::npos) {
                p.Name.clear();
                p.Title = std::string(value);
            } else {
                p.Name = std::string(value.substr(0, semi));
                p.Title = std::string(value.substr(semi + 1));
            }
        } else if (contains(line, "SER_COLOR=")) {
            p.Color = ParseInteger(valueAfterEquals(line));
        } else if (contains(line, "SER_MOD=TRUE")) {
            p.Modified = true;
        } else if (contains(line, "SER_MOD=FALSE")) {
            p.Modified = false;
        } else if (line == "SER_ACTIVE=1") {
            p.Visible = true;
        } else if (line == "SER_ACTIVE=0") {
            p.Visible = false;
        } else if (contains(line, "DATA_XY=")) {
            p.Points.push_back(parseDataXY(valueAfterEquals(line), lineNumber, line));
            current = &p.Points.back();
        } else if (contains(line, "KOOR_STATUS=")) {
            if (current)
                current->IsNew = valueAfterEquals(line) == "NEU";
        } else if (contains(line, "SER_END")) {
            inBlock = false;
            current = nullptr;
        }
    });
    return profiles;
}

void ReadProjectFile(TProf_Projekt &project, const std::string &path)
{
    const std::string bytes = ReadFileBytes(path);
    std::vector<TProfile> profiles;
    if (IsScrambledProjectPath(path)) {
        // the key position counts the line breaks as written: CR LF
        const std::string text = WithCrLfLineEnds(bytes);
        profiles = ParseProjectText(ScrambleText(ScrambleText(text, ProjectKey1), ProjectKey2));
    } else {
        profiles = ParseProjectText(bytes);
    }
    for (TProfile &p : profiles)
        project.Profiles.push_back(std::move(p));
}

void WriteProjectFile(TProf_Projekt &project, const std::string &path)
{
    std::string text = ProjectPlainText(project);
    if (IsScrambledProjectPath(path))
        text = ScrambleText(ScrambleText(text, ProjectKey2), ProjectKey1);
    WriteFileAtomic(path, text);
    project.Modified = false;
}

} // namespace velmora

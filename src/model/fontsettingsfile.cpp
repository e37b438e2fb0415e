// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/fontsettingsfile.h"

#include "model/errors.h"
#include "model/numbertext.h"
#include "model/textfile.h"

namespace velmora {

namespace {

bool startsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

std::string valueOf(std::string_view line)
{
    return std::string(TrimText(line.substr(line.find('=') + 1)));
}

} // namespace

TFontSettings ParseFontSettingsLines(const std::vector<std::string> &lines)
{
    TFontSettings s;
    for (const std::string &line : lines) {
        if (startsWith(line, "FONT_NAME=")) {
            const std::string v = valueOf(line);
            s.Name = v.empty() ? "MS Sans Serif" : v;
        } else if (startsWith(line, "FONT_SIZE=")) {
            const std::string v = valueOf(line);
            int n = 8;
            if (v.empty() || TryParseInteger(v, n))
                s.Size = n;
        } else if (startsWith(line, "FONT_COLOR=")) {
            const std::string v = valueOf(line);
            int n = 0;
            if (v.empty() || TryParseInteger(v, n))
                s.Color = n;
        } else if (startsWith(line, "FONT_STYLE=")) {
            s.Style = valueOf(line);
        }
    }
    return s;
}

bool ReadFontSettingsFile(const std::string &path, TFontSettings &settings)
{
    try {
        settings = ParseFontSettingsLines(ReadFileLines(path));
        return true;
    } catch (const UserError &) {
        return false;
    }
}

unsigned ParseFontStyle(std::string_view text)
{
    std::string_view t = TrimText(text);
    if (!t.empty() && t.front() == '[')
        t.remove_prefix(1);
    if (!t.empty() && t.back() == ']')
        t.remove_suffix(1);
    unsigned flags = 0;
    while (!t.empty()) {
        const size_t comma = t.find(',');
        const std::string_view name = TrimText(t.substr(0, comma));
        if (name == "fsBold")
            flags |= kFontBold;
        else if (name == "fsItalic")
            flags |= kFontItalic;
        else if (name == "fsUnderline")
            flags |= kFontUnderline;
        else if (name == "fsStrikeOut")
            flags |= kFontStrikeOut;
        if (comma == std::string_view::npos)
            break;
        t.remove_prefix(comma + 1);
    }
    return flags;
}

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windowplace.h"

#include "model/errors.h"
#include "model/numbertext.h"
#include "model/textfile.h"

#include <cmath>

namespace velmora {

namespace {

constexpr const char *kFields[] = {"TOP", "LEFT", "WIDTH", "HEIGHT", "SICHTBAR", "ALLE"};

} // namespace

std::vector<std::string> ReadSettingsLines(const std::string &path)
{
    try {
        return ReadFileLines(path);
    } catch (const UserError &) {
        return {};
    }
}

bool SettingValue(const std::vector<std::string> &lines, std::string_view key, std::string &value)
{
    bool found = false;
    for (const std::string &line : lines) {
        if (line.size() > key.size() && line.compare(0, key.size(), key) == 0 && line[key.size()] == '=') {
            value = line.substr(key.size() + 1);
            found = true; // the last one counts, as an editor saving twice would leave it
        }
    }
    return found;
}

void ReadWindowPlace(const std::vector<std::string> &lines, std::string_view prefix, WindowPlace &place)
{
    int *numbers[] = {&place.Top, &place.Left, &place.Width, &place.Height};
    bool *flags[] = {&place.Visible, &place.AllChecked};
    for (int k = 0; k < 6; ++k) {
        std::string text;
        double v = 0;
        if (!SettingValue(lines, std::string(prefix) + kFields[k], text) || !TryParseNumber(text, v)
            || v != std::floor(v) || std::fabs(v) > 1e6)
            continue;
        if (k < 4)
            *numbers[k] = int(v);
        else
            *flags[k - 4] = v != 0;
    }
}

std::vector<std::string> WindowPlaceLines(std::string_view prefix, const WindowPlace &place)
{
    const int values[] = {place.Top, place.Left, place.Width, place.Height, int(place.Visible),
                          int(place.AllChecked)};
    std::vector<std::string> lines;
    for (int k = 0; k < 6; ++k)
        lines.push_back(std::string(prefix) + kFields[k] + "=" + std::to_string(values[k]));
    return lines;
}

} // namespace velmora

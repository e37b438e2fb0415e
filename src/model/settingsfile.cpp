// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/settingsfile.h"

#include "model/errors.h"
#include "model/numbertext.h"
#include "model/textfile.h"

#include <array>

namespace velmora {

namespace {

struct Key
{
    std::string_view text;
    int TSettings::*intField;
    std::string TSettings::*textField;
};

constexpr std::array<Key, 14> kKeys = {{
    {"FORM1_TOP=", &TSettings::Form1Top, nullptr},
    {"FORM1_LEFT=", &TSettings::Form1Left, nullptr},
    {"FORM1_WIDTH=", &TSettings::Form1Width, nullptr},
    {"FORM1_HEIGHT=", &TSettings::Form1Height, nullptr},
    {"FORM3_TOP=", &TSettings::Form3Top, nullptr},
    {"FORM3_LEFT=", &TSettings::Form3Left, nullptr},
    {"FORM3_WIDTH=", &TSettings::Form3Width, nullptr},
    {"FORM3_HEIGHT=", &TSettings::Form3Height, nullptr},
    {"FORM1_OPENDIALOG1_DIR=", nullptr, &TSettings::OpenDialog1Dir},
    {"FORM1_SAVEDIALOG1_DIR=", nullptr, &TSettings::SaveDialog1Dir},
    {"FORM1_OPENDIALOG2_DIR=", nullptr, &TSettings::OpenDialog2Dir},
    {"FORM1_SAVEDIALOG2_DIR=", nullptr, &TSettings::SaveDialog2Dir},
    {"MAUSRAD_STEP=", &TSettings::WheelStep, nullptr},
    {"FORM1_CHART1_BACKCOLOR=", &TSettings::Chart1BackColor, nullptr},
}};

} // namespace

void ParseSettingsLines(const std::vector<std::string> &lines, TSettings &settings)
{
    for (const std::string &original : lines) {
        std::string line = original;
        for (const Key &key : kKeys) {
            if (line.find(key.text) == std::string::npos)
                continue;
            const size_t eq = line.find('=');
            line = line.substr(eq + 1);
            if (key.textField) {
                settings.*key.textField = line;
            } else {
                int v = 0;
                if (TryParseInteger(line, v))
                    settings.*key.intField = v;
            }
        }
    }
}

std::vector<std::string> SettingsLines(const TSettings &settings)
{
    std::vector<std::string> lines;
    lines.reserve(kKeys.size());
    for (const Key &key : kKeys) {
        if (key.textField)
            lines.push_back(std::string(key.text) + settings.*key.textField);
        else
            lines.push_back(std::string(key.text) + std::to_string(settings.*key.intField));
    }
    return lines;
}

void ReadSettingsFile(const std::string &path, TSettings &settings)
{
    std::vector<std::string> lines;
    try {
        lines = ReadFileLines(path);
    } catch (const UserError &) {
        return;
    }
    ParseSettingsLines(lines, settings);
}

void WriteSettingsFile(const std::string &path, const TSettings &settings)
{
    WriteFileAtomic(path, JoinLinesCrLf(SettingsLines(settings)));
}

} // namespace velmora

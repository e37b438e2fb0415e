// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/fontsettingsfile.h"
#include "model/settingsfile.h"
#include "support/testing.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::testing::TempDir;
using velmora::testing::readFile;
using velmora::testing::writeFile;

TEST(SettingsFile, WritesTheFourteenKeysInOrder)
{
    TSettings s;
    s.OpenDialog1Dir = "/home/u/profile/";
    const std::vector<std::string> lines = SettingsLines(s);
    const std::vector<std::string> expected = {
        "FORM1_TOP=94",
        "FORM1_LEFT=138",
        "FORM1_WIDTH=1012",
        "FORM1_HEIGHT=714",
        "FORM3_TOP=11",
        "FORM3_LEFT=253",
        "FORM3_WIDTH=862",
        "FORM3_HEIGHT=204",
        "FORM1_OPENDIALOG1_DIR=/home/u/profile/",
        "FORM1_SAVEDIALOG1_DIR=",
        "FORM1_OPENDIALOG2_DIR=",
        "FORM1_SAVEDIALOG2_DIR=",
        "MAUSRAD_STEP=4",
        "FORM1_CHART1_BACKCOLOR=-2147483633",
    };
    EXPECT_EQ(lines, expected);
}

TEST(SettingsFile, KeysCountAnywhereInTheLineAndTheLastOneWins)
{
    TSettings s;
    s.OpenDialog1Dir = "/prog";
    ParseSettingsLines({"FORM1_LEFT=500"}, s);
    EXPECT_EQ(s.Form1Left, 500);
    EXPECT_EQ(s.Form1Top, 94);
    EXPECT_EQ(s.OpenDialog1Dir, "/prog");

    ParseSettingsLines({"  xx FORM1_TOP=7", "FORM1_TOP=8", "MAUSRAD_STEP=9", "FORM1_OPENDIALOG1_DIR=",
                        "nonsense", "FORM3_WIDTH=abc", "FORM1_CHART1_BACKCOLOR=0"},
                       s);
    EXPECT_EQ(s.Form1Top, 8);
    EXPECT_EQ(s.WheelStep, 9) << "taken without range check";
    EXPECT_EQ(s.OpenDialog1Dir, "") << "an empty folder is a value too";
    EXPECT_EQ(s.Form3Width, 862) << "a value that is no integer is ignored";
    EXPECT_EQ(s.Chart1BackColor, 0);
}

TEST(SettingsFile, LineIsCutToItsValueBeforeTheNextKeyIsTried)
{
    TSettings s;
    // FORM1_TOP's value "FORM1_LEFT=5" is no integer; the cut line then holds FORM1_LEFT=5
    ParseSettingsLines({"FORM1_TOP=FORM1_LEFT=5"}, s);
    EXPECT_EQ(s.Form1Top, 94);
    EXPECT_EQ(s.Form1Left, 5);
    // the value is taken after the first "=", wherever the key stood
    TSettings t;
    ParseSettingsLines({"MAUSRAD_STEP=FORM1_TOP=3"}, t);
    EXPECT_EQ(t.Form1Top, 94);
    EXPECT_EQ(t.WheelStep, 4);
}

TEST(SettingsFile, RoundTripAndMissingFile)
{
    TempDir dir;
    TSettings s;
    s.Form1Width = 1300;
    s.SaveDialog2Dir = "/daten/projekte/";
    s.WheelStep = 6;
    WriteSettingsFile(dir.file("Velmora.ini"), s);
    EXPECT_EQ(readFile(dir.file("Velmora.ini")).substr(0, 14), "FORM1_TOP=94\r\n");
    TSettings back;
    ReadSettingsFile(dir.file("Velmora.ini"), back);
    EXPECT_EQ(back.Form1Width, 1300);
    EXPECT_EQ(back.SaveDialog2Dir, "/daten/projekte/");
    EXPECT_EQ(back.WheelStep, 6);

    TSettings untouched;
    untouched.Form1Left = 1;
    ReadSettingsFile(dir.file("nothing.ini"), untouched);
    EXPECT_EQ(untouched.Form1Left, 1);
    writeFile(dir.file("empty.ini"), "");
    ReadSettingsFile(dir.file("empty.ini"), untouched);
    EXPECT_EQ(untouched.Form1Left, 1);
}

TEST(FontSettingsFile, ReadsKeysAtTheLineStartWithDefaultsForEmptyValues)
{
    TFontSettings f = ParseFontSettingsLines({"FONT_SIZE=10"});
    EXPECT_EQ(f.Size, 10);
    EXPECT_EQ(f.Name, "");
    EXPECT_EQ(f.Color, 0);
    EXPECT_EQ(f.Style, "");

    f = ParseFontSettingsLines({" FONT_SIZE=10", "FONT_NAME=", "FONT_COLOR= 255 ", "font_size=3"});
    EXPECT_EQ(f.Size, 0) << "a blank before the key hides it; keys are case-sensitive";
    EXPECT_EQ(f.Name, "MS Sans Serif");
    EXPECT_EQ(f.Color, 255);

    f = ParseFontSettingsLines({"FONT_SIZE= 10 ", "FONT_SIZE=", "FONT_STYLE=[fsBold,fsItalic]"});
    EXPECT_EQ(f.Size, 8);
    EXPECT_EQ(ParseFontStyle(f.Style), unsigned(kFontBold | kFontItalic));
    EXPECT_EQ(ParseFontStyle("fsUnderline, fsStrikeOut, fsUnknown"),
              unsigned(kFontUnderline | kFontStrikeOut));
    EXPECT_EQ(ParseFontStyle(""), 0u);
}

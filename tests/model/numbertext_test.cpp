// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/codepage.h"
#include "model/errors.h"
#include "model/numbertext.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <vector>

using namespace velmora;

namespace {

std::string parseError(const std::string &text)
{
    try {
        ParseNumber(text);
    } catch (const UserError &e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace

TEST(FormatCoordinate, WritesSixDecimalsAndCutsToMaximumLength)
{
    EXPECT_EQ(FormatCoordinate(11, 6, '.', 1.0), "1.000000");
    EXPECT_EQ(FormatCoordinate(11, 6, '.', 0.5), "0.500000");
    EXPECT_EQ(FormatCoordinate(11, 6, '.', -0.01), "-0.010000");
    EXPECT_EQ(FormatCoordinate(11, 6, '.', -1234.5), "-1234.50000");
    EXPECT_EQ(FormatCoordinate(11, 6, '.', -999.999999), "-999.999999");
    EXPECT_EQ(FormatCoordinate(11, 6, '.', 9999.999999), "9999.999999");
    EXPECT_EQ(FormatCoordinate(10, 6, '.', -123.456789), "-123.45678");
    EXPECT_EQ(FormatCoordinate(0, 6, '.', -1234.5), "-1234.500000");
}

TEST(FormatCoordinate, UsesTheGivenDecimalCharacterAndDropsTheSignOfZero)
{
    EXPECT_EQ(FormatCoordinate(11, 6, ',', 0.00126), "0,001260");
    EXPECT_EQ(FormatCoordinate(11, 6, '.', -1e-9), "0.000000");
    EXPECT_EQ(FormatCoordinate(11, 6, '.', -0.0), "0.000000");
}

TEST(FormatCoordinate, IsIndependentOfTheProcessLocale)
{
    const char *old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        std::setlocale(LC_NUMERIC, "C.UTF-8");
    EXPECT_EQ(FormatCoordinate(11, 6, '.', 0.25), "0.250000");
    EXPECT_DOUBLE_EQ(ParseNumber("0.25"), 0.25);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(ParseNumber, AcceptsPointAndCommaExponentAndBlanks)
{
    EXPECT_DOUBLE_EQ(ParseNumber("0.25"), 0.25);
    EXPECT_DOUBLE_EQ(ParseNumber("0,25"), 0.25);
    EXPECT_DOUBLE_EQ(ParseNumber("  0.25  "), 0.25);
    EXPECT_DOUBLE_EQ(ParseNumber("1,5E-3"), 0.0015);
    EXPECT_DOUBLE_EQ(ParseNumber("-2e2"), -200.0);
    EXPECT_DOUBLE_EQ(ParseNumber("+7"), 7.0);
    EXPECT_DOUBLE_EQ(ParseNumber("61."), 61.0);
    EXPECT_DOUBLE_EQ(ParseNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(ParseNumber("1e-400"), 0.0);
}

TEST(ParseNumber, RejectsNonNumbersWithTheTextInTheMessage)
{
    EXPECT_EQ(parseError(""), "'' ist kein gültiger Gleitkommawert");
    EXPECT_EQ(parseError("abc"), "'abc' ist kein gültiger Gleitkommawert");
    EXPECT_EQ(parseError("1.000.5"), "'1,000,5' ist kein gültiger Gleitkommawert");
    EXPECT_EQ(parseError("1 2"), "'1 2' ist kein gültiger Gleitkommawert");
    EXPECT_EQ(parseError("1e"), "'1e' ist kein gültiger Gleitkommawert");
    EXPECT_EQ(parseError("."), "',' ist kein gültiger Gleitkommawert");
    EXPECT_EQ(parseError("1e400"), "'1e400' ist kein gültiger Gleitkommawert");
    EXPECT_EQ(parseError("nan"), "'nan' ist kein gültiger Gleitkommawert");
    EXPECT_EQ(parseError("x\xE4"), "'xä' ist kein gültiger Gleitkommawert");
    EXPECT_EQ(parseError(std::string("a\0b", 3)), "'a?b' ist kein gültiger Gleitkommawert");
    EXPECT_EQ(parseError(std::string(200, 'x')),
              "'" + std::string(80, 'x') + "…' ist kein gültiger Gleitkommawert");
}

TEST(ParseInteger, ReadsSigned32BitValuesOnly)
{
    EXPECT_EQ(ParseInteger("255"), 255);
    EXPECT_EQ(ParseInteger(" -2147483633 "), -2147483633);
    EXPECT_EQ(ParseInteger("-2147483648"), std::numeric_limits<int>::min());
    int v = 0;
    EXPECT_FALSE(TryParseInteger("2147483648", v));
    EXPECT_FALSE(TryParseInteger("1.5", v));
    EXPECT_FALSE(TryParseInteger("", v));
    EXPECT_FALSE(TryParseInteger("-", v));
    EXPECT_THROW(ParseInteger("rot"), UserError);
    try {
        ParseInteger("rot");
    } catch (const UserError &e) {
        EXPECT_STREQ(e.what(), "'rot' ist kein gültiger Integerwert");
    }
}

TEST(RoundDecimals, RoundsThroughTheTextForm)
{
    EXPECT_DOUBLE_EQ(RoundDecimals(8, 0.123456789), 0.12345679);
    EXPECT_DOUBLE_EQ(RoundDecimals(6, -0.0000004), 0.0);
    EXPECT_DOUBLE_EQ(RoundDecimals(8, std::numeric_limits<double>::infinity()), 999999999999999999.0);
    EXPECT_DOUBLE_EQ(RoundDecimals(8, -std::numeric_limits<double>::infinity()), 999999999999999999.0);
}

TEST(RoundTo6, RoundsHalvesToTheEvenNeighbour)
{
    EXPECT_DOUBLE_EQ(RoundTo6(0.0501), 0.0501);
    EXPECT_DOUBLE_EQ(RoundTo6(2.5e-6), 2e-6);
    EXPECT_DOUBLE_EQ(RoundTo6(3.5e-6), 4e-6);
    EXPECT_DOUBLE_EQ(RoundTo6(-2.5e-6), -2e-6);
}

TEST(FloatToCommaText, WritesTheShortestGeneralForm)
{
    EXPECT_EQ(FloatToCommaText(0.0), "0");
    EXPECT_EQ(FloatToCommaText(100000.0), "100000");
    EXPECT_EQ(FloatToCommaText(0.0123), "0,0123");
    EXPECT_EQ(FloatToCommaText(-0.5), "-0,5");
    EXPECT_EQ(FloatToCommaText(0.000015), "0,000015");
    EXPECT_EQ(FloatToCommaText(0.0000015), "1,5E-6");
    EXPECT_EQ(FloatToCommaText(1e20), "1E20");
}

TEST(CodePage, ConvertsWindows1252BothWays)
{
    EXPECT_EQ(cp1252ToUtf8("Fl\xFCgel \x80"), "Flügel €");
    EXPECT_EQ(utf8ToCp1252("Flügel €"), "Fl\xFCgel \x80");
    EXPECT_EQ(utf8ToCp1252("漢"), "?");
    // invalid UTF-8 is taken byte by byte instead of failing
    EXPECT_EQ(utf8ToCp1252("a\xC3"), "a\xC3");
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, char(b));
        EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(one)), one) << "byte " << b;
    }
}

TEST(ParseNumber, OverflowIsAnErrorAndUnderflowIsZeroInEveryNotation)
{
    const std::string zeros(400, '0');
    double v = 1;
    EXPECT_FALSE(TryParseNumber("1" + zeros + "e-1", v));
    EXPECT_FALSE(TryParseNumber("1" + zeros, v));
    EXPECT_FALSE(TryParseNumber("0,000001e315", v));
    EXPECT_FALSE(TryParseNumber("1e99999999999999999999", v));
    EXPECT_DOUBLE_EQ(ParseNumber("1" + zeros + "e-399"), 10.0);
    for (const std::string &tiny : std::vector<std::string>{"0." + zeros + "1", "-0," + zeros + "5", "1e-400",
                                     "1e-99999999999999999999", "0." + zeros + "1e+10"}) {
        v = 1;
        EXPECT_TRUE(TryParseNumber(tiny, v)) << tiny;
        EXPECT_EQ(v, 0.0) << tiny;
    }
}

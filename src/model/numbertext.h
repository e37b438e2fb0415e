// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/errors.h"

#include <string>
#include <string_view>

namespace velmora {

// Fixed-point text with exactly `decimals` digits after the separator and no
// padding: formatCoordinate(11, 6, '.', -1234.5) == "-1234.50000" (cut to
// maxLen characters when maxLen > 0). A result that rounds to zero is written
// without a minus sign. Non-finite values give "INF", "-INF" or "NAN".
std::string FormatCoordinate(int maxLen, int decimals, char decimalChar, double value);

// Reads a decimal number whatever the user's locale: "." and "," are both
// the decimal separator, an exponent ("1,5E-3") and surrounding blanks and
// control characters are allowed, thousands separators are not.
// Throws UserError "'%s' ist kein gültiger Gleitkommawert" (the text with every
// "." turned into ",") for anything else, including an empty text and values
// too large for a double; a value too small for one reads as 0, in fixed and
// exponent notation alike. `text` is 8-bit file text (Windows-1252).
double ParseNumber(std::string_view text);

// The error ParseNumber raises for `text`: "'%s' ist kein gültiger
// Gleitkommawert" with the text's "." shown as ",".
UserError NotAFloatError(std::string_view text);

// Like ParseNumber but returns false instead of throwing.
bool TryParseNumber(std::string_view text, double &value);

// A signed 32-bit decimal integer with optional surrounding blanks.
// Throws UserError "'%s' ist kein gültiger Integerwert".
int ParseInteger(std::string_view text);
bool TryParseInteger(std::string_view text, int &value);

// Rounds through the fixed-point text form: RoundDecimals(8, 0.123456789) ==
// 0.12345679. Infinite values give 999999999999999999 (positive for both
// signs); NaN stays NaN.
double RoundDecimals(int decimals, double value);

// Rounds to 6 decimals with halves to the even neighbour: the stored form of
// every coordinate the program moves.
double RoundTo6(double value);

// Shortest general form with up to 15 significant digits and "," as decimal
// separator ("0,0123", "1,5E-6", "100000").
std::string FloatToCommaText(double value);

// The shortest text (6 to 9 significant digits, "." as separator) that reads
// back as the same single-precision value: how results, which the engine
// holds in single precision, are written to files.
std::string ShortestFloatText(float value);

// Removes leading and trailing blanks and control characters (bytes <= 32).
std::string_view TrimText(std::string_view text);

} // namespace velmora

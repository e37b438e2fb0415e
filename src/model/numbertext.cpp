// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/numbertext.h"

#include "model/codepage.h"
#include "model/errors.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace velmora {

std::string shownPath(const std::string &path)
{
    std::string out;
    out.reserve(path.size());
    size_t i = 0;
    while (i < path.size()) {
        const auto c = static_cast<unsigned char>(path[i]);
        size_t len = 0;
        unsigned min = 0;
        if (c < 0x80)
            len = 1;
        else if (c >= 0xC2 && c <= 0xDF)
            len = 2, min = 0x80;
        else if (c >= 0xE0 && c <= 0xEF)
            len = 3, min = 0x800;
        else if (c >= 0xF0 && c <= 0xF4)
            len = 4, min = 0x10000;
        bool valid = len > 0 && i + len <= path.size();
        unsigned code = len == 1 ? c : (c & (0x7F >> len));
        for (size_t k = 1; valid && k < len; ++k) {
            const auto cc = static_cast<unsigned char>(path[i + k]);
            valid = (cc & 0xC0) == 0x80;
            code = (code << 6) | (cc & 0x3F);
        }
        valid = valid && (len == 1 || (code >= min && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)));
        if (!valid) {
            out += '?';
            ++i;
            continue;
        }
        // C0, DEL and C1 controls would garble or cut the message
        if (code < 32 || code == 127 || (code >= 0x80 && code < 0xA0))
            out += '?';
        else
            out.append(path, i, len);
        i += len;
    }
    return out;
}

std::string msgCannotOpen(const std::string &fileName)
{
    return "Datei " + shownPath(fileName) + " kann nicht geöffnet werden";
}

std::string msgCannotCreate(const std::string &fileName)
{
    return "Datei " + shownPath(fileName) + " kann nicht erstellt werden";
}

std::string msgTooLarge(const std::string &fileName)
{
    return "Datei " + shownPath(fileName) + " ist zu groß (mehr als 8 MB)";
}

std::string msgNoProfile(const std::string &fileName)
{
    return "Datei " + shownPath(fileName) + " enthält kein Profil";
}

namespace {

// The offending text goes into a message box: no control characters that
// would cut or garble it, and no endless line from a broken file.
std::string shownText(const std::string &textUtf8)
{
    constexpr size_t kMaxShown = 80;
    std::string out;
    size_t chars = 0;
    for (size_t i = 0; i < textUtf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(textUtf8[i]);
        if ((c & 0xC0) != 0x80 && ++chars > kMaxShown) {
            out += "…";
            break;
        }
        out += (c < 32 && c != '\t') ? '?' : char(c);
    }
    return out;
}

} // namespace

std::string msgNotAFloat(const std::string &textUtf8)
{
    std::string msg = "'";
    msg += shownText(textUtf8);
    msg += "' ist kein gültiger Gleitkommawert";
    return msg;
}

std::string msgNotAnInteger(const std::string &textUtf8)
{
    std::string msg = "'";
    msg += shownText(textUtf8);
    msg += "' ist kein gültiger Integerwert";
    return msg;
}

std::string msgCoordinateTooLarge(int line, const std::string &textUtf8)
{
    return "Zeile " + std::to_string(line) + ": '" + shownText(textUtf8)
        + "' ist als Koordinate zu groß (erlaubt bis ±1000000)";
}

std::string msgCannotWriteValue(const std::string &nameUtf8, int point, const std::string &valueText)
{
    return "Profil " + shownText(nameUtf8) + ", Punkt " + std::to_string(point) + ": der Wert "
        + valueText + " lässt sich nicht in 11 Zeichen speichern";
}

std::string msgListIndex(int index)
{
    return "Listenindex überschreitet das Maximum (" + std::to_string(index) + ")";
}

std::string_view TrimText(std::string_view text)
{
    size_t b = 0;
    size_t e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32)
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32)
        --e;
    return text.substr(b, e - b);
}

std::string FormatCoordinate(int maxLen, int decimals, char decimalChar, double value)
{
    std::string text;
    if (std::isnan(value)) {
        text = "NAN";
    } else if (std::isinf(value)) {
        text = value > 0 ? "INF" : "-INF";
    } else {
        if (decimals < 0)
            decimals = 0;
        if (decimals > 18)
            decimals = 18;
        char buf[400];
        std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
        text = buf;
        // "-0.000000" carries no information and would not survive a round trip
        if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos)
            text.erase(0, 1);
        if (decimalChar != '.') {
            for (char &c : text) {
                if (c == '.')
                    c = decimalChar;
            }
        }
    }
    if (maxLen > 0 && text.size() > size_t(maxLen))
        text.resize(size_t(maxLen));
    return text;
}

namespace {

// Grammar after trimming: [sign] digits [sep digits] [(e|E) [sign] digits],
// with at least one digit in the mantissa.
bool parseDecimal(std::string_view text, double &value)
{
    const std::string_view t = TrimText(text);
    std::string normal;
    normal.reserve(t.size());
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        if (t[i] == '-')
            normal += '-';
        ++i;
    }
    size_t digits = 0;
    // decimal exponent of the first significant digit, to tell an overflow
    // from an underflow when the value is out of range
    long long leadExponent = 0;
    bool significant = false;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
        if (significant)
            ++leadExponent;
        else if (t[i] != '0')
            significant = true;
        normal += t[i++];
        ++digits;
    }
    if (i < t.size() && (t[i] == '.' || t[i] == ',')) {
        normal += '.';
        ++i;
        long long position = 0;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            --position;
            if (!significant && t[i] != '0') {
                significant = true;
                leadExponent = position;
            }
            normal += t[i++];
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    long long exponent = 0;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        normal += 'e';
        ++i;
        bool negativeExponent = false;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
            negativeExponent = t[i] == '-';
            normal += t[i++];
        }
        size_t expDigits = 0;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            exponent = std::min(exponent * 10 + (t[i] - '0'), 1000000000LL);
            normal += t[i++];
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != t.size())
        return false;
    double v = 0;
    const char *first = normal.data();
    const char *last = normal.data() + normal.size();
    // from_chars has no leading '+', and "1." must read as 1
    if (normal.size() > 1 && normal.back() == '.')
        --last;
    const auto [ptr, ec] = std::from_chars(first, last, v);
    if (ec == std::errc::result_out_of_range) {
        // too small to hold is zero; too large is no usable number
        if (leadExponent + exponent < 0) {
            value = 0.0;
            return true;
        }
        return false;
    }
    if (ec != std::errc() || ptr != last || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

std::string commaText(std::string_view text)
{
    std::string s(text);
    for (char &c : s) {
        if (c == '.')
            c = ',';
    }
    return s;
}

} // namespace

bool TryParseNumber(std::string_view text, double &value)
{
    return parseDecimal(text, value);
}

UserError NotAFloatError(std::string_view text)
{
    return UserError(msgNotAFloat(cp1252ToUtf8(commaText(text))));
}

double ParseNumber(std::string_view text)
{
    double v = 0;
    if (!parseDecimal(text, v))
        throw NotAFloatError(text);
    return v;
}

bool TryParseInteger(std::string_view text, int &value)
{
    const std::string_view t = TrimText(text);
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    if (i == t.size())
        return false;
    long long v = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9')
            return false;
        v = v * 10 + (t[i] - '0');
        if (v > 2147483648LL)
            return false;
    }
    if (negative)
        v = -v;
    if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min())
        return false;
    value = int(v);
    return true;
}

int ParseInteger(std::string_view text)
{
    int v = 0;
    if (!TryParseInteger(text, v))
        throw UserError(msgNotAnInteger(cp1252ToUtf8(text)));
    return v;
}

double RoundDecimals(int decimals, double value)
{
    if (std::isinf(value))
        return 999999999999999999.0;
    if (std::isnan(value))
        return value;
    double v = 0;
    parseDecimal(FormatCoordinate(0, decimals, '.', value), v);
    return v;
}

double RoundTo6(double value)
{
    return std::nearbyint(value * 1000000.0) / 1000000.0;
}

std::string FloatToCommaText(double value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    if (value == 0)
        return "0";
    char buf[64];
    const double mag = std::fabs(value);
    std::string s;
    if (mag >= 1e-5 && mag < 1e15) {
        std::snprintf(buf, sizeof buf, "%.15g", value);
        s = buf;
        if (s.find('e') != std::string::npos) {
            std::snprintf(buf, sizeof buf, "%.15f", value);
            s = buf;
        }
        if (s.find('.') != std::string::npos) {
            while (s.back() == '0')
                s.pop_back();
            if (s.back() == '.')
                s.pop_back();
        }
    } else {
        std::snprintf(buf, sizeof buf, "%.14e", value);
        s = buf;
        const auto ePos = s.find('e');
        std::string mant = s.substr(0, ePos);
        const int exponent = std::stoi(s.substr(ePos + 1));
        if (mant.find('.') != std::string::npos) {
            while (mant.back() == '0')
                mant.pop_back();
            if (mant.back() == '.')
                mant.pop_back();
        }
        s = mant + "E" + std::to_string(exponent);
    }
    return commaText(s);
}

std::string ShortestFloatText(float value)
{
    char buf[32];
    for (int precision = 6; precision <= 9; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*g", precision, double(value));
        if (std::strtof(buf, nullptr) == value)
            break;
    }
    return buf;
}

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/characteristics.h"

#include "geometry/primitives.h"
#include "model/codepage.h"
#include "model/numbertext.h"

#include <array>
#include <cmath>
#include <string_view>

namespace velmora {

namespace {

// Chord stations (1 + cos(k pi / 12)) / 2, k = 1 .. 11, kept at the 4 decimals
// the weights were derived for; t-weights multiply the half thickness,
// z-weights the camber.
struct Station
{
    double x;
    double dca;   // t
    double alfa0; // z
    double xNp;   // t
    double cm025; // z
    double alfaE; // z
    double caE;   // z
};

constexpr std::array<Station, 11> kStations = {{
    {0.983, 0.644, -4.8919, 0.6864, -7.937, -2.4032, 15.6333},
    {0.933, 0, 0, 0.1667, -0.2267, 0, 0},
    {0.8536, 0.2357, -0.569, 0.3333, -1.079, -0.2357, 2.0944},
    {0.75, 0, 0, 0.2887, -0.1309, 0, 0},
    {0.6294, 0.1726, -0.2249, 0.2387, -0.421, -0.0462, 1.1244},
    {0.5, 0, 0, 0.3333, 0, 0, 0},
    {0.3706, 0.1726, -0.1324, 0.0601, -0.1402, 0.0462, 1.1244},
    {0.25, 0, 0, 0.2887, 0.1309, 0, 0},
    {0.1465, 0.2357, -0.0976, -0.3333, 0.0318, 0.2357, 2.0944},
    {0.067, 0, 0, 0.1667, 0.2267, 0, 0},
    {0.017, 0.6439, -0.0848, -1.8017, 0.1197, 2.4032, 15.6333},
}};

constexpr double kZero = 0.0000001;

bool isZero(double v)
{
    return std::fabs(v) < kZero;
}

// y of the lower side at x on the segment a -> b (b the later point).
double lowerY(const TKoordi &a, const TKoordi &b, double x)
{
    return b.Y + (a.Y - b.Y) * (x - b.X) / (a.X - b.X);
}

void appendMessage(std::vector<std::string> &lines, std::string_view message)
{
    // the message box breaks lines at '\r'; the list gets one line each
    size_t start = 0;
    while (true) {
        const size_t end = message.find('\r', start);
        lines.emplace_back(message.substr(start, end - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
}

} // namespace

GeometryResult ComputeCharacteristics(TProfile &profile)
{
    const auto &p = profile.Points;
    const int n = int(p.size());
    if (n < 3)
        return GeometryResult::refused(kMsgTooFewPoints);

    int i = 1;
    while (i < n && p[size_t(i - 1)].X > p[size_t(i)].X)
        ++i;
    const int nose = i - 1;
    if (nose == 0 || nose >= n - 1)
        return GeometryResult::refused(kMsgWrongShape);

    // The lower-side searches run from the trailing edge towards the nose and
    // never past it: a station left of the nose is not covered by the profile.
    double thickness = 0, thicknessX = 0, camber = 0, camberX = 0;
    int m = 0;
    for (int k = 0; k <= nose; ++k) {
        const double x = p[size_t(k)].X;
        while (n - 2 - m > nose && x < p[size_t(n - 2 - m)].X)
            ++m;
        const TKoordi &a = p[size_t(n - 2 - m)];
        const TKoordi &b = p[size_t(n - 1 - m)];
        if (a.X == b.X)
            return GeometryResult::refused(kMsgEqualX);
        // a lower point at the very x is taken as it is: the formula returns it
        // only up to rounding, which would give a symmetric section a camber of
        // 1e-17 at some arbitrary place
        const double yL = x == a.X ? a.Y : lowerY(a, b, x);
        const double yU = p[size_t(k)].Y;
        const double d = yU - yL;
        if (d > thickness) {
            thickness = d;
            thicknessX = x;
        }
        const double c = (yU + yL) / 2;
        if (std::fabs(c) > std::fabs(camber)) {
            camber = c;
            camberX = x;
        }
    }

    double sDca = 0, sAlfa0 = 0, sXNp = 0, sCm = 0, sAlfaE = 0, sCaE = 0;
    int l = 0;
    m = 0;
    for (const Station &s : kStations) {
        while (s.x < p[size_t(l + 1)].X) {
            if (l + 1 == nose)
                return GeometryResult::refused(kMsgNotNormalised);
            ++l;
        }
        // strictly falling x up to the nose, so the upper segment has extent
        const TKoordi &u0 = p[size_t(l)];
        const TKoordi &u1 = p[size_t(l + 1)];
        const double yU = u0.Y + (u1.Y - u0.Y) * (s.x - u0.X) / (u1.X - u0.X);

        while (s.x < p[size_t(n - 2 - m)].X) {
            if (n - 2 - m == nose)
                return GeometryResult::refused(kMsgNotNormalised);
            ++m;
        }
        const TKoordi &a = p[size_t(n - 2 - m)];
        const TKoordi &b = p[size_t(n - 1 - m)];
        if (a.X == b.X)
            return GeometryResult::refused(kMsgEqualX);
        const double yL = lowerY(a, b, s.x);

        const double z = (yU + yL) / 2;
        const double t = (yU - yL) / 2;
        sDca += s.dca * t;
        sAlfa0 += s.alfa0 * z;
        sXNp += s.xNp * t;
        sCm += s.cm025 * z;
        sAlfaE += s.alfaE * z;
        sCaE += s.caE * z;
    }

    const std::array<double, 10> values = {
        thickness * 100,
        thicknessX * 100,
        camber * 100,
        camberX * 100,
        2 * sAlfa0 * 180 / M_PI,
        2 * sCm,
        2 * M_PI * (2 * sDca + 1),
        (2 * sXNp + 1) * 0.25 * 100,
        2 * sAlfaE * 180 / M_PI,
        2 * sCaE,
    };
    for (double v : values) {
        if (!std::isfinite(v))
            return GeometryResult::refused(kMsgNoValidResult);
    }
    profile.Characteristics = values;
    return GeometryResult::ok();
}

std::vector<std::string> ShowCharacteristics(TProfile *profile, char decimalChar)
{
    std::vector<std::string> lines = {"Profilbeiwerte nach TAT"};
    if (!profile) {
        lines.emplace_back("");
        lines.emplace_back("Kein aktives Profil vorhanden!!");
        return lines;
    }
    const GeometryResult computed = ComputeCharacteristics(*profile);
    lines.push_back(cp1252ToUtf8(profile->Name));
    lines.emplace_back("");
    lines.push_back("Anzahl Koordinaten = " + std::to_string(profile->PointCount()));
    if (!computed) {
        appendMessage(lines, computed.message);
        return lines;
    }

    struct Row
    {
        std::string_view label;
        std::string_view suffix;
    };
    static constexpr std::array<Row, 10> kRows = {{
        {"d = ", " %"},
        {"xd = ", " %"},
        {"f = ", " %"},
        {"xf = ", " %"},
        {"Alfa_0 = ", " °"},
        {"Cm_0.25 = ", ""},
        {"dca = ", ""},
        {"xNp = ", " %"},
        {"Alfa_e = ", " °"},
        {"Ca_e = ", ""},
    }};
    for (size_t i = 0; i < kRows.size(); ++i) {
        lines.push_back(std::string(kRows[i].label)
                        + FormatCoordinate(0, 5, decimalChar, profile->Characteristics[i])
                        + std::string(kRows[i].suffix));
    }
    return lines;
}

std::vector<std::string> CheckProfile(const TProfile *profile)
{
    std::vector<std::string> lines;
    if (!profile)
        return lines;
    const auto &p = profile->Points;
    if (p.empty()) {
        lines.emplace_back("Das Profil hat keine Koordinaten !");
        return lines;
    }
    const size_t k = size_t(NoseIndex(*profile));
    const TKoordi &nose = p[k];
    const TKoordi &first = p.front();
    const TKoordi &last = p.back();

    if (!isZero(nose.X))
        lines.emplace_back("Die X-Koordinate der Nase ist nicht 0 !");
    if (!isZero(nose.Y))
        lines.emplace_back("Die Y-Koordinate der Nase ist nicht 0 !");
    if (!isZero(1 - first.X))
        lines.emplace_back("Die X-Koordinate der Endleiste oben ist nicht 1 !");
    if (!isZero(1 - last.X))
        lines.emplace_back("Die X-Koordinate der Endleiste unten ist nicht 1 !");

    double upperSum = 0;
    for (size_t i = 0; i <= k; ++i)
        upperSum += p[i].Y;
    double lowerSum = 0;
    for (size_t i = k; i < p.size(); ++i)
        lowerSum += p[i].Y;
    if (!(first.X > nose.X && nose.X < last.X && upperSum > lowerSum))
        lines.emplace_back("Die Laufrichtung ist falsch ! Richtige Laufrichtung ist "
                           "Hinten>Oben>Nase>Unten>Hinten.");
    if (!isZero((first.Y + last.Y) / 2))
        lines.emplace_back("Das Y-Mittel der Endleisten ist nicht 0 !");
    return lines;
}

} // namespace velmora

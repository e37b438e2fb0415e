// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace velmora {

// What a geometry operation reports. An operation that refuses leaves its
// profile exactly as it was; `message` then holds the German text the command
// shows in its information box, or is empty where the command stays silent.
struct GeometryResult
{
    bool done = true;
    std::string message;

    explicit operator bool() const { return done; }

    static GeometryResult ok() { return {}; }
    static GeometryResult refused(std::string_view message) { return {false, std::string(message)}; }
};

// Upper bound of every coordinate count typed by the user: the counts of the
// point lists are 16-bit, and a larger number would only exhaust memory.
inline constexpr int kMaxCoordinateCount = 65535;

// The reasons, in the wording of the program's other messages.
inline constexpr std::string_view kMsgTooFewPoints =
    "Das Profil hat zu wenige Punkte für diese Funktion !!";
inline constexpr std::string_view kMsgVerticalLine =
    "Alle Punkte liegen auf einer senkrechten Linie, das Profil hat keine Sehne !!";
inline constexpr std::string_view kMsgNoseAtTrailingEdge =
    "Die Nase liegt an der Hinterkante (X = 1), das Profil hat keine Sehne !!";
inline constexpr std::string_view kMsgEqualX =
    "Benachbarte Punkte haben die gleiche X-Koordinate, dort kann nicht interpoliert werden !!";
inline constexpr std::string_view kMsgNoseNotLeftOfOne =
    "Die Nase liegt nicht links von X = 1, das Profil kann nicht geglättet werden !\r"
    "Bitte zuerst \"Profil Ausrichten und Normieren\" ausführen.";
inline constexpr std::string_view kMsgNotNormalised =
    "Das Profil ist nicht normiert: Ober- und Unterseite müssen von X = 0 bis X = 1 reichen !!\r"
    "Bitte zuerst \"Profil Ausrichten und Normieren\" ausführen.";
inline constexpr std::string_view kMsgWrongShape =
    "Die X-Koordinaten müssen von der Endleiste oben zur Nase fallen und zur Endleiste unten "
    "steigen ! Richtige Laufrichtung ist Hinten>Oben>Nase>Unten>Hinten.";
inline constexpr std::string_view kMsgCountTooLarge =
    "Die Anzahl der Koordinaten darf höchstens 65535 sein !!";
inline constexpr std::string_view kMsgCountTooSmall =
    "Die Anzahl der Koordinaten muss mindestens 2 sein !!";
inline constexpr std::string_view kMsgNoValidResult =
    "Die Rechnung ergibt keine gültigen Koordinaten, das Profil bleibt unverändert !!";
inline constexpr std::string_view kMsgNoseFirst =
    "Der erste Punkt ist die Nase (kleinstes X), das Profil hat keine Oberseite !\r"
    "Richtige Laufrichtung ist Hinten>Oben>Nase>Unten>Hinten.";
inline constexpr std::string_view kMsgNoseLast =
    "Der letzte Punkt liegt an der Nase (kleinstes X), das Profil hat keine Unterseite !\r"
    "Richtige Laufrichtung ist Hinten>Oben>Nase>Unten>Hinten.";
inline constexpr std::string_view kMsgNoClipboardLowerSide =
    "Das Profil im Zwischenspeicher hat keine Unterseite !!";

} // namespace velmora

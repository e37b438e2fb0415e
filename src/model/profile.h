// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// One contour point. Coordinates in chord fractions (nose 0, trailing edge 1
// once normalised), y upwards.
struct TKoordi
{
    double X = 0.0;
    double Y = 0.0;
    bool Marked = false; // moved by the wheel, deleted by "Markierte Punkte löschen"
    bool Active = false; // shown and edited in the "Aktiver Punkt" fields
    bool IsNew = false;  // made by the program, not read from a file
};

// One node of an analysed speed distribution: contour point and |v/V|.
struct TVPunkt
{
    double x = 0.0;
    double y = 0.0;
    double v = 0.0;
};

// The latest velocity-distribution result of a profile. Never written to a file.
struct tpolarzeile
{
    double Re = 0.0;
    double Alfa = 0.0; // geometric angle of attack, degrees
    double ca = 0.0;
    double cm = 0.0;
    double cw = 0.0;
    double xUmschlagOben = 0.0;  // transition, chord fraction
    double xUmschlagUnten = 0.0;
    double blaseOben = 0.0;      // bubble flags, 0 or 1
    double blaseUnten = 0.0;
    std::vector<TVPunkt> vPunkte;
};

// Index of each value in TProfile::Characteristics.
enum CharacteristicIndex {
    kThickness = 0,    // d, % of chord
    kThicknessPos,     // xd, % of chord
    kCamber,           // f, % of chord, signed
    kCamberPos,        // xf, % of chord
    kAlfa0,            // zero-lift angle, degrees
    kCm025,            // quarter-chord moment
    kDca,              // lift-curve slope, per radian
    kXNp,              // neutral point, % of chord
    kAlfaE,            // ideal angle, degrees
    kCaE,              // lift at the ideal angle
};

// One airfoil section. Points run from the upper trailing-edge point along
// the upper side to the nose and back along the lower side to the lower
// trailing-edge point ("Hinten>Oben>Nase>Unten>Hinten"); the model does not
// enforce this order. Name and Title hold the bytes of their file
// (Windows-1252).
struct TProfile
{
    std::vector<tpolarzeile> PolarRows;
    int MarkRangeStart = -1;
    int MarkRangeEnd = -1;
    int UnmarkRangeStart = -1;
    int UnmarkRangeEnd = -1;
    bool Modified = false;
    std::string Title;
    std::string Name;
    int32_t Color = 0; // Windows colour value 0x00BBGGRR
    bool Visible = true;
    std::vector<TKoordi> Points;
    std::array<double, 10> Characteristics{};
    // Identity of the profile across undo steps: 0 until the undo history
    // numbers it, copies are renumbered there. Never written to a file.
    uint64_t Serial = 0;

    int PointCount() const { return int(Points.size()); }
};

// The project: every loaded profile plus the state of the current run.
// Profiles[i], plot series i and list row i always denote the same profile.
struct TProf_Projekt
{
    // Insertion candidate of the F4 preview; -10000 in both coordinates means none.
    int InsertSegment = 0;
    int InsertIndex = 0;
    double InsertX = 0.0;
    double InsertY = 0.0;

    int WheelStep = 4;      // a wheel notch moves marked points by 10^-WheelStep
    std::string FileName;   // last project file loaded, appended or saved (UTF-8 path)
    std::string FilePath;   // full path of the project file last loaded or saved; "" for none
    bool Modified = false;
    int SeriesCounter = -1; // running number of plot series names, never reset

    std::vector<TProfile> Profiles;
    int ActiveIndex = -1;   // the profile of the selected list row, -1 for none
    std::optional<TProfile> ClipboardProfile;

    // Non-owning; null without a selection or with a stale index.
    TProfile *ActiveProfile();
    const TProfile *ActiveProfile() const;

    // Removes and destroys profile i and keeps ActiveIndex pointing at the
    // same profile (or none when that one was removed).
    void RemoveProfile(int index);
    void ClearProfiles();
};

} // namespace velmora

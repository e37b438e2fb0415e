// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The computations behind the two analysis commands of the editor (speed
// distribution at one angle, transition polar over a range of angles). They
// take the profile's points and the texts or values of the command's fields
// and return a result or a status with the message to show; the window layer
// only displays. Messages are UTF-8, "\r" where the message box breaks the line.

#include "analysis/eppler.h"
#include "model/profile.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

class PolarSweep;

inline constexpr const char *kMsgTooManyPoints =
    "Zu viele Koordinatenpaare für Profil-Rechnung MAX 450 !!";
inline constexpr const char *kMsgEngineError = "Rechenfehler in Profil-Routione !!";
inline constexpr const char *kMsgBadStartAngle =
    "Falscheingabe Startwinkel !!.\rBitte nur Zahlen zwischen -89 und +89 eingeben.";
inline constexpr const char *kMsgBadEndAngle =
    "Falscheingabe Endwinkel !!.\rBitte nur Zahlen zwischen -89 und +89 eingeben.";
inline constexpr const char *kMsgEndBeforeStart =
    "Falscheingabe Endwinkel !!.\rBitte nur Zahlen zwischen -89 und +89 eingeben."
    "\rEndwinkel muß > Startwinkel sein";
inline constexpr const char *kMsgStepTooSmall =
    "Falscheingabe: Stepwinkel zu klein !!.\rBitte nur Zahlen >=0,1 eingeben.";

// What the method can be trusted with. Outside these the commands refuse
// before the engine runs rather than show numbers without meaning.
// Angles: the polar fields' range. Reynolds numbers: below 1e4 the layers are
// no longer thin against the chord; above 1e8 the closure relations have no
// backing. Normalised: the nose (the first point of smallest x) within 0.01
// chord of (0, 0) and the midpoint of the two trailing-edge points within 0.01
// of (1, 0) -- published coordinate files with a nose a few 1e-4 off, a chord
// of 0.9999 or an open trailing edge pass, drawings in millimetres or profiles
// moved or turned off the unit chord do not.
inline constexpr double kAnalysisAngleLimit = 89.0;
inline constexpr double kLowestReynolds = 1e4;
inline constexpr double kHighestReynolds = 1e8;
inline constexpr double kNormalisedTolerance = 0.01;
// Fewer points do not describe the nose and the trailing edge well enough for
// the panel solution; the smoothing command makes more.
inline constexpr int kMinAnalysisPoints = 41;
// Crossings aft of this x belong to the trailing edge; there the sides may
// touch or overlap by the noise of rounded coordinates (chord units).
inline constexpr double kTrailingEdgeRegion = 0.9;
inline constexpr double kTrailingEdgeNoise = 4e-4;
// Aft of the nose region the contour of a profile turns smoothly; a turn of
// more than kKinkDegrees between neighbouring segments is a zigzag of points
// closer together than their noise, which the panel solution turns into
// nonsense.
inline constexpr double kKinkRegion = 0.1;
inline constexpr double kKinkDegrees = 75.0;
// Digitised or rounded coordinates scatter by about 1e-4 chord; where points
// stand closer together than that (at the trailing edge of a set with a few
// hundred points) the contour folds back and forth, and the trailing-edge
// condition of the panel solution reads the fold as the edge's direction. A
// point aft of kKinkRegion that turns the contour by more than kFoldDegrees
// while lying within kFoldNoise of the line through its neighbours carries no
// shape; the engine is given the contour without it.
inline constexpr double kFoldDegrees = 20.0;
// A rounded nose turns the contour over several points; a nose point that
// turns it by this much more than the gentler of its neighbours is a corner,
// where the panel solution's speed runs away (tens of times the free stream).
inline constexpr double kNoseCornerDegrees = 90.0;
inline constexpr double kFoldNoise = 2.5e-4;

inline constexpr const char *kMsgBadAngle =
    "Falscheingabe Alfa !!.\rBitte nur Zahlen zwischen -89 und +89 eingeben.";
inline constexpr const char *kMsgBadReynolds =
    "Falscheingabe Re !!.\rBitte nur Zahlen zwischen 10000 und 100000000 eingeben.";
inline constexpr const char *kMsgAnalysisTooCoarse =
    "Das Profil hat zu wenige Punkte für die Profil-Rechnung (mindestens 41) !!\r"
    "Bitte zuerst \"Profil automatisch Glätten (COS-Verteilung)\" ausführen.";
inline constexpr const char *kMsgAnalysisNotNormalised =
    "Das Profil ist nicht normiert: die Nase muss bei (0, 0) und die Mitte der Endleiste bei (1, 0) "
    "liegen !!\rBitte zuerst \"Profil Ausrichten und Normieren\" ausführen.";
inline constexpr const char *kMsgAnalysisWrongDirection =
    "Die Laufrichtung ist falsch ! Richtige Laufrichtung ist Hinten>Oben>Nase>Unten>Hinten.\r"
    "So kann das Profil nicht gerechnet werden: bitte die Punkte in dieser Reihenfolge eingeben.";
inline constexpr const char *kMsgAnalysisSidesCross =
    "Ober- und Unterseite kreuzen oder berühren sich an der Endleiste !!\r"
    "Bitte die Punkte an der Endleiste korrigieren, so dass die Oberseite über der Unterseite liegt.";
inline constexpr const char *kMsgAnalysisSideShort =
    "Eine Seite endet vor der Endleiste !!\rBitte zuerst \"Profil Ausrichten und Normieren mit "
    "Hinterkanten-Extrapolation X=1\" ausführen.";
inline constexpr const char *kMsgAnalysisKink =
    "Die Kontur hat Zacken: benachbarte Punkte knicken um mehr als 75 Grad !!\r"
    "Bitte zuerst \"Profil automatisch Glätten (COS-Verteilung)\" ausführen.";
inline constexpr const char *kMsgAnalysisNoseCorner =
    "Die Nase ist eine Ecke: eine Seite verlässt sie fast in Sehnenrichtung !!\r"
    "Bitte zuerst \"Profil automatisch Glätten (COS-Verteilung)\" ausführen.";
inline constexpr const char *kMsgAnalysisSelfCrossing =
    "Die Kontur des Profils schneidet sich selbst !!\r"
    "Bitte die Punkte an der Kreuzung korrigieren, dann kann das Profil gerechnet werden.";

enum class AnalysisStatus {
    Ok,
    TooManyPoints, // more than kMaxProfilePoints; message kMsgTooManyPoints
    EngineError,   // the engine failed; message kMsgEngineError
    Refused,       // outside what the method can be trusted with; message says why and what to do
};

// Why the points cannot be analysed (one of the kMsgAnalysis... texts), or
// empty when they can. In this order: normalised within kNormalisedTolerance;
// in program order (the contour runs counter-clockwise, upper side first);
// not crossing itself (forward of kTrailingEdgeRegion) nor listing a point
// twice (but for a closed trailing edge); at the trailing edge the sides
// neither cross forward of x = 1 - 5 * kTrailingEdgeNoise nor with
// the upper end kTrailingEdgeNoise below the lower one, nor end more than
// 5 * kTrailingEdgeNoise apart in x; at least kMinAnalysisPoints points; no
// kink (kKinkRegion, kKinkDegrees); no corner at the nose (kNoseCornerDegrees).
std::string AnalysisContractViolation(const std::vector<TKoordi> &points);

// The points the engine is given for `points`: the same, less those that fold
// the contour within the noise (kFoldDegrees, kFoldNoise), the sharpest fold
// first. Clean contours come back unchanged, point for point. The kink check
// of AnalysisContractViolation applies to this contour.
std::vector<TKoordi> AnalysisContour(const std::vector<TKoordi> &points);

struct VelocityDistribution
{
    AnalysisStatus status = AnalysisStatus::Ok;
    std::string message; // for the information box when status != Ok
    tpolarzeile row;     // the profile's new result row when Ok
    double zeroLiftAngle = 0; // degrees, when Ok
};

// Analyses the points (profile order) at one geometric angle (degrees) and
// Reynolds number. Checks in this order: point count, angle and Reynolds
// number, the points' contract. Never throws. With a trace, the march of both
// boundary layers is recorded into it (see BoundaryLayerTrace); it is cleared
// when the status is not Ok.
VelocityDistribution ComputeVelocityDistribution(EpplerSolver &solver,
                                                 const std::vector<TKoordi> &points, double alpha,
                                                 double re, BoundaryLayerTrace *trace = nullptr);

// The command as the editor runs it: point count first, then the angle and
// Reynolds texts with ParseNumber, which throws UserError for a text that is
// not a number (the command then ends with that message).
VelocityDistribution ComputeVelocityDistribution(EpplerSolver &solver,
                                                 const std::vector<TKoordi> &points,
                                                 std::string_view alphaText,
                                                 std::string_view reText);

// How the result fields show ca, cm and cw: 6 decimals, shortest form, ",".
std::string CoefficientText(double value);

// One angle of a transition polar. Transition positions are x of the contour
// (1 = laminar to the trailing edge). ca, cm and cw come along for batch use.
struct TUmschlagPunkt
{
    float angle = 0; // degrees, as swept
    float xUpper = 0;
    float xLower = 0;
    float ca = 0;
    float cm = 0;
    float cw = 0;
};

enum class PolarStatus {
    Ok,
    TooManyPoints, // message kMsgTooManyPoints
    BadStart,      // message kMsgBadStartAngle, focus the start field
    BadEnd,        // kMsgBadEndAngle or kMsgEndBeforeStart, focus the end field
    BadStep,       // kMsgStepTooSmall, focus the step field
    Refused,       // Reynolds number or points outside the contract (see AnalysisContractViolation)
    EngineError,   // no message; mark the start or end field (engineErrorAtStart)
};

struct TransitionPolar
{
    PolarStatus status = PolarStatus::Ok;
    std::string message;               // empty for Ok and EngineError
    std::vector<TUmschlagPunkt> rows;  // one per angle in sweep order, when Ok
    float failedAngle = 0;             // EngineError: the last angle of the failing batch

    // Which field an engine error marks: the start field when the failing
    // angle is at or below the thin-airfoil zero-lift angle, else the end field.
    bool engineErrorAtStart(double thinAirfoilZeroLift) const
    {
        return double(failedAngle) <= thinAirfoilZeroLift;
    }
};

// Validates the start, end and step texts (held in single precision), the
// Reynolds number and the points' contract (in this order), and
// sweeps the angles in batches of up to kMaxAngles engine runs at the
// Reynolds number reText. The Reynolds text is parsed with ParseNumber after
// the point-count check and throws UserError when it is not a number.
TransitionPolar ComputeTransitionPolar(EpplerSolver &solver, const std::vector<TKoordi> &points,
                                       std::string_view reText, std::string_view startText,
                                       std::string_view endText, std::string_view stepText);
// Same, the batches shared among the sweep's threads; the rows are
// bit-identical to the run above. Where a batch fails the engine error names
// the last angle of the first batch with an angle that failed on its own.
TransitionPolar ComputeTransitionPolar(PolarSweep &sweep, const std::vector<TKoordi> &points,
                                       std::string_view reText, std::string_view startText,
                                       std::string_view endText, std::string_view stepText);

// The angles of a sweep grouped into engine batches: start, start + step, ...
// while not above end, each sum rounded to single precision. Empty unless
// step > 0 and start <= end; stops where a step no longer changes the angle.
std::vector<std::vector<float>> PolarBatches(float start, float end, float step);

} // namespace velmora

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

enum class AnalysisStatus {
    Ok,
    TooManyPoints, // more than kMaxProfilePoints; message kMsgTooManyPoints
    EngineError,   // the engine failed; message kMsgEngineError
};

struct VelocityDistribution
{
    AnalysisStatus status = AnalysisStatus::Ok;
    std::string message; // for the information box when status != Ok
    tpolarzeile row;     // the profile's new result row when Ok
    double zeroLiftAngle = 0; // degrees, when Ok
};

// Analyses the points (profile order) at one geometric angle (degrees) and
// Reynolds number. Never throws.
VelocityDistribution ComputeVelocityDistribution(EpplerSolver &solver,
                                                 const std::vector<TKoordi> &points, double alpha,
                                                 double re);

// The command as the editor runs it: point count first, then the angle and
// Reynolds texts with ParseNumber, which throws UserError for a text that is
// not a number (the command then ends with that message).
VelocityDistribution ComputeVelocityDistribution(EpplerSolver &solver,
                                                 const std::vector<TKoordi> &points,
                                                 std::string_view alphaText,
                                                 std::string_view reText);

// How the result fields show ca, cm and cw: 6 decimals, shortest form, ",".
std::string CoefficientText(double value);

// One angle of a transition polar. Transition positions are chord fractions
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

// Validates the start, end and step texts (held in single precision) and
// sweeps the angles in batches of up to kMaxAngles engine runs at the
// Reynolds number reText. The Reynolds text is parsed with ParseNumber after
// the point-count check and throws UserError when it is not a number.
TransitionPolar ComputeTransitionPolar(EpplerSolver &solver, const std::vector<TKoordi> &points,
                                       std::string_view reText, std::string_view startText,
                                       std::string_view endText, std::string_view stepText);

// The angles of a sweep grouped into engine batches: start, start + step, ...
// while not above end, each sum rounded to single precision. Empty unless
// step > 0 and start <= end; stops where a step no longer changes the angle.
std::vector<std::vector<float>> PolarBatches(float start, float end, float step);

} // namespace velmora

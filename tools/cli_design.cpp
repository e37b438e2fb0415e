// SPDX-License-Identifier: GPL-3.0-or-later
// Commands that reshape a section: thickness and camber, trailing-edge gap,
// nose radius, flap, blending. Lengths and places in per cent of the chord.
#include "cli.h"

#include "geometry/blend.h"
#include "geometry/edges.h"
#include "geometry/flap.h"
#include "geometry/thicknesscamber.h"
#include "model/coordinatefile.h"
#include "model/errors.h"
#include "model/numbertext.h"

#include <array>
#include <optional>
#include <ostream>

namespace velmora::cli {

namespace {

bool numberArgument(const std::string &text, double &value, std::ostream &err)
{
    if (!TryParseNumber(text, value)) {
        err << msgNotAFloat(text) << "\n";
        return false;
    }
    return true;
}

// An option that may be left out: nullopt then; false on a bad value.
bool optionalOption(const std::vector<std::string> &args, std::string_view name,
                    std::optional<double> &value, std::ostream &err)
{
    if (!hasFlag(args, name))
        return true;
    double v = 0;
    if (!parseOption(args, name, v, err))
        return false;
    value = v;
    return true;
}

int usage(std::ostream &err, std::string_view synopsis)
{
    err << "Aufruf: velmora-cli " << synopsis << "\n";
    return 2;
}

int runThickness(const std::vector<std::string> &args, std::ostream &, std::ostream &err)
{
    constexpr std::string_view synopsis = "thickness EIN AUS --thickness T --camber F [--xt X] [--xf X]";
    const std::vector<std::string> files = positionalArgs(args, {"--thickness", "--camber", "--xt", "--xf"});
    if (!onlyKnownOptions(args, {"--thickness", "--camber", "--xt", "--xf"}, err) || files.size() != 2)
        return usage(err, synopsis);
    double thickness = 0;
    double camber = 0;
    std::optional<double> xt;
    std::optional<double> xf;
    if (!parseOption(args, "--thickness", thickness, err) || !parseOption(args, "--camber", camber, err)
        || !optionalOption(args, "--xt", xt, err) || !optionalOption(args, "--xf", xf, err))
        return usage(err, synopsis);
    ThicknessCamberTarget target{thickness / 100, camber / 100, std::nullopt, std::nullopt};
    if (xt)
        target.thicknessX = *xt / 100;
    if (xf)
        target.camberX = *xf / 100;
    return rewriteFile(files[0], files[1], err, [&target](TProfile &p) { return SetThicknessCamber(p, target); });
}

// te-gap and le-radius: IN OUT VALUE [--blend D]
int runEdge(const std::vector<std::string> &args, std::ostream &err, std::string_view synopsis,
            double defaultBlend, const std::function<GeometryResult(TProfile &, double, double)> &operation)
{
    const std::vector<std::string> files = positionalArgs(args, {"--blend"});
    if (!onlyKnownOptions(args, {"--blend"}, err) || files.size() != 3)
        return usage(err, synopsis);
    double value = 0;
    if (!numberArgument(files[2], value, err))
        return 2;
    std::optional<double> blend;
    if (!optionalOption(args, "--blend", blend, err))
        return usage(err, synopsis);
    const double d = blend ? *blend / 100 : defaultBlend;
    return rewriteFile(files[0], files[1], err,
                       [&](TProfile &p) { return operation(p, value, d); });
}

int runTeGap(const std::vector<std::string> &args, std::ostream &, std::ostream &err)
{
    return runEdge(args, err, "te-gap EIN AUS SPALT [--blend D]", kDefaultGapBlend,
                   [](TProfile &p, double gap, double blend) { return SetTrailingEdgeGap(p, gap / 100, blend); });
}

int runLeRadius(const std::vector<std::string> &args, std::ostream &, std::ostream &err)
{
    return runEdge(args, err, "le-radius EIN AUS FAKTOR [--blend D]", kDefaultNoseBlend,
                   [](TProfile &p, double factor, double blend) { return ScaleNoseRadius(p, factor, blend); });
}

int runFlap(const std::vector<std::string> &args, std::ostream &, std::ostream &err)
{
    constexpr std::string_view synopsis = "flap EIN AUS --hinge X --angle GRAD [--hinge-height H]";
    const std::vector<std::string> files = positionalArgs(args, {"--hinge", "--angle", "--hinge-height"});
    if (!onlyKnownOptions(args, {"--hinge", "--angle", "--hinge-height"}, err) || files.size() != 2)
        return usage(err, synopsis);
    double hinge = 0;
    double angle = 0;
    std::optional<double> height;
    if (!parseOption(args, "--hinge", hinge, err) || !parseOption(args, "--angle", angle, err)
        || !optionalOption(args, "--hinge-height", height, err))
        return usage(err, synopsis);
    const double h = height ? *height / 100 : kDefaultHingeHeight;
    return rewriteFile(files[0], files[1], err,
                       [&](TProfile &p) { return DeflectFlap(p, hinge / 100, h, angle); });
}

int runBlend(const std::vector<std::string> &args, std::ostream &, std::ostream &err)
{
    if (args.size() != 4)
        return usage(err, "blend A B AUS T");
    double t = 0;
    if (!numberArgument(args[3], t, err))
        return 2;
    TProfile b;
    try {
        LoadCoordinateFile(b, args[1]);
    } catch (const UserError &e) {
        err << e.what() << "\n";
        return 1;
    }
    return rewriteFile(args[0], args[2], err, [&](TProfile &a) {
        TProfile mix;
        const GeometryResult r = BlendProfiles(a, b, t, mix);
        if (r)
            a = std::move(mix);
        return r;
    });
}

constexpr std::array<Command, 5> kCommands = {{
    {"thickness", "EIN AUS --thickness T --camber F [--xt X] [--xf X]",
     "Dicke und Wölbung ändern: größte Dicke T und Wölbung F in % der Profiltiefe, wahlweise ihre "
     "Lage X in %; das Profil muss normiert sein",
     runThickness},
    {"te-gap", "EIN AUS SPALT [--blend D]",
     "Endleistendicke SPALT in % der Profiltiefe, zur Nase hin über D % (Vorgabe 80) auslaufend",
     runTeGap},
    {"le-radius", "EIN AUS FAKTOR [--blend D]",
     "Nasenradius mit FAKTOR multiplizieren, über D % der Profiltiefe (Vorgabe 20) auslaufend",
     runLeRadius},
    {"flap", "EIN AUS --hinge X --angle GRAD [--hinge-height H]",
     "Klappe ab X % der Profiltiefe um GRAD Grad ausschlagen (positiv nach unten), Drehachse bei H % "
     "der örtlichen Dicke über der Unterseite (Vorgabe 50); danach neu normiert",
     runFlap},
    {"blend", "A B AUS T",
     "Profile mischen: (1 - T) * A + T * B an den X-Stellen von A, T von 0 bis 1", runBlend},
}};

} // namespace

std::span<const Command> designCommands()
{
    return kCommands;
}

} // namespace velmora::cli

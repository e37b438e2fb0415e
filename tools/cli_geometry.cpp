// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli.h"

#include "geometry/align.h"
#include "geometry/characteristics.h"
#include "geometry/redistribute.h"
#include "geometry/sides.h"
#include "geometry/smoothing.h"
#include "model/coordinatefile.h"
#include "model/errors.h"
#include "model/numbertext.h"

#include <algorithm>
#include <array>
#include <clocale>
#include <ostream>

namespace velmora::cli {

namespace {

// For the commands that take exactly IN and OUT.
int simpleTransform(const std::vector<std::string> &args, std::ostream &err, std::string_view name,
                    GeometryResult (*operation)(TProfile &))
{
    if (args.size() != 2) {
        err << "Aufruf: velmora-cli " << name << " EIN AUS\n";
        return 2;
    }
    return rewriteFile(args[0], args[1], err, operation);
}

int runNormalise(const std::vector<std::string> &args, std::ostream &, std::ostream &err)
{
    const std::vector<std::string> files = positionalArgs(args, {});
    if (files.size() != 2 || !onlyKnownOptions(args, {"--extrapolate"}, err)) {
        err << "Aufruf: velmora-cli normalise EIN AUS [--extrapolate]\n";
        return 2;
    }
    const bool extrapolate = hasFlag(args, "--extrapolate");
    return rewriteFile(files[0], files[1], err, [extrapolate](TProfile &p) {
        const GeometryResult r = AlignNormalise(p, extrapolate);
        if (r)
            RoundTo6(p);
        return r;
    });
}

bool countArgument(const std::string &text, int &count, std::ostream &err)
{
    if (!TryParseInteger(text, count)) {
        err << msgNotAnInteger(text) << "\n";
        return false;
    }
    return true;
}

int runSmooth(const std::vector<std::string> &args, std::ostream &, std::ostream &err)
{
    if (args.size() != 3) {
        err << "Aufruf: velmora-cli smooth EIN AUS N\n";
        return 2;
    }
    int count = 0;
    if (!countArgument(args[2], count, err))
        return 2;
    return rewriteFile(args[0], args[1], err, [count](TProfile &p) {
        GeometryResult r = SmoothCosine(p, count);
        // the editor ignores small counts silently; here the user gets a reason
        if (!r && r.message.empty())
            r.message = "Die Anzahl der Koordinaten muss mindestens 5 sein !!";
        return r;
    });
}

int runRedistribute(const std::vector<std::string> &args, std::ostream &, std::ostream &err)
{
    if (args.size() != 4) {
        err << "Aufruf: velmora-cli redistribute EIN AUS N linear|sin-front|sin-rear|cos\n";
        return 2;
    }
    int count = 0;
    if (!countArgument(args[2], count, err))
        return 2;
    struct Named
    {
        std::string_view name;
        StationDistribution distribution;
    };
    static constexpr std::array<Named, 4> kDistributions = {{
        {"linear", StationDistribution::Linear},
        {"sin-front", StationDistribution::SinFront},
        {"sin-rear", StationDistribution::SinRear},
        {"cos", StationDistribution::Cos},
    }};
    const auto found = std::find_if(kDistributions.begin(), kDistributions.end(),
                                    [&](const Named &n) { return n.name == args[3]; });
    if (found == kDistributions.end()) {
        err << "Unbekannte Verteilung '" << args[3] << "' (linear, sin-front, sin-rear oder cos)\n";
        return 2;
    }
    const StationDistribution distribution = found->distribution;
    return rewriteFile(args[0], args[1], err, [count, distribution](TProfile &p) {
        return RedistributeCubic(p, count, distribution);
    });
}

int runInsertMidpoints(const std::vector<std::string> &args, std::ostream &, std::ostream &err)
{
    return simpleTransform(args, err, "insert-midpoints", InsertMidpointsCubic);
}

int runInvert(const std::vector<std::string> &args, std::ostream &, std::ostream &err)
{
    return simpleTransform(args, err, "invert", Invert);
}

int runMirrorUpper(const std::vector<std::string> &args, std::ostream &, std::ostream &err)
{
    return simpleTransform(args, err, "mirror-upper", MirrorUpper);
}

int runMirrorLower(const std::vector<std::string> &args, std::ostream &, std::ostream &err)
{
    return simpleTransform(args, err, "mirror-lower", MirrorLower);
}

// The decimal separator of the user's LC_NUMERIC locale. The process locale
// is put back at once: the file writers format numbers with printf.
char localeDecimalChar()
{
    const char *current = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = current ? current : "C";
    char decimal = '.';
    if (std::setlocale(LC_NUMERIC, "")) {
        const char *point = std::localeconv()->decimal_point;
        if (point && point[0] != '\0' && point[1] == '\0')
            decimal = point[0];
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
    return decimal;
}

int runCheck(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    if (args.size() != 1) {
        err << "Aufruf: velmora-cli check DATEI\n";
        return 2;
    }
    TProfile profile;
    try {
        LoadCoordinateFile(profile, args[0]);
    } catch (const UserError &e) {
        err << e.what() << "\n";
        return 1;
    }
    for (const std::string &line : ShowCharacteristics(&profile, localeDecimalChar()))
        out << line << "\n";
    for (const std::string &line : CheckProfile(&profile))
        out << line << "\n";
    return 0;
}

constexpr std::array<Command, 8> kCommands = {{
    {"normalise", "EIN AUS [--extrapolate]",
     "Profil ausrichten und normieren (Nase auf 0/0, Endleistenmitte auf 1/0, 6 Nachkommastellen); "
     "mit --extrapolate beide Endleistenpunkte auf X = 1 extrapolieren",
     runNormalise},
    {"smooth", "EIN AUS N",
     "Profil automatisch glätten (COS-Verteilung) mit 2*(N div 2)+1 Koordinaten, N von 5 bis 65535",
     runSmooth},
    {"redistribute", "EIN AUS N linear|sin-front|sin-rear|cos",
     "Punkte neu verteilen, Ober- und Unterseite getrennt, Polynom 3. Grades: 2*(N div 2)+1 "
     "Punkte; das Profil muss normiert sein",
     runRedistribute},
    {"insert-midpoints", "EIN AUS", "Zwischenpunkte bei t=0.5 einfügen (Polynom 3. Grades)",
     runInsertMidpoints},
    {"invert", "EIN AUS", "Profil umdrehen wie \"Inverse Kopie erzeugen\" (Name _inv, Titel inv)",
     runInvert},
    {"mirror-upper", "EIN AUS", "Oberseite spiegeln, Unterseite weg", runMirrorUpper},
    {"mirror-lower", "EIN AUS", "Unterseite spiegeln, Oberseite weg", runMirrorLower},
    {"check", "DATEI",
     "Profilbeiwerte nach TAT und Fehlerliste ausgeben (erst die linke, dann die rechte Liste "
     "des Fensters); Dezimaltrennzeichen nach der Locale (LC_NUMERIC), \".\" in der C-Locale",
     runCheck},
}};

} // namespace

std::span<const Command> geometryCommands()
{
    return kCommands;
}

} // namespace velmora::cli

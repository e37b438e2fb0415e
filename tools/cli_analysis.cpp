// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli.h"

#include "analysis/analysiscommands.h"
#include "analysis/polarsweep.h"
#include "model/coordinatefile.h"
#include "model/errors.h"
#include "model/numbertext.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>

namespace velmora::cli {

namespace {

// Engine results are single precision: print the shortest text that reads
// back as the same float rather than the 17 digits of a double (a value
// derived in double is rounded to single first).
std::string formatSingle(double value)
{
    const float f = static_cast<float>(value);
    if (!std::isfinite(f))
        return formatNumber(value);
    return ShortestFloatText(f);
}

// Message-box line breaks become terminal line breaks.
std::string terminalText(std::string message)
{
    for (char &c : message) {
        if (c == '\r')
            c = '\n';
    }
    return message;
}


bool loadProfile(const std::string &path, TProfile &profile, std::ostream &err)
{
    try {
        LoadCoordinateFile(profile, path);
        return true;
    } catch (const UserError &e) {
        err << e.what() << "\n";
        return false;
    }
}

int runAnalyse(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    const std::vector<std::string> files = positionalArgs(args, {"--alpha", "--re"});
    if (!onlyKnownOptions(args, {"--alpha", "--re", "--nodes", "--bl"}, err) || files.size() != 1) {
        err << "Aufruf: velmora-cli analyse DATEI --alpha A --re R [--nodes] [--bl]\n";
        return 2;
    }
    double alpha = 0, re = 0;
    if (!parseOption(args, "--alpha", alpha, err) || !parseOption(args, "--re", re, err))
        return 2;
    TProfile profile;
    if (!loadProfile(files[0], profile, err))
        return 1;

    EpplerSolver solver;
    BoundaryLayerTrace trace;
    const bool withTrace = hasFlag(args, "--bl");
    const VelocityDistribution result =
        ComputeVelocityDistribution(solver, profile.Points, alpha, re, withTrace ? &trace : nullptr);
    if (result.status != AnalysisStatus::Ok) {
        err << terminalText(result.message) << "\n";
        return 1;
    }
    const tpolarzeile &row = result.row;
    out << "ca=" << formatSingle(row.ca) << "\n"
        << "cm=" << formatSingle(row.cm) << "\n"
        << "cw=" << formatSingle(row.cw) << "\n"
        << "xtr_upper=" << formatSingle(row.xUmschlagOben) << "\n"
        << "xtr_lower=" << formatSingle(row.xUmschlagUnten) << "\n"
        << "bubble_upper=" << formatNumber(row.blaseOben) << "\n"
        << "bubble_lower=" << formatNumber(row.blaseUnten) << "\n"
        << "alpha0=" << formatSingle(result.zeroLiftAngle) << "\n";
    if (hasFlag(args, "--nodes")) {
        out << "x,y,v\n";
        for (const TVPunkt &p : row.vPunkte)
            out << formatSingle(p.x) << "," << formatSingle(p.y) << "," << formatSingle(p.v) << "\n";
    }
    if (withTrace)
        out << TraceCsvHeader() << "\n" << TraceCsvRows(trace);
    return 0;
}

int runPolar(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    const std::vector<std::string> files =
        positionalArgs(args, {"--re", "--from", "--to", "--step", "--jobs"});
    if (!onlyKnownOptions(args, {"--re", "--from", "--to", "--step", "--jobs"}, err) || files.size() != 1) {
        err << "Aufruf: velmora-cli polar DATEI --re R[,R...] --from A --to B --step S [--jobs N]\n";
        return 2;
    }
    std::string re, from, to, step;
    if (!optionText(args, "--re", re, err) || !optionText(args, "--from", from, err)
        || !optionText(args, "--to", to, err) || !optionText(args, "--step", step, err))
        return 2;
    double jobs = 0;
    if (hasFlag(args, "--jobs")
        && (!parseOption(args, "--jobs", jobs, err) || !(jobs >= 1 && jobs <= 256 && jobs == std::floor(jobs)))) {
        err << "--jobs braucht eine ganze Zahl von 1 bis 256\n";
        return 2;
    }
    TProfile profile;
    if (!loadProfile(files[0], profile, err))
        return 1;
    if (profile.PointCount() > kMaxProfilePoints) {
        err << terminalText(kMsgTooManyPoints) << "\n";
        return 1;
    }
    std::vector<double> reynolds;
    PolarRange range;
    std::string message = ParseReynoldsList(re, reynolds);
    if (message.empty())
        message = ParsePolarRange(from, to, step, range);
    if (!message.empty()) {
        err << terminalText(message) << "\n";
        return 2;
    }
    // Like the editor's polar: refused before the engine runs, no numbers.
    for (double r : reynolds) {
        if (!(r >= kLowestReynolds && r <= kHighestReynolds))
            message = kMsgBadReynolds;
    }
    if (message.empty())
        message = AnalysisContractViolation(profile.Points);
    if (!message.empty()) {
        err << terminalText(message) << "\n";
        return 1;
    }

    PolarSweep sweep{int(jobs)};
    const std::vector<PolarCurve> curves = sweep.run(profile.Points, reynolds, range);
    // Angles without a result are left out and named on stderr; the exit
    // status tells a script that the polar has gaps.
    int failed = 0;
    out << "re,alpha,xtr_upper,xtr_lower,ca,cm,cw\n";
    for (const PolarCurve &c : curves) {
        for (const PolarSample &p : c.samples) {
            if (!p.valid) {
                err << kMsgEngineError << " (Alfa = " << formatSingle(p.alpha);
                if (curves.size() > 1)
                    err << ", Re = " << formatNumber(c.re);
                err << ")\n";
                ++failed;
                continue;
            }
            out << formatNumber(c.re) << "," << formatSingle(p.alpha) << "," << formatSingle(p.xtrUpper)
                << "," << formatSingle(p.xtrLower) << "," << formatSingle(p.ca) << ","
                << formatSingle(p.cm) << "," << formatSingle(p.cw) << "\n";
        }
    }
    return failed > 0 ? 1 : 0;
}

constexpr std::array<Command, 2> kCommands = {{
    {"analyse", "DATEI --alpha A --re R [--nodes] [--bl]",
     "Profil bei einem Anstellwinkel rechnen: ca, cm, cw, Umschlag, Blasen, Nullauftriebswinkel; "
     "mit --nodes zusätzlich x,y,v je Punkt, mit --bl die Grenzschicht je Punkt beider Seiten als CSV "
     "(side,s,x,v,delta2,delta3,h32,h12,state,cf,cd)",
     runAnalyse},
    {"polar", "DATEI --re R[,R...] --from A --to B --step S [--jobs N]",
     "Polare über einen Winkelbereich für bis zu 5 Reynoldszahlen als CSV "
     "(re,alpha,xtr_upper,xtr_lower,ca,cm,cw); Winkel ohne Ergebnis fehlen, Status 1; "
     "--jobs begrenzt die Threads",
     runPolar},
}};

} // namespace

std::span<const Command> analysisCommands()
{
    return kCommands;
}

} // namespace velmora::cli

// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli.h"

#include "geometry/naca4.h"
#include "model/coordinatefile.h"
#include "model/errors.h"
#include "model/projectfile.h"
#include "model/textfile.h"

#include <array>
#include <ostream>

namespace velmora::cli {

namespace {

bool isProjectPath(const std::string &path)
{
    return EndsWithNoCase(path, ".VMPRO") || EndsWithNoCase(path, ".VMPRO2");
}

int runNaca(const std::vector<std::string> &args, std::ostream &, std::ostream &err)
{
    if (args.size() != 2) {
        err << "Aufruf: velmora-cli naca ZIFFERN DATEI\n";
        return 2;
    }
    const TProfile profile = MakeNaca4(args[0]);
    if (profile.Points.empty()) {
        err << "'" << args[0] << "' ist keine vierstellige NACA-Bezeichnung\n";
        return 2;
    }
    try {
        WriteCoordinateFile(profile, args[1]);
    } catch (const UserError &e) {
        err << e.what() << "\n";
        return 1;
    }
    return 0;
}

// Coordinate files and projects in any direction: the profiles of IN go to OUT.
// A coordinate file as OUT takes exactly one profile.
int runConvert(const std::vector<std::string> &args, std::ostream &, std::ostream &err)
{
    if (args.size() != 2) {
        err << "Aufruf: velmora-cli convert EIN AUS\n";
        return 2;
    }
    try {
        TProf_Projekt project;
        if (isProjectPath(args[0])) {
            ReadProjectFile(project, args[0]);
            if (project.Profiles.empty()) {
                err << msgNoProfile(args[0]) << "\n";
                return 1;
            }
        } else {
            TProfile p;
            LoadCoordinateFile(p, args[0]);
            project.Profiles.push_back(std::move(p));
        }
        if (isProjectPath(args[1])) {
            WriteProjectFile(project, args[1]);
        } else {
            if (project.Profiles.size() != 1) {
                err << "Eine Profildatei nimmt genau ein Profil auf; das Projekt enthält "
                    << project.Profiles.size() << "\n";
                return 1;
            }
            WriteCoordinateFile(project.Profiles.front(), args[1]);
        }
    } catch (const UserError &e) {
        err << e.what() << "\n";
        return 1;
    }
    return 0;
}

constexpr std::array<Command, 2> kCommands = {{
    {"naca", "ZIFFERN DATEI", "NACA-4-Ziffern-Profil (z. B. 2412) mit 161 Punkten als Profildatei schreiben",
     runNaca},
    {"convert", "EIN AUS",
     "Profildatei (.dat) und Projektdatei (.VMPRO, .VMPRO2) ineinander umwandeln", runConvert},
}};

} // namespace

std::span<const Command> fileCommands()
{
    return kCommands;
}

} // namespace velmora::cli

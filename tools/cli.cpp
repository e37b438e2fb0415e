// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli.h"

#include "model/coordinatefile.h"
#include "model/errors.h"
#include "model/numbertext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>

namespace velmora::cli {

namespace {

void printUsage(std::ostream &out)
{
    out << "velmora-cli: Profile aus der Kommandozeile bearbeiten und rechnen\n\n"
           "Aufruf: velmora-cli BEFEHL [ARGUMENTE]\n\n";
    for (auto group : {fileCommands(), analysisCommands(), geometryCommands(), designCommands()}) {
        for (const Command &c : group)
            out << "  " << c.name << " " << c.usage << "\n      " << c.summary << "\n";
    }
}

} // namespace

int runCli(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printUsage(out);
        return args.empty() ? 2 : 0;
    }
    for (auto group : {fileCommands(), analysisCommands(), geometryCommands(), designCommands()}) {
        for (const Command &c : group) {
            if (c.name == args[0])
                return c.run(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
        }
    }
    err << "Unbekannter Befehl '" << args[0] << "'\n";
    printUsage(err);
    return 2;
}

bool optionText(const std::vector<std::string> &args, std::string_view name, std::string &value,
                std::ostream &err)
{
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != name)
            continue;
        if (i + 1 >= args.size()) {
            err << "Option " << name << " braucht einen Wert\n";
            return false;
        }
        value = args[i + 1];
        return true;
    }
    err << "Option " << name << " fehlt\n";
    return false;
}

bool parseOption(const std::vector<std::string> &args, std::string_view name, double &value,
                 std::ostream &err)
{
    std::string text;
    if (!optionText(args, name, text, err))
        return false;
    if (!TryParseNumber(text, value)) {
        err << "'" << text << "' ist kein gültiger Gleitkommawert\n";
        return false;
    }
    return true;
}

bool hasFlag(const std::vector<std::string> &args, std::string_view name)
{
    return std::find(args.begin(), args.end(), name) != args.end();
}

std::vector<std::string> positionalArgs(const std::vector<std::string> &args,
                                        std::initializer_list<std::string_view> optionsWithValue)
{
    std::vector<std::string> result;
    for (size_t i = 0; i < args.size(); ++i) {
        if (std::find(optionsWithValue.begin(), optionsWithValue.end(), args[i])
            != optionsWithValue.end()) {
            ++i;
            continue;
        }
        if (args[i].size() > 2 && args[i].compare(0, 2, "--") == 0)
            continue;
        result.push_back(args[i]);
    }
    return result;
}

void printMessage(std::ostream &err, std::string_view message)
{
    for (char c : message)
        err << (c == '\r' ? '\n' : c);
    err << "\n";
}

bool onlyKnownOptions(const std::vector<std::string> &args,
                      std::initializer_list<std::string_view> known, std::ostream &err)
{
    for (const std::string &a : args) {
        if (a.size() > 2 && a.compare(0, 2, "--") == 0
            && std::find(known.begin(), known.end(), a) == known.end()) {
            err << "Unbekannte Option " << a << "\n";
            return false;
        }
    }
    return true;
}

int rewriteFile(const std::string &in, const std::string &out, std::ostream &err,
                const std::function<GeometryResult(TProfile &)> &operation)
{
    try {
        TProfile profile;
        LoadCoordinateFile(profile, in);
        const GeometryResult r = operation(profile);
        if (!r) {
            printMessage(err, r.message);
            return 1;
        }
        WriteCoordinateFile(profile, out);
    } catch (const UserError &e) {
        err << e.what() << "\n";
        return 1;
    }
    return 0;
}

std::string formatNumber(double value)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? "nan" : (value > 0 ? "inf" : "-inf");
    char buf[64];
    for (int precision = 6; precision <= 17; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*g", precision, value);
        if (std::strtod(buf, nullptr) == value)
            break;
    }
    return buf;
}

} // namespace velmora::cli

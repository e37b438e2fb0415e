// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/result.h"
#include "model/profile.h"

#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::cli {

// One subcommand of velmora-cli. `args` are the arguments after the command
// name. Returns the process exit status; messages go to `err` (UTF-8, the
// program's German texts where it has one), results to `out`.
struct Command
{
    std::string_view name;
    std::string_view usage; // the argument synopsis, e.g. "FILE --alpha A --re R [--nodes]"
    std::string_view summary;
    int (*run)(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);
};

std::span<const Command> fileCommands();
std::span<const Command> analysisCommands();
std::span<const Command> geometryCommands();
std::span<const Command> designCommands();

// Dispatches argv (without the program name) to a command; prints the usage
// for no command, "--help" or an unknown command (exit 2 for the latter).
int runCli(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

// Shared argument helpers. They write their own message to `err` and return
// false on a bad argument.
bool optionText(const std::vector<std::string> &args, std::string_view name, std::string &value,
                std::ostream &err);
bool parseOption(const std::vector<std::string> &args, std::string_view name, double &value,
                 std::ostream &err);
bool hasFlag(const std::vector<std::string> &args, std::string_view name);
// The arguments that are neither options ("--x VALUE") nor flags.
std::vector<std::string> positionalArgs(const std::vector<std::string> &args,
                                        std::initializer_list<std::string_view> optionsWithValue);

// A message of the program on the terminal: its '\r' line breaks become '\n'.
void printMessage(std::ostream &err, std::string_view message);
// False (with a message) when an argument starting with "--" is not in `known`.
bool onlyKnownOptions(const std::vector<std::string> &args,
                      std::initializer_list<std::string_view> known, std::ostream &err);
// Reads the coordinate file IN, runs the operation and writes OUT; a refusal
// prints its reason and writes nothing. Exit status 0 or 1.
int rewriteFile(const std::string &in, const std::string &out, std::ostream &err,
                const std::function<GeometryResult(TProfile &)> &operation);

// Numbers for machine reading: shortest round-trip form with "." as decimal point.
std::string formatNumber(double value);

} // namespace velmora::cli

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

// Numbers for machine reading: shortest round-trip form with "." as decimal point.
std::string formatNumber(double value);

} // namespace velmora::cli

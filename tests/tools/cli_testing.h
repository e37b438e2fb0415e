// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli.h"

#include <sstream>
#include <string>
#include <vector>

namespace velmora::testing {

// One in-process run of velmora-cli.
struct CliRun
{
    int status = 0;
    std::string out;
    std::string err;
};

inline CliRun runCli(const std::vector<std::string> &args)
{
    std::ostringstream out;
    std::ostringstream err;
    CliRun r;
    r.status = velmora::cli::runCli(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

inline std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

} // namespace velmora::testing

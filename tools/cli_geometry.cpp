// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli.h"

namespace velmora::cli {

std::span<const Command> geometryCommands()
{
    return {};
}

} // namespace velmora::cli

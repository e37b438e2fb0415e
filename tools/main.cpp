// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli.h"

#include <iostream>
#include <new>

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return velmora::cli::runCli(args, std::cout, std::cerr);
    } catch (const std::bad_alloc &) {
        std::cerr << "Zu wenig Arbeitsspeicher\n";
        return 1;
    }
}

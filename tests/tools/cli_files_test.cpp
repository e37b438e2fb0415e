// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_testing.h"

#include "geometry/naca4.h"
#include "model/coordinatefile.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

namespace velmora {
namespace {

using testing::TempDir;
using testing::readFile;
using testing::writeFile;

TEST(CliConvert, InputWithoutAProfileFailsAndWritesNothing)
{
    TempDir dir;
    writeFile(dir.file("empty.VMPRO"), "");
    WriteCoordinateFile(MakeNaca4("2412", 11), dir.file("naca.dat"));
    // a coordinate file under a project name holds no SER_START
    writeFile(dir.file("naca.VMPRO"), readFile(dir.file("naca.dat")));
    for (const char *in : {"empty.VMPRO", "naca.VMPRO"}) {
        const auto r = testing::runCli({"convert", dir.file(in), dir.file("out.VMPRO2")});
        EXPECT_EQ(r.status, 1) << in;
        EXPECT_EQ(r.err, "Datei " + dir.file(in) + " enthält kein Profil\n");
        EXPECT_FALSE(std::filesystem::exists(dir.file("out.VMPRO2"))) << in;
    }
}

TEST(CliConvert, RefusesFifosAndValuesItCannotWrite)
{
    TempDir dir;
    const std::string fifo = dir.file("pipe.dat");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto r = testing::runCli({"convert", fifo, dir.file("out.VMPRO2")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Datei " + fifo + " kann nicht geöffnet werden\n");

    writeFile(dir.file("p.VMPRO"), "SER_START\nSER_TITEL=p;t\nDATA_XY=1 0\nDATA_XY=999999 0\nSER_END\n");
    r = testing::runCli({"convert", dir.file("p.VMPRO"), fifo});
    EXPECT_EQ(r.status, 1);
    struct stat st {};
    ASSERT_EQ(::stat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the FIFO was replaced by a file";
    r = testing::runCli({"convert", dir.file("p.VMPRO"), dir.file("p.dat")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(dir.file("p.dat")), "t\r\n1.000000 0.000000\r\n999999.0000 0.000000\r\n");
}

} // namespace
} // namespace velmora

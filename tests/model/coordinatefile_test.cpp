// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/coordinatefile.h"
#include "model/errors.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using namespace velmora;
using velmora::testing::TempDir;
using velmora::testing::readFile;
using velmora::testing::writeFile;

namespace {

std::string loadError(const std::string &path)
{
    TProfile p;
    try {
        LoadCoordinateFile(p, path);
    } catch (const UserError &e) {
        EXPECT_TRUE(p.Points.empty()) << "a failed load must leave the profile untouched";
        return e.what();
    }
    return "(no error)";
}

TProfile load(const std::string &path)
{
    TProfile p;
    LoadCoordinateFile(p, path);
    return p;
}

} // namespace

TEST(CoordinateFile, NameIsTheFileNameUpToTheFirstDatInAnyCase)
{
    EXPECT_EQ(ProfileNameFromPath("/a/b/NACA2412.dat"), "NACA2412");
    EXPECT_EQ(ProfileNameFromPath("E205.DAT"), "E205");
    EXPECT_EQ(ProfileNameFromPath("my.data.dat"), "my");
    EXPECT_EQ(ProfileNameFromPath("e387.txt"), "");
    EXPECT_EQ(ProfileNameFromPath("C:\\prof\\Fl\xC3\xBCgel.dat"), "Fl\xFCgel");
}

TEST(CoordinateFile, WritesTitleAndPointsWithSixDecimalsAndCrLf)
{
    TempDir dir;
    TProfile p = velmora::testing::profileFrom({{1, 0.00126}, {0.5, -0.01}, {-1234.5, 0}});
    p.Title = "Titel \xE4";
    WriteCoordinateFile(p, dir.file("out.dat"));
    EXPECT_EQ(readFile(dir.file("out.dat")),
              "Titel \xE4\r\n1.000000 0.001260\r\n0.500000 -0.010000\r\n-1234.50000 0.000000\r\n");
}

TEST(CoordinateFile, RoundTripKeepsTitleBytesCountAndSixDecimals)
{
    TempDir dir;
    TProfile p = velmora::testing::profileFrom({{1, 0}, {0.123456789, 0.0612345678}, {0, 0}, {1, -0.001}});
    p.Title = "E205 \x96 \x80 mit; allem";
    WriteCoordinateFile(p, dir.file("E205.dat"));
    const TProfile back = load(dir.file("E205.dat"));
    EXPECT_EQ(back.Name, "E205");
    EXPECT_EQ(back.Title, p.Title);
    ASSERT_EQ(back.Points.size(), p.Points.size());
    EXPECT_DOUBLE_EQ(back.Points[1].X, 0.123457);
    EXPECT_DOUBLE_EQ(back.Points[1].Y, 0.061235);
    EXPECT_DOUBLE_EQ(back.Points[3].Y, -0.001);
}

TEST(CoordinateFile, ReadsAnyLineEndSkipsBlankLinesAndAcceptsCommas)
{
    TempDir dir;
    writeFile(dir.file("crlf.dat"), "T\r\n1 0\r\n\r\n  0 0  \r\n1 -0.1");
    writeFile(dir.file("lf.dat"), "T\n1 0\n\n0 0\n1 -0.1\n");
    writeFile(dir.file("cr.dat"), "T\r1 0\r\r0 0\r1 -0.1\r");
    writeFile(dir.file("comma.dat"), "T\n1 0\n0,5    0,01\n0 0\n1 -0,1\n");
    for (const char *f : {"crlf.dat", "lf.dat", "cr.dat"}) {
        const TProfile p = load(dir.file(f));
        ASSERT_EQ(p.Points.size(), 3u) << f;
        EXPECT_EQ(p.Title, "T");
        EXPECT_DOUBLE_EQ(p.Points[2].Y, -0.1) << f;
    }
    const TProfile c = load(dir.file("comma.dat"));
    ASSERT_EQ(c.Points.size(), 4u);
    EXPECT_DOUBLE_EQ(c.Points[1].X, 0.5);
    EXPECT_DOUBLE_EQ(c.Points[1].Y, 0.01);
}

TEST(CoordinateFile, TitleOnlyGivesNoPointsAndPointFlagsStartCleared)
{
    TempDir dir;
    writeFile(dir.file("t.dat"), "only a title\r\n");
    EXPECT_TRUE(load(dir.file("t.dat")).Points.empty());
    writeFile(dir.file("u.dat"), "\n1 0\n");
    const TProfile p = load(dir.file("u.dat"));
    EXPECT_EQ(p.Title, "");
    ASSERT_EQ(p.Points.size(), 1u);
    EXPECT_FALSE(p.Points[0].Marked || p.Points[0].Active || p.Points[0].IsNew);
}

TEST(CoordinateFile, CountLayoutIsConvertedToProgramPointOrder)
{
    TempDir dir;
    // upper and lower side each from the nose to the trailing edge
    writeFile(dir.file("counts.dat"), "Counted\r\n3. 3.\r\n\r\n0 0\r\n0.5 0.06\r\n1 0.001\r\n\r\n"
                                      "0 0\r\n0.5 -0.04\r\n1 -0.001\r\n");
    const TProfile p = load(dir.file("counts.dat"));
    ASSERT_EQ(p.Points.size(), 5u);
    const double expected[5][2] = {{1, 0.001}, {0.5, 0.06}, {0, 0}, {0.5, -0.04}, {1, -0.001}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_DOUBLE_EQ(p.Points[size_t(i)].X, expected[i][0]) << i;
        EXPECT_DOUBLE_EQ(p.Points[size_t(i)].Y, expected[i][1]) << i;
    }
}

TEST(CoordinateFile, CountsThatDoNotMatchTheLinesAreAnOrdinaryPoint)
{
    TempDir dir;
    writeFile(dir.file("p.dat"), "T\n61. 61.\n0 0\n1 0\n");
    const TProfile p = load(dir.file("p.dat"));
    ASSERT_EQ(p.Points.size(), 3u);
    EXPECT_DOUBLE_EQ(p.Points[0].X, 61.0);
}

TEST(CoordinateFile, ReportsEachFailureWithItsMessage)
{
    TempDir dir;
    EXPECT_EQ(loadError(dir.file("missing.dat")),
              "Datei " + dir.file("missing.dat") + " kann nicht geöffnet werden");
    EXPECT_EQ(loadError(dir.path().string()),
              "Datei " + dir.path().string() + " kann nicht geöffnet werden");
    writeFile(dir.file("empty.dat"), "");
    EXPECT_EQ(loadError(dir.file("empty.dat")), "Listenindex überschreitet das Maximum (0)");
    writeFile(dir.file("single.dat"), "T\n1 0\n0.5\n");
    EXPECT_EQ(loadError(dir.file("single.dat")), "'0,5' ist kein gültiger Gleitkommawert");
    writeFile(dir.file("three.dat"), "T\n0.5 0.01 7\n");
    EXPECT_EQ(loadError(dir.file("three.dat")), "'0,01 7' ist kein gültiger Gleitkommawert");
    writeFile(dir.file("word.dat"), "T\nx 0.01\n");
    EXPECT_EQ(loadError(dir.file("word.dat")), "'x' ist kein gültiger Gleitkommawert");
}

TEST(CoordinateFile, FailedWriteKeepsThePreviousFile)
{
    TempDir dir;
    const std::string target = dir.file("keep.dat");
    writeFile(target, "previous");
    TProfile big;
    big.Points.resize(10000);
    {
        velmora::testing::FileSizeLimit limit(64);
        try {
            WriteCoordinateFile(big, target);
            ADD_FAILURE() << "a write that hit the size limit reported success";
        } catch (const UserError &e) {
            EXPECT_EQ(std::string(e.what()), "Datei " + target + " kann nicht erstellt werden");
        }
    }
    EXPECT_EQ(readFile(target), "previous");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1)
        << "the temporary file must be removed";
}

TEST(CoordinateFile, TabSeparatesTheNumbersLikeABlank)
{
    TempDir dir;
    writeFile(dir.file("tab.dat"), "T\n1,00000\t0,00000\n0.5\t\t-0.01\n0 \t0\n");
    const TProfile p = load(dir.file("tab.dat"));
    ASSERT_EQ(p.Points.size(), 3u);
    EXPECT_DOUBLE_EQ(p.Points[1].X, 0.5);
    EXPECT_DOUBLE_EQ(p.Points[1].Y, -0.01);
    writeFile(dir.file("tab3.dat"), "T\n0.5\t0.01\t7\n");
    EXPECT_EQ(loadError(dir.file("tab3.dat")), "'0,01\t7' ist kein gültiger Gleitkommawert");
}

TEST(CoordinateFile, PublishedTabSeparatedFileLoads)
{
    VELMORA_NEEDS_REFERENCE_DATA();
    const TProfile p = load((velmora::testing::referenceDir() / "published" / "lrn1007.dat").string());
    EXPECT_EQ(p.Title, "lrn1007");
    ASSERT_GT(p.Points.size(), 50u);
    EXPECT_DOUBLE_EQ(p.Points.front().X, 1.0);
    EXPECT_DOUBLE_EQ(p.Points[1].Y, 0.0078);
}

TEST(CoordinateFile, CountLayoutNeedsBothBlocksRunningFromTheNose)
{
    TempDir dir;
    // a profile in millimetres whose first point looks like counts matching the lines
    std::string text = "mm\n100 2\n";
    for (int i = 0; i < 50; ++i)
        text += std::to_string(100 - 2 * i) + " " + std::to_string(i % 7) + "\n";
    for (int i = 0; i < 52; ++i)
        text += std::to_string(2 * i) + " -" + std::to_string(i % 5) + "\n";
    writeFile(dir.file("mm.dat"), text);
    const TProfile p = load(dir.file("mm.dat"));
    ASSERT_EQ(p.Points.size(), 103u);
    EXPECT_DOUBLE_EQ(p.Points[0].X, 100.0);
    EXPECT_DOUBLE_EQ(p.Points[0].Y, 2.0);
    EXPECT_DOUBLE_EQ(p.Points[1].X, 100.0);
    EXPECT_DOUBLE_EQ(p.Points[102].X, 102.0);
}

TEST(CoordinateFile, AbsurdCoordinatesAreRefusedWithTheirLine)
{
    TempDir dir;
    writeFile(dir.file("huge.dat"), "T\n1 0\n\n0.5 1e308\n0 0\n");
    EXPECT_EQ(loadError(dir.file("huge.dat")),
              "Zeile 4: '0.5 1e308' ist als Koordinate zu groß (erlaubt bis ±1000000)");
    writeFile(dir.file("neg.dat"), "T\n-1000000.5 0\n");
    EXPECT_EQ(loadError(dir.file("neg.dat")).rfind("Zeile 2: ", 0), 0u);
    writeFile(dir.file("edge.dat"), "T\n-1000000 1000000\n");
    EXPECT_EQ(load(dir.file("edge.dat")).Points.size(), 1u);
}

TEST(CoordinateFile, ValuesTheCutWouldChangeAreNeverWritten)
{
    TempDir dir;
    const std::string target = dir.file("keep.dat");
    writeFile(target, "previous");
    TProfile p = velmora::testing::profileFrom({{1, 0}, {1e15, 0.5}}, "big");
    try {
        WriteCoordinateFile(p, target);
        ADD_FAILURE() << "1e15 was written";
    } catch (const UserError &e) {
        EXPECT_EQ(std::string(e.what()),
                  "Profil big, Punkt 2: der Wert 1000000000000000,000000 lässt sich nicht in 11 "
                  "Zeichen speichern");
    }
    EXPECT_EQ(readFile(target), "previous");
    p.Points[1].X = std::nan("");
    EXPECT_THROW(CoordinateFileText(p), UserError);
    // the largest values that still keep their integer part
    p.Points[1].X = 9999999999.0;
    p.Points[1].Y = -999999999.0;
    EXPECT_EQ(CoordinateFileText(p), "big\r\n1.000000 0.000000\r\n9999999999. -999999999.\r\n");
    p.Points[1].Y = -1e9;
    EXPECT_THROW(CoordinateFileText(p), UserError);
}

TEST(CoordinateFile, ControlCharactersOfFileNameAndTitleNeverReachAFile)
{
    TempDir dir;
    const std::string path = dir.file("evil\nSER_START\r\nSER_TITEL=x.dat");
    writeFile(path, "T\x1b[31m\n1 0\n0 0\n");
    const TProfile p = load(path);
    EXPECT_EQ(p.Name, "evil SER_START  SER_TITEL=x");
    EXPECT_EQ(CoordinateFileText(p), "T [31m\r\n1.000000 0.000000\r\n0.000000 0.000000\r\n");
}

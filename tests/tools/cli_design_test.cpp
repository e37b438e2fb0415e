// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_testing.h"

#include "geometry/characteristics.h"
#include "geometry/geometry_testing.h"
#include "geometry/naca4.h"
#include "geometry/primitives.h"
#include "model/coordinatefile.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace velmora {
namespace {

using testing::CliRun;

class CliDesign : public ::testing::Test
{
protected:
    std::string naca(const char *digits, double dx = 0)
    {
        TProfile p = MakeNaca4(digits);
        for (TKoordi &k : p.Points)
            k.X += dx;
        const std::string path = m_dir.file(std::string(digits) + (dx != 0 ? "_moved" : "") + ".dat");
        WriteCoordinateFile(p, path);
        return path;
    }
    std::string file(const char *name) const { return m_dir.file(name); }
    static TProfile load(const std::string &path)
    {
        TProfile p;
        LoadCoordinateFile(p, path);
        return p;
    }
    static TProfile checked(const std::string &path)
    {
        TProfile p = load(path);
        EXPECT_TRUE(ComputeCharacteristics(p));
        return p;
    }

private:
    testing::TempDir m_dir;
};

TEST_F(CliDesign, ReshapesSectionsInPerCentOfTheChord)
{
    const std::string out = file("out.dat");
    CliRun r = testing::runCli({"thickness", naca("0012"), out, "--thickness", "15", "--camber", "0"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(testing::nearPoints(load(out), load(naca("0015")), 1e-5));

    // camber of 2 % at 40 % makes 0012 a 2412
    r = testing::runCli({"thickness", naca("0012"), out, "--thickness", "12,0014", "--camber", "2", "--xf", "40"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NEAR(checked(out).Characteristics[kCamber], 2.0, 0.01);
    EXPECT_NEAR(checked(out).Characteristics[kCamberPos], 40.0, 1.0);

    r = testing::runCli({"te-gap", naca("2412"), out, "1"});
    ASSERT_EQ(r.status, 0) << r.err;
    const TProfile gap = load(out);
    EXPECT_NEAR(gap.Points.front().Y - gap.Points.back().Y, 0.01, 2e-6);
    EXPECT_EQ(gap.Points[size_t(NoseIndex(gap))].Y, 0.0);

    r = testing::runCli({"flap", naca("0012"), out, "--hinge", "75", "--angle", "10"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NEAR(checked(out).Characteristics[kAlfa0], -3.6, 0.4);
    const TProfile flapped = load(out);
    EXPECT_TRUE(CheckProfile(&flapped).empty());

    r = testing::runCli({"blend", naca("0012"), naca("4412"), out, "0.5"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NEAR(checked(out).Characteristics[kCamber], 2.0, 0.05);
    EXPECT_NEAR(checked(out).Characteristics[kThickness], 12.0, 0.1);
}

TEST_F(CliDesign, NeutralValuesWriteTheInputBack)
{
    const std::string in = naca("2412");
    const std::string out = file("same.dat");
    const std::vector<std::vector<std::string>> neutral = {
        {"le-radius", in, out, "1"},
        {"le-radius", in, out, "1", "--blend", "50"},
        {"flap", in, out, "--hinge", "70", "--angle", "0", "--hinge-height", "30"},
        {"blend", in, naca("0012"), out, "0"},
    };
    for (const auto &args : neutral) {
        std::filesystem::remove(out);
        const CliRun r = testing::runCli(args);
        ASSERT_EQ(r.status, 0) << args[0] << ": " << r.err;
        const TProfile result = load(out);
        EXPECT_TRUE(testing::samePoints(result, load(in))) << args[0];
    }
}

TEST_F(CliDesign, RefusalsAndBadArgumentsWriteNothing)
{
    const std::string good = naca("2412");
    const std::string moved = naca("0012", 0.05);
    const std::string out = file("out.dat");
    struct Case
    {
        std::vector<std::string> args;
        int status;
        const char *message;
    };
    const Case cases[] = {
        {{"te-gap", moved, out, "1"}, 1, "nicht normiert"},
        {{"te-gap", good, out, "-1"}, 1, "nicht negativ"},
        {{"te-gap", good, out, "1", "--blend", "0"}, 1, "Übergangsbereich"},
        {{"te-gap", good, out, "breit"}, 2, "'breit' ist kein gültiger Gleitkommawert"},
        {{"le-radius", good, out, "0"}, 1, "größer als 0"},
        {{"thickness", good, out, "--thickness", "15"}, 2, "Option --camber fehlt"},
        {{"thickness", good, out, "--thickness", "0", "--camber", "2"}, 1, "Dicke muss größer"},
        {{"thickness", good, out, "--thickness", "12", "--camber", "2", "--xt", "100"}, 1, "Lage des Maximums"},
        {{"flap", good, out, "--hinge", "75"}, 2, "Option --angle fehlt"},
        {{"flap", good, out, "--hinge", "75", "--angle", "10", "--tief", "3"}, 2, "Unbekannte Option --tief"},
        {{"flap", good, out, "--hinge", "0", "--angle", "10"}, 1, "Drehachse"},
        {{"flap", good, out, "--hinge", "75", "--angle", "95"}, 1, "Klappenausschlag"},
        {{"blend", good, moved, out, "0.5"}, 1, "nicht normiert"},
        {{"blend", good, good, out, "2"}, 1, "zwischen 0 und 1"},
        {{"blend", good, file("missing.dat"), out, "0.5"}, 1, "kann nicht geöffnet werden"},
        {{"blend", good, out, "0.5"}, 2, "Aufruf: velmora-cli blend"},
    };
    for (const Case &c : cases) {
        const CliRun r = testing::runCli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[0] << ": " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args[0] << ": " << r.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.args[0];
    }
}

} // namespace
} // namespace velmora

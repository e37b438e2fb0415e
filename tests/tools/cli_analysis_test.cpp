// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_testing.h"

#include "geometry/naca4.h"
#include "model/coordinatefile.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

using namespace velmora;
using velmora::testing::TempDir;

namespace {

using velmora::testing::CliRun;
using velmora::testing::lines;

CliRun runCommand(const std::vector<std::string> &args)
{
    return velmora::testing::runCli(args);
}

std::string writeProfile(const TempDir &dir, const std::string &name, const TProfile &p)
{
    const std::string path = dir.file(name);
    WriteCoordinateFile(p, path);
    return path;
}

// Normalised and in order, but the engine cannot take a point listed twice.
TProfile twiceListedPoint()
{
    TProfile p = MakeNaca4("2412", 41);
    p.Points.insert(p.Points.begin() + 20, p.Points[20]);
    return p;
}

} // namespace

TEST(CliAnalyse, PrintsTheCoefficientsTransitionAndZeroLiftAngle)
{
    TempDir dir;
    const std::string file = writeProfile(dir, "NACA2412.dat", MakeNaca4("2412"));
    const CliRun r = runCommand({"analyse", file, "--alpha", "4", "--re", "1e6"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::map<std::string, double> values;
    std::vector<std::string> keys;
    for (const std::string &line : lines(r.out)) {
        const auto eq = line.find('=');
        ASSERT_NE(eq, std::string::npos) << line;
        EXPECT_EQ(line.find(','), std::string::npos) << "decimal point, not comma: " << line;
        keys.push_back(line.substr(0, eq));
        values[keys.back()] = std::stod(line.substr(eq + 1));
    }
    const std::vector<std::string> expected = {"ca", "cm", "cw", "xtr_upper", "xtr_lower",
                                               "bubble_upper", "bubble_lower", "alpha0"};
    EXPECT_EQ(keys, expected);
    EXPECT_NEAR(values["ca"], 0.11 * (4 - values["alpha0"]), 0.05);
    EXPECT_LT(values["cm"], 0.0);
    EXPECT_GT(values["cw"], 0.003);
    EXPECT_LT(values["xtr_upper"], values["xtr_lower"]);
    EXPECT_NEAR(values["alpha0"], -2.1, 0.1);
    EXPECT_TRUE(values["bubble_upper"] == 0 || values["bubble_upper"] == 1);
}

TEST(CliAnalyse, NodesFlagAddsOneCsvRowPerPoint)
{
    TempDir dir;
    const std::string file = writeProfile(dir, "n.dat", MakeNaca4("0012", 41));
    const CliRun r = runCommand({"analyse", file, "--nodes", "--alpha", "0", "--re", "200000"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto all = lines(r.out);
    ASSERT_EQ(all.size(), 8u + 1u + 81u);
    EXPECT_EQ(all[8], "x,y,v");
    EXPECT_EQ(all[9].substr(0, 2), "1,");
    // Symmetric at 0 degrees: the same speed on both sides of the nose.
    const auto speed = [&](size_t row) { return std::stod(all[row].substr(all[row].rfind(',') + 1)); };
    EXPECT_NEAR(speed(9 + 20), speed(9 + 60), 1e-4);
}

TEST(CliAnalyse, BlFlagAddsTheBoundaryLayerOfBothSidesAfterTheKeyValueLines)
{
    TempDir dir;
    const std::string file = writeProfile(dir, "n.dat", MakeNaca4("2412", 41));
    const CliRun r = runCommand({"analyse", file, "--alpha", "3", "--re", "500000", "--bl", "--nodes"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto all = lines(r.out);
    // key=value lines, the nodes, then the trace
    const auto header = std::find(all.begin(), all.end(), "side,s,x,v,delta2,delta3,h32,h12,state,cf,cd");
    ASSERT_NE(header, all.end());
    EXPECT_EQ(header - all.begin(), 8 + 1 + 81);
    double xtrUpper = 0;
    for (const std::string &line : all) {
        if (line.rfind("xtr_upper=", 0) == 0)
            xtrUpper = std::stod(line.substr(10));
    }
    int upper = 0, lower = 0;
    std::string previousState = "laminar";
    double turnedAt = -1;
    for (auto it = header + 1; it != all.end(); ++it) {
        std::vector<std::string> f;
        std::stringstream in(*it);
        for (std::string field; std::getline(in, field, ',');)
            f.push_back(field);
        ASSERT_EQ(f.size(), 11u) << *it;
        if (f[0] == "upper") {
            ++upper;
            if (previousState == "laminar" && f[8] != "laminar")
                turnedAt = std::stod(f[2]);
            previousState = f[8];
        } else {
            ASSERT_EQ(f[0], "lower");
            ++lower;
        }
        EXPECT_NEAR(std::stod(f[5]), std::stod(f[4]) * std::stod(f[6]), 1e-6 * std::stod(f[5])) << *it;
    }
    EXPECT_GE(upper + lower, 80);
    EXPECT_GT(upper, 30);
    EXPECT_GT(lower, 30);
    // the upper layer turns turbulent at the node after the reported transition
    EXPECT_GE(turnedAt, xtrUpper);
    EXPECT_LT(turnedAt - xtrUpper, 0.1);
}

TEST(CliAnalyse, ReportsErrorsWithTheProgramsMessagesAndAFailureStatus)
{
    TempDir dir;
    CliRun r = runCommand({"analyse", dir.file("missing.dat"), "--alpha", "0", "--re", "1e6"});
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("kann nicht geöffnet werden"), std::string::npos) << r.err;

    const std::string big = writeProfile(dir, "big.dat", MakeNaca4("2412", 226));
    r = runCommand({"analyse", big, "--alpha", "0", "--re", "1e6"});
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.err, "Zu viele Koordinatenpaare für Profil-Rechnung MAX 450 !!\n");

    const std::string broken = writeProfile(dir, "broken.dat", twiceListedPoint());
    r = runCommand({"analyse", broken, "--alpha", "0", "--re", "1e6"});
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.err, "Rechenfehler in Profil-Routione !!\n");
    EXPECT_TRUE(r.out.empty());

    const std::string good = writeProfile(dir, "good.dat", MakeNaca4("2412", 41));
    r = runCommand({"analyse", good, "--re", "1e6"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--alpha"), std::string::npos);
    r = runCommand({"analyse", good, "--alpha", "vier", "--re", "1e6"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("'vier' ist kein gültiger Gleitkommawert"), std::string::npos);
    EXPECT_EQ(runCommand({"analyse", "--alpha", "1", "--re", "1e6"}).status, 2);
}

TEST(CliPolar, PrintsOneCsvRowPerSweptAngle)
{
    TempDir dir;
    const std::string file = writeProfile(dir, "p.dat", MakeNaca4("2412", 61));
    const CliRun r = runCommand({"polar", file, "--re", "5e5", "--from", "-2", "--to", "3", "--step", "0,5"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto all = lines(r.out);
    ASSERT_EQ(all.size(), 12u);
    EXPECT_EQ(all[0], "re,alpha,xtr_upper,xtr_lower,ca,cm,cw");
    EXPECT_EQ(all[1].substr(0, 10), "500000,-2,");
    EXPECT_EQ(all[11].substr(0, 9), "500000,3,");
    for (size_t i = 1; i < all.size(); ++i)
        EXPECT_EQ(std::count(all[i].begin(), all[i].end(), ','), 6) << all[i];
}

TEST(CliPolar, WritesOneBlockPerReynoldsNumberWhateverTheThreads)
{
    TempDir dir;
    const std::string file = writeProfile(dir, "p.dat", MakeNaca4("2412", 61));
    const CliRun one = runCommand(
        {"polar", file, "--re", "1e5,2e5,5e5", "--from", "-2", "--to", "3", "--step", "0,5", "--jobs", "1"});
    ASSERT_EQ(one.status, 0) << one.err;
    const auto all = lines(one.out);
    ASSERT_EQ(all.size(), 1u + 3 * 11);
    EXPECT_EQ(all[1].substr(0, 10), "100000,-2,");
    EXPECT_EQ(all[12].substr(0, 10), "200000,-2,");
    EXPECT_EQ(all[33].substr(0, 9), "500000,3,");
    const CliRun two = runCommand(
        {"polar", file, "--re", "1e5,2e5,5e5", "--from", "-2", "--to", "3", "--step", "0,5", "--jobs", "2"});
    EXPECT_EQ(two.out, one.out);

    EXPECT_EQ(runCommand({"polar", file, "--re", "1e5", "--from", "0", "--to", "1", "--step", "1", "--jobs", "0"}).status, 2);
    EXPECT_EQ(runCommand({"polar", file, "--re", "1,2,3,4,5,6", "--from", "0", "--to", "1", "--step", "1"}).status, 2);
}

TEST(CliPolar, ValidatesLikeThePolarCommand)
{
    TempDir dir;
    const std::string file = writeProfile(dir, "p.dat", MakeNaca4("2412", 41));
    CliRun r = runCommand({"polar", file, "--re", "1e6", "--from", "-90", "--to", "3", "--step", "0.1"});
    EXPECT_EQ(r.status, 2);
    // The message box's line breaks become the terminal's.
    EXPECT_EQ(r.err, "Falscheingabe Startwinkel !!.\nBitte nur Zahlen zwischen -89 und +89 eingeben.\n");
    r = runCommand({"polar", file, "--re", "1e6", "--from", "0", "--to", "3", "--step", "0.09"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Falscheingabe: Stepwinkel zu klein !!.\nBitte nur Zahlen >=0,1 eingeben.\n");
    r = runCommand({"polar", file, "--re", "viel", "--from", "0", "--to", "3", "--step", "1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("'viel' ist kein gültiger Gleitkommawert"), std::string::npos);
    r = runCommand({"polar", file, "--re", "1e6", "--from", "0", "--to", "3"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--step"), std::string::npos);

    const std::string broken = writeProfile(dir, "broken.dat", twiceListedPoint());
    r = runCommand({"polar", broken, "--re", "1e6", "--from", "0", "--to", "1", "--step", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Rechenfehler in Profil-Routione !! (Alfa = 0)\nRechenfehler in Profil-Routione !! (Alfa = 1)\n");
    EXPECT_EQ(lines(r.out).size(), 1u) << "the header only";
}

TEST(CliAnalysis, RefusesProfilesAndConditionsOutsideTheMethodWithoutNumbers)
{
    TempDir dir;
    TProfile reversed = MakeNaca4("2412", 41);
    std::reverse(reversed.Points.begin(), reversed.Points.end());
    TProfile millimetres = MakeNaca4("2412", 41);
    for (TKoordi &k : millimetres.Points) {
        k.X *= 100;
        k.Y *= 100;
    }
    TProfile crossing = MakeNaca4("2412", 41);
    std::swap(crossing.Points[10].Y, crossing.Points[70].Y);
    const std::pair<TProfile, std::string> cases[] = {
        {reversed, "Die Laufrichtung ist falsch !"},
        {millimetres, "Das Profil ist nicht normiert"},
        {crossing, "Die Kontur des Profils schneidet sich selbst !!"},
    };
    for (const auto &[profile, message] : cases) {
        const std::string file = writeProfile(dir, "p.dat", profile);
        CliRun r = runCommand({"analyse", file, "--alpha", "2", "--re", "1e6"});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err.rfind(message, 0), 0u) << r.err;
        EXPECT_NE(r.err.find('\n'), r.err.size() - 1) << "the remedy on its own line";
        EXPECT_TRUE(r.out.empty());
        r = runCommand({"polar", file, "--re", "1e6", "--from", "0", "--to", "2", "--step", "1"});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err.rfind(message, 0), 0u) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    const std::string good = writeProfile(dir, "good.dat", MakeNaca4("2412", 41));
    CliRun r = runCommand({"analyse", good, "--alpha", "2", "--re", "1e-30"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("Falscheingabe Re !!", 0), 0u) << r.err;
    EXPECT_TRUE(r.out.empty());
    // A mistyped option is an argument error, not silently ignored.
    EXPECT_EQ(runCommand({"analyse", good, "--alpha", "2", "--re", "1e6", "--node"}).status, 2);
    r = runCommand({"polar", good, "--re", "1e6", "--from", "0", "--to", "2", "--step", "1", "--ncrit", "9"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--ncrit"), std::string::npos);
}

TEST(CliAnalysis, PrintsTransitionPositionsInSinglePrecision)
{
    TempDir dir;
    const std::string file = writeProfile(dir, "p.dat", MakeNaca4("4412", 61));
    for (const char *alpha : {"-3", "1", "5,5"}) {
        const CliRun r = runCommand({"analyse", file, "--alpha", alpha, "--re", "3e5"});
        ASSERT_EQ(r.status, 0) << r.err;
        for (const std::string &line : lines(r.out)) {
            if (line.rfind("xtr_", 0) == 0) {
                EXPECT_LE(line.size() - line.find('=') - 1, 11u) << line;
            }
        }
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_testing.h"

#include "geometry/naca4.h"
#include "geometry/primitives.h"
#include "model/coordinatefile.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace velmora {
namespace {

using testing::TempDir;

using testing::CliRun;
using testing::lines;

CliRun cli(const std::vector<std::string> &args)
{
    return testing::runCli(args);
}

TProfile load(const std::string &path)
{
    TProfile p;
    LoadCoordinateFile(p, path);
    return p;
}

// An environment variable for the duration of a test, put back afterwards.
class ScopedEnvironment
{
public:
    ScopedEnvironment(const char *name, const std::string &value)
        : m_name(name)
    {
        if (const char *old = std::getenv(name))
            m_saved = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment()
    {
        if (m_saved)
            setenv(m_name, m_saved->c_str(), 1);
        else
            unsetenv(m_name);
    }
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

private:
    const char *m_name;
    std::optional<std::string> m_saved;
};

bool numericLocaleLoads()
{
    const char *current = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = current ? current : "C";
    const bool loads = std::setlocale(LC_NUMERIC, "") != nullptr;
    std::setlocale(LC_NUMERIC, saved.c_str());
    return loads;
}

class CliGeometry : public ::testing::Test
{
protected:
    // A NACA section written as a coordinate file, optionally drawn at
    // `scale` times its size, turned by `angle` and moved.
    std::string sectionFile(const char *digits, const char *name, double scale = 1,
                            double angle = 0, double dx = 0, double dy = 0)
    {
        TProfile p = MakeNaca4(digits, 81);
        for (TKoordi &k : p.Points) {
            const double x = k.X * scale;
            const double y = k.Y * scale;
            k.X = x * std::cos(angle) - y * std::sin(angle) + dx;
            k.Y = x * std::sin(angle) + y * std::cos(angle) + dy;
        }
        const std::string path = m_dir.file(name);
        WriteCoordinateFile(p, path);
        return path;
    }

    std::string file(const char *name) const { return m_dir.file(name); }

private:
    TempDir m_dir;
};

TEST_F(CliGeometry, NormaliseBringsAMillimetreDrawingOntoTheUnitChord)
{
    const std::string in = sectionFile("4412", "mm.dat", 150, 0.25, -30, 40);
    for (bool extrapolate : {false, true}) {
        const std::string out = file(extrapolate ? "x.dat" : "n.dat");
        std::vector<std::string> args = {"normalise", in, out};
        if (extrapolate)
            args.push_back("--extrapolate");
        const CliRun r = cli(args);
        ASSERT_EQ(r.status, 0) << r.err;
        const TProfile p = load(out);
        ASSERT_EQ(p.PointCount(), 161);
        const TKoordi &nose = p.Points[size_t(NoseIndex(p))];
        EXPECT_EQ(nose.X, 0.0);
        EXPECT_EQ(nose.Y, 0.0);
        EXPECT_NEAR(p.Points.front().X, 1.0, 2e-6);
        EXPECT_NEAR(p.Points.back().X, 1.0, 2e-6);
        EXPECT_NEAR(p.Points[40].Y, MakeNaca4("4412", 81).Points[40].Y, 2e-6);
        if (extrapolate) {
            EXPECT_EQ(p.Points.front().X, 1.0);
            EXPECT_EQ(p.Points.back().X, 1.0);
        }
    }
}

TEST_F(CliGeometry, EditingCommandsWriteTheirResult)
{
    const std::string in = sectionFile("2412", "in.dat");
    const std::pair<std::vector<std::string>, int> counts[] = {
        {{"smooth", in, file("s.dat"), "121"}, 121},
        {{"smooth", in, file("s.dat"), "40"}, 41},
        {{"redistribute", in, file("r.dat"), "60", "sin-front"}, 61},
        {{"redistribute", in, file("r.dat"), "10", "linear"}, 11},
        {{"redistribute", in, file("r.dat"), "31", "sin-rear"}, 31},
        {{"redistribute", in, file("r.dat"), "20", "cos"}, 21},
        {{"insert-midpoints", in, file("m.dat")}, 321},
    };
    for (const auto &[args, count] : counts) {
        const CliRun r = cli(args);
        ASSERT_EQ(r.status, 0) << args[0] << ": " << r.err;
        EXPECT_EQ(load(args[2]).PointCount(), count) << args[0];
    }

    // round trips: inverted twice, and a symmetric section mirrored
    const std::string sym = sectionFile("0012", "sym.dat");
    const TProfile source = load(sym);
    ASSERT_EQ(cli({"invert", sym, file("i1.dat")}).status, 0);
    ASSERT_EQ(cli({"invert", file("i1.dat"), file("i2.dat")}).status, 0);
    EXPECT_EQ(load(file("i2.dat")).Title, "NACA 0012 inv inv");
    ASSERT_EQ(cli({"mirror-upper", sym, file("mu.dat")}).status, 0);
    ASSERT_EQ(cli({"mirror-lower", sym, file("ml.dat")}).status, 0);
    for (const char *result : {"i2.dat", "mu.dat", "ml.dat"}) {
        const TProfile p = load(file(result));
        ASSERT_EQ(p.PointCount(), source.PointCount()) << result;
        for (size_t i = 0; i < source.Points.size(); ++i) {
            EXPECT_EQ(p.Points[i].X, source.Points[i].X) << result;
            EXPECT_EQ(p.Points[i].Y, source.Points[i].Y) << result;
        }
    }
}

TEST_F(CliGeometry, RefusalsExplainThemselvesAndWriteNothing)
{
    const std::string vertical = file("vertical.dat");
    testing::writeFile(vertical, "Strich\r\n0.5 1\r\n0.5 0\r\n0.5 -1\r\n");
    const std::string good = sectionFile("2412", "good.dat");
    const std::string out = file("out.dat");
    struct Case
    {
        std::vector<std::string> args;
        int status;
        const char *message;
    };
    const Case cases[] = {
        {{"normalise", vertical, out}, 1, "Alle Punkte liegen auf einer senkrechten Linie"},
        {{"smooth", good, out, "3"}, 1, "mindestens 5"},
        {{"smooth", good, out, "70000"}, 1, "höchstens 65535"},
        {{"smooth", good, out, "viele"}, 2, "'viele' ist kein gültiger Integerwert"},
        {{"redistribute", vertical, out, "60", "cos"}, 1, "zu wenige Punkte"},
        {{"redistribute", good, out, "60", "quer"}, 2, "Unbekannte Verteilung 'quer'"},
        {{"mirror-lower", vertical, out}, 1, "Alle Punkte liegen auf einer senkrechten Linie"},
        {{"insert-midpoints", vertical, out}, 1, "zu wenige Punkte"},
        {{"invert", file("missing.dat"), out}, 1, "kann nicht geöffnet werden"},
        {{"normalise", good, out, "--schief"}, 2, "Unbekannte Option --schief"},
        {{"invert", good}, 2, "Aufruf: velmora-cli invert"},
        {{"check"}, 2, "Aufruf: velmora-cli check"},
    };
    for (const Case &c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[0] << ": " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args[0] << ": " << r.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.args[0];
    }
}

TEST_F(CliGeometry, CheckPrintsTheLeftListThenTheRightOneInTheCLocale)
{
    ScopedEnvironment locale("LC_ALL", "C");
    const CliRun good = cli({"check", sectionFile("2412", "NACA2412.dat")});
    ASSERT_EQ(good.status, 0) << good.err;
    const std::vector<std::string> left = lines(good.out);
    ASSERT_EQ(left.size(), 14u);
    EXPECT_EQ(left[0], "Profilbeiwerte nach TAT");
    EXPECT_EQ(left[1], "NACA2412");
    EXPECT_EQ(left[3], "Anzahl Koordinaten = 161");
    EXPECT_EQ(left[8].rfind("Alfa_0 = -2.07", 0), 0u) << left[8];
    EXPECT_EQ(left[10].rfind("dca = 6.", 0), 0u) << left[10];

    // moved up by 0.01: the nose and the trailing-edge mean are off
    const CliRun shifted = cli({"check", sectionFile("2412", "hoch.dat", 1, 0, 0, 0.01)});
    ASSERT_EQ(shifted.status, 0);
    const std::vector<std::string> all = lines(shifted.out);
    ASSERT_EQ(all.size(), 16u);
    EXPECT_EQ(all[14], "Die Y-Koordinate der Nase ist nicht 0 !");
    EXPECT_EQ(all[15], "Das Y-Mittel der Endleisten ist nicht 0 !");
}

TEST_F(CliGeometry, CheckWritesTheLocaleDecimalCommaAndLeavesFilesAlone)
{
    ScopedEnvironment locale("LC_ALL", "de_DE.UTF-8");
    // Build machines rarely have a German locale installed; compile one into
    // a temporary folder when the locale sources are there.
    std::optional<ScopedEnvironment> localePath;
    if (!numericLocaleLoads()) {
        const std::string folder = file("locales");
        std::filesystem::create_directories(folder);
        const std::string command = "localedef -i de_DE -f UTF-8 '" + folder
            + "/de_DE.UTF-8' >/dev/null 2>&1";
        if (std::system(command.c_str()) == 0)
            localePath.emplace("LOCPATH", folder);
    }
    if (!numericLocaleLoads())
        GTEST_SKIP() << "no de_DE.UTF-8 locale and none could be built";

    const CliRun r = cli({"check", sectionFile("2412", "komma.dat")});
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("dca = 6,"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Alfa_0 = -2,07"), std::string::npos) << r.out;
    // the locale must not leak into the file writer
    ASSERT_EQ(cli({"normalise", sectionFile("2412", "mm.dat", 100, 0.1), file("n.dat")}).status, 0);
    EXPECT_NE(testing::readFile(file("n.dat")).find("1.000000 0.000000"), std::string::npos);
}

} // namespace
} // namespace velmora

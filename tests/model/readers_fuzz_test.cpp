// SPDX-License-Identifier: GPL-3.0-or-later
// Random and mutated inputs for every file reader: each input must give a
// result or one of the documented messages, never a crash or a hang. Run
// under the sanitizers in CI; seeded, and bounded in count and time.
// VELMORA_FUZZ_INPUTS=N runs exactly N inputs per reader without the time
// bound (the long run: N = 100000 or more, best under the sanitizers).
#include "geometry/naca4.h"
#include "model/coordinatefile.h"
#include "model/errors.h"
#include "model/fontsettingsfile.h"
#include "model/projectfile.h"
#include "model/settingsfile.h"
#include "model/textfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string_view>

using namespace velmora;

namespace {

constexpr int kRounds = 6000;
constexpr auto kTimeBudget = std::chrono::seconds(8);

// The number of inputs the long run asks for, 0 for the bounded default.
long longRunInputs()
{
    const char *env = std::getenv("VELMORA_FUZZ_INPUTS");
    return env ? std::max(0L, std::strtol(env, nullptr, 10)) : 0L;
}

class Mutator
{
public:
    explicit Mutator(unsigned seed) : m_rng(seed) {}

    std::string mutate(std::string s)
    {
        const int edits = 1 + int(m_rng() % 8);
        for (int e = 0; e < edits; ++e) {
            const size_t pos = s.empty() ? 0 : m_rng() % (s.size() + 1);
            switch (m_rng() % 7) {
            case 0: // flip a byte
                if (!s.empty())
                    s[pos % s.size()] = char(m_rng() % 256);
                break;
            case 1: // insert interesting text
                s.insert(pos, pick({"\r", "\n", "\r\n", " ", "\t", ",", ".", "-", "e", "E9999", "=",
                                    ";", "SER_START", "SER_END", "DATA_XY=", "KOOR_STATUS=NEU",
                                    "SER_COLOR=", "SER_TITEL=", "999999999999", "\xE4",
                                    std::string_view("\0", 1), "1e-400", "1e308"}));
                break;
            case 2: // delete a range
                if (!s.empty())
                    s.erase(pos % s.size(), m_rng() % 20);
                break;
            case 3: // duplicate a range
                if (!s.empty()) {
                    const size_t from = m_rng() % s.size();
                    s.insert(pos, s.substr(from, m_rng() % 64));
                }
                break;
            case 4: // truncate
                s.resize(pos);
                break;
            case 5: // random bytes
                for (int i = int(m_rng() % 16); i > 0; --i)
                    s.insert(s.begin() + long(pos), char(m_rng() % 256));
                break;
            default: // swap two bytes
                if (s.size() > 1)
                    std::swap(s[pos % s.size()], s[m_rng() % s.size()]);
                break;
            }
        }
        return s;
    }

    std::string random(size_t maxLen)
    {
        std::string s(m_rng() % maxLen, '\0');
        for (char &c : s)
            c = char(m_rng() % 256);
        return s;
    }

    unsigned next() { return unsigned(m_rng()); }

private:
    std::string pick(std::initializer_list<std::string_view> options)
    {
        return std::string(*(options.begin() + long(m_rng() % options.size())));
    }
    std::mt19937 m_rng;
};

// Every message a reader may raise.
bool isDocumentedMessage(const std::string &msg)
{
    auto endsWith = [&msg](std::string_view tail) {
        return msg.size() > tail.size() && msg.compare(msg.size() - tail.size(), tail.size(), tail) == 0;
    };
    return msg == "Listenindex überschreitet das Maximum (0)"
        || (!msg.empty() && msg.front() == '\''
            && (endsWith("' ist kein gültiger Gleitkommawert") || endsWith("' ist kein gültiger Integerwert")))
        || (msg.rfind("Zeile ", 0) == 0 && endsWith("' ist als Koordinate zu groß (erlaubt bis ±1000000)"));
}

template<typename Fn>
void fuzz(const std::vector<std::string> &seeds, unsigned seed, Fn &&parse)
{
    Mutator m(seed);
    const long longRun = longRunInputs();
    const long rounds = longRun > 0 ? longRun : kRounds;
    const auto start = std::chrono::steady_clock::now();
    long done = 0;
    bool sawNul = false;
    for (long round = 0; round < rounds; ++round) {
        if (longRun == 0 && std::chrono::steady_clock::now() - start > kTimeBudget)
            break;
        const std::string input = (round % 10 == 0) ? m.random(400)
                                                    : m.mutate(seeds[m.next() % seeds.size()]);
        sawNul = sawNul || input.find('\0') != std::string::npos;
        try {
            parse(input);
        } catch (const UserError &e) {
            ASSERT_TRUE(isDocumentedMessage(e.what())) << "undocumented message: " << e.what();
        }
        ++done;
    }
    EXPECT_TRUE(sawNul) << "no input held a NUL byte";
    if (longRun > 0)
        EXPECT_EQ(done, longRun);
    else
        ::testing::Test::RecordProperty("inputs", int(done));
}

std::string nacaText()
{
    return CoordinateFileText(MakeNaca4("2412", 21));
}

void expectFinite(const std::vector<TProfile> &profiles)
{
    for (const TProfile &p : profiles) {
        for (const TKoordi &k : p.Points)
            ASSERT_TRUE(std::isfinite(k.X) && std::isfinite(k.Y));
    }
}

} // namespace

TEST(ReadersUnderRandomInput, CoordinateFileGivesPointsOrAMessage)
{
    const std::vector<std::string> seeds = {
        nacaText(), "T\n3. 3.\n0 0\n0.5 0.1\n1 0\n\n0 0\n0.5 -0.1\n1 0\n", "T\r\n1,5 2e-3\r\n"};
    fuzz(seeds, 11, [](const std::string &input) {
        TProfile p;
        ParseCoordinateText(p, input, "fuzz");
        expectFinite({p});
    });
}

TEST(ReadersUnderRandomInput, PlainProjectGivesProfilesOrAMessage)
{
    TProf_Projekt project;
    project.Profiles.push_back(MakeNaca4("0012", 11));
    project.Profiles.push_back(MakeNaca4("4412", 11));
    project.Profiles[1].Points[3].IsNew = true;
    const std::vector<std::string> seeds = {ProjectPlainText(project)};
    fuzz(seeds, 12, [](const std::string &input) { expectFinite(ParseProjectText(input)); });
}

TEST(ReadersUnderRandomInput, ScrambledProjectGivesProfilesOrAMessage)
{
    TProf_Projekt project;
    project.Profiles.push_back(MakeNaca4("2412", 11));
    const std::string plain = ProjectPlainText(project);
    const std::vector<std::string> seeds = {
        ScrambleText(ScrambleText(plain, ProjectKey2), ProjectKey1)};
    fuzz(seeds, 13, [](const std::string &input) {
        const std::string text = JoinLinesCrLf(SplitLines(input));
        expectFinite(ParseProjectText(ScrambleText(ScrambleText(text, ProjectKey1), ProjectKey2)));
    });
}

TEST(ReadersUnderRandomInput, SettingsAndFontFilesNeverFail)
{
    const std::string settings = JoinLinesCrLf(SettingsLines(TSettings{}));
    const std::vector<std::string> seeds = {settings,
                                            "FONT_NAME=Arial\nFONT_SIZE=10\nFONT_STYLE=[fsBold]\n"};
    fuzz(seeds, 14, [](const std::string &input) {
        TSettings s;
        ParseSettingsLines(SplitLines(input), s);
        const TFontSettings f = ParseFontSettingsLines(SplitLines(input));
        ParseFontStyle(f.Style);
    });
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/errors.h"
#include "model/projectfile.h"
#include "model/textfile.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <random>

using namespace velmora;
using velmora::testing::TempDir;
using velmora::testing::readFile;
using velmora::testing::writeFile;

namespace {

TProf_Projekt exampleProject()
{
    TProf_Projekt project;
    TProfile p = velmora::testing::profileFrom({{1, 0}, {0, 0}, {1, -0.001}});
    p.Name = "E205";
    p.Title = "E205 Profil";
    p.Color = 255;
    p.Points[1].IsNew = true;
    project.Profiles.push_back(p);
    return project;
}

const char *kExampleText = "SER_START\r\n"
                           "SER_TITEL=E205;E205 Profil\r\n"
                           "SER_MOD=FALSE\r\n"
                           "SER_COLOR=255\r\n"
                           "SER_ACTIVE=1\r\n"
                           "DATA_XY=1.000000 0.000000\r\n"
                           "KOOR_STATUS=ORGINAL\r\n"
                           "DATA_XY=0.000000 0.000000\r\n"
                           "KOOR_STATUS=NEU\r\n"
                           "DATA_XY=1.000000 -0.001000\r\n"
                           "KOOR_STATUS=ORGINAL\r\n"
                           "SER_END\r\n";

std::string readError(TProf_Projekt &project, const std::string &path)
{
    try {
        ReadProjectFile(project, path);
    } catch (const UserError &e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace

TEST(ScrambleText, IsItsOwnInverseAndKeepsControlCharacters)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        std::string text(size_t(rng() % 300), '\0');
        for (char &c : text)
            c = char(rng() % 256);
        const std::string once = ScrambleText(text, ProjectKey1);
        EXPECT_EQ(ScrambleText(once, ProjectKey1), text);
        for (size_t i = 0; i < text.size(); ++i)
            EXPECT_EQ(static_cast<unsigned char>(text[i]) < 32, static_cast<unsigned char>(once[i]) < 32);
    }
    const std::string controls = "\r\n\t\x01\x1f";
    EXPECT_EQ(ScrambleText(controls, ProjectKey2), controls);
}

TEST(ScrambleText, KeysHaveTheirFixedLengthsAndClasses)
{
    ASSERT_EQ(ProjectKey1.size(), 7u);
    ASSERT_EQ(ProjectKey2.size(), 9u);
    for (char c : ProjectKey1)
        EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'));
    for (char c : ProjectKey2)
        EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'));
}

TEST(ProjectFile, PlainTextHasTheDocumentedLayout)
{
    EXPECT_EQ(ProjectPlainText(exampleProject()), kExampleText);
    EXPECT_EQ(ProjectPlainText(TProf_Projekt{}), "");
}

TEST(ProjectFile, ScrambledFileIsWrittenForVmpro2AndReadBack)
{
    TempDir dir;
    TProf_Projekt project = exampleProject();
    project.Profiles[0].Modified = true;
    project.Profiles[0].Visible = false;
    project.Modified = true;
    WriteProjectFile(project, dir.file("a.VMPRO2"));
    EXPECT_FALSE(project.Modified);

    const std::string bytes = readFile(dir.file("a.VMPRO2"));
    EXPECT_EQ(bytes.find("SER_START"), std::string::npos) << "the file must be scrambled";
    EXPECT_EQ(ScrambleText(ScrambleText(bytes, ProjectKey1), ProjectKey2),
              ProjectPlainText(project));

    TProf_Projekt back;
    ReadProjectFile(back, dir.file("a.VMPRO2"));
    ASSERT_EQ(back.Profiles.size(), 1u);
    const TProfile &p = back.Profiles[0];
    EXPECT_EQ(p.Name, "E205");
    EXPECT_EQ(p.Title, "E205 Profil");
    EXPECT_EQ(p.Color, 255);
    EXPECT_TRUE(p.Modified);
    EXPECT_FALSE(p.Visible);
    ASSERT_EQ(p.Points.size(), 3u);
    EXPECT_FALSE(p.Points[0].IsNew);
    EXPECT_TRUE(p.Points[1].IsNew);
    EXPECT_DOUBLE_EQ(p.Points[2].Y, -0.001);
}

TEST(ProjectFile, EveryEndingTheWriterAcceptsIsReadBack)
{
    TempDir dir;
    for (const char *name : {"p.VMPRO", "p.vmpro2", "p.vmpro", "p.txt"}) {
        TProf_Projekt project = exampleProject();
        project.Profiles[0].Title = "mit ; Semikolon \xE4";
        WriteProjectFile(project, dir.file(name));
        TProf_Projekt back;
        ReadProjectFile(back, dir.file(name));
        ASSERT_EQ(back.Profiles.size(), 1u) << name;
        EXPECT_EQ(back.Profiles[0].Title, "mit ; Semikolon \xE4") << name;
    }
    EXPECT_EQ(readFile(dir.file("p.VMPRO")).substr(0, 11), "SER_START\r\n");
}

TEST(ProjectFile, ReaderAcceptsMoreThanTheWriterProduces)
{
    TempDir dir;
    writeFile(dir.file("hand.VMPRO"), "junk before\n"
                                      "xx SER_START yy\n"
                                      "SER_TITEL=a;b;c\n"
                                      "KOOR_STATUS=NEU\n"
                                      "  DATA_XY=\t0,5\t \t-0.25  \n"
                                      "KOOR_STATUS=NEU\n"
                                      "SER_ACTIVE=0 \n"
                                      "SER_END\n"
                                      "SER_START\n"
                                      "SER_TITEL=ohne Semikolon\n"
                                      "SER_ACTIVE=0\n"
                                      "DATA_XY=1 2\n"
                                      "SER_START\n"
                                      "SER_TITEL=n2;t2\n"
                                      "DATA_XY=3 4\n");
    TProf_Projekt project;
    ReadProjectFile(project, dir.file("hand.VMPRO"));
    ASSERT_EQ(project.Profiles.size(), 2u);
    const TProfile &a = project.Profiles[0];
    EXPECT_EQ(a.Name, "a");
    EXPECT_EQ(a.Title, "b;c");
    EXPECT_TRUE(a.Visible) << "SER_ACTIVE=0 with a trailing blank is ignored";
    ASSERT_EQ(a.Points.size(), 1u);
    EXPECT_DOUBLE_EQ(a.Points[0].X, 0.5);
    EXPECT_DOUBLE_EQ(a.Points[0].Y, -0.25);
    EXPECT_TRUE(a.Points[0].IsNew);
    // a block without SER_END swallows the next block
    const TProfile &b = project.Profiles[1];
    EXPECT_EQ(b.Name, "n2");
    EXPECT_EQ(b.Title, "t2");
    EXPECT_FALSE(b.Visible);
    EXPECT_EQ(b.Points.size(), 2u);
}

TEST(ProjectFile, ScrambledFileSurvivesAConversionToLfLineEnds)
{
    // the reader rebuilds CR LF before unscrambling, so the key positions match again
    TempDir dir;
    TProf_Projekt project = exampleProject();
    WriteProjectFile(project, dir.file("a.VMPRO2"));
    std::string lf;
    for (char c : readFile(dir.file("a.VMPRO2"))) {
        if (c != '\r')
            lf += c;
    }
    writeFile(dir.file("lf.VMPRO2"), lf);
    TProf_Projekt back;
    ReadProjectFile(back, dir.file("lf.VMPRO2"));
    ASSERT_EQ(back.Profiles.size(), 1u);
    EXPECT_EQ(back.Profiles[0].Name, "E205");
}

TEST(ProjectFile, ScrambledFileWithALostCharacterIsNotReadAsGarbage)
{
    TempDir dir;
    TProf_Projekt project = exampleProject();
    WriteProjectFile(project, dir.file("a.VMPRO2"));
    std::string bytes = readFile(dir.file("a.VMPRO2"));
    bytes.erase(3, 1); // every later key position shifts
    writeFile(dir.file("b.VMPRO2"), bytes);
    TProf_Projekt back;
    try {
        ReadProjectFile(back, dir.file("b.VMPRO2"));
    } catch (const UserError &) {
    }
    EXPECT_TRUE(back.Profiles.empty());
}

TEST(ProjectFile, ScrambledContentUnderAPlainNameAddsNothing)
{
    TempDir dir;
    TProf_Projekt project = exampleProject();
    WriteProjectFile(project, dir.file("a.VMPRO2"));
    writeFile(dir.file("a.VMPRO"), readFile(dir.file("a.VMPRO2")));
    TProf_Projekt back;
    ReadProjectFile(back, dir.file("a.VMPRO"));
    EXPECT_TRUE(back.Profiles.empty());
}

TEST(ProjectFile, FailuresNameTheTextAndLeaveTheProjectAsItWas)
{
    TempDir dir;
    TProf_Projekt project = exampleProject();
    writeFile(dir.file("color.VMPRO"), "SER_START\nSER_TITEL=x;y\nSER_COLOR=rot\nSER_END\n");
    EXPECT_EQ(readError(project, dir.file("color.VMPRO")), "'rot' ist kein gültiger Integerwert");
    writeFile(dir.file("xy.VMPRO"), "SER_START\nDATA_XY=1 2\nSER_END\nSER_START\nDATA_XY=0.5\nSER_END\n");
    EXPECT_EQ(readError(project, dir.file("xy.VMPRO")), "'0,5' ist kein gültiger Gleitkommawert");
    writeFile(dir.file("xy3.VMPRO"), "SER_START\nDATA_XY=1 2 3\n");
    EXPECT_EQ(readError(project, dir.file("xy3.VMPRO")), "'2 3' ist kein gültiger Gleitkommawert");
    EXPECT_EQ(readError(project, dir.file("none.VMPRO")),
              "Datei " + dir.file("none.VMPRO") + " kann nicht geöffnet werden");
    ASSERT_EQ(project.Profiles.size(), 1u);
    EXPECT_EQ(project.Profiles[0].Name, "E205");
}

TEST(ProjectFile, FailedSaveKeepsThePreviousFileAndTheModifiedFlag)
{
    TempDir dir;
    const std::string target = dir.file("keep.VMPRO2");
    writeFile(target, "previous");
    TProf_Projekt project = exampleProject();
    project.Profiles[0].Points.resize(5000);
    project.Modified = true;
    {
        velmora::testing::FileSizeLimit limit(100);
        EXPECT_THROW(WriteProjectFile(project, target), UserError);
    }
    EXPECT_TRUE(project.Modified);
    EXPECT_EQ(readFile(target), "previous");
}

TEST(ProjectFile, AbsurdCoordinatesAndUnwritableValuesAreRefused)
{
    TempDir dir;
    writeFile(dir.file("huge.VMPRO"), "SER_START\nDATA_XY=0 0\nDATA_XY=-1e308 0\nSER_END\n");
    TProf_Projekt project;
    EXPECT_EQ(readError(project, dir.file("huge.VMPRO")),
              "Zeile 3: 'DATA_XY=-1e308 0' ist als Koordinate zu groß (erlaubt bis ±1000000)");
    EXPECT_TRUE(project.Profiles.empty());

    const std::string target = dir.file("keep.VMPRO2");
    writeFile(target, "previous");
    project = exampleProject();
    project.Profiles[0].Points[2].Y = -1e12;
    project.Modified = true;
    EXPECT_THROW(WriteProjectFile(project, target), UserError);
    EXPECT_TRUE(project.Modified);
    EXPECT_EQ(readFile(target), "previous");
}

TEST(ProjectFile, NamesAndTitlesCannotInjectLines)
{
    TProf_Projekt project = exampleProject();
    project.Profiles[0].Name = "a\r\nSER_END\r\nSER_START";
    project.Profiles[0].Title = "t\nDATA_XY=5 5\x7f";
    const std::vector<TProfile> back = ParseProjectText(ProjectPlainText(project));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].Name, "a  SER_END  SER_START");
    EXPECT_EQ(back[0].Title, "t DATA_XY=5 5 ");
    EXPECT_EQ(back[0].Points.size(), 3u);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/maincontroller.h"
#include "app/polarwindow.h"
#include "fakediagramview.h"
#include "geometry/naca4.h"
#include "model/textfile.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <deque>

using namespace velmora;
using velmora::testing::TempDir;

namespace {

using FakePolarView = velmora::testing::FakeDiagramView;

TProf_Projekt projectOf(std::initializer_list<const char *> codes)
{
    TProf_Projekt project;
    const TColor colours[] = {kColorRed, RgbColor(0, 128, 0), RgbColor(0, 0, 255)};
    int i = 0;
    for (const char *code : codes) {
        TProfile p = MakeNaca4(code, 41);
        p.Name = std::string("NACA ") + code;
        p.Color = colours[i++ % 3];
        project.Profiles.push_back(p);
    }
    return project;
}

AnalysisInputs shortSweep()
{
    AnalysisInputs in;
    in.StartText = "-2";
    in.EndText = "6";
    in.StepText = "1";
    return in;
}

int seriesWithPoints(const Diagram &d)
{
    int n = 0;
    for (const ChartSeries &s : d.Chart.Series())
        n += s.Count() > 0;
    return n;
}

} // namespace

TEST(PolarWindow, ShowsTheSelectedProfileOrEveryCheckedOneAtEachReynoldsNumber)
{
    FakePolarView view;
    PolarWindowController polar(view);
    TProf_Projekt project = projectOf({"2412", "0012", "4415"});
    project.Profiles[2].Visible = false;
    polar.ReText = "1e5, 5e5";

    polar.Refresh(project, 1, shortSweep());
    ASSERT_EQ(polar.Results().Profiles.size(), 1u);
    EXPECT_EQ(polar.Results().Profiles[0].Name, "NACA 0012");
    EXPECT_EQ(seriesWithPoints(polar.At(kCaAlpha)), 2);
    EXPECT_EQ(seriesWithPoints(polar.At(kXtrAlpha)), 4) << "upper and lower side per Re";
    // one profile: the legend names the Reynolds numbers in the profile's colour and their own line styles
    const auto &legend = polar.At(kCaCw).Legend;
    ASSERT_EQ(legend.size(), 2u);
    EXPECT_EQ(legend[0].Text, "Re 100000");
    EXPECT_EQ(legend[1].Text, "Re 500000");
    EXPECT_NE(legend[0].Pen, legend[1].Pen);
    EXPECT_EQ(legend[0].Color, project.Profiles[1].Color);
    EXPECT_EQ(polar.StatusText(), "Alle Winkel gerechnet.");

    // every checked profile: the hidden third stays out
    polar.AllChecked = true;
    polar.Refresh(project, 1, shortSweep());
    ASSERT_EQ(polar.Results().Profiles.size(), 2u);
    EXPECT_EQ(seriesWithPoints(polar.At(kCmAlpha)), 4);
    EXPECT_EQ(polar.At(kCmAlpha).Legend.size(), 4u) << "two profiles and two Re";
    // a cambered section lifts at 0 degrees where the symmetric one does not
    const PolarSample &cambered = polar.Results().Profiles[0].Curves[0].samples[2];
    const PolarSample &symmetric = polar.Results().Profiles[1].Curves[0].samples[2];
    ASSERT_EQ(cambered.alpha, 0.0f);
    EXPECT_GT(cambered.ca, 0.15f);
    EXPECT_NEAR(symmetric.ca, 0.0f, 0.01f);

    // nothing selected and not all checked: nothing to show
    polar.AllChecked = false;
    polar.Refresh(project, -1, shortSweep());
    EXPECT_EQ(seriesWithPoints(polar.At(kCaAlpha)), 0);
    EXPECT_EQ(polar.StatusText(), "Kein sichtbares Profil angewählt.");
}

TEST(PolarWindow, FailedAnglesAreGapsThatAreCountedAndRefusalsAndInputErrorsAreShownInTheWindow)
{
    FakePolarView view;
    PolarWindowController polar(view);
    TProf_Projekt project = projectOf({"2412", "0012"});
    project.Profiles[1].Points.assign(50, TKoordi{0.5, 0.0});
    polar.AllChecked = true;
    polar.ReText = "200000";
    PolarComputer computer(2);

    // the engine failed at 1 and 2 degrees of the first profile
    PolarResults results = computer.Compute(polar.MakeJob(project, -1, shortSweep()));
    ASSERT_EQ(results.Profiles.size(), 2u);
    PolarCurve &curve = results.Profiles[0].Curves.at(0);
    ASSERT_EQ(curve.samples.size(), 9u);
    curve.samples[3].valid = curve.samples[4].valid = false;
    curve.failed = 2;
    ASSERT_TRUE(polar.Show(results));
    EXPECT_EQ(polar.GapCount(), 2);
    // two runs of valid angles, no line through the gap and no zeros in it
    EXPECT_EQ(seriesWithPoints(polar.At(kCaAlpha)), 2);
    const ChartSeries &after = polar.At(kCaAlpha).Chart.At(1);
    EXPECT_EQ(after.XValues.front(), 3.0);
    EXPECT_EQ(after.Count(), 4);
    // the profile that cannot be analysed says why, in the window, without a box
    const std::string status = polar.StatusText();
    EXPECT_NE(status.find("NACA 0012: Das Profil ist nicht normiert"), std::string::npos) << status;
    EXPECT_NE(status.find("2 Winkel ohne Ergebnis."), std::string::npos) << status;
    EXPECT_TRUE(results.Profiles[1].Curves.empty());

    polar.ReText = "1e5 0";
    polar.Refresh(project, -1, shortSweep());
    EXPECT_NE(polar.StatusText().find("Falscheingabe Reynoldszahl 0"), std::string::npos);
    EXPECT_EQ(seriesWithPoints(polar.At(kCaAlpha)), 0);
    polar.ReText = "1e5 1e9";
    polar.Refresh(project, -1, shortSweep());
    EXPECT_EQ(polar.StatusText(), "Falscheingabe Re !!. Bitte nur Zahlen zwischen 10000 und 100000000 eingeben.");
    EXPECT_TRUE(view.infos.empty()) << "a typing error must not pop up a box on every change";

    polar.ReText = "1e5";
    AnalysisInputs bad = shortSweep();
    bad.StepText = "0,01";
    polar.Refresh(project, -1, bad);
    EXPECT_EQ(polar.StatusText(), "Falscheingabe: Stepwinkel zu klein !!. Bitte nur Zahlen >=0,1 eingeben.");
}

TEST(PolarWindow, ResultsOfAnOlderStateAreNeverShown)
{
    FakePolarView view;
    PolarWindowController polar(view);
    TProf_Projekt project = projectOf({"2412"});
    PolarComputer computer(1);
    polar.ReText = "1e5";

    // two edits in a row; the first computation finishes last
    const PolarJob first = polar.MakeJob(project, 0, shortSweep());
    project.Profiles[0].Points[5].Y += 0.01;
    const PolarJob second = polar.MakeJob(project, 0, shortSweep());
    const PolarResults newer = computer.Compute(second);
    const PolarResults older = computer.Compute(first);
    EXPECT_TRUE(polar.Show(newer));
    const float shownCa = polar.Results().Profiles[0].Curves[0].samples[0].ca;
    EXPECT_FALSE(polar.Show(older));
    EXPECT_EQ(polar.Results().Profiles[0].Curves[0].samples[0].ca, shownCa);
    EXPECT_NE(older.Profiles[0].Curves[0].samples[0].ca, shownCa) << "the edit changes the polar";

    // a computation stopped for a newer state is not shown, and its partial
    // curves are not kept to be handed out later as the state's polar
    project.Profiles[0].Points[5].Y -= 0.005;
    const PolarJob third = polar.MakeJob(project, 0, shortSweep());
    const PolarResults stopped = computer.Compute(third, [] { return true; });
    EXPECT_TRUE(stopped.Superseded);
    EXPECT_FALSE(polar.Show(stopped));
    const PolarResults whole = computer.Compute(third);
    ASSERT_FALSE(whole.Superseded);
    EXPECT_EQ(whole.Profiles[0].Curves[0].failed, 0);
    EXPECT_EQ(whole.Profiles[0].Curves[0].samples[0].ca,
              PolarComputer(1).Compute(third).Profiles[0].Curves[0].samples[0].ca);
}

TEST(PolarWindow, CsvHasOneLinePerComputedAngleAndSkipsGaps)
{
    FakePolarView view;
    PolarWindowController polar(view);
    TProf_Projekt project = projectOf({"2412", "0012"});
    project.Profiles[0].Name = "fl\xFCgel, neu"; // Windows-1252, as loaded
    polar.AllChecked = true;
    polar.ReText = "1e5;2e5";
    PolarComputer computer(1);
    PolarResults results = computer.Compute(polar.MakeJob(project, -1, shortSweep()));
    // gaps are not written; the second profile failed everywhere at 2e5
    for (PolarSample &s : results.Profiles[1].Curves[1].samples)
        s.valid = false;
    ASSERT_TRUE(polar.Show(results));

    TempDir dir;
    view.saveAnswers.push_back(dir.file("polare"));
    polar.PolareSpeichernUnter();
    EXPECT_EQ(view.dialogTitles.back(), "Polare speichern unter");
    const std::string csv = velmora::testing::readFile(dir.file("polare.csv"));
    const auto lines = SplitLines(csv);
    ASSERT_EQ(lines.size(), 1u + 3 * 9);
    EXPECT_EQ(lines[0], "profile,re,alpha,ca,cm,cw,xtr_upper,xtr_lower");
    // the name is Windows-1252 in the profile and UTF-8 in the file, quoted for its comma
    EXPECT_EQ(lines[1].rfind("\"flügel, neu\",100000,-2,", 0), 0u) << lines[1];
    EXPECT_EQ(lines[10].rfind("\"flügel, neu\",200000,-2,", 0), 0u) << lines[10];
    EXPECT_EQ(std::count(lines[18].begin(), lines[18].end(), ','), 8);
    EXPECT_EQ(lines[19].rfind("NACA 0012,100000,-2,", 0), 0u) << lines[19];
    EXPECT_EQ(lines[27].rfind("NACA 0012,100000,6,", 0), 0u) << lines[27];

    // cancelled: nothing written, nothing said
    view.saveAnswers.push_back(std::nullopt);
    polar.PolareSpeichernUnter();
    EXPECT_TRUE(view.infos.empty());
    // an unwritable place gets the program's message, not a crash
    view.saveAnswers.push_back(dir.file("fehlt/polare.csv"));
    polar.PolareSpeichernUnter();
    ASSERT_EQ(view.infos.size(), 1u);
    EXPECT_NE(view.infos[0].find("kann nicht erstellt werden"), std::string::npos);
}

TEST(PolarWindow, DiagramsAreSavedAsSvgOrPngWithoutTheCrosshair)
{
    FakePolarView view;
    PolarWindowController polar(view);
    TProf_Projekt project = projectOf({"2412"});
    polar.Refresh(project, 0, shortSweep());
    polar.Panel().Layout(900, 700);
    const PlotRect r = polar.At(kCaAlpha).Chart.Rect();
    polar.Panel().MouseMove((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);

    TempDir dir;
    view.saveAnswers.push_back(dir.file("bild.SVG"));
    polar.DiagrammeSpeichernUnter();
    const std::string svg = velmora::testing::readFile(dir.file("bild.SVG"));
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("width=\"900\" height=\"700\""), std::string::npos);
    for (const char *title : {"Auftrieb ca über α", "Widerstandspolare ca über cw", "Moment cm über α", "Umschlag x über α"})
        EXPECT_NE(svg.find(title), std::string::npos) << title;
    EXPECT_EQ(svg.find(polar.Panel().Readout()), std::string::npos) << "the readout belongs to the screen";
    EXPECT_FALSE(polar.Panel().Readout().empty());

    view.saveAnswers.push_back(dir.file("bild"));
    polar.DiagrammeSpeichernUnter();
    ASSERT_EQ(view.pngPaths.size(), 1u);
    EXPECT_EQ(view.pngPaths[0], dir.file("bild.png"));
}

TEST(PolarWindow, TheReadoutNamesTheNearestPointAndZoomSurvivesARecompute)
{
    FakePolarView view;
    PolarWindowController polar(view);
    TProf_Projekt project = projectOf({"2412"});
    polar.ReText = "300000";
    polar.Panel().Layout(1000, 800);
    polar.Refresh(project, 0, shortSweep());

    const ChartModel &chart = polar.At(kCmAlpha).Chart;
    const PolarSample &at4 = polar.Results().Profiles[0].Curves[0].samples[6];
    ASSERT_EQ(at4.alpha, 4.0f);
    polar.Panel().MouseMove(chart.XToPixel(4.0) + 2, chart.YToPixel(at4.cm) - 1);
    EXPECT_EQ(polar.Panel().Readout().rfind("NACA 2412, Re 300000: α 4°  ca ", 0), 0u) << polar.Panel().Readout();
    polar.Panel().MouseMove(5, 5);
    EXPECT_EQ(polar.Panel().Readout(), "") << "outside every plot";

    // zoom into the lower left quarter of ca(alpha); an edit keeps the zoom, a reverse drag ends it
    ChartModel &ca = polar.At(kCaAlpha).Chart;
    const PlotRect r = ca.Rect();
    const AxisRange before = ca.BottomAxis();
    polar.Panel().Drag(r.Left + 2, (r.Top + r.Bottom) / 2, (r.Left + r.Right) / 2, r.Bottom - 2);
    const AxisRange zoomed = ca.BottomAxis();
    EXPECT_LT(zoomed.Max - zoomed.Min, 0.6 * (before.Max - before.Min));
    project.Profiles[0].Points[3].Y += 0.002;
    polar.Refresh(project, 0, shortSweep());
    EXPECT_EQ(ca.BottomAxis().Min, zoomed.Min);
    EXPECT_EQ(ca.BottomAxis().Max, zoomed.Max);
    polar.Panel().Drag(r.Right - 2, r.Bottom - 2, r.Left + 2, r.Top + 2);
    EXPECT_NEAR(ca.BottomAxis().Min, before.Min, 1e-9);
}

TEST(PolarWindow, ItsSettingsFileKeepsPlaceAndInputsAndShrugsOffDamage)
{
    TempDir dir;
    const std::string path = dir.file(kPolarSettingsFileName);
    EXPECT_EQ(ReadPolarWindowSettings(path).Width, PolarWindowSettings{}.Width) << "no file: defaults";
    PolarWindowSettings s;
    s.Top = -20;
    s.Left = 1700;
    s.Width = 640;
    s.Height = 480;
    s.Visible = true;
    s.ReText = "1e5; 3e5";
    s.AllChecked = true;
    WritePolarWindowSettings(path, s);
    const PolarWindowSettings back = ReadPolarWindowSettings(path);
    EXPECT_EQ(back.Top, -20);
    EXPECT_EQ(back.Left, 1700);
    EXPECT_EQ(back.Width, 640);
    EXPECT_EQ(back.Height, 480);
    EXPECT_TRUE(back.Visible);
    EXPECT_EQ(back.ReText, "1e5; 3e5");
    EXPECT_TRUE(back.AllChecked);

    WriteFileAtomic(path, "POLAREN_WIDTH=breit\r\nPOLAREN_HEIGHT=1e300\r\nPOLAREN_TOP=5\r\n");
    const PolarWindowSettings damaged = ReadPolarWindowSettings(path);
    EXPECT_EQ(damaged.Width, PolarWindowSettings{}.Width);
    EXPECT_EQ(damaged.Height, PolarWindowSettings{}.Height);
    EXPECT_EQ(damaged.Top, 5);
}

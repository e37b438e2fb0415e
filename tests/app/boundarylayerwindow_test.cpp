// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/boundarylayerwindow.h"
#include "app/maincontroller.h"
#include "fakediagramview.h"
#include "fakeview.h"
#include "geometry/naca4.h"
#include "model/numbertext.h"
#include "model/textfile.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

using namespace velmora;
using velmora::testing::FakeDiagramView;
using velmora::testing::TempDir;

namespace {

TProf_Projekt projectOf(std::initializer_list<const char *> codes)
{
    TProf_Projekt project;
    const TColor colours[] = {kColorRed, RgbColor(0, 128, 0), RgbColor(0, 0, 255)};
    int i = 0;
    for (const char *code : codes) {
        TProfile p = MakeNaca4(code, 61);
        p.Name = std::string("NACA ") + code;
        p.Color = colours[i++ % 3];
        project.Profiles.push_back(p);
    }
    return project;
}

AnalysisInputs at(const char *alpha, const char *re)
{
    AnalysisInputs in;
    in.AlfaText = alpha;
    in.ReText = re;
    return in;
}

std::vector<const ChartSeries *> seriesIn(const Diagram &d, TColor colour, PenStyle pen)
{
    std::vector<const ChartSeries *> found;
    for (const ChartSeries &s : d.Chart.Series()) {
        if (s.Color == colour && s.Pen == pen && s.Count() > 0)
            found.push_back(&s);
    }
    return found;
}

bool hasMark(const Diagram &d, const std::string &text)
{
    return std::any_of(d.Marks.begin(), d.Marks.end(), [&](const DiagramMark &m) { return m.Text == text; });
}

std::string threeDecimals(double x)
{
    return FloatToCommaText(RoundDecimals(3, x));
}

} // namespace

TEST(BoundaryLayerWindow, DrawsCpOverTheOutlineAndTheLayerOfBothSidesWithTransitionMarked)
{
    FakeDiagramView view;
    BoundaryLayerWindowController window(view);
    TProf_Projekt project = projectOf({"2412", "0012"});
    window.Panel().Layout(1000, 700);
    window.Refresh(project, 0, at("2", "1000000"));

    const auto &results = window.Results();
    ASSERT_EQ(results.Profiles.size(), 1u);
    const BoundaryLayerProfileResult &p = results.Profiles[0];
    ASSERT_TRUE(p.Refused.empty()) << p.Refused;
    EXPECT_GT(p.Ca, 0.3f);

    // cp on a downward axis: the series hold -cp, and the upper side, thick,
    // reaches the suction peak (-cp well above 0)
    const Diagram &cp = window.At(kCpOverX);
    EXPECT_TRUE(cp.NegatedYLabels);
    const auto cpSeries = seriesIn(cp, kColorRed, PenStyle::Solid);
    ASSERT_GE(cpSeries.size(), 2u);
    const ChartSeries &upper = *cpSeries[0];
    EXPECT_EQ(upper.LineWidth, 2);
    EXPECT_EQ(cpSeries[1]->LineWidth, 1);
    EXPECT_GT(*std::max_element(upper.YValues.begin(), upper.YValues.end()), 0.5);
    // every profile point is on one of the two sides, with cp = 1 - v^2
    size_t cpPoints = 0;
    for (const ChartSeries &s : cp.Chart.Series())
        cpPoints += size_t(s.Count());
    EXPECT_GE(cpPoints, p.Nodes.size());
    const TVPunkt &last = p.Nodes.back();
    EXPECT_TRUE(std::any_of(cp.Chart.Series().begin(), cp.Chart.Series().end(), [&](const ChartSeries &s) {
        return s.LineWidth == 1 && s.Count() > 0 && s.XValues.back() == last.x
            && s.YValues.back() == -(1.0 - last.v * last.v);
    })) << "the lower side ends at the last point";

    // the outline below cp: same x scale pixel for pixel, equal scaling
    const ChartModel &outline = window.At(kOutline).Chart;
    EXPECT_EQ(outline.Rect().Left, cp.Chart.Rect().Left);
    EXPECT_EQ(outline.Rect().Right, cp.Chart.Rect().Right);
    EXPECT_GT(outline.Rect().Top, cp.Chart.Rect().Bottom);
    EXPECT_EQ(outline.XToPixel(0.7), cp.Chart.XToPixel(0.7));
    EXPECT_NEAR(outline.XToPixelF(0.1) - outline.XToPixelF(0.0), outline.YToPixelF(0.0) - outline.YToPixelF(0.1), 1.0);

    // transition on both sides, marked with its x on every diagram over x
    for (int side : {kTraceUpper, kTraceLower}) {
        const float xtr = p.Trace.sides[size_t(side)].transitionX;
        ASSERT_GT(xtr, 0.0f);
        for (int d : {kCpOverX, kThicknessOverX, kH12OverX, kCfOverX})
            EXPECT_TRUE(hasMark(window.At(d), "U " + threeDecimals(xtr))) << d << " side " << side;
    }
    // thickness: delta2 solid and the displacement thickness dotted, larger by H12
    const auto delta2 = seriesIn(window.At(kThicknessOverX), kColorRed, PenStyle::Solid);
    const auto delta1 = seriesIn(window.At(kThicknessOverX), kColorRed, PenStyle::Dot);
    ASSERT_FALSE(delta2.empty());
    ASSERT_FALSE(delta1.empty());
    EXPECT_GT(delta1[0]->YValues[5], 1.3 * delta2[0]->YValues[5]);
    EXPECT_NE(window.StatusText().find("NACA 2412: ca "), std::string::npos) << window.StatusText();
    EXPECT_NE(window.StatusText().find("Umschlag oben " + threeDecimals(p.Trace.sides[0].transitionX)),
              std::string::npos);

    // every checked profile, each in its own colour, named in the legend
    window.AllChecked = true;
    window.Refresh(project, 0, at("2", "1000000"));
    ASSERT_EQ(window.Results().Profiles.size(), 2u);
    EXPECT_FALSE(seriesIn(window.At(kH12OverX), RgbColor(0, 128, 0), PenStyle::Solid).empty());
    EXPECT_FALSE(seriesIn(window.At(kCfOverX), kColorRed, PenStyle::Solid).empty());
    EXPECT_EQ(window.At(kOutline).Chart.SeriesCount(), 2);
    EXPECT_EQ(window.At(kH12OverX).Legend.at(1).Text, "NACA 0012");
}

TEST(BoundaryLayerWindow, SeparatedLayersAreDashedFromTheSeparationPointOn)
{
    FakeDiagramView view;
    BoundaryLayerWindowController window(view);
    TProf_Projekt project = projectOf({"4412"});
    window.Refresh(project, 0, at("8", "200000"));
    const BoundaryLayerProfileResult &p = window.Results().Profiles.at(0);
    const SideTrace &up = p.Trace.sides[kTraceUpper];
    ASSERT_GT(up.separationX, 0.0f) << "the upper layer separates at this angle";
    ASSERT_LT(up.separationX, 0.99f);
    for (int d : {kCpOverX, kThicknessOverX, kH12OverX, kCfOverX}) {
        const auto dashed = seriesIn(window.At(d), kColorRed, PenStyle::Dash);
        ASSERT_FALSE(dashed.empty()) << d;
        // the dashed part starts where the solid part ends, at the separation point
        EXPECT_NEAR(dashed[0]->XValues.front(), up.separationX, 0.02) << d;
        EXPECT_TRUE(hasMark(window.At(d), "A " + threeDecimals(up.separationX))) << d;
        EXPECT_EQ(window.At(d).Legend.back().Text, "abgelöst");
    }
    // nothing separated is drawn solid aft of the separation point
    for (const ChartSeries *s : seriesIn(window.At(kH12OverX), kColorRed, PenStyle::Solid)) {
        if (s->LineWidth == 2) {
            EXPECT_LE(*std::max_element(s->XValues.begin(), s->XValues.end()), up.separationX + 1e-6);
        }
    }
    EXPECT_NE(window.StatusText().find("Ablösung oben " + threeDecimals(up.separationX)), std::string::npos);
}

TEST(BoundaryLayerWindow, FollowsEditsAngleAndReynoldsNumberAndNeverShowsAnOlderState)
{
    FakeDiagramView view;
    BoundaryLayerWindowController window(view);
    TProf_Projekt project = projectOf({"2412"});
    BoundaryLayerComputer computer;

    window.Refresh(project, 0, at("0", "200000"));
    const float caAt0 = window.Results().Profiles.at(0).Ca;
    window.Refresh(project, 0, at("4", "200000"));
    EXPECT_GT(window.Results().Profiles.at(0).Ca, caAt0 + 0.3f);
    const float cwAt4 = window.Results().Profiles[0].Cw;
    const float thetaAt4 = window.Results().Profiles[0].Trace.sides[0].nodes.back().delta2;
    window.Refresh(project, 0, at("4", "2000000"));
    EXPECT_LT(window.Results().Profiles[0].Cw, cwAt4);
    EXPECT_LT(window.Results().Profiles[0].Trace.sides[0].nodes.back().delta2, thetaAt4);

    // an edit and a computation that finishes after the newer one
    const BoundaryLayerJob first = window.MakeJob(project, 0, at("4", "200000"));
    project.Profiles[0].Points[8].Y += 0.004;
    const BoundaryLayerJob second = window.MakeJob(project, 0, at("4", "200000"));
    EXPECT_TRUE(window.Show(computer.Compute(second)));
    const float shown = window.Results().Profiles[0].Cw;
    EXPECT_FALSE(window.Show(computer.Compute(first)));
    EXPECT_EQ(window.Results().Profiles[0].Cw, shown);

    // inputs that cannot be analysed say so in the status line, without a box
    window.Refresh(project, 0, at("abc", "200000"));
    EXPECT_EQ(window.StatusText(), "'abc' ist kein gültiger Gleitkommawert");
    EXPECT_EQ(window.At(kCpOverX).Chart.SeriesCount(), 0);
    window.Refresh(project, 0, at("2", "5000"));
    EXPECT_EQ(window.StatusText(), "Falscheingabe Re !!. Bitte nur Zahlen zwischen 10000 und 100000000 eingeben.");
    project.Profiles[0].Points.resize(30);
    window.Refresh(project, 0, at("2", "200000"));
    EXPECT_NE(window.StatusText().find("NACA 2412: "), std::string::npos);
    EXPECT_TRUE(window.Results().Profiles[0].Trace.sides[0].nodes.empty());
    EXPECT_EQ(window.At(kOutline).Chart.SeriesCount(), 1) << "the outline of a refused profile stays";
    window.Refresh(project, -1, at("2", "200000"));
    EXPECT_EQ(window.StatusText(), "Kein sichtbares Profil angewählt.");
    EXPECT_TRUE(view.infos.empty());
}

TEST(BoundaryLayerWindow, ReadoutGivesBothSidesAtTheMouseXAndTheCrosshairCrossesEveryDiagram)
{
    FakeDiagramView view;
    BoundaryLayerWindowController window(view);
    TProf_Projekt project = projectOf({"0012"});
    window.Panel().Layout(1000, 700);
    window.Refresh(project, 0, at("0", "1000000"));
    const BoundaryLayerWindowController::SideCurves &up = window.Curves(0, kTraceUpper);

    const ChartModel &h12 = window.At(kH12OverX).Chart;
    const int px = h12.XToPixel(0.3);
    const int py = (h12.Rect().Top + h12.Rect().Bottom) / 2;
    window.Panel().MouseMove(px, py);
    const double x = h12.PixelToX(px);
    // H12 of the upper side between the two nodes around x
    size_t i = 1;
    while (i < up.x.size() && up.x[i] < x)
        ++i;
    ASSERT_LT(i, up.x.size());
    const double t = (x - up.x[i - 1]) / (up.x[i] - up.x[i - 1]);
    const double expected = up.h12[i - 1] + t * (up.h12[i] - up.h12[i - 1]);
    const std::string readout = window.Panel().Readout();
    const std::string head = "x " + FloatToCommaText(RoundDecimals(4, x)) + " | oben H12 ";
    ASSERT_EQ(readout.rfind(head, 0), 0u) << readout;
    const std::string shown = readout.substr(head.size(), readout.find(' ', head.size()) - head.size());
    EXPECT_NEAR(ParseNumber(shown), expected, 1e-3 * expected) << readout;
    EXPECT_NE(readout.find(" unten H12 "), std::string::npos);

    // the vertical line at the same x in the cf diagram
    const DiagramScene scene = window.Panel().Scene();
    const ChartModel &cf = window.At(kCfOverX).Chart;
    const double cfX = cf.XToPixelF(x);
    EXPECT_TRUE(std::any_of(scene.Items.begin(), scene.Items.end(), [&](const SceneItem &item) {
        const auto *l = std::get_if<SceneLine>(&item);
        return l && l->x0 == cfX && l->x1 == cfX && l->y0 == cf.Rect().Top && l->y1 == cf.Rect().Bottom;
    }));

    // zooming cp in x takes the outline along
    const ChartModel &cp = window.At(kCpOverX).Chart;
    window.Panel().Drag(cp.XToPixel(0.2), cp.Rect().Top + 5, cp.XToPixel(0.5), cp.Rect().Bottom - 5);
    EXPECT_NEAR(window.At(kOutline).Chart.BottomAxis().Min, 0.2, 0.01);
    EXPECT_NEAR(window.At(kOutline).Chart.BottomAxis().Max, 0.5, 0.01);
    window.Panel().ResetZoom(-1);
    EXPECT_NEAR(window.At(kOutline).Chart.BottomAxis().Min, -0.03, 1e-9);
}

TEST(BoundaryLayerWindow, ExportsTheTraceAsCsvAndTheDiagramsAsPictures)
{
    FakeDiagramView view;
    BoundaryLayerWindowController window(view);
    TProf_Projekt project = projectOf({"2412", "0012"});
    TempDir dir;

    window.GrenzschichtSpeichernUnter();
    EXPECT_EQ(view.infos.at(0), "Keine Grenzschicht vorhanden !!");

    window.AllChecked = true;
    window.Refresh(project, 0, at("3", "500000"));
    view.saveAnswers = {dir.file("bl"), dir.file("bl.svg"), dir.file("bl.png")};
    window.GrenzschichtSpeichernUnter();
    EXPECT_EQ(view.proposedNames.back(), "grenzschicht.csv");
    const std::vector<std::string> lines = ReadFileLines(dir.file("bl.csv"));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "profile,side,s,x,v,delta2,delta3,h32,h12,state,cf,cd");
    size_t nodes = 0;
    for (const auto &p : window.Results().Profiles)
        nodes += p.Trace.sides[0].nodes.size() + p.Trace.sides[1].nodes.size();
    EXPECT_EQ(lines.size(), nodes + 1);
    EXPECT_EQ(lines[1].rfind("NACA 2412,upper,", 0), 0u);
    EXPECT_EQ(lines.back().rfind("NACA 0012,lower,", 0), 0u);

    window.DiagrammeSpeichernUnter();
    const std::string svg = ReadFileBytes(dir.file("bl.svg"));
    EXPECT_NE(svg.find("Druckverteilung cp über x"), std::string::npos);
    EXPECT_NE(svg.find("Reibungsbeiwert cf über x"), std::string::npos);
    window.DiagrammeSpeichernUnter();
    EXPECT_EQ(view.pngPaths, std::vector<std::string>{dir.file("bl.png")});
}

TEST(BoundaryLayerWindow, ChangingOnlyTheAngleOrReynoldsNumberTellsTheFollowingWindows)
{
    velmora::testing::FakeView view;
    MainController main(view, "/tmp");
    int refreshed = 0;
    main.OnAnalysisRefreshed = [&] { ++refreshed; };
    main.AnalysisInputChanged(true, false);
    EXPECT_EQ(refreshed, 1) << "the boundary-layer window follows the angle of the speed distribution";
    main.AnalysisInputChanged(false, true);
    EXPECT_EQ(refreshed, 2);
}

TEST(BoundaryLayerWindow, ItsSettingsFileKeepsPlaceShownStateAndSwitchAndShrugsOffDamage)
{
    TempDir dir;
    const std::string path = dir.file(kBoundaryLayerSettingsFileName);
    const WindowPlace none = ReadBoundaryLayerWindowSettings(path);
    EXPECT_EQ(none.Width, kBoundaryLayerDefaultPlace.Width) << "no file: defaults";
    EXPECT_FALSE(none.Visible);

    const WindowPlace s{-20, 1700, 640, 480, true, true};
    WriteBoundaryLayerWindowSettings(path, s);
    EXPECT_EQ(ReadFileLines(path).front(), "GRENZSCHICHT_TOP=-20");
    const WindowPlace back = ReadBoundaryLayerWindowSettings(path);
    EXPECT_EQ(std::tie(back.Top, back.Left, back.Width, back.Height, back.Visible, back.AllChecked),
              std::tie(s.Top, s.Left, s.Width, s.Height, s.Visible, s.AllChecked));

    // another window's keys are not this window's, and broken values keep the defaults
    WriteFileAtomic(path, "POLAREN_TOP=7\r\nGRENZSCHICHT_WIDTH=breit\r\nGRENZSCHICHT_HEIGHT=1e300\r\n"
                          "GRENZSCHICHT_LEFT=12\r\nGRENZSCHICHT_SICHTBAR=\r\n");
    const WindowPlace damaged = ReadBoundaryLayerWindowSettings(path);
    EXPECT_EQ(damaged.Top, kBoundaryLayerDefaultPlace.Top);
    EXPECT_EQ(damaged.Width, kBoundaryLayerDefaultPlace.Width);
    EXPECT_EQ(damaged.Height, kBoundaryLayerDefaultPlace.Height);
    EXPECT_EQ(damaged.Left, 12);
    EXPECT_FALSE(damaged.Visible);
}

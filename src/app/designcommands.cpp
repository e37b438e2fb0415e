// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/designcommands.h"

#include "geometry/blend.h"
#include "geometry/edges.h"
#include "geometry/flap.h"
#include "geometry/thicknesscamber.h"
#include "model/codepage.h"
#include "model/errors.h"
#include "model/numbertext.h"
#include "plot/fillchart.h"

namespace velmora {

namespace {

// Per cent with 4 decimals and the decimal comma of the program's fields.
std::string percent(double fraction)
{
    return FormatCoordinate(0, 4, ',', fraction * 100);
}

} // namespace

DesignCommands::DesignCommands(MainController &controller, DesignView &view)
    : m_controller(controller)
    , m_view(view)
    , m_gapFields{"1", "80"}
    , m_noseFields{"1", "20"}
    , m_flapFields{"75", "50", "10"}
{
}

TProfile *DesignCommands::usableProfile()
{
    TProfile *profile = m_controller.SelectedProfile();
    if (!profile) {
        m_controller.View().ShowInfo(msg::kNoProfileSelected);
        return nullptr;
    }
    GeometryResult why;
    if (!SplitForDesign(*profile, why)) {
        m_controller.Accepted(why);
        return nullptr;
    }
    return profile;
}

bool DesignCommands::readNumbers(const std::vector<std::string> &texts, std::vector<double> &values)
{
    values.clear();
    for (const std::string &text : texts) {
        double v = 0;
        if (!TryParseNumber(utf8ToCp1252(text), v)) {
            m_controller.View().ShowError(msgNotAFloat(text));
            return false;
        }
        values.push_back(v);
    }
    return true;
}

void DesignCommands::finish(int index, bool markProfile, const std::string &caption)
{
    // one undo step per operation, named after its entry
    const auto step = m_controller.RecordStep(caption);
    m_controller.AfterProfileChange(index, markProfile);
}

void DesignCommands::applyWithDialog(const DesignDialogSetup &setup, std::vector<std::string> &remembered,
                                     std::function<GeometryResult(TProfile &, const std::vector<double> &)> operation)
{
    const int row = m_controller.SelectedRow();
    const std::string caption = setup.title;
    m_view.ShowDesignDialog(setup, [this, row, caption, &remembered, operation](const DesignDialogAnswer &answer) {
        std::vector<double> v;
        if (!readNumbers(answer.fields, v))
            return false;
        TProfile *p = m_controller.SelectedProfile();
        if (!p)
            return true;
        if (!m_controller.Accepted(operation(*p, v)))
            return false;
        remembered = answer.fields;
        finish(row, true, caption);
        return true;
    });
}

void DesignCommands::DickeUndWoelbungAendern()
{
    TProfile *profile = usableProfile();
    if (!profile)
        return;
    GeometryResult why;
    const ThicknessCamber now = *CurrentThicknessCamber(*profile, why);
    DesignDialogSetup setup;
    setup.title = "Dicke und Wölbung ändern";
    setup.note = "Werte in % der Profiltiefe. Aktuell: d = " + percent(now.thickness) + " % bei "
        + percent(now.thicknessX) + " %, f = " + percent(now.camber) + " % bei " + percent(now.camberX) + " %";
    const std::vector<std::string> preset = {percent(now.thickness), percent(now.thicknessX),
                                             percent(now.camber), percent(now.camberX)};
    setup.fields = {{"Dicke d [%]", preset[0]},
                    {"Lage der Dicke xd [%]", preset[1]},
                    {"Wölbung f [%]", preset[2]},
                    {"Lage der Wölbung xf [%]", preset[3]}};
    const int row = m_controller.SelectedRow();
    m_view.ShowDesignDialog(setup, [this, row, preset, now](const DesignDialogAnswer &answer) {
        std::vector<double> v;
        if (!readNumbers(answer.fields, v))
            return false;
        TProfile *p = m_controller.SelectedProfile();
        if (!p)
            return true;
        // a field left as offered keeps the exact current value, not its rounded text
        ThicknessCamberTarget target{answer.fields[0] == preset[0] ? now.thickness : v[0] / 100,
                                     answer.fields[2] == preset[2] ? now.camber : v[2] / 100,
                                     std::nullopt, std::nullopt};
        if (answer.fields[1] != preset[1])
            target.thicknessX = v[1] / 100;
        if (answer.fields[3] != preset[3])
            target.camberX = v[3] / 100;
        if (!m_controller.Accepted(SetThicknessCamber(*p, target)))
            return false;
        finish(row, true, "Dicke und Wölbung ändern");
        return true;
    });
}

void DesignCommands::Endleistendicke()
{
    TProfile *profile = usableProfile();
    if (!profile)
        return;
    DesignDialogSetup setup;
    setup.title = "Endleistendicke";
    setup.note = "Aktuell: " + percent(profile->Points.front().Y - profile->Points.back().Y)
        + " % der Profiltiefe. Die Änderung läuft zur Nase hin über den Übergangsbereich aus.";
    setup.fields = {{"Endleistendicke [% Tiefe]", m_gapFields[0]},
                    {"Übergangsbereich [% Tiefe]", m_gapFields[1]}};
    applyWithDialog(setup, m_gapFields, [](TProfile &p, const std::vector<double> &v) {
        return SetTrailingEdgeGap(p, v[0] / 100, v[1] / 100);
    });
}

void DesignCommands::Nasenradius()
{
    if (!usableProfile())
        return;
    DesignDialogSetup setup;
    setup.title = "Nasenradius";
    setup.note = "Der Nasenradius wird mit dem Faktor multipliziert; die Änderung läuft bis zum Ende "
                 "des Übergangsbereichs aus.";
    setup.fields = {{"Faktor", m_noseFields[0]}, {"Übergangsbereich [% Tiefe]", m_noseFields[1]}};
    applyWithDialog(setup, m_noseFields, [](TProfile &p, const std::vector<double> &v) {
        return ScaleNoseRadius(p, v[0], v[1] / 100);
    });
}

void DesignCommands::Klappe()
{
    if (!usableProfile())
        return;
    DesignDialogSetup setup;
    setup.title = "Klappe";
    setup.note = "Die Punkte hinter der Drehachse werden um den Ausschlag gedreht (positiv nach unten); "
                 "danach wird das Profil neu ausgerichtet und normiert.";
    setup.fields = {{"Drehachse X [% Tiefe]", m_flapFields[0]},
                    {"Drehachse Höhe [% der Dicke über der Unterseite]", m_flapFields[1]},
                    {"Ausschlag [°]", m_flapFields[2]}};
    applyWithDialog(setup, m_flapFields, [](TProfile &p, const std::vector<double> &v) {
        return DeflectFlap(p, v[0] / 100, v[1] / 100, v[2]);
    });
}

void DesignCommands::ProfileMischen()
{
    TProf_Projekt &project = m_controller.Project();
    if (project.Profiles.empty()) {
        m_controller.View().ShowInfo(msg::kNoProfileSelected);
        return;
    }
    DesignDialogSetup setup;
    setup.title = "Profile mischen";
    setup.note = "Neues Profil (1 - t) · A + t · B an den X-Stellen von A; beide Profile müssen normiert sein.";
    std::vector<std::string> names;
    for (const TProfile &p : project.Profiles)
        names.push_back(cp1252ToUtf8(p.Name));
    const int n = int(names.size());
    const int a = std::max(m_controller.SelectedRow(), 0);
    setup.choices = {{"Profil A", names, a}, {"Profil B", names, (a + 1) % n}};
    setup.fields = {{"Anteil t von B (0 bis 1)", m_blendFraction}};
    m_view.ShowDesignDialog(setup, [this](const DesignDialogAnswer &answer) {
        std::vector<double> v;
        if (!readNumbers(answer.fields, v))
            return false;
        TProf_Projekt &project = m_controller.Project();
        const int count = int(project.Profiles.size());
        const int ia = answer.choices.at(0);
        const int ib = answer.choices.at(1);
        if (ia < 0 || ia >= count || ib < 0 || ib >= count)
            return true;
        TProfile mix;
        if (!m_controller.Accepted(BlendProfiles(project.Profiles[size_t(ia)], project.Profiles[size_t(ib)], v[0], mix)))
            return false;
        mix.Color = NextFreeColour(m_controller.Chart(), kSysColorBtnFace, m_controller.Chart().BackColor);
        project.Profiles.push_back(std::move(mix));
        m_blendFraction = answer.fields[0];
        finish(-1, false, "Profile mischen");
        return true;
    });
}

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/designview.h"
#include "app/maincontroller.h"

#include <functional>
#include <string>
#include <vector>

namespace velmora {

// The design entries of "Funktionen": each opens its dialog over the
// selected profile, runs the geometry operation on OK and ends in the
// after-change sequence. A profile the operation cannot work on is refused
// before the dialog opens; a field that is no number or a value out of range
// keeps the dialog open with the message. The fields are per cent of the
// chord (angles in degrees, factors and the fraction plain); what was typed
// is offered again at the next opening. Each finished operation is one undo
// step named after its entry.
class DesignCommands
{
public:
    DesignCommands(MainController &controller, DesignView &view);

    void DickeUndWoelbungAendern(); // "Dicke und Wölbung ändern…"
    void Endleistendicke();         // "Endleistendicke…"
    void Nasenradius();             // "Nasenradius…"
    void Klappe();                  // "Klappe…"
    void ProfileMischen();          // "Profile mischen…"

private:
    // The selected profile in the domain of the operations, or null after
    // the message.
    TProfile *usableProfile();
    // Numbers of the fields; false after the error message.
    bool readNumbers(const std::vector<std::string> &texts, std::vector<double> &values);
    void finish(int index, bool markProfile, const std::string &caption);
    // Asks the dialog's fields, applies the operation to the selected profile and
    // remembers the fields for the next opening; the dialog's title names the undo step.
    void applyWithDialog(const DesignDialogSetup &setup, std::vector<std::string> &remembered,
                         std::function<GeometryResult(TProfile &, const std::vector<double> &)> operation);

    MainController &m_controller;
    DesignView &m_view;
    std::vector<std::string> m_gapFields;
    std::vector<std::string> m_noseFields;
    std::vector<std::string> m_flapFields;
    std::string m_blendFraction = "0,5";
};

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace velmora {

// A number field of a design dialog: label and preset text (UTF-8).
struct DialogField
{
    std::string label;
    std::string text;
};

// A drop-down list of a design dialog: label, entries, the one preselected.
struct DialogChoice
{
    std::string label;
    std::vector<std::string> options;
    int selected = 0;
};

// What a design dialog shows: caption, a line of explanation, its lists and
// its fields, in this order.
struct DesignDialogSetup
{
    std::string title;
    std::string note;
    std::vector<DialogChoice> choices;
    std::vector<DialogField> fields;
};

// The user's entries at OK: the chosen index of every list and the text of
// every field, in the order of the setup.
struct DesignDialogAnswer
{
    std::vector<int> choices;
    std::vector<std::string> fields;
};

// The modal dialogs of the design operations. The Qt window shows a dialog
// with the lists and fields; tests script the answers. OK calls `accept`;
// the dialog closes only when it returns true, Cancel closes it at once.
class DesignView
{
public:
    virtual ~DesignView() = default;
    virtual void ShowDesignDialog(const DesignDialogSetup &setup,
                                  const std::function<bool(const DesignDialogAnswer &)> &accept) = 0;
};

} // namespace velmora

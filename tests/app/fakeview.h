// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/mainview.h"

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace velmora::testing {

// Records what the commands show and answers their questions from scripts.
// An unscripted question or dialog is a test failure (it would block a user).
class FakeView : public MainView
{
public:
    // scripts
    std::deque<bool> yesNoAnswers;
    std::deque<std::vector<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<std::optional<TColor>> colourAnswers;
    std::deque<std::optional<std::string>> textAnswers;
    // each OK press of the redistribution dialog; the dialog is cancelled when they run out
    std::deque<std::pair<std::string, StationDistribution>> redistributionPresses;

    // records
    std::vector<std::string> infos;
    std::vector<std::string> questions;
    std::vector<std::string> errors;
    std::vector<std::string> dialogTitles;
    std::vector<std::string> dialogFolders;
    std::vector<std::string> proposedNames;
    std::string nameField = "unset";
    std::string titleField = "unset";
    std::map<int, std::string> status;
    bool clipboardEntryEnabled = false;
    int listRepaints = 0;
    int plotRedraws = 0;
    bool closeRequested = false;
    bool listEnabled = true;
    int resultFieldWrites = 0; // once per run of the speed-distribution command
    std::vector<std::string> results;
    std::map<PolarField, bool> alarms;
    std::optional<PolarField> focused;

    void ShowInfo(const std::string &text) override;
    bool AskYesNo(const std::string &text) override;
    void ShowError(const std::string &text) override;
    std::vector<std::string> ChooseOpenFiles(const FileDialogSetup &setup, const std::string &folder) override;
    std::optional<std::string> ChooseSaveFile(const FileDialogSetup &setup, const std::string &folder,
                                              const std::string &proposedName) override;
    std::optional<TColor> ChooseColour(TColor initial) override;
    std::optional<std::string> AskText(const std::string &caption, const std::string &prompt,
                                       const std::string &preset) override;
    void ShowRedistributionDialog(
        const std::function<bool(const std::string &, StationDistribution)> &accept) override;
    std::vector<std::string> askedTexts;
    int redistributionDialogs = 0;
    bool redistributionClosedByOk = false;
    void RepaintList() override { ++listRepaints; }
    void RedrawPlot() override { ++plotRedraws; }
    void SetNameTitleFields(const std::string &name, const std::string &title) override
    {
        nameField = name;
        titleField = title;
    }
    void SetStatusText(int panel, const std::string &text) override { status[panel] = text; }
    void SetMenuEnabled(MenuEntry, bool enabled) override { clipboardEntryEnabled = enabled; }
    void SetListEnabled(bool enabled) override { listEnabled = enabled; }
    void SetResultFields(const std::string &ca, const std::string &cm, const std::string &cw) override
    {
        ++resultFieldWrites;
        results = {ca, cm, cw};
    }
    void SetPolarFieldAlarm(PolarField field, bool alarm) override { alarms[field] = alarm; }
    void FocusPolarField(PolarField field) override { focused = field; }
    void SetActivePointFields(const std::string &x, const std::string &y) override
    {
        activeX = x;
        activeY = y;
    }
    std::string activeX = "unset";
    std::string activeY = "unset";
    void CloseMainWindow() override { closeRequested = true; }
};

} // namespace velmora::testing

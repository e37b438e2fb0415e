// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/diagrampanel.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace velmora::testing {

// The window of a diagram controller: save dialogs answered from a script
// (an unscripted one fails the test), boxes and PNG files recorded.
class FakeDiagramView : public DiagramView
{
public:
    std::deque<std::optional<std::string>> saveAnswers;
    std::vector<std::string> infos;
    std::vector<std::string> dialogTitles;
    std::vector<std::string> proposedNames;
    std::vector<std::string> pngPaths;
    int repaints = 0;

    void ShowInfo(const std::string &text) override { infos.push_back(text); }
    std::optional<std::string> ChooseSaveFile(const FileDialogSetup &setup, const std::string &,
                                              const std::string &proposedName) override
    {
        dialogTitles.push_back(setup.Title);
        proposedNames.push_back(proposedName);
        if (saveAnswers.empty()) {
            ADD_FAILURE() << "unscripted save dialog " << setup.Title;
            return std::nullopt;
        }
        auto a = saveAnswers.front();
        saveAnswers.pop_front();
        return a;
    }
    bool WritePng(const DiagramScene &scene, const std::string &path) override
    {
        pngPaths.push_back(path);
        return !scene.Items.empty();
    }
    void Repaint() override { ++repaints; }
};

} // namespace velmora::testing

// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakeview.h"

#include <gtest/gtest.h>

namespace velmora::testing {

void FakeView::ShowInfo(const std::string &text)
{
    infos.push_back(text);
}

bool FakeView::AskYesNo(const std::string &text)
{
    questions.push_back(text);
    if (yesNoAnswers.empty()) {
        ADD_FAILURE() << "unscripted question: " << text;
        return false;
    }
    const bool a = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return a;
}

void FakeView::ShowError(const std::string &text)
{
    errors.push_back(text);
}

std::vector<std::string> FakeView::ChooseOpenFiles(const FileDialogSetup &setup, const std::string &folder)
{
    dialogTitles.push_back(setup.Title);
    dialogFolders.push_back(folder);
    if (openAnswers.empty()) {
        ADD_FAILURE() << "unscripted open dialog: " << setup.Title;
        return {};
    }
    auto a = openAnswers.front();
    openAnswers.pop_front();
    return a;
}

std::optional<std::string> FakeView::ChooseSaveFile(const FileDialogSetup &setup, const std::string &folder,
                                                    const std::string &proposedName)
{
    dialogTitles.push_back(setup.Title);
    dialogFolders.push_back(folder);
    proposedNames.push_back(proposedName);
    if (saveAnswers.empty()) {
        ADD_FAILURE() << "unscripted save dialog: " << setup.Title;
        return std::nullopt;
    }
    auto a = saveAnswers.front();
    saveAnswers.pop_front();
    return a;
}

std::optional<TColor> FakeView::ChooseColour(TColor)
{
    if (colourAnswers.empty()) {
        ADD_FAILURE() << "unscripted colour dialog";
        return std::nullopt;
    }
    auto a = colourAnswers.front();
    colourAnswers.pop_front();
    return a;
}

std::optional<std::string> FakeView::AskText(const std::string &caption, const std::string &prompt,
                                             const std::string &preset)
{
    askedTexts.push_back(caption + "|" + prompt + "|" + preset);
    if (textAnswers.empty()) {
        ADD_FAILURE() << "unscripted input box: " << caption;
        return std::nullopt;
    }
    auto a = textAnswers.front();
    textAnswers.pop_front();
    return a;
}

void FakeView::ShowRedistributionDialog(
    const std::function<bool(const std::string &, StationDistribution)> &accept)
{
    ++redistributionDialogs;
    redistributionClosedByOk = false;
    while (!redistributionPresses.empty()) {
        const auto [count, distribution] = redistributionPresses.front();
        redistributionPresses.pop_front();
        if (accept(count, distribution)) {
            redistributionClosedByOk = true;
            return;
        }
    }
}

} // namespace velmora::testing

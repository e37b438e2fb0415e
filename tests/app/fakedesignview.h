// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/designview.h"

#include <deque>
#include <optional>
#include <vector>

namespace velmora::testing {

// Answers design dialogs from a script: each entry is one OK press with its
// entries, nullopt a Cancel. A dialog whose OK is refused stays open for the
// next entry; when the script runs out the dialog is cancelled.
class FakeDesignView : public DesignView
{
public:
    std::deque<std::optional<DesignDialogAnswer>> presses;
    std::vector<DesignDialogSetup> shown;
    int closedByOk = 0;

    void ShowDesignDialog(const DesignDialogSetup &setup,
                          const std::function<bool(const DesignDialogAnswer &)> &accept) override
    {
        shown.push_back(setup);
        while (!presses.empty()) {
            const std::optional<DesignDialogAnswer> press = presses.front();
            presses.pop_front();
            if (!press)
                return;
            if (accept(*press)) {
                ++closedByOk;
                return;
            }
        }
    }

    // OK with these field texts (and list choices).
    void ok(std::vector<std::string> fields, std::vector<int> choices = {})
    {
        presses.push_back(DesignDialogAnswer{std::move(choices), std::move(fields)});
    }
    void cancel() { presses.push_back(std::nullopt); }
};

} // namespace velmora::testing

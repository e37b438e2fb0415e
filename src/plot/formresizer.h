// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <stdexcept>
#include <vector>

namespace velmora {

class EResizerException : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Bounds of a control relative to its parent, in pixels.
struct TBounds
{
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TBounds &) const = default;
};

// What the resizer records of one control.
struct TControlInfo
{
    TBounds Bounds;
    std::optional<int> FontSize; // controls without a font of their own have none
    bool IsLabel = false;        // labels size their width to the text
    bool FillsParent = false;    // left to the parent's layout
    bool FontOnly = false;       // placed by the parent's layout; only its font scales
};

// One recorded control.
struct TSingleResizer
{
    TControlInfo Recorded;
    int OwnerWidth = 0;
    int OwnerHeight = 0;
    bool ScaleHeight = true;
    bool ScaleLeft = true;
    bool ScaleTop = true;
    bool ScaleWidth = true; // false for labels
    bool ResizeFonts = false;
    int MinFontSize = 8;
    int MaxFontSize = 48;
    bool FontsFollowSmallerRatio = false;
    bool Removed = false;   // the control was destroyed
};

// Keeps a window's layout proportional: records every control's bounds and
// font size once, then scales them by the ratio of the window's current size
// to the recorded one. Returning to the recorded size restores every bound and
// font size exactly. Settings changed after CaptureLayout do not reach the
// recorded controls.
class TFormResizer
{
public:
    bool ResizeFonts = false;
    int MinFontSize = 8;
    int MaxFontSize = 48;
    bool EnforceMinSize = false;
    // Fonts scale with the smaller of the width and height ratios instead of
    // the height ratio alone, so a caption still fits its box when the window
    // was made narrower than high.
    bool FontsFollowSmallerRatio = false;

    // Runs once; later calls do nothing.
    void CaptureLayout(int ownerWidth, int ownerHeight, const std::vector<TControlInfo> &controls);
    bool Captured() const { return m_captured; }

    // The control at `index` was destroyed: its entry is skipped from now on.
    void ControlRemoved(int index);

    // The font of the control at `index` was changed from outside (the font
    // settings file) to `size` while the owner has the given size: that font,
    // taken back to the recorded owner size, is what scaling starts from.
    void FontChanged(int index, int size, int ownerWidth, int ownerHeight);

    struct Result
    {
        bool Skip = false; // removed or filling its parent: leave it alone
        TBounds Bounds;
        std::optional<int> FontSize; // set when fonts are scaled
    };
    // New bounds for every recorded control, in capture order, from the
    // owner's current size (raised to the recorded size with EnforceMinSize)
    // and the controls' current bounds (which keep what is not scaled).
    std::vector<Result> ScaleControls(int &ownerWidth, int &ownerHeight,
                                      const std::vector<TBounds> &current) const;

    const std::vector<TSingleResizer> &Entries() const { return m_entries; }

private:
    bool m_captured = false;
    int m_width = 0;
    int m_height = 0;
    std::vector<TSingleResizer> m_entries;
};

} // namespace velmora

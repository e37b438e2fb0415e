// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/formresizer.h"

#include <algorithm>
#include <cmath>

namespace velmora {

void TFormResizer::CaptureLayout(int ownerWidth, int ownerHeight, const std::vector<TControlInfo> &controls)
{
    if (m_captured)
        return;
    m_captured = true;
    m_width = ownerWidth;
    m_height = ownerHeight;
    for (const TControlInfo &c : controls) {
        TSingleResizer e;
        e.Recorded = c;
        e.OwnerWidth = ownerWidth;
        e.OwnerHeight = ownerHeight;
        e.ScaleWidth = !c.IsLabel;
        e.ResizeFonts = ResizeFonts;
        e.MinFontSize = MinFontSize;
        e.MaxFontSize = MaxFontSize;
        e.FontsFollowSmallerRatio = FontsFollowSmallerRatio;
        m_entries.push_back(e);
    }
}

void TFormResizer::ControlRemoved(int index)
{
    if (index >= 0 && index < int(m_entries.size()))
        m_entries[size_t(index)].Removed = true;
}

namespace {

double fontRatio(const TSingleResizer &e, double wr, double hr)
{
    return e.FontsFollowSmallerRatio ? std::min(wr, hr) : hr;
}

} // namespace

void TFormResizer::FontChanged(int index, int size, int ownerWidth, int ownerHeight)
{
    if (index < 0 || index >= int(m_entries.size()))
        return;
    TSingleResizer &e = m_entries[size_t(index)];
    const double hr = m_height > 0 ? double(ownerHeight) / m_height : 1.0;
    const double wr = m_width > 0 ? double(ownerWidth) / m_width : 1.0;
    const double ratio = fontRatio(e, wr, hr);
    e.Recorded.FontSize = ratio > 0 ? int(std::nearbyint(size / ratio)) : size;
}

std::vector<TFormResizer::Result> TFormResizer::ScaleControls(int &ownerWidth, int &ownerHeight,
                                                              const std::vector<TBounds> &current) const
{
    if (EnforceMinSize) {
        ownerHeight = std::max(ownerHeight, m_height);
        ownerWidth = std::max(ownerWidth, m_width);
    }
    const double hr = m_height > 0 ? double(ownerHeight) / m_height : 1.0;
    const double wr = m_width > 0 ? double(ownerWidth) / m_width : 1.0;
    auto round = [](double v) { return int(std::nearbyint(v)); };

    std::vector<Result> results(m_entries.size());
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const TSingleResizer &e = m_entries[i];
        Result &r = results[i];
        if (e.Removed || e.Recorded.FillsParent) {
            r.Skip = true;
            continue;
        }
        r.Bounds = i < current.size() ? current[i] : e.Recorded.Bounds;
        const TBounds &rec = e.Recorded.Bounds;
        if (e.Recorded.FontOnly) {
            if (e.ResizeFonts && e.Recorded.FontSize) {
                const bool recorded = ownerHeight == e.OwnerHeight && ownerWidth == e.OwnerWidth;
                r.FontSize = recorded ? *e.Recorded.FontSize
                                      : std::clamp(round(*e.Recorded.FontSize * fontRatio(e, wr, hr)),
                                                   std::min(e.MinFontSize, e.MaxFontSize), e.MaxFontSize);
            }
            continue;
        }
        if (ownerHeight == e.OwnerHeight && ownerWidth == e.OwnerWidth) {
            // back at the recorded size: the recorded values, without rounding drift
            if (e.ScaleHeight)
                r.Bounds.Height = rec.Height;
            if (e.ScaleWidth)
                r.Bounds.Width = rec.Width;
            if (e.ScaleLeft)
                r.Bounds.Left = rec.Left;
            if (e.ScaleTop)
                r.Bounds.Top = rec.Top;
            if (e.ResizeFonts && e.Recorded.FontSize)
                r.FontSize = *e.Recorded.FontSize;
            continue;
        }
        if (e.ScaleHeight)
            r.Bounds.Height = round(rec.Height * hr);
        if (e.ScaleWidth)
            r.Bounds.Width = round(rec.Width * wr);
        if (e.ScaleLeft)
            r.Bounds.Left = round(rec.Left * wr);
        if (e.ScaleTop)
            r.Bounds.Top = round(rec.Top * hr);
        if (e.ResizeFonts && e.Recorded.FontSize) {
            int size = round(*e.Recorded.FontSize * fontRatio(e, wr, hr));
            if (size > e.MaxFontSize)
                size = e.MaxFontSize;
            if (size < e.MinFontSize)
                size = e.MinFontSize;
            r.FontSize = size;
        }
    }
    return results;
}

} // namespace velmora

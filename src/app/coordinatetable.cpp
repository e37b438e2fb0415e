// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/coordinatetable.h"

#include "model/codepage.h"
#include "model/errors.h"
#include "model/numbertext.h"

#include <algorithm>
#include <cstdio>

namespace velmora {

namespace {

std::vector<int> sortedUnique(std::vector<int> rows, int count)
{
    std::erase_if(rows, [count](int r) { return r < 0 || r >= count; });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

std::vector<std::string> splitLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::vector<std::string> fields(const std::string &line)
{
    std::vector<std::string> out;
    std::string field;
    for (char c : line) {
        if (c == '\t' || c == ' ' || c == ';') {
            if (!field.empty())
                out.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    if (!field.empty())
        out.push_back(field);
    return out;
}

// x and y from a line, or false.
bool pair(const std::string &line, TKoordi &point)
{
    const std::vector<std::string> f = fields(line);
    return f.size() == 2 && TryParseNumber(f[0], point.X) && TryParseNumber(f[1], point.Y);
}

std::string replaceAll(std::string text, const std::string &what, const std::string &with)
{
    const size_t at = text.find(what);
    if (at != std::string::npos)
        text.replace(at, what.size(), with);
    return text;
}

} // namespace

CoordinateTable::CoordinateTable(MainController &controller)
    : m_controller(controller)
{
}

const TProfile *CoordinateTable::Profile() const
{
    return const_cast<MainController &>(m_controller).SelectedProfile();
}

TProfile *CoordinateTable::profile()
{
    return m_controller.SelectedProfile();
}

bool CoordinateTable::requireProfile()
{
    if (profile())
        return true;
    m_controller.View().ShowInfo(msg::kNoProfileSelected);
    return false;
}

void CoordinateTable::changed(const std::string &caption)
{
    const auto step = m_controller.RecordStep(caption);
    m_controller.AfterProfileChange(m_controller.SelectedRow(), true);
}

int CoordinateTable::RowCount() const
{
    const TProfile *p = Profile();
    return p ? p->PointCount() : 0;
}

std::string CoordinateTable::Header(int column)
{
    switch (column) {
    case kNumber:
        return "Nr.";
    case kX:
        return "X";
    case kY:
        return "Y";
    case kState:
        return "Status";
    default:
        return {};
    }
}

std::string CoordinateTable::Cell(int row, int column) const
{
    const TProfile *p = Profile();
    if (!p || row < 0 || row >= p->PointCount())
        return {};
    const TKoordi &k = p->Points[size_t(row)];
    switch (column) {
    case kNumber:
        return std::to_string(row + 1);
    case kX:
        return FormatCoordinate(0, 6, ',', k.X);
    case kY:
        return FormatCoordinate(0, 6, ',', k.Y);
    case kState:
        return k.Active ? "aktiv" : (k.Marked ? "markiert" : "");
    default:
        return {};
    }
}

bool CoordinateTable::EditCell(int row, int column, const std::string &text)
{
    TProfile *p = profile();
    if (!p || row < 0 || row >= p->PointCount() || (column != kX && column != kY))
        return false;
    double value = 0;
    try {
        value = ParseNumber(utf8ToCp1252(text));
    } catch (const UserError &e) {
        m_controller.View().ShowError(e.what());
        return false;
    }
    TKoordi &k = p->Points[size_t(row)];
    (column == kX ? k.X : k.Y) = value;
    changed("Koordinate ändern");
    return true;
}

int CoordinateTable::InsertRow(int row)
{
    if (!requireProfile())
        return -1;
    TProfile &p = *profile();
    const int n = p.PointCount();
    TKoordi fresh;
    fresh.IsNew = true;
    int at = 0;
    if (n == 0) {
        at = 0;
    } else if (row < 0) {
        fresh.X = p.Points.front().X;
        fresh.Y = p.Points.front().Y;
        at = 0;
    } else if (row >= n - 1) {
        fresh.X = p.Points.back().X;
        fresh.Y = p.Points.back().Y;
        at = n;
    } else {
        const TKoordi &a = p.Points[size_t(row)];
        const TKoordi &b = p.Points[size_t(row + 1)];
        fresh.X = (a.X + b.X) / 2;
        fresh.Y = (a.Y + b.Y) / 2;
        at = row + 1;
    }
    p.Points.insert(p.Points.begin() + at, fresh);
    changed("Zeile einfügen");
    return at;
}

void CoordinateTable::DeleteRows(std::vector<int> rows)
{
    TProfile *p = profile();
    if (!p)
        return;
    rows = sortedUnique(std::move(rows), p->PointCount());
    if (rows.empty())
        return;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        p->Points.erase(p->Points.begin() + *it);
    changed("Zeilen löschen");
}

std::string CoordinateTable::CopyRows(std::vector<int> rows) const
{
    const TProfile *p = Profile();
    if (!p)
        return {};
    std::string text;
    for (int r : sortedUnique(std::move(rows), p->PointCount())) {
        const TKoordi &k = p->Points[size_t(r)];
        text += FormatCoordinate(0, 6, '.', k.X) + "\t" + FormatCoordinate(0, 6, '.', k.Y) + "\n";
    }
    return text;
}

std::vector<int> CoordinateTable::Paste(std::vector<int> selectedRows, int currentRow, const std::string &text)
{
    if (!requireProfile())
        return {};
    TProfile &p = *profile();
    std::vector<TKoordi> points;
    bool first = true;
    int number = 0;
    for (const std::string &line : splitLines(text)) {
        ++number;
        if (fields(line).empty())
            continue;
        TKoordi k;
        if (pair(line, k)) {
            points.push_back(k);
        } else if (!first) {
            char head[32];
            std::snprintf(head, sizeof head, "%d", number);
            std::string message = replaceAll(kMsgPasteNoPair, "%d", head);
            m_controller.View().ShowInfo(replaceAll(message, "%s", cp1252ToUtf8(line)));
            return {};
        }
        first = false;
    }
    if (points.empty()) {
        m_controller.View().ShowInfo(kMsgPasteEmpty);
        return {};
    }

    const int n = p.PointCount();
    selectedRows = sortedUnique(std::move(selectedRows), n);
    int at = currentRow < 0 || currentRow >= n ? n : currentRow + 1;
    if (!selectedRows.empty()) {
        at = selectedRows.front();
        for (auto it = selectedRows.rbegin(); it != selectedRows.rend(); ++it)
            p.Points.erase(p.Points.begin() + *it);
    }
    p.Points.insert(p.Points.begin() + at, points.begin(), points.end());
    changed("Koordinaten einfügen");
    std::vector<int> rows(points.size());
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = at + int(i);
    return rows;
}

void CoordinateTable::SelectRows(const std::vector<int> &rows)
{
    TProfile *p = profile();
    if (!p)
        return;
    for (TKoordi &k : p->Points)
        k.Marked = false;
    for (int r : sortedUnique(rows, p->PointCount()))
        p->Points[size_t(r)].Marked = true;
    m_controller.View().RedrawPlot();
}

std::vector<int> CoordinateTable::MarkedRows() const
{
    std::vector<int> rows;
    if (const TProfile *p = Profile()) {
        for (int i = 0; i < p->PointCount(); ++i) {
            if (p->Points[size_t(i)].Marked)
                rows.push_back(i);
        }
    }
    return rows;
}

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/maincontroller.h"

#include <string>
#include <vector>

namespace velmora {

// "Fenster Koordinaten" without its window: the points of the selected
// profile as rows (number from 1, x, y, marked/active), edited in place.
// Rows are point indices. Every change is one undo step and ends in the
// after-change sequence (plot, list, Modified flags, analysis); a refused
// change leaves the profile as it was and says why through the main view.
class CoordinateTable
{
public:
    enum Column { kNumber = 0, kX, kY, kState, kColumnCount };

    explicit CoordinateTable(MainController &controller);

    // The profile of the selected list row, or null (the table is empty).
    const TProfile *Profile() const;
    int RowCount() const;
    // Shown text (UTF-8): the number, x and y with 6 decimals and the
    // program's decimal comma, "aktiv", "markiert" or nothing.
    std::string Cell(int row, int column) const;
    // Column headers.
    static std::string Header(int column);

    // A typed x or y, read by the program's number rules ("." or ","). A
    // text that is no number shows "'%s' ist kein gültiger Gleitkommawert"
    // and returns false; so do the other columns and rows outside the table.
    bool EditCell(int row, int column, const std::string &text);
    // A new point (IsNew) after `row`, halfway to the next point, or a copy of
    // the last point after the last row; before the first row for row -1.
    // Returns its row, or -1 without a profile (after the message).
    int InsertRow(int row);
    // Deletes the rows (any order, duplicates ignored).
    void DeleteRows(std::vector<int> rows);

    // The rows as text for a spreadsheet or a coordinate file: one line per
    // row, x TAB y with 6 decimals and ".", lines ended by "\n".
    std::string CopyRows(std::vector<int> rows) const;
    // Rows from 8-bit text (as files hold it): one point per line, x and y separated by tabs, blanks
    // or ";", each with "." or "," as decimal separator; empty lines are
    // skipped, and a first line that is no pair (the title of a coordinate
    // file) too. The points replace the selected rows, or go in after
    // `currentRow` (at the end for -1) when none is selected. Any other line
    // that is no pair refuses the whole paste with its line number. Returns
    // the rows of the new points (empty when refused).
    std::vector<int> Paste(std::vector<int> selectedRows, int currentRow, const std::string &text);

    // The table's selection becomes the marks of the plot (every other
    // point unmarked); the plot is redrawn.
    void SelectRows(const std::vector<int> &rows);
    // The marked points, as the table's selection follows them.
    std::vector<int> MarkedRows() const;

private:
    TProfile *profile();
    bool requireProfile();
    void changed(const std::string &caption);

    MainController &m_controller;
};

inline constexpr const char *kMsgPasteNoPair =
    "Zeile %d: '%s' ist kein Koordinatenpaar (X und Y, getrennt durch Tabulator, Leerzeichen oder \";\") !!";
inline constexpr const char *kMsgPasteEmpty = "Der eingefügte Text enthält keine Koordinaten !!";

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/coordinatetable.h"

#include <QWidget>

#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

namespace velmora {

// "Fenster Koordinaten": a table of the selected profile's points beside the
// main window. It follows the model whenever `watched` (the plot) paints,
// and forwards edits, row commands, copy and paste to the CoordinateTable.
// Keys on the table: Ctrl+C and Ctrl+V copy and paste whole rows, Delete and
// Insert delete the selected rows and insert one after the current row.
class CoordinateWindow : public QWidget
{
    Q_OBJECT
public:
    CoordinateWindow(MainController &controller, QWidget *watched, QWidget *parent);

    CoordinateTable &Table() { return m_table; }
    QTableWidget *Grid = nullptr;
    QLabel *NameLabel = nullptr;
    QPushButton *InsertButton = nullptr;
    QPushButton *DeleteButton = nullptr;
    QPushButton *CopyButton = nullptr;
    QPushButton *PasteButton = nullptr;

    // Brings the table in step with the model; cheap when nothing changed.
    void refresh();

    void insertRow();
    void deleteRows();
    void copyRows();
    void pasteRows();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    struct Row
    {
        double x;
        double y;
        bool marked;
        bool active;
        bool operator==(const Row &) const = default;
    };
    std::vector<int> selectedRows() const;
    void applySelection(const std::vector<int> &rows);

    CoordinateTable m_table;
    const TProfile *m_shownProfile = nullptr;
    std::vector<Row> m_shown;
    bool m_updating = false;
};

} // namespace velmora

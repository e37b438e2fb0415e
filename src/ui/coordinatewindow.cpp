// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/coordinatewindow.h"

#include "model/codepage.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <set>

namespace velmora {

CoordinateWindow::CoordinateWindow(MainController &controller, QWidget *watched, QWidget *parent)
    : QWidget(parent, Qt::Tool)
    , m_table(controller)
{
    setObjectName(QStringLiteral("FormKoordinaten"));
    setWindowTitle(QStringLiteral("Koordinaten"));
    auto *layout = new QVBoxLayout(this);
    NameLabel = new QLabel;
    layout->addWidget(NameLabel);
    Grid = new QTableWidget(0, CoordinateTable::kColumnCount);
    Grid->setObjectName(QStringLiteral("Grid"));
    QStringList headers;
    for (int c = 0; c < CoordinateTable::kColumnCount; ++c)
        headers << QString::fromStdString(CoordinateTable::Header(c));
    Grid->setHorizontalHeaderLabels(headers);
    Grid->verticalHeader()->hide();
    Grid->verticalHeader()->setDefaultSectionSize(Grid->fontMetrics().height() + 6);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                          | QAbstractItemView::AnyKeyPressed);
    Grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    Grid->horizontalHeader()->setSectionResizeMode(CoordinateTable::kNumber, QHeaderView::ResizeToContents);
    layout->addWidget(Grid, 1);

    auto *buttons = new QHBoxLayout;
    InsertButton = new QPushButton(QStringLiteral("Zeile einfügen"));
    DeleteButton = new QPushButton(QStringLiteral("Zeilen löschen"));
    CopyButton = new QPushButton(QStringLiteral("Kopieren"));
    PasteButton = new QPushButton(QStringLiteral("Einfügen"));
    for (QPushButton *b : {InsertButton, DeleteButton, CopyButton, PasteButton}) {
        b->setFocusPolicy(Qt::NoFocus);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(InsertButton, &QPushButton::clicked, this, &CoordinateWindow::insertRow);
    connect(DeleteButton, &QPushButton::clicked, this, &CoordinateWindow::deleteRows);
    connect(CopyButton, &QPushButton::clicked, this, &CoordinateWindow::copyRows);
    connect(PasteButton, &QPushButton::clicked, this, &CoordinateWindow::pasteRows);

    connect(Grid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (m_updating)
            return;
        const int row = item->row();
        const int column = item->column();
        const std::string text = item->text().toStdString();
        // the table is rebuilt afterwards; not from inside its own signal
        QTimer::singleShot(0, this, [this, row, column, text] {
            if (!m_table.EditCell(row, column, text))
                m_shown.clear();
            refresh();
        });
    });
    connect(Grid->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_updating)
            m_table.SelectRows(selectedRows());
    });
    resize(420, 600);
    if (watched)
        watched->installEventFilter(this);
    Grid->installEventFilter(this);
}

bool CoordinateWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Grid && event->type() == QEvent::KeyPress) {
        // before the table's own handling, which copies only the current cell
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Copy)) {
            copyRows();
            return true;
        }
        if (key->matches(QKeySequence::Paste)) {
            pasteRows();
            return true;
        }
        if (key->key() == Qt::Key_Delete) {
            deleteRows();
            return true;
        }
        if (key->key() == Qt::Key_Insert) {
            insertRow();
            return true;
        }
        return false;
    }
    if (watched != Grid && event->type() == QEvent::Paint && isVisible())
        refresh();
    return QWidget::eventFilter(watched, event);
}

void CoordinateWindow::showEvent(QShowEvent *event)
{
    m_shown.clear();
    m_shownProfile = nullptr;
    refresh();
    QWidget::showEvent(event);
}

void CoordinateWindow::refresh()
{
    const TProfile *p = m_table.Profile();
    std::vector<Row> rows;
    if (p) {
        rows.reserve(p->Points.size());
        for (const TKoordi &k : p->Points)
            rows.push_back({k.X, k.Y, k.Marked, k.Active});
    }
    if (p == m_shownProfile && rows == m_shown && Grid->rowCount() == int(rows.size()))
        return;
    m_updating = true;
    NameLabel->setText(p ? QString::fromStdString(cp1252ToUtf8(p->Name)) : QStringLiteral("Kein Profil angewählt"));
    const int n = int(rows.size());
    Grid->setRowCount(n);
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < CoordinateTable::kColumnCount; ++c) {
            const QString text = QString::fromStdString(m_table.Cell(r, c));
            QTableWidgetItem *item = Grid->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                if (c == CoordinateTable::kNumber || c == CoordinateTable::kState)
                    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
                if (c != CoordinateTable::kState)
                    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                Grid->setItem(r, c, item);
            }
            if (item->text() != text)
                item->setText(text);
        }
    }
    applySelection(m_table.MarkedRows());
    m_shownProfile = p;
    m_shown = std::move(rows);
    m_updating = false;
}

std::vector<int> CoordinateWindow::selectedRows() const
{
    std::set<int> rows;
    for (const QModelIndex &i : Grid->selectionModel()->selectedIndexes())
        rows.insert(i.row());
    return {rows.begin(), rows.end()};
}

void CoordinateWindow::applySelection(const std::vector<int> &rows)
{
    if (rows == selectedRows())
        return;
    QItemSelection selection;
    const int last = CoordinateTable::kColumnCount - 1;
    for (size_t i = 0; i < rows.size();) {
        size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1)
            ++j;
        selection.select(Grid->model()->index(rows[i], 0), Grid->model()->index(rows[j], last));
        i = j + 1;
    }
    Grid->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (!rows.empty())
        Grid->scrollTo(Grid->model()->index(rows.front(), 0));
}

void CoordinateWindow::insertRow()
{
    const int current = Grid->currentRow();
    const int row = m_table.InsertRow(current >= 0 ? current : m_table.RowCount() - 1);
    refresh();
    if (row >= 0)
        Grid->setCurrentCell(row, CoordinateTable::kX);
}

void CoordinateWindow::deleteRows()
{
    m_table.DeleteRows(selectedRows());
    refresh();
}

void CoordinateWindow::copyRows()
{
    const std::string text = m_table.CopyRows(selectedRows());
    if (!text.empty())
        QApplication::clipboard()->setText(QString::fromStdString(text));
}

void CoordinateWindow::pasteRows()
{
    const std::string text = QApplication::clipboard()->text().toStdString();
    const std::vector<int> rows = m_table.Paste(selectedRows(), Grid->currentRow(), utf8ToCp1252(text));
    if (!rows.empty())
        m_table.SelectRows(rows);
    refresh();
}

} // namespace velmora

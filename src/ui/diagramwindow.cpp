// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/diagramwindow.h"

#include "ui/qtconvert.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <algorithm>

namespace velmora {

DiagramWindow::DiagramWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    Canvas = new DiagramCanvas;
}

void DiagramWindow::ShowInfo(const std::string &text)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Information"), messageText(text), QMessageBox::Ok,
                    this);
    box.exec();
}

std::optional<std::string> DiagramWindow::ChooseSaveFile(const FileDialogSetup &setup, const std::string &folder,
                                                         const std::string &proposedName)
{
    QString patterns = fromUtf8(setup.FilterPattern);
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    QFileDialog dialog(this, fromUtf8(setup.Title), fromUtf8(folder),
                       fromUtf8(setup.FilterDescription) + QStringLiteral(" (") + patterns + QStringLiteral(")"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(fromUtf8(setup.DefaultSuffix));
    if (!proposedName.empty())
        dialog.selectFile(fromUtf8(proposedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().front();
    exportFolder() = QFileInfo(chosen).absolutePath().toStdString();
    return chosen.toStdString();
}

void DiagramWindow::applyPlace(const WindowPlace &place)
{
    move(place.Left, place.Top);
    resize(std::max(400, place.Width), std::max(300, place.Height));
}

WindowPlace DiagramWindow::currentPlace() const
{
    WindowPlace place;
    place.Left = pos().x();
    place.Top = pos().y();
    place.Width = width();
    place.Height = height();
    place.Visible = isVisible();
    return place;
}

bool DiagramWindow::WritePng(const DiagramScene &scene, const std::string &path)
{
    return SaveScenePng(scene, QString::fromStdString(path));
}

void DiagramWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_visible)
        *m_visible = true;
    if (m_panel)
        m_panel->Layout(Canvas->width(), Canvas->height());
    if (RefreshRequested)
        RefreshRequested();
}

void DiagramWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (m_visible)
        *m_visible = false;
}

} // namespace velmora

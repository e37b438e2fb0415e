// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractScrollArea>

namespace velmora {

class MainController;

// CheckListBox1: owner-drawn rows of check box, 13-pixel colour swatch and
// name ("# " before modified profiles), read from the controller.
class CheckListBox : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit CheckListBox(MainController &controller, QWidget *parent = nullptr);

    // Repaint after the controller's rows or selection changed.
    void refresh();
    int rowHeight() const;
    // Rectangle of a row's check box in viewport coordinates.
    QRect checkBoxRect(int row) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    int rowAt(int y) const;
    void updateScrollBar();
    void ensureVisible(int row);

    MainController &m_controller;
};

} // namespace velmora

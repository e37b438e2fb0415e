// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QListWidget;
class QSplitter;

namespace velmora {

// The profile information window "Profil-Information  / Fehlerliste": the
// characteristics of the selected profile on the left, its errors in red on
// the right.
class TForm3 : public QWidget
{
    Q_OBJECT
public:
    explicit TForm3(QWidget *parent = nullptr);

    QListWidget *ListBox1 = nullptr;
    QListWidget *ListBox2 = nullptr;
    QSplitter *Splitter1 = nullptr;

    // Fills both lists; does nothing while the window is hidden.
    void Refresh();
    // Supplies the lines of both lists (characteristics, errors).
    std::function<std::pair<std::vector<std::string>, std::vector<std::string>>()> Lines;

protected:
    bool event(QEvent *event) override;
};

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tform3.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QSplitter>

namespace velmora {

TForm3::TForm3(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Profil-Information  / Fehlerliste"));
    QFont f = font();
    f.setBold(true);
    f.setPixelSize(11);
    ListBox1 = new QListWidget;
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setFont(f);
    ListBox2 = new QListWidget;
    ListBox2->setObjectName(QStringLiteral("ListBox2"));
    ListBox2->setFont(f);
    QPalette red = ListBox2->palette();
    red.setColor(QPalette::Text, Qt::red);
    ListBox2->setPalette(red);
    Splitter1 = new QSplitter(Qt::Horizontal);
    Splitter1->addWidget(ListBox1);
    Splitter1->addWidget(ListBox2);
    Splitter1->setHandleWidth(5);
    Splitter1->setSizes({217, 640});
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Splitter1);
    resize(862, 204);
}

void TForm3::Refresh()
{
    if (!isVisible() || !Lines)
        return;
    const auto [left, right] = Lines();
    ListBox1->clear();
    for (const std::string &l : left)
        ListBox1->addItem(QString::fromStdString(l));
    ListBox2->clear();
    for (const std::string &l : right)
        ListBox2->addItem(QString::fromStdString(l));
}

bool TForm3::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)
        Refresh();
    return QWidget::event(event);
}

} // namespace velmora

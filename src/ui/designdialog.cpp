// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/designdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {

DesignDialog::DesignDialog(const DesignDialogSetup &setup, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QString::fromStdString(setup.title));
    auto *layout = new QVBoxLayout(this);
    if (!setup.note.empty()) {
        auto *note = new QLabel(QString::fromStdString(setup.note));
        note->setWordWrap(true);
        note->setMinimumWidth(360);
        layout->addWidget(note);
    }
    auto *form = new QFormLayout;
    for (const DialogChoice &c : setup.choices) {
        auto *box = new QComboBox;
        for (const std::string &o : c.options)
            box->addItem(QString::fromStdString(o));
        box->setCurrentIndex(c.selected);
        form->addRow(QString::fromStdString(c.label), box);
        Choices.append(box);
    }
    for (const DialogField &f : setup.fields) {
        auto *edit = new QLineEdit(QString::fromStdString(f.text));
        form->addRow(QString::fromStdString(f.label), edit);
        Fields.append(edit);
    }
    layout->addLayout(form);
    auto *buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Abbruch"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    if (!Fields.isEmpty()) {
        Fields.front()->setFocus();
        Fields.front()->selectAll();
    }
}

DesignDialogAnswer DesignDialog::answer() const
{
    DesignDialogAnswer a;
    for (const QComboBox *box : Choices)
        a.choices.push_back(box->currentIndex());
    for (const QLineEdit *edit : Fields)
        a.fields.push_back(edit->text().toStdString());
    return a;
}

void QtDesignView::ShowDesignDialog(const DesignDialogSetup &setup,
                                    const std::function<bool(const DesignDialogAnswer &)> &accept)
{
    DesignDialog dialog(setup, m_parent);
    // OK with entries that do not work keeps the dialog open
    while (dialog.exec() == QDialog::Accepted) {
        if (accept(dialog.answer()))
            break;
    }
}

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/designview.h"

#include <QDialog>
#include <QList>

class QComboBox;
class QLineEdit;

namespace velmora {

// One dialog of the design operations, built from its setup: the note, a
// drop-down list per choice and a number field per field, OK and "Abbruch".
class DesignDialog : public QDialog
{
    Q_OBJECT
public:
    DesignDialog(const DesignDialogSetup &setup, QWidget *parent = nullptr);

    DesignDialogAnswer answer() const;
    QList<QComboBox *> Choices;
    QList<QLineEdit *> Fields;
};

// DesignView on the screen: the dialogs open modally over `parent`.
class QtDesignView : public DesignView
{
public:
    explicit QtDesignView(QWidget *parent)
        : m_parent(parent)
    {
    }
    void ShowDesignDialog(const DesignDialogSetup &setup,
                          const std::function<bool(const DesignDialogAnswer &)> &accept) override;

private:
    QWidget *m_parent;
};

} // namespace velmora

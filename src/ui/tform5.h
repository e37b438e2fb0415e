// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace velmora {

// The information window: product, version, credits and the usage note.
class TForm5 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm5(QWidget *parent = nullptr);

    QPlainTextEdit *Memo1 = nullptr;
};

} // namespace velmora

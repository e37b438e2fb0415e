// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFocusEvent>
#include <QLineEdit>

namespace velmora {

// A one-line field that reports leaving it for another control of the window
// ("exit"). Losing the focus to a message box or another window is no exit,
// so a message about the field cannot start the field's command again.
class EditField : public QLineEdit
{
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

    void setAlarm(bool on)
    {
        setStyleSheet(on ? QStringLiteral("QLineEdit { background: #ff4040; }") : QString());
    }

signals:
    void exited();

protected:
    void focusOutEvent(QFocusEvent *event) override
    {
        QLineEdit::focusOutEvent(event);
        if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
            emit exited();
    }
};

} // namespace velmora

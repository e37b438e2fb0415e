// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tform5.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace velmora {

TForm5::TForm5(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Information"));
    Memo1 = new QPlainTextEdit;
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    QFont f = Memo1->font();
    f.setPixelSize(16);
    Memo1->setFont(f);
    Memo1->setPlainText(QStringLiteral(
        "Velmora " VELMORA_VERSION " (Dezember 2026)\n"
        "Profil-Editor mit Profilrechnung (Panelverfahren und Grenzschicht)\n\n"
        "Entwickelt vom Velmora-Team.\n\n"
        "Hinweis: Diese Software ist für den Modellbau bestimmt. Ihre Ergebnisse dürfen nicht für "
        "die Auslegung von Luftfahrzeugen verwendet werden, die Personen befördern. "
        "Eine Haftung wird nicht übernommen."));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo1);
    resize(706, 273);
}

} // namespace velmora

// SPDX-License-Identifier: GPL-3.0-or-later
// Build helper: turns the help pages (HTML) into the PDF documents that
// "Hilfe öffnen (F1)" and "Editor Beispiel" open.
#include <QFile>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "Aufruf: velmora-help SEITE.html DOKUMENT.pdf\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "Datei %s kann nicht geöffnet werden\n", argv[1]);
        return 1;
    }
    QTextDocument document;
    document.setHtml(QString::fromUtf8(in.readAll()));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(10);
    document.setDefaultFont(font);

    QPdfWriter pdf(QString::fromLocal8Bit(argv[2]));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setResolution(300);
    pdf.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
    pdf.setCreator(QStringLiteral("Velmora"));
    document.print(&pdf);
    return 0;
}

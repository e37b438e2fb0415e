// SPDX-License-Identifier: GPL-3.0-or-later
// Build helper: turns the help pages (HTML) into the PDF documents that
// "Hilfe öffnen (F1)" and "Editor Beispiel" open.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextDocument>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "Aufruf: velmora-help SEITE.html DOKUMENT.pdf [BILDORDNER]\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "Datei %s kann nicht geöffnet werden\n", argv[1]);
        return 1;
    }
    // pictures (<img src="NAME.png">) come from the given folder, else from
    // beside the page; printing works on a copy of the document that forgets
    // its base URL, so relative names are made absolute here
    const QString pictures = argc == 4 ? QString::fromLocal8Bit(argv[3]) : QFileInfo(in).absolutePath();
    QString html = QString::fromUtf8(in.readAll());
    html.replace(QRegularExpression(QStringLiteral("src=\"(?![a-zA-Z]+:|/)")),
                 QStringLiteral("src=\"") + QDir(pictures).absolutePath() + QLatin1Char('/'));
    QTextDocument document;
    document.setHtml(html);
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

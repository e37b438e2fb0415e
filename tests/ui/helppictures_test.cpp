// SPDX-License-Identifier: GPL-3.0-or-later
// The help documents carry pictures the build takes of the real windows.
#include <QColor>
#include <QFile>
#include <QImage>
#include <QSet>

#include <gtest/gtest.h>

namespace {

// Distinct colours on a coarse grid: a blank or failed grab has one or two.
int coloursSampled(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

TEST(HelpPictures, EveryWindowPictureIsAFilledPng)
{
    for (const char *name : {"hauptfenster.png", "profileigenschaften.png", "polaren.png"}) {
        SCOPED_TRACE(name);
        const QString path = QStringLiteral(VELMORA_HELP_PICTURES_DIR "/") + QLatin1String(name);
        QImage image;
        ASSERT_TRUE(image.load(path, "PNG"));
        EXPECT_GE(image.width(), 400);
        EXPECT_GE(image.height(), 200);
        EXPECT_GE(coloursSampled(image), 8);
    }
}

TEST(HelpPictures, MainWindowPictureShowsTheSelectedProfileInItsColour)
{
    // NACA2412 (the second colour, green) is selected: its points are drawn
    // as filled circles, far more green than its outline alone
    QImage image;
    ASSERT_TRUE(image.load(QStringLiteral(VELMORA_HELP_PICTURES_DIR "/hauptfenster.png"), "PNG"));
    int green = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.green() > 100 && c.red() < 60 && c.blue() < 60)
                ++green;
        }
    EXPECT_GT(green, 4000); // a thin outline alone stays far below
}

TEST(HelpPictures, HelpDocumentEmbedsTheWindowPictures)
{
    QFile pdf(QStringLiteral(VELMORA_HELP_DIR "/Editor Hilfe.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_GE(bytes.count("/Subtype /Image"), 3);
}

} // namespace

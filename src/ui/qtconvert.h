// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/codepage.h"
#include "plot/colour.h"

#include <QColor>
#include <QString>

#include <string>

namespace velmora {

inline QColor toQColor(TColor c)
{
    const TColor rgb = ResolveColour(c);
    return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

inline TColor fromQColor(const QColor &c)
{
    return RgbColor(c.red(), c.green(), c.blue());
}

// Profile names and titles are Windows-1252 bytes; everything else is UTF-8.
inline QString fromCp1252(const std::string &bytes)
{
    return QString::fromStdString(cp1252ToUtf8(bytes));
}

inline QString fromUtf8(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

// Messages break lines with "\r".
inline QString messageText(const std::string &utf8)
{
    QString s = QString::fromStdString(utf8);
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

} // namespace velmora

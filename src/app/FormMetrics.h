// The designer's units and fonts of the main window's controls: twips turned
// into pixels at 96 dots per inch, and fonts named with their point size.
#pragma once

#include <QFont>
#include <QString>

class FormMetrics
{
public:
    static constexpr int px(int twips) { return twips / 15; }

    static QFont font(const QString &family, qreal points, bool bold = false)
    {
        QFont font(family);
        font.setPointSizeF(points);
        font.setBold(bold);
        return font;
    }
};

#include "Typography.h"

#include <QFontInfo>
#include <QGuiApplication>

QFont Typography::font(int pixelSize, bool codes)
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(pixelSize);
    if (codes) {
        // By the family "monospace" resolves to: an alias is no family of the font database, and a list
        // that begins with one begins at the next.
        QStringList families = font.families();
        families.prepend(QFontInfo(QFont(QStringLiteral("monospace"))).family());
        font.setFamilies(families);
    }
    return font;
}

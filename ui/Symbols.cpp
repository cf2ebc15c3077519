#include "Symbols.h"

#include "ResourcePaths.h"

#include <QFile>
#include <QFontDatabase>
#include <QJsonDocument>
#include <QJsonObject>

Symbols::Symbols(QObject *parent)
    : QObject(parent)
{
    QFile table(ResourcePaths::symbolTable());
    if (table.open(QIODevice::ReadOnly)) {
        const QJsonObject rows = QJsonDocument::fromJson(table.readAll()).object();
        for (auto row = rows.begin(); row != rows.end(); ++row)
            m_codePoints.insert(row.key(), char32_t(row.value().toInteger()));
    }
    // The font is registered once per process; later instances find the same family.
    static const QString family = [] {
        const int id = QFontDatabase::addApplicationFont(ResourcePaths::symbolFont());
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QString() : families.constFirst();
    }();
    m_fontFamily = family;
}

QString Symbols::glyph(const QString &name) const
{
    const char32_t point = m_codePoints.value(name);
    return point ? QString::fromUcs4(&point, 1) : QString();
}

bool Symbols::has(const QString &name) const { return m_codePoints.contains(name); }

bool Symbols::badged(const QString &name) const
{
    return has(name) && name.endsWith(QLatin1String(".badge"));
}

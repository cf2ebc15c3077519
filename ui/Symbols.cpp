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
        for (auto row = rows.begin(); row != rows.end(); ++row) {
            if (row.value().isObject()) {
                const QJsonObject drawn = row.value().toObject();
                m_vectors.insert(row.key(), {drawn.value(QLatin1String("path")).toString(),
                                             drawn.value(QLatin1String("evenOdd")).toBool()});
            } else {
                m_codePoints.insert(row.key(), char32_t(row.value().toInteger()));
            }
        }
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

bool Symbols::has(const QString &name) const
{
    return m_codePoints.contains(name) || m_vectors.contains(name);
}

bool Symbols::badged(const QString &name) const
{
    return has(name) && name.endsWith(QLatin1String(".badge"));
}

QUrl Symbols::picture(const QString &name, const QColor &color) const
{
    const auto drawn = m_vectors.constFind(name);
    if (drawn == m_vectors.cend())
        return {};
    const QString svg =
        QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 24 24\">"
                       "<path fill=\"%1\" fill-opacity=\"%2\" fill-rule=\"%3\" d=\"%4\"/></svg>")
            .arg(color.name(QColor::HexRgb))
            .arg(color.alphaF())
            .arg(drawn->evenOdd ? QLatin1String("evenodd") : QLatin1String("nonzero"))
            .arg(drawn->path);
    return QUrl(QStringLiteral("data:image/svg+xml;base64,") + QString::fromLatin1(svg.toUtf8().toBase64()));
}

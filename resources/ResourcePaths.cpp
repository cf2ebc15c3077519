#include "ResourcePaths.h"

namespace ResourcePaths {

QString stringTable(const QString &language)
{
    QString name = language;
    name.replace(QLatin1Char('-'), QLatin1Char('_'));
    return QStringLiteral(":/i18n/vorna_%1.qm").arg(name);
}

QString symbolTable() { return QStringLiteral(":/symbols/symbols.json"); }

QString symbolFont() { return QStringLiteral(":/symbols/materialdesignicons-webfont.ttf"); }

} // namespace ResourcePaths

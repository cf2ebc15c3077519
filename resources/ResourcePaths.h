#pragma once

#include <QString>

// Where the bundled data lives inside the app's resources.
namespace ResourcePaths {

QString stringTable(const QString &language); // ":/i18n/vorna_en.qm"
QString symbolTable();
QString symbolFont();

} // namespace ResourcePaths

#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonValue>
#include <QObject>
#include <QQmlEngine>
#include <QString>
#include <QStringList>

#include <optional>

// An airport's position, city (also its English name) and two-letter country code.
struct AirportCoordinate
{
    double latitude = 0;
    double longitude = 0;
    QString city;
    std::optional<QString> country;

    static AirportCoordinate fromJson(const QJsonValue &value);
};

// The bundled airport table, by upper-case ICAO code.
namespace Airports {

using Table = QHash<QString, AirportCoordinate>;

// Loaded once, on first use from any thread; empty when the bundled file is missing or malformed.
const Table &all();
// One table from its JSON bytes; any malformed entry leaves it empty.
Table decode(const QByteArray &bytes);

} // namespace Airports

// Airport names in the interface language, and country flags.
namespace AirportNames {

// ICAO code -> [Simplified Chinese, Hong Kong Traditional, Taiwan Traditional]; shorter lists allowed.
using Table = QHash<QString, QStringList>;

// Loaded once, on first use from any thread; empty when the bundled file is missing or malformed.
const Table &chinese();
Table decode(const QByteArray &bytes);

// In the current language (AppLanguage::current()).
std::optional<QString> name(const QString &code);
std::optional<QString> flag(const QString &code);

// Of a place's [Simplified Chinese, Hong Kong, Taiwan] names, the one of a language ("en", "zh-HK",
// "zh-TW", "zh-Hans"); none in English, or where the list has none for the language.
std::optional<QString> inLanguage(const QStringList &names, const QString &language);

// The same for a given language ("en", "zh-HK", "zh-TW", "zh-Hans") and tables.
std::optional<QString> name(const QString &code, const QString &language, const Table &names,
                            const Airports::Table &airports);
std::optional<QString> flag(const QString &code, const QString &language, const Airports::Table &airports);

} // namespace AirportNames

// Views reach the names and flags through this singleton: text: AirportNames.name("ZBAA"). A code
// without an answer gives the empty text.
class AirportNamesLookup : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(AirportNames)
    QML_SINGLETON

public:
    using QObject::QObject;

    Q_INVOKABLE QString name(const QString &code) const;
    Q_INVOKABLE QString flag(const QString &code) const;
};

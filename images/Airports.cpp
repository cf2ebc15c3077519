#include "Airports.h"

#include "AppLanguage.h"
#include "Json.h"

#include <QFile>

namespace {

QByteArray resource(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Spaces and tabs only: a code never spans lines.
QString trimmedCode(const QString &code)
{
    qsizetype start = 0;
    qsizetype end = code.size();
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (start < end && blank(code.at(start)))
        ++start;
    while (end > start && blank(code.at(end - 1)))
        --end;
    return code.mid(start, end - start).toUpper();
}

bool isAsciiLetters(const QString &text, qsizetype length)
{
    if (text.size() != length)
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('A') || c > QLatin1Char('Z'))
            return false;
    }
    return true;
}

// A JSON object of rows by airport code; anything unreadable gives an empty table, never half a one.
template <typename Row, typename Read>
QHash<QString, Row> decodeByCode(const QByteArray &bytes, Read read)
{
    QHash<QString, Row> table;
    try {
        const QJsonValue root = Json::parse(bytes);
        if (!root.isObject())
            return {};
        const QJsonObject object = root.toObject();
        table.reserve(object.size());
        for (auto it = object.begin(); it != object.end(); ++it)
            table.insert(it.key(), read(it.value(), it.key()));
    } catch (const DecodeError &) {
        return {};
    }
    return table;
}

} // namespace

AirportCoordinate AirportCoordinate::fromJson(const QJsonValue &value)
{
    const JsonFields fields(value, false);
    return {fields.number(u"latitude"), fields.number(u"longitude"), fields.string(u"city"),
            fields.optionalString(u"country")};
}

namespace Airports {

Table decode(const QByteArray &bytes)
{
    return decodeByCode<AirportCoordinate>(
        bytes, [](const QJsonValue &value, const QString &) { return AirportCoordinate::fromJson(value); });
}

const Table &all()
{
    static const Table table = decode(resource(QStringLiteral(":/airports/airports.json")));
    return table;
}

} // namespace Airports

namespace AirportNames {

Table decode(const QByteArray &bytes)
{
    return decodeByCode<QStringList>(bytes, [](const QJsonValue &value, const QString &code) {
        if (!value.isArray())
            throw DecodeError(code + QStringLiteral(" is not a list"));
        QStringList names;
        for (const QJsonValue &item : value.toArray())
            names.append(JsonFields::toString(item, code));
        return names;
    });
}

const Table &chinese()
{
    static const Table table = decode(resource(QStringLiteral(":/airports/airport-names.json")));
    return table;
}

std::optional<QString> inLanguage(const QStringList &names, const QString &language)
{
    if (language == QLatin1String("en"))
        return std::nullopt;
    // Each language reads its own position only: a Hong Kong reader never gets the mainland form.
    const qsizetype position = language == QLatin1String("zh-HK")   ? 1
                               : language == QLatin1String("zh-TW") ? 2
                                                                    : 0;
    if (position < names.size() && !names.at(position).isEmpty())
        return names.at(position);
    return std::nullopt;
}

std::optional<QString> name(const QString &code, const QString &language, const Table &names,
                            const Airports::Table &airports)
{
    const QString key = trimmedCode(code);
    if (!isAsciiLetters(key, 4))
        return std::nullopt;
    if (const auto entry = names.constFind(key); entry != names.constEnd()) {
        if (auto chinese = inLanguage(*entry, language))
            return chinese;
    }
    const auto airport = airports.constFind(key);
    if (airport != airports.constEnd() && !airport->city.isEmpty())
        return airport->city;
    return std::nullopt;
}

std::optional<QString> flag(const QString &code, const QString &language, const Airports::Table &airports)
{
    const auto airport = airports.constFind(trimmedCode(code));
    if (airport == airports.constEnd() || !airport->country)
        return std::nullopt;
    QString country = airport->country->toUpper();
    if (!isAsciiLetters(country, 2))
        return std::nullopt;
    if (language == QLatin1String("zh-Hans") && country == QLatin1String("TW"))
        country = QStringLiteral("CN");
    // Regional indicator symbols: "A" + 127397 is U+1F1E6.
    constexpr char32_t offset = 127397;
    const char32_t scalars[2] = {char32_t(country.at(0).unicode()) + offset,
                                 char32_t(country.at(1).unicode()) + offset};
    return QString::fromUcs4(scalars, 2);
}

std::optional<QString> name(const QString &code)
{
    return name(code, AppLanguage::current(), chinese(), Airports::all());
}

std::optional<QString> flag(const QString &code)
{
    return flag(code, AppLanguage::current(), Airports::all());
}

} // namespace AirportNames

QString AirportNamesLookup::name(const QString &code) const
{
    return AirportNames::name(code).value_or(QString());
}

QString AirportNamesLookup::flag(const QString &code) const
{
    return AirportNames::flag(code).value_or(QString());
}

#include "Json.h"

#include <QJsonDocument>
#include <QJsonParseError>

#include <cmath>

namespace {

// Only these four around it: QByteArray::trimmed would also take a form feed or a vertical tab, which make
// the answer no JSON at all.
bool isNull(QByteArrayView bytes)
{
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!bytes.isEmpty() && space(bytes.front()))
        bytes = bytes.sliced(1);
    while (!bytes.isEmpty() && space(bytes.back()))
        bytes.chop(1);
    return bytes == "null";
}

} // namespace

namespace Json {

QString snakeCase(QStringView name)
{
    QString snake;
    snake.reserve(name.size() + 4);
    for (const QChar c : name) {
        if (c.isUpper()) {
            snake += QLatin1Char('_');
            snake += c.toLower();
        } else {
            snake += c;
        }
    }
    return snake;
}

QJsonValue parse(const QByteArray &bytes)
{
    if (isNull(bytes))
        return QJsonValue::Null;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        throw DecodeError(QStringLiteral("not JSON: %1").arg(error.errorString()));
    if (document.isArray())
        return document.array();
    return document.object();
}

QByteArray compact(const QJsonValue &value)
{
    if (value.isArray())
        return QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact);
    if (value.isObject())
        return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    return "null";
}

} // namespace Json

JsonFields::JsonFields(const QJsonValue &value, bool snakeCaseKeys)
    : m_snakeCaseKeys(snakeCaseKeys)
{
    if (!value.isObject())
        throw DecodeError(QStringLiteral("a record is not a JSON object"));
    m_object = value.toObject();
}

QJsonValue JsonFields::optional(QStringView name) const
{
    QJsonValue value = m_object.value(name);
    if ((value.isUndefined() || value.isNull()) && m_snakeCaseKeys) {
        const QString snake = Json::snakeCase(name);
        if (snake != name)
            value = m_object.value(snake);
    }
    return value.isNull() ? QJsonValue(QJsonValue::Undefined) : value;
}

QJsonValue JsonFields::required(QStringView name) const
{
    const QJsonValue value = optional(name);
    if (value.isUndefined())
        throw DecodeError(QStringLiteral("%1 is missing").arg(name));
    return value;
}

QJsonArray JsonFields::array(QStringView name) const
{
    const QJsonValue value = required(name);
    if (!value.isArray())
        throw DecodeError(QStringLiteral("%1 is not a list").arg(name));
    return value.toArray();
}

QString JsonFields::toString(const QJsonValue &value, QStringView where)
{
    if (!value.isString())
        throw DecodeError(QStringLiteral("%1 is not text").arg(where));
    return value.toString();
}

double JsonFields::toNumber(const QJsonValue &value, QStringView where)
{
    if (!value.isDouble())
        throw DecodeError(QStringLiteral("%1 is not a number").arg(where));
    return value.toDouble();
}

qint64 JsonFields::toInteger(const QJsonValue &value, QStringView where)
{
    const double number = toNumber(value, where);
    // Qt keeps whole JSON numbers exactly; anything else must still be a whole number in range.
    const qint64 whole = value.toInteger(std::numeric_limits<qint64>::min());
    if (double(whole) == number)
        return whole;
    if (std::trunc(number) != number || !(std::fabs(number) < 9.2e18))
        throw DecodeError(QStringLiteral("%1 is not a whole number").arg(where));
    return qint64(number);
}

bool JsonFields::toBoolean(const QJsonValue &value, QStringView where)
{
    if (!value.isBool())
        throw DecodeError(QStringLiteral("%1 is not true or false").arg(where));
    return value.toBool();
}

QString JsonFields::string(QStringView name) const { return toString(required(name), name); }

std::optional<QString> JsonFields::optionalString(QStringView name) const
{
    const QJsonValue value = optional(name);
    return value.isUndefined() ? std::nullopt : std::optional(toString(value, name));
}

double JsonFields::number(QStringView name) const { return toNumber(required(name), name); }

std::optional<double> JsonFields::optionalNumber(QStringView name) const
{
    const QJsonValue value = optional(name);
    return value.isUndefined() ? std::nullopt : std::optional(toNumber(value, name));
}

qint64 JsonFields::integer(QStringView name) const { return toInteger(required(name), name); }

std::optional<qint64> JsonFields::optionalInteger(QStringView name) const
{
    const QJsonValue value = optional(name);
    return value.isUndefined() ? std::nullopt : std::optional(toInteger(value, name));
}

bool JsonFields::boolean(QStringView name) const { return toBoolean(required(name), name); }

std::optional<bool> JsonFields::optionalBoolean(QStringView name) const
{
    const QJsonValue value = optional(name);
    return value.isUndefined() ? std::nullopt : std::optional(toBoolean(value, name));
}

QList<QString> JsonFields::stringList(QStringView name) const
{
    QList<QString> items;
    for (const QJsonValue &item : array(name))
        items.append(toString(item, name));
    return items;
}

std::optional<QList<QString>> JsonFields::optionalStringList(QStringView name) const
{
    if (optional(name).isUndefined())
        return std::nullopt;
    return stringList(name);
}

QList<double> JsonFields::numberList(QStringView name) const
{
    QList<double> items;
    for (const QJsonValue &item : array(name))
        items.append(toNumber(item, name));
    return items;
}

#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>

#include <exception>
#include <optional>

// Strict reading of the member service's JSON. A record reads its fields by name; each key is also
// accepted in snake case ("heldAt" or "held_at"). A required field that is missing, null or of another
// type, or an optional field of another type, fails the whole answer with DecodeError; `decode` turns
// that into the 502 the user sees. Integers must be whole numbers.
class DecodeError : public std::exception
{
public:
    explicit DecodeError(QString where)
        : m_where(std::move(where).toUtf8())
    {
    }
    const char *what() const noexcept override { return m_where.constData(); }

private:
    QByteArray m_where;
};

namespace Json {

// The snake-case form of a camel-case name: "departureCode" -> "departure_code".
QString snakeCase(QStringView name);

// A whole JSON text; a top-level null (with JSON's white space around it, no other) is a value: Qt's
// parser refuses it. Throws DecodeError.
QJsonValue parse(const QByteArray &bytes);
QByteArray compact(const QJsonValue &value);

} // namespace Json

class JsonFields
{
public:
    // The value must be an object.
    explicit JsonFields(const QJsonValue &value, bool snakeCaseKeys = true);

    QString string(QStringView name) const;
    std::optional<QString> optionalString(QStringView name) const;
    double number(QStringView name) const;
    std::optional<double> optionalNumber(QStringView name) const;
    qint64 integer(QStringView name) const;
    std::optional<qint64> optionalInteger(QStringView name) const;
    bool boolean(QStringView name) const;
    std::optional<bool> optionalBoolean(QStringView name) const;

    // A nested record: T::fromJson(const QJsonValue &).
    template <typename T>
    T record(QStringView name) const
    {
        return T::fromJson(required(name));
    }
    template <typename T>
    std::optional<T> optionalRecord(QStringView name) const
    {
        const QJsonValue value = optional(name);
        if (value.isUndefined())
            return std::nullopt;
        return T::fromJson(value);
    }

    // A list of records, in the service's order.
    template <typename T>
    QList<T> list(QStringView name) const
    {
        return listOf<T>(array(name));
    }
    template <typename T>
    std::optional<QList<T>> optionalList(QStringView name) const
    {
        const QJsonValue value = optional(name);
        if (value.isUndefined())
            return std::nullopt;
        if (!value.isArray())
            throw DecodeError(QStringLiteral("%1 is not a list").arg(name));
        return listOf<T>(value.toArray());
    }

    QList<QString> stringList(QStringView name) const;
    std::optional<QList<QString>> optionalStringList(QStringView name) const;
    QList<double> numberList(QStringView name) const;

    // The raw value of a key (undefined when it is missing or null).
    QJsonValue optional(QStringView name) const;
    QJsonValue required(QStringView name) const;
    QJsonArray array(QStringView name) const;

    // Reading single values, for lists of plain values and for the reads above.
    static QString toString(const QJsonValue &value, QStringView where);
    static double toNumber(const QJsonValue &value, QStringView where);
    static qint64 toInteger(const QJsonValue &value, QStringView where);
    static bool toBoolean(const QJsonValue &value, QStringView where);

private:
    template <typename T>
    static QList<T> listOf(const QJsonArray &array)
    {
        QList<T> items;
        items.reserve(array.size());
        for (const QJsonValue &item : array)
            items.append(T::fromJson(item));
        return items;
    }

    QJsonObject m_object;
    bool m_snakeCaseKeys;
};

// Writing a record: optional fields are left out when they are none.
class JsonWriter
{
public:
    template <typename T>
    JsonWriter &set(const QString &key, const T &value)
    {
        m_object.insert(key, value);
        return *this;
    }
    template <typename T>
    JsonWriter &setOptional(const QString &key, const std::optional<T> &value)
    {
        if (value)
            m_object.insert(key, *value);
        return *this;
    }
    QJsonObject object() const { return m_object; }

private:
    QJsonObject m_object;
};

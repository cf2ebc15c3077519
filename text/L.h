#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <concepts>
#include <type_traits>

// Every visible text is a Simplified Chinese key; `L` turns a key and its arguments into the text of the
// current language. Keys use "%@" once per argument; "%%" is a literal percent sign.

namespace Text {

// The current language's text for a key, or the key itself when no table has it.
QString lookup(const QString &key);
// The same for a key that holds a count: a table may give one form per plural category of its language
// ("%@ landing", "%@ landings"); a table with a single text for the key gives that.
QString lookup(const QString &key, qint64 count);

// Replaces each "%@" with the next argument and "%%" with "%". Nothing else is a placeholder, so a table
// entry with a stray "%d" or more "%@" than arguments cannot read past the arguments: a missing one
// is empty.
QString substitute(const QString &format, const QStringList &arguments);

// The plain textual form of an argument: integers as digits without grouping, floating-point numbers in
// their shortest round-trip form with ".0" on whole values (250 shows as "250.0").
QString describe(double value);
inline QString describe(const QString &value) { return value; }
inline QString describe(QStringView value) { return value.toString(); }
inline QString describe(const char *value) { return QString::fromUtf8(value); }
inline QString describe(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }
template <std::integral T>
requires(!std::same_as<T, bool> && !std::same_as<T, char>) QString describe(T value)
{
    return QString::number(value);
}
inline QString describe(float value) { return describe(double(value)); }

// Marks a key that is looked up later (kept in a table, handed to a view), so the key check finds it.
#define TEXT_KEY(text) QStringLiteral(text)

} // namespace Text

template <typename... Args>
QString L(const QString &key, const Args &...arguments)
{
    return Text::substitute(Text::lookup(key), QStringList{Text::describe(arguments)...});
}

// `L` for a key whose words follow a count ("1 landing", "3 landings"); the count is given first, and
// again among the arguments where the text shows it.
template <typename... Args>
QString Ln(const QString &key, qint64 count, const Args &...arguments)
{
    return Text::substitute(Text::lookup(key, count), QStringList{Text::describe(arguments)...});
}

#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTimeZone>

#include <optional>

// Display texts of the member service's times and durations.
namespace Display {

// The text of a missing or unusable value: U+2014 EM DASH.
inline const QString missing = QStringLiteral("\u2014");

// A Unix time in seconds, or in milliseconds from 1e12 on, as the locale's medium date with hours and
// minutes. Missing, non-positive, not-a-number and out-of-range values give "—".
QString dateTime(std::optional<double> unixTime);
QString dateTime(std::optional<double> unixTime, const QLocale &locale, const QTimeZone &zone);

// A time as the locale's numeric date and short time ("12/7/26 6:32 AM", "2026/12/7 06:32"), in the local
// time zone.
QString shortDateTime(const QDateTime &time);

// Minutes as "%@ 小时 %@ 分", rounded half away from zero, never negative. Not-a-number, infinite and
// out-of-range values give "—".
QString duration(std::optional<double> minutes);

// The locale dates are written in: the user's regional setting, or, where there is none (the C locale),
// the app's own language.
QLocale locale();

// The locale's medium-length date ("May 1, 2024", "2024年5月1日") followed by its short time.
QString dateTimeFormat(const QLocale &locale);
// The medium-length date alone: the month abbreviated, no weekday.
QString mediumDateFormat(const QLocale &locale);
// The locale's time format as Qt can write it: a day period Qt does not know ("B", Taiwan's) is written
// as the locale's AM/PM text.
QString timeFormat(const QLocale &locale, QLocale::FormatType type);
// The standard time: hours, minutes and seconds, without the zone ("3:08:15 PM", "15:08:15").
QString standardTimeFormat(const QLocale &locale);

} // namespace Display

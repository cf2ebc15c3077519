#include "Display.h"

#include "AppLanguage.h"
#include "L.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace Display {

QString mediumDateFormat(const QLocale &locale)
{
    // The long date without its weekday and with the month abbreviated is the medium date of most
    // locales; Qt has no medium format of its own.
    QString date = locale.dateFormat(QLocale::LongFormat);
    static const QRegularExpression weekday(QStringLiteral("[\\s,，、]*dddd[\\s,，、]*"));
    date.replace(weekday, QStringLiteral(" "));
    date.replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
    return date.trimmed();
}

namespace {

QString writableFormat(const QString &format)
{
    // Taiwan's times are written "Bh:mm": Qt 6.4 does not know the day period "B" (nor "b") and would
    // write the letter itself, so the locale's AM/PM text ("上午", "下午") stands in for it. Quoted
    // literal text is left alone.
    QString written;
    written.reserve(format.size() + 2);
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || (c != QLatin1Char('B') && c != QLatin1Char('b'))) {
            written.append(c);
            continue;
        }
        while (i + 1 < format.size() && format.at(i + 1) == c)
            ++i;
        written.append(QStringLiteral("AP"));
    }
    return written;
}

} // namespace

QString timeFormat(const QLocale &locale, QLocale::FormatType type)
{
    return writableFormat(locale.timeFormat(type));
}

QString standardTimeFormat(const QLocale &locale)
{
    // The long time is the standard one with the zone's name ("t", "[t]") added.
    QString time = timeFormat(locale, QLocale::LongFormat);
    static const QRegularExpression zone(QStringLiteral("\\s*\\[?t+\\]?\\s*"));
    time.replace(zone, QStringLiteral(" "));
    return time.trimmed();
}

QString dateTimeFormat(const QLocale &locale)
{
    return mediumDateFormat(locale) + QLatin1Char(' ') + timeFormat(locale, QLocale::ShortFormat);
}

QString dateTime(std::optional<double> unixTime, const QLocale &locale, const QTimeZone &zone)
{
    if (!unixTime || !(*unixTime > 0) || !std::isfinite(*unixTime))
        return missing;
    const double seconds = *unixTime >= 1e12 ? *unixTime / 1000 : *unixTime;
    // Beyond this many milliseconds the conversion to a whole number would overflow.
    if (seconds * 1000 >= 9.0e18)
        return missing;
    const QDateTime moment = QDateTime::fromMSecsSinceEpoch(qint64(seconds * 1000), zone);
    if (!moment.isValid())
        return missing;
    return locale.toString(moment, dateTimeFormat(locale));
}

QString shortDateTime(const QDateTime &time)
{
    const QLocale shown = locale();
    return shown.toString(time.toLocalTime(), shown.dateFormat(QLocale::ShortFormat) + QLatin1Char(' ')
                                                  + timeFormat(shown, QLocale::ShortFormat));
}

QLocale locale()
{
    const QLocale system;
    if (system.language() != QLocale::C)
        return system;
    const QString language = AppLanguage::current();
    return language == QLatin1String("en")      ? QLocale(QLocale::English, QLocale::UnitedStates)
           : language == QLatin1String("zh-HK") ? QLocale(QLocale::Chinese, QLocale::HongKong)
           : language == QLatin1String("zh-TW") ? QLocale(QLocale::Chinese, QLocale::Taiwan)
                                                : QLocale(QLocale::Chinese, QLocale::China);
}

QString dateTime(std::optional<double> unixTime)
{
    return dateTime(unixTime, locale(), QTimeZone::systemTimeZone());
}

QString duration(std::optional<double> minutes)
{
    if (!minutes || !std::isfinite(*minutes))
        return missing;
    const double rounded = std::round(*minutes);
    if (rounded >= 9.2e18)
        return missing;
    const qint64 whole = rounded < 0 ? 0 : qint64(rounded);
    return L(QStringLiteral("%@ 小时 %@ 分"), whole / 60, whole % 60);
}

} // namespace Display

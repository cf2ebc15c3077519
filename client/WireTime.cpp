#include "WireTime.h"

#include <QRegularExpression>

namespace WireTime {

std::optional<QDateTime> parse(const std::optional<QString> &text)
{
    if (!text)
        return std::nullopt;
    QString value = *text;
    // "\z", not "$": "$" also matches before a final line feed.
    static const QRegularExpression zone(QStringLiteral("(Z|[+-][0-9]{2}:[0-9]{2})\\z"));
    if (!zone.match(value).hasMatch())
        value += QLatin1Char('Z');

    // Internet date and time, with or without fractional seconds: the two forms the service writes.
    static const QRegularExpression form(QRegularExpression::anchoredPattern(
        u"([0-9]{4})-([0-9]{2})-([0-9]{2})T([0-9]{2}):([0-9]{2}):([0-9]{2})(?:\\.([0-9]+))?"
        u"(?:Z|([+-])([0-9]{2}):([0-9]{2}))"));
    const QRegularExpressionMatch match = form.match(value);
    if (!match.hasMatch())
        return std::nullopt;
    auto number = [&match](int group) { return match.capturedView(group).toInt(); };
    const QDate day(number(1), number(2), number(3));
    const int hour = number(4), minute = number(5), second = number(6);
    if (!day.isValid() || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    const QString fraction = (match.captured(7) + QStringLiteral("000")).left(3);
    const QTime time(hour, minute, second, fraction.toInt());

    int offsetSeconds = 0;
    if (match.hasCaptured(8)) {
        const int offsetHours = number(9), offsetMinutes = number(10);
        if (offsetHours > 23 || offsetMinutes > 59)
            return std::nullopt;
        offsetSeconds = (offsetHours * 60 + offsetMinutes) * 60;
        if (match.capturedView(8) == QLatin1String("-"))
            offsetSeconds = -offsetSeconds;
    }
    return QDateTime(day, time, Qt::OffsetFromUTC, offsetSeconds).toUTC();
}

} // namespace WireTime

#include "NoticeText.h"

#include "Display.h"
#include "Symbols.h"

#include <cmath>

namespace NoticeText {

QString title(const SiteNotice &notice)
{
    QString head;
    if (notice.kind == eventPublished)
        head = QStringLiteral("新活动");
    else if (notice.kind == pirepSubmitted)
        head = QStringLiteral("PIREP 提交成功");
    else if (notice.status == QLatin1String("approved"))
        head = QStringLiteral("PIREP 已批准");
    else
        head = QStringLiteral("PIREP 已拒绝");
    return head + QStringLiteral(" \u00B7 ") + notice.departure + QStringLiteral(" \u2192 ") + notice.arrival;
}

QString detail(const SiteNotice &notice)
{
    if (notice.reason)
        return *notice.reason;
    if (notice.eventAt)
        return *notice.eventAt;
    if (notice.kind == pirepSubmitted)
        return QStringLiteral("等待管理员审核");
    return {};
}

QString symbol(const SiteNotice &notice)
{
    return notice.kind == eventPublished ? SYMBOL("calendar") : SYMBOL("doc.text");
}

QString day(double occurredAt, const QLocale &locale, const QTimeZone &zone)
{
    // Beyond some 285 million years either way no 64-bit millisecond count holds the time.
    if (!std::isfinite(occurredAt) || std::fabs(occurredAt) >= 9.0e18)
        return Display::missing;
    const QDateTime moment = QDateTime::fromMSecsSinceEpoch(qint64(occurredAt), zone);
    if (!moment.isValid())
        return Display::missing;
    // The medium date of the locale, as the report times show it, without the time of day.
    return locale.toString(moment.date(), Display::mediumDateFormat(locale));
}

QString day(double occurredAt) { return day(occurredAt, Display::locale(), QTimeZone::systemTimeZone()); }

} // namespace NoticeText

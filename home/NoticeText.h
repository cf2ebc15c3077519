#pragma once

#include "CommunityRecords.h"

#include <QLocale>
#include <QString>
#include <QTimeZone>

// The display texts of a notice. Titles and details are fixed Chinese texts and service data, shown as they
// stand in every language; only the day follows the user's locale.
namespace NoticeText {

// A head chosen by kind and status, then " · " and the route "departure → arrival".
QString title(const SiteNotice &notice);
// The reason, else the event's start as sent, else "等待管理员审核" for a received report, else empty.
QString detail(const SiteNotice &notice);
// "calendar" for a new event, "doc.text" for everything about a report.
QString symbol(const SiteNotice &notice);
// The day a notice occurred (its milliseconds since 1970), as the locale's medium date without the time;
// "—" for a time no calendar can hold.
QString day(double occurredAt);
QString day(double occurredAt, const QLocale &locale, const QTimeZone &zone);

inline const QString eventPublished = QStringLiteral("event_published");
inline const QString pirepSubmitted = QStringLiteral("pirep_submitted");

} // namespace NoticeText

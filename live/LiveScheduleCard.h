#pragma once

#include "LiveScheduleRecords.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <QVariantMap>

// The colours of the Live pages' chips and routes that are not a status role of the theme.
enum class LiveTint { Approved, Ink, Muted, Slate };

// The texts of one official schedule's card.
namespace LiveScheduleCard {

// The callsign, "—" without one.
QString callsign(const LiveSchedule &schedule);
// Flying (6) in the approved colour, cancelled (9) and arrived (11) muted, everything else in ink.
LiveTint statusTint(const LiveSchedule &schedule);
// "不限时间", or the departure's date and time with the arrival's time after " → " when it reads.
QString timeText(const LiveSchedule &schedule, const QLocale &locale, const QTimeZone &zone);
QString timeText(const LiveSchedule &schedule);
// One chip text per crew member in list order: the role's prefix and the name.
QStringList crew(const LiveSchedule &schedule);
// All of it for the card's view.
QVariantMap card(const LiveSchedule &schedule);

} // namespace LiveScheduleCard

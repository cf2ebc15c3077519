#include "LiveScheduleCard.h"

#include "Display.h"
#include "L.h"
#include "ViewRules.h"

namespace LiveScheduleCard {

QString callsign(const LiveSchedule &schedule) { return schedule.callsign.value_or(Display::missing); }

LiveTint statusTint(const LiveSchedule &schedule)
{
    switch (schedule.status.value_or(-1)) {
    case 6:
        return LiveTint::Approved;
    case 9:
    case 11:
        return LiveTint::Muted;
    default:
        return LiveTint::Ink;
    }
}

QString timeText(const LiveSchedule &schedule, const QLocale &locale, const QTimeZone &zone)
{
    const std::optional<QDateTime> departure = schedule.scheduledDeparture();
    if (schedule.isTimeless == true || !departure)
        return L(QStringLiteral("不限时间"));
    QString text = locale.toString(departure->toTimeZone(zone), Display::dateTimeFormat(locale));
    // The arrival's time alone, also when it lands on another day.
    if (const std::optional<QDateTime> arrival = schedule.scheduledArrival())
        text += QStringLiteral(" \u2192 ")
                + locale.toString(arrival->toTimeZone(zone).time(),
                                  Display::timeFormat(locale, QLocale::ShortFormat));
    return text;
}

QString timeText(const LiveSchedule &schedule)
{
    return timeText(schedule, Display::locale(), QTimeZone::systemTimeZone());
}

QStringList crew(const LiveSchedule &schedule)
{
    QStringList chips;
    for (const LiveCrew &member : schedule.crew.value_or(QList<LiveCrew>())) {
        const QString role = member.role == 1 ? L(QStringLiteral("副驾驶 ")) : L(QStringLiteral("机长 "));
        chips.append(role + member.username.value_or(L(QStringLiteral("未知"))));
    }
    return chips;
}

QVariantMap card(const LiveSchedule &schedule)
{
    const QString briefing = schedule.briefing.value_or(QString());
    const QStringList members = crew(schedule);
    // The card is read as one element: everything it shows, in order.
    QStringList spoken{callsign(schedule),
                       schedule.statusText(),
                       schedule.originIcao,
                       schedule.destinationIcao,
                       schedule.typeText().value_or(QString()),
                       timeText(schedule),
                       briefing};
    spoken += members.isEmpty() ? QStringList{L(QStringLiteral("机组未指派"))} : members;
    return {{"id", schedule.id},
            {"accessibleText", ComponentRules::combined(spoken)},
            {"callsign", callsign(schedule)},
            {"statusText", schedule.statusText()},
            {"statusTint", int(statusTint(schedule))},
            {"from", schedule.originIcao},
            {"to", schedule.destinationIcao},
            {"caption", schedule.typeText().value_or(QString())},
            {"timeText", timeText(schedule)},
            {"briefing", briefing},
            {"crew", members}};
}

} // namespace LiveScheduleCard

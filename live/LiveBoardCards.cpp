#include "LiveBoardCards.h"

#include "Display.h"
#include "L.h"
#include "LiveTexts.h"
#include "Symbols.h"
#include "Theme.h"

namespace {

const QString separator = QStringLiteral(" \u00B7 ");

struct ActivityLook
{
    QString symbol;
    Theme::Role tint;
};

ActivityLook look(LiveFleetItem::Activity activity)
{
    switch (activity) {
    case LiveFleetItem::Activity::Airborne:
        return {SYMBOL("airplane"), Theme::Approved};
    case LiveFleetItem::Activity::Ground:
        return {SYMBOL("airplane.arrival"), Theme::Ink};
    case LiveFleetItem::Activity::Idle:
        break;
    }
    return {SYMBOL("moon.zzz"), Theme::Muted};
}

// The card's texts in reading order, for the one accessibility element that the card is.
QString spoken(const QStringList &parts)
{
    QStringList kept;
    for (const QString &part : parts) {
        if (!part.trimmed().isEmpty())
            kept.append(part.trimmed());
    }
    return kept.join(QStringLiteral(", "));
}

} // namespace

LiveAircraftCardValue LiveAircraftCardValue::of(const LiveFleetItem &item, const QDateTime &now)
{
    LiveAircraftCardValue card;
    const LiveAircraft &aircraft = item.aircraft;
    const ActivityLook activity = look(item.activity());
    card.id = item.id();
    card.registration = aircraft.registration;
    card.typeText = item.typeText();
    card.statusText = item.statusText();
    card.activitySymbol = activity.symbol;
    card.activityTint = activity.tint;
    card.aircraftName = aircraft.aircraft.value_or(QString());
    card.liveryName = aircraft.livery.value_or(QString());

    const std::optional<LiveFlying> &flight = aircraft.flying;
    // A flight that names neither end has no line to draw: the idle route stands in for it.
    if (flight && (flight->departure || flight->arrival)) {
        card.showsLiveRoute = true;
        card.departure = flight->departure.value_or(Display::missing);
        card.arrival = flight->arrival.value_or(Display::missing);
        card.phase = flight->phase.value_or(QString());
        card.figures = liveFigures(*flight);
    } else if (const auto route = item.idleRoute()) {
        card.showsIdleRoute = true;
        card.idleRouteText = route->text;
        card.idleRouteLabel = route->label;
    }

    if (flight && flight->pilot) {
        card.pilotForm = CurrentPilot;
        card.pilotLead = L(TEXT_KEY("飞行员 "));
        card.pilotName = *flight->pilot;
    } else if (item.lastPilot) {
        card.pilotForm = PreviousPilot;
        card.pilotLead = L(TEXT_KEY("上一位 "));
        card.pilotName = item.lastPilot->pilot;
        card.pilotAgo = LivePilotTag::ago(item.lastPilot->seenAt, now).value_or(QString());
    }
    if (!item.schedules.isEmpty())
        card.scheduleCount = Ln(TEXT_KEY("排班 %@"), item.schedules.size(), item.schedules.size());
    card.showsFooter = card.pilotForm != NoPilot || !item.schedules.isEmpty();

    const QString pilot = card.pilotLead + card.pilotName + card.pilotAgo;
    const QString route = card.showsLiveRoute ? card.departure + QStringLiteral(" \u2192 ") + card.arrival
                                                    + QLatin1Char(' ') + card.phase
                          : card.showsIdleRoute ? card.idleRouteLabel + QLatin1Char(' ') + card.idleRouteText
                                                : QString();
    card.accessibleName = spoken(
        {card.registration, card.typeText, card.statusText, route, card.figures, pilot, card.scheduleCount});
    return card;
}

LiveApplicationCardValue LiveApplicationCardValue::of(const LiveApplication &application)
{
    LiveApplicationCardValue card{application.id,
                                  application.username,
                                  application.registration,
                                  application.departure,
                                  application.arrival,
                                  application.statusText(),
                                  LiveApplicationTint::tint(application.status),
                                  application.reviewNote,
                                  {}};
    card.accessibleName =
        spoken({card.registration, card.statusText,
                card.departure + QStringLiteral(" \u2192 ") + card.arrival, card.reviewNote});
    return card;
}

namespace LiveBoardRules {

QString roleLabel(std::optional<qint64> role)
{
    if (!role || *role <= 0)
        return L(TEXT_KEY("成员"));
    // The vendor's own role names, shown as they are.
    return *role == 1 ? QStringLiteral("Admin") : QStringLiteral("Owner");
}

bool matches(const LiveFleetItem &item, const QString &search)
{
    if (search.isEmpty())
        return true;
    const QString text = item.aircraft.registration + QLatin1Char(' ')
                         + item.aircraft.aircraft.value_or(QString()) + QLatin1Char(' ')
                         + item.aircraft.livery.value_or(QString());
    return text.contains(search, Qt::CaseInsensitive);
}

QList<LiveFleetSection> sections(const LiveBoard &board, const QList<LiveFleetItem> &fleet,
                                 const QString &search, const QDateTime &now)
{
    QList<LiveFleetSection> sections;
    for (const LiveOrganization &organization : board.organizations) {
        LiveFleetSection section{
            organization.id,
            organization.name,
            L(TEXT_KEY("%@ · %@ 架"), roleLabel(organization.role), organization.aircraft.size()),
            {}};
        for (const LiveFleetItem &item : fleet) {
            if (item.organization.id == organization.id && matches(item, search))
                section.cards.append(LiveAircraftCardValue::of(item, now));
        }
        sections.append(section);
    }
    return sections;
}

} // namespace LiveBoardRules

QHash<int, QByteArray> LiveFleetSections::roleNames() const
{
    return {{IdRole, "sectionId"},
            {TitleRole, "title"},
            {SubtitleRole, "subtitle"},
            {CardsRole, "cards"},
            {EmptyRole, "empty"}};
}

QVariant LiveFleetSections::value(const LiveFleetSection &section, int role) const
{
    switch (role) {
    case IdRole:
        return section.id;
    case TitleRole:
        return section.title;
    case SubtitleRole:
        return section.subtitle;
    case CardsRole:
        return QVariant::fromValue(section.cards);
    case EmptyRole:
        return section.cards.isEmpty();
    default:
        return {};
    }
}

QHash<int, QByteArray> LiveApplicationCards::roleNames() const
{
    return {{IdRole, "applicationId"}, {CardRole, "card"}};
}

QVariant LiveApplicationCards::value(const LiveApplicationCardValue &card, int role) const
{
    switch (role) {
    case IdRole:
        return card.id;
    case CardRole:
        return QVariant::fromValue(card);
    default:
        return {};
    }
}

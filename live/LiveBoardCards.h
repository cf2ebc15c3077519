#pragma once

#include "LiveFleetItem.h"
#include "LiveScheduleRecords.h"
#include "RecordListModel.h"

#include <QDateTime>
#include <QObject>
#include <QQmlEngine>
#include <QString>
#include <QVariantList>

#include <optional>

// What the aircraft card draws of one fleet item, every text ready.
struct LiveAircraftCardValue
{
    Q_GADGET
    QML_VALUE_TYPE(liveAircraftCard)
    Q_PROPERTY(QString id MEMBER id)
    Q_PROPERTY(QString registration MEMBER registration)
    Q_PROPERTY(QString typeText MEMBER typeText)
    Q_PROPERTY(QString statusText MEMBER statusText)
    Q_PROPERTY(QString activitySymbol MEMBER activitySymbol)
    Q_PROPERTY(int activityTint MEMBER activityTint)
    Q_PROPERTY(QString aircraftName MEMBER aircraftName)
    Q_PROPERTY(QString liveryName MEMBER liveryName)
    Q_PROPERTY(bool showsLiveRoute MEMBER showsLiveRoute)
    Q_PROPERTY(QString departure MEMBER departure)
    Q_PROPERTY(QString arrival MEMBER arrival)
    Q_PROPERTY(QString phase MEMBER phase)
    Q_PROPERTY(QString figures MEMBER figures)
    Q_PROPERTY(bool showsIdleRoute MEMBER showsIdleRoute)
    Q_PROPERTY(QString idleRouteText MEMBER idleRouteText)
    Q_PROPERTY(QString idleRouteLabel MEMBER idleRouteLabel)
    Q_PROPERTY(bool showsFooter MEMBER showsFooter)
    Q_PROPERTY(bool showsPilot READ showsPilot)
    Q_PROPERTY(bool currentPilot READ currentPilot)
    Q_PROPERTY(QString pilotLead MEMBER pilotLead)
    Q_PROPERTY(QString pilotName MEMBER pilotName)
    Q_PROPERTY(QString pilotAgo MEMBER pilotAgo)
    Q_PROPERTY(QString scheduleCount MEMBER scheduleCount)
    Q_PROPERTY(QString accessibleName MEMBER accessibleName)

public:
    // The pilot tag: the flight's pilot, the last one seen, or none.
    enum PilotForm { NoPilot, CurrentPilot, PreviousPilot };
    Q_ENUM(PilotForm)

    QString id;
    QString registration;
    QString typeText;
    QString statusText;
    QString activitySymbol;
    int activityTint = 0; // a Theme::Role
    QString aircraftName; // the picture's type and livery, empty when unknown
    QString liveryName;
    bool showsLiveRoute = false;
    QString departure; // "—" when the flight has none
    QString arrival;
    QString phase;
    QString figures; // empty: no figures line
    bool showsIdleRoute = false;
    QString idleRouteText;
    QString idleRouteLabel;
    bool showsFooter = false;
    PilotForm pilotForm = NoPilot;
    QString pilotLead; // "飞行员 " or "上一位 ", before the name
    QString pilotName;
    QString pilotAgo;      // after the previous pilot's name; may be empty
    QString scheduleCount; // "排班 %@", empty without schedules
    QString accessibleName;

    bool showsPilot() const { return pilotForm != NoPilot; }
    bool currentPilot() const { return pilotForm == CurrentPilot; }
    bool operator==(const LiveAircraftCardValue &) const = default;

    static LiveAircraftCardValue of(const LiveFleetItem &item, const QDateTime &now);
};

// What the application card draws of one application.
struct LiveApplicationCardValue
{
    Q_GADGET
    QML_VALUE_TYPE(liveApplicationCard)
    Q_PROPERTY(QString id MEMBER id)
    Q_PROPERTY(QString username READ name)
    Q_PROPERTY(bool hasUsername READ hasUsername)
    Q_PROPERTY(QString registration MEMBER registration)
    Q_PROPERTY(QString departure MEMBER departure)
    Q_PROPERTY(QString arrival MEMBER arrival)
    Q_PROPERTY(QString statusText MEMBER statusText)
    Q_PROPERTY(int tint MEMBER tint)
    Q_PROPERTY(QString reviewNote MEMBER reviewNote)
    Q_PROPERTY(QString accessibleName MEMBER accessibleName)

public:
    QString id;
    std::optional<QString> username;
    QString registration;
    QString departure;
    QString arrival;
    QString statusText;
    int tint = 0; // a Theme::Role
    QString reviewNote;
    QString accessibleName;

    QString name() const { return username.value_or(QString()); }
    bool hasUsername() const { return username.has_value(); }
    bool operator==(const LiveApplicationCardValue &) const = default;

    static LiveApplicationCardValue of(const LiveApplication &application);
};

// One organisation of the fleet board: its heading and the cards that the search leaves.
struct LiveFleetSection
{
    QString id;
    QString title;
    QString subtitle;
    QList<LiveAircraftCardValue> cards;

    bool operator==(const LiveFleetSection &) const = default;
};

namespace LiveBoardRules {
// "成员" for no role or one not above 0, "Admin" for 1, "Owner" from 2 on.
QString roleLabel(std::optional<qint64> role);
// Whether an item's registration, type and livery, joined by blanks, hold the search in any letter case.
bool matches(const LiveFleetItem &item, const QString &search);
// The board's organisations in order, each with the items of the fleet that belong to it and match.
QList<LiveFleetSection> sections(const LiveBoard &board, const QList<LiveFleetItem> &fleet,
                                 const QString &search, const QDateTime &now);
} // namespace LiveBoardRules

class LiveFleetSections : public RecordListModel<LiveFleetSection>
{
    Q_OBJECT
    QML_ANONYMOUS

public:
    enum Roles { IdRole = Qt::UserRole + 1, TitleRole, SubtitleRole, CardsRole, EmptyRole };

    using RecordListModel::RecordListModel;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant value(const LiveFleetSection &section, int role) const override;
};

class LiveApplicationCards : public RecordListModel<LiveApplicationCardValue>
{
    Q_OBJECT
    QML_ANONYMOUS

public:
    enum Roles { IdRole = Qt::UserRole + 1, CardRole };

    using RecordListModel::RecordListModel;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant value(const LiveApplicationCardValue &card, int role) const override;
};

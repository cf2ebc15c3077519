#pragma once

#include "AppState.h"
#include "EventValue.h"
#include "Lifetime.h"
#include "MemberData.h"
#include "MemberNavigation.h"
#include "RecordListModel.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QQmlEngine>

#include <functional>

// The aircraft and liveries an event allows, in the service's order.
class AircraftOptionList : public RecordListModel<AircraftOption>
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("the event page's own list")

public:
    enum Roles { AircraftRole = Qt::UserRole + 1, LiveryRole };
    using RecordListModel::RecordListModel;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant value(const AircraftOption &option, int role) const override;
};

// The page of one event: its card, the member's answers with their note, the report button while the
// report window is open, the staff's list of answers and the allowed aircraft. It sends no request of its
// own; it starts the events load once, so the answers it reads are the member's.
class EventDetailModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(AppState *appState READ appState WRITE setAppState NOTIFY appStateChanged REQUIRED)
    Q_PROPERTY(MemberData *memberData READ memberData WRITE setMemberData NOTIFY memberDataChanged REQUIRED)
    Q_PROPERTY(
        MemberNavigation *navigation READ navigation WRITE setNavigation NOTIFY navigationChanged REQUIRED)
    Q_PROPERTY(EventValue event READ event WRITE setEvent NOTIFY eventChanged)

    Q_PROPERTY(bool showsAnswers READ showsAnswers NOTIFY roleChanged)
    Q_PROPERTY(bool showsResponses READ showsResponses NOTIFY roleChanged)
    Q_PROPERTY(QString note READ note NOTIFY eventChanged)
    Q_PROPERTY(bool inPirepWindow READ inPirepWindow NOTIFY windowChanged)
    Q_PROPERTY(AircraftOptionList *options READ options CONSTANT)

public:
    explicit EventDetailModel(QObject *parent = nullptr);

    AppState *appState() const { return m_app; }
    void setAppState(AppState *app);
    MemberData *memberData() const { return m_data; }
    void setMemberData(MemberData *data);
    MemberNavigation *navigation() const { return m_navigation; }
    void setNavigation(MemberNavigation *navigation);
    EventValue event() const { return m_event; }
    void setEvent(const EventValue &event);
    void setClock(std::function<QDateTime()> now) { m_now = std::move(now); }

    // The event of the route the page was pushed with.
    Q_INVOKABLE void openRoute(const PageRoute &route);
    // The event of that id as the member data lists it (the inbox knows only the id).
    Q_INVOKABLE void openEventId(const QString &id);

    // Members answer; staff see everybody's answers. Anyone else sees neither.
    bool showsAnswers() const { return role() == QLatin1String("member"); }
    bool showsResponses() const;
    QString note() const;
    // From the start through the estimate plus 60 minutes, both bounds included, for an "attending" member.
    bool inPirepWindow() const;
    AircraftOptionList *options() { return &m_options; }

    // On screen: the events load with the member's answers, unless it has succeeded before.
    Q_INVOKABLE void appear();
    Q_INVOKABLE void openSubmission();

Q_SIGNALS:
    void appStateChanged();
    void memberDataChanged();
    void navigationChanged();
    void eventChanged();
    void roleChanged();
    void windowChanged();

private:
    QString role() const;

    QPointer<AppState> m_app;
    QPointer<MemberData> m_data;
    QPointer<MemberNavigation> m_navigation;
    EventValue m_event;
    AircraftOptionList m_options;
    std::function<QDateTime()> m_now = [] { return QDateTime::currentDateTimeUtc(); };
};

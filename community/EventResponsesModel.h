#pragma once

#include "AppState.h"
#include "CommunityRecords.h"
#include "Lifetime.h"
#include "RecordListModel.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>

#include <optional>

// One answer's group of the staff list: its identifier key, heading and the names that gave it.
struct ResponseGroup
{
    QString answer; // the raw value
    QString heading;
    QString names;
    bool operator==(const ResponseGroup &) const = default;
};

class ResponseGroupList : public RecordListModel<ResponseGroup>
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("the staff list's own groups")

public:
    enum Roles { AnswerRole = Qt::UserRole + 1, HeadingRole, NamesRole };
    using RecordListModel::RecordListModel;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant value(const ResponseGroup &group, int role) const override;
};

// Every member's answer to one event, for staff: loaded when shown and again for another event (whose
// late answer then changes nothing), grouped by answer. A failure after a list came keeps the list.
class EventResponsesModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(AppState *appState READ appState WRITE setAppState NOTIFY appStateChanged REQUIRED)
    Q_PROPERTY(QString eventId READ eventId WRITE setEventId NOTIFY eventIdChanged)
    Q_PROPERTY(bool hasList READ hasList NOTIFY stateChanged)
    Q_PROPERTY(QString error READ error NOTIFY stateChanged)
    // How many loads the member asked for ("重试") have failed: each failure is shown anew.
    Q_PROPERTY(int failures READ failures NOTIFY stateChanged)
    Q_PROPERTY(ResponseGroupList *groups READ groups CONSTANT)

public:
    explicit EventResponsesModel(QObject *parent = nullptr);

    AppState *appState() const { return m_app; }
    void setAppState(AppState *app);
    QString eventId() const { return m_eventId; }
    void setEventId(const QString &id);

    bool hasList() const { return m_responses.has_value(); }
    QString error() const { return m_error.value_or(QString()); }
    int failures() const { return m_failures; }
    ResponseGroupList *groups() { return &m_groups; }

    // First on screen: loads now and again whenever the event changes.
    Q_INVOKABLE void appear();
    Q_INVOKABLE void retry() { load(true); }
    // `asked`: by the member, whose failure is the outcome of what he just did.
    QCoro::Task<> load(bool asked = false);

Q_SIGNALS:
    void appStateChanged();
    void eventIdChanged();
    void stateChanged();

private:
    void setResponses(const QList<EventResponseEntry> &responses);

    QPointer<AppState> m_app;
    QString m_eventId;
    std::optional<QList<EventResponseEntry>> m_responses;
    std::optional<QString> m_error;
    int m_failures = 0;
    ResponseGroupList m_groups;
    bool m_shown = false;
    Lifetime m_eventRun; // the load of the event shown; another event's answer is dropped
    Lifetime m_lifetime; // last: ends first
};

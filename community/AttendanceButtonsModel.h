#pragma once

#include "EventValue.h"
#include "Lifetime.h"
#include "MemberData.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QStringList>

#include <functional>
#include <optional>

// The member's three answers to one event. The selection is always the member data's entry; a tap writes
// it at once and sends it, and a refusal puts the previous answer back unless something changed the entry
// since. Taps are never blocked by a save in flight: each save rolls back only its own answer.
class AttendanceButtonsModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(MemberData *memberData READ memberData WRITE setMemberData NOTIFY memberDataChanged REQUIRED)
    Q_PROPERTY(EventValue event READ event WRITE setEvent NOTIFY eventChanged)
    // The titles, in the order of the buttons.
    Q_PROPERTY(QStringList titles READ titles CONSTANT)
    // The index of the selected answer; -1 for none (no entry, or a text that is no answer).
    Q_PROPERTY(int selected READ selected NOTIFY selectionChanged)
    Q_PROPERTY(bool locked READ locked NOTIFY eventChanged)
    Q_PROPERTY(QString error READ error NOTIFY errorChanged)
    // How many answers have failed to save: each failure is shown anew, also with the same text.
    Q_PROPERTY(int failures READ failures NOTIFY errorChanged)

public:
    explicit AttendanceButtonsModel(QObject *parent = nullptr);

    MemberData *memberData() const { return m_data; }
    void setMemberData(MemberData *data);
    EventValue event() const { return m_event; }
    void setEvent(const EventValue &event);
    void setClock(std::function<QDateTime()> now) { m_now = std::move(now); }

    QStringList titles() const;
    int selected() const;
    // Started events take no answers.
    bool locked() const { return m_event.event.hasStarted(m_now()); }
    QString error() const { return m_error; }
    int failures() const { return m_failures; }

    // The action of the button at `index`.
    Q_INVOKABLE void choose(int index);
    QCoro::Task<> save(AttendanceChoice choice);

Q_SIGNALS:
    void memberDataChanged();
    void eventChanged();
    void selectionChanged();
    void errorChanged();

private:
    void setError(const QString &error);

    QPointer<MemberData> m_data;
    EventValue m_event;
    QString m_error;
    int m_failures = 0;
    std::function<QDateTime()> m_now = [] { return QDateTime::currentDateTimeUtc(); };
    Lifetime m_lifetime; // last: ends first
};

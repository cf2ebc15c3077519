#pragma once

#include "EventValue.h"
#include "MemberData.h"
#include "MemberNavigation.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>

// The upcoming events as staff see them from their workbench: the list the member data holds, loaded
// without a member's own answers, each opening its event page (with the members' answers) above the list.
class StaffEventsModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(MemberData *memberData READ memberData WRITE setMemberData NOTIFY changed REQUIRED)
    Q_PROPERTY(MemberNavigation *navigation MEMBER m_navigation NOTIFY changed REQUIRED)
    Q_PROPERTY(int count READ count NOTIFY changed)
    Q_PROPERTY(bool loading READ loading NOTIFY changed)
    Q_PROPERTY(QString failure READ failure NOTIFY changed)
    Q_PROPERTY(bool showsEmpty READ showsEmpty NOTIFY changed)

public:
    using QObject::QObject;

    MemberData *memberData() const { return m_data; }
    void setMemberData(MemberData *data);
    int count() const { return m_data ? int(m_data->events().size()) : 0; }
    bool loading() const;
    QString failure() const;
    // Loaded, and nothing planned.
    bool showsEmpty() const;

    // The page showed, first or again, and its refresh and retry.
    Q_INVOKABLE void appear();
    Q_INVOKABLE EventValue eventAt(int index) const;
    Q_INVOKABLE void open(int index) const;

Q_SIGNALS:
    void changed();

private:
    QPointer<MemberData> m_data;
    QPointer<MemberNavigation> m_navigation;
};

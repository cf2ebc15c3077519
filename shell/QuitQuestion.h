#pragma once

#include "MemberNavigation.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>

// Whether quitting (the window's close button, Alt+F4, "退出") asks first, and what it asks: while a page of
// the member's tabs is still sending what they gave it (a report, evidence pictures), quitting would drop it
// with its outcome unseen, and a refused report with everything typed. Nothing is kept for later: the member
// waits, or quits anyway.
class QuitQuestion : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    // The signed-in tabs' navigation, while they stand.
    Q_PROPERTY(MemberNavigation *navigation READ navigation WRITE setNavigation NOTIFY changed)
    Q_PROPERTY(bool asks READ asks NOTIFY changed)
    Q_PROPERTY(QString title READ title NOTIFY changed)
    Q_PROPERTY(QString message READ message NOTIFY changed)

public:
    using QObject::QObject;

    MemberNavigation *navigation() const { return m_navigation; }
    void setNavigation(MemberNavigation *navigation);

    bool asks() const { return !sendingPages().isEmpty(); }
    QString title() const;
    QString message() const;

Q_SIGNALS:
    void changed();

private:
    // What the question speaks of: a report before evidence, evidence before anything else.
    enum class Sending { Report, Evidence, Other };
    QList<ShellPage> sendingPages() const;
    // What is on its way now; once nothing is, what was last, so a question on its way out still says what
    // it asked about.
    void follow();

    QPointer<MemberNavigation> m_navigation;
    Sending m_sending = Sending::Other;
};

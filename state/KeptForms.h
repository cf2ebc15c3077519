#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <any>
#include <functional>
#include <optional>

// What a member was typing when the session ended under them: read from the forms that were open at that
// moment and kept in memory (never on disk) for the next sign-in of the same account. Anyone else signing in,
// or the member signing out, drops it.
class KeptForms
{
public:
    // How to read a form's content; an empty value when there is nothing worth keeping.
    using Reading = std::function<std::any()>;

    // An open form of a kind ("report", …) says how to read it; forgotten when the form goes.
    void watch(QObject *form, QString kind, Reading read);
    // The session of that member ended: what the open forms hold is kept for them.
    void keepOpenForms(const QString &userId);
    // Someone signed in: only that member's own kept forms stay.
    void signedIn(const QString &userId);
    void clear();

    bool holds(const QString &userId, const QString &kind) const;
    // Hands the kept content to the form that opens for it, once.
    std::optional<std::any> take(const QString &userId, const QString &kind);

private:
    struct Watched
    {
        QPointer<QObject> form;
        QString kind;
        Reading read;
    };
    QList<Watched> m_open;
    QString m_owner; // whose forms are kept
    QHash<QString, std::any> m_kept;
};

#pragma once

#include <QHash>
#include <QObject>
#include <QQmlEngine>
#include <QString>

#include <optional>

// The keyed loads of the member data, named the same way in C++ and QML, where a misspelled one is an
// error instead of a load that silently never runs.
namespace MemberLoad {
Q_NAMESPACE
QML_ELEMENT

enum Kind { Inbox, Pireps, Events, Leaderboard, Routes, Latest };
Q_ENUM_NS(Kind)

} // namespace MemberLoad

// Where one load stands: running now, succeeded at least once, and the text of its last failure until
// the next start.
struct LoadState
{
    Q_GADGET
    QML_VALUE_TYPE(loadState)
    Q_PROPERTY(bool loading MEMBER loading)
    Q_PROPERTY(bool loaded MEMBER loaded)
    // Empty while there is none.
    Q_PROPERTY(QString failure READ failureText)

public:
    bool loading = false;
    bool loaded = false;
    std::optional<QString> failure;

    QString failureText() const { return failure.value_or(QString()); }
    bool operator==(const LoadState &) const = default;
};

// Every load's state, as QML reads it: `memberData.loads.state(MemberLoad.Pireps).failure`. Read through
// the one property, so a binding follows every change of any load.
class MemberLoads
{
    Q_GADGET
    QML_VALUE_TYPE(memberLoads)

public:
    Q_INVOKABLE LoadState state(MemberLoad::Kind load) const { return m_states.value(load); }
    // For the store's own writes; the reference is not kept past the next write of another load.
    LoadState &operator[](MemberLoad::Kind load) { return m_states[load]; }

private:
    QHash<MemberLoad::Kind, LoadState> m_states;
};

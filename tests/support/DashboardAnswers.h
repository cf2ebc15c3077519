#pragma once

// Records of the answers behind the dashboard, as the member service sends them.
#include <QJsonObject>
#include <QJsonValue>

namespace TestSupport {

// A report from ZBAA to ZSPD; held when `heldAt` is not 0, with a hold note unless it is undefined.
inline QJsonObject dashboardReport(const QString &id, const QString &status, double heldAt = 0,
                                   const QJsonValue &note = {})
{
    QJsonObject pirep{{"id", id},
                      {"departureCode", "ZBAA"},
                      {"arrivalCode", "ZSPD"},
                      {"aircraft", "Airbus A320"},
                      {"livery", "Air China"},
                      {"durationMinutes", 90},
                      {"status", status}};
    if (heldAt != 0)
        pirep.insert("heldAt", heldAt);
    if (!note.isUndefined())
        pirep.insert("holdNote", note);
    return pirep;
}

inline QJsonObject leaderboardMember(const QString &username)
{
    return {{"username", username}, {"approvedCount", 1}, {"approvedMinutes", 60}};
}

} // namespace TestSupport

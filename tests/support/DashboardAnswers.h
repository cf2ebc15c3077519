#pragma once

// Records of the answers behind the dashboard, as the member service sends them.
#include <QJsonObject>
#include <QJsonValue>

namespace TestSupport {

// A report from ZBAA to ZSPD; held when `heldAt` is not 0, with a hold note unless it is undefined.
inline QJsonObject dashboardPirep(const QString &id, const QString &status, double heldAt = 0,
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

// A report from ZBAA to ZSPD of 125 minutes.
inline QJsonObject plainPirep(const QString &id, const QString &status)
{
    return {{"id", id},
            {"departureCode", "ZBAA"},
            {"arrivalCode", "ZSPD"},
            {"aircraft", "Airbus A320"},
            {"livery", "Air China"},
            {"durationMinutes", 125},
            {"status", status}};
}

// A group flight from ZGGG to VHHH on Christmas Eve 2026.
inline QJsonObject groupFlight(const QString &id)
{
    return {{"id", id},
            {"departureCode", "ZGGG"},
            {"arrivalCode", "VHHH"},
            {"departureCity", "广州"},
            {"arrivalCity", "香港"},
            {"estimatedHours", 1},
            {"estimatedMinutes", 5},
            {"aircraft", "Airbus A330-300"},
            {"livery", "China Southern"},
            {"eventAtUtc", "2026-12-24T12:00:00Z"}};
}

inline QJsonObject leaderboardMember(const QString &username)
{
    return {{"username", username}, {"approvedCount", 1}, {"approvedMinutes", 60}};
}

} // namespace TestSupport

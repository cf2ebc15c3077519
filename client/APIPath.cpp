#include "APIPath.h"

#include <QUrl>

namespace APIPath {

QString encoded(const QString &value) { return QString::fromLatin1(QUrl::toPercentEncoding(value)); }

QString evidence(const QString &reportId)
{
    return QStringLiteral("/api/pireps/") + encoded(reportId) + QStringLiteral("/evidence");
}

QString multiplierOptions(const QString &departure, const QString &arrival)
{
    return QStringLiteral("/api/pireps/multiplier-options?departure=") + encoded(departure)
           + QStringLiteral("&arrival=") + encoded(arrival);
}

QString reviewHistory(const QString &reportId)
{
    return QStringLiteral("/api/admin/pireps/") + encoded(reportId) + QStringLiteral("/history");
}

QString reviewAction(const QString &reportId, const QString &action)
{
    return QStringLiteral("/api/admin/pireps/") + encoded(reportId) + QLatin1Char('/') + encoded(action);
}

QString staffEventResponses(const QString &eventId)
{
    return QStringLiteral("/api/admin/event-responses?eventId=") + encoded(eventId);
}

QString livePlan(const QString &sessionId, const QString &flightId)
{
    return QStringLiteral("/api/live-map/plan?sessionId=") + encoded(sessionId) + QStringLiteral("&flightId=")
           + encoded(flightId);
}

QString liveApplications(int page)
{
    return QStringLiteral("/api/live-schedules/applications?page=%1").arg(page);
}

QString liveDecision(const QString &decision)
{
    return QStringLiteral("/api/live-schedules/") + encoded(decision);
}

} // namespace APIPath

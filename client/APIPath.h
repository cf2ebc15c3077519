#pragma once

#include <QString>

// Every path of the member site the app asks for: the member service under "/api/" and the pages of the
// account gate. A value put into a path (a report's id, an event's id, an airport code) goes in through
// `encoded`, so it stays one path segment or one query value whatever it holds.
namespace APIPath {

// Everything but letters, digits and "-._~" percent-encoded, so a value stays one path segment and cannot
// add or cut query parameters. "." and ".." cannot be a segment at all (an encoded dot is a dot):
// `APIClient::makeRequest` refuses a path holding one.
QString encoded(const QString &value);

// The account gate: the member area a member or staff opens, and where the site sends them instead.
inline QString memberArea() { return QStringLiteral("/member"); }
inline QString staffArea() { return QStringLiteral("/admin"); }
inline QString signInPage() { return QStringLiteral("/login"); }
inline QString passwordPage() { return QStringLiteral("/change-password"); }
inline QString profilePage() { return QStringLiteral("/profile"); }

// The session.
inline QString login() { return QStringLiteral("/api/login"); }
inline QString logout() { return QStringLiteral("/api/logout"); }
inline QString me() { return QStringLiteral("/api/me"); }

// The member's account: the profile (read and written), its avatar (the picture, and its upload), the
// record with the organisation, the password.
inline QString profile() { return QStringLiteral("/api/profile"); }
inline QString profileAvatar() { return QStringLiteral("/api/profile/avatar"); }
inline QString profileSummary() { return QStringLiteral("/api/profile/summary"); }
inline QString password() { return QStringLiteral("/api/account/password"); }

// The site's inbox and its read marks.
inline QString notifications() { return QStringLiteral("/api/notifications"); }
inline QString notificationsRead() { return QStringLiteral("/api/notifications/read"); }

// Flight reports: the member's (read and filed), one report's evidence (read and uploaded), the
// multipliers a route may claim.
inline QString pireps() { return QStringLiteral("/api/pireps"); }
QString evidence(const QString &reportId);
QString multiplierOptions(const QString &departure, const QString &arrival);

// The staff's review: the queue with the service's checks or without them, one report's history, and an
// action taken on it ("review", "hold", "multiplier", "delete").
inline QString staffPireps() { return QStringLiteral("/api/admin/pireps"); }
inline QString staffPirepsUnchecked() { return QStringLiteral("/api/admin/pireps?checks=0"); }
QString reviewHistory(const QString &reportId);
QString reviewAction(const QString &reportId, const QString &action);

// Events: those a member may still answer, their answers (read and given), everyone's answers to one, for
// staff.
inline QString upcomingEvents() { return QStringLiteral("/api/events/upcoming?window=claim"); }
inline QString eventResponses() { return QStringLiteral("/api/member/event-responses"); }
QString staffEventResponses(const QString &eventId);

// The leaderboard, all time and the recent 30 days, and the member's routes.
inline QString leaderboard() { return QStringLiteral("/api/member/pirep-leaderboard"); }
inline QString recentLeaderboard() { return QStringLiteral("/api/member/pirep-leaderboard?period=recent"); }
inline QString routes() { return QStringLiteral("/api/member/routes"); }

// Infinite Flight as the service passes it on: the live-map snapshot, live or the one saved, one live
// flight's plan, the member's recent flights and statistics, the simulator's aircraft names.
inline QString liveSnapshot() { return QStringLiteral("/api/infinite-flight/live"); }
inline QString savedSnapshot() { return QStringLiteral("/api/infinite-flight/live?saved=1"); }
QString livePlan(const QString &sessionId, const QString &flightId);
inline QString recentFlights() { return QStringLiteral("/api/infinite-flight/me/flights"); }
inline QString flightStatistics() { return QStringLiteral("/api/infinite-flight/me"); }
inline QString aircraftNames() { return QStringLiteral("/api/infinite-flight/aircraft"); }

// VORNA Live: the board, the link to an Infinite Flight account (its state, its start, its end and the
// callback the second host sends back), the applications page by page (from 1), the fleet's positions and
// routes, the linked account's picture, an application, and a reviewer's decision on one
// ("application-approve", "application-reject", "application-resolve").
inline QString liveBoard() { return QStringLiteral("/api/live-schedules"); }
inline QString liveAuthorization() { return QStringLiteral("/api/live-schedules/authorization"); }
inline QString liveAuthorizationStart() { return QStringLiteral("/api/live-schedules/authorization-start"); }
inline QString liveAuthorizationDisconnect()
{
    return QStringLiteral("/api/live-schedules/authorization-disconnect");
}
inline QString liveAuthorizationCallback()
{
    return QStringLiteral("/api/live-schedules/authorization-callback");
}
QString liveApplications(int page);
inline QString livePositions() { return QStringLiteral("/api/live-schedules/flights"); }
inline QString liveRoutes() { return QStringLiteral("/api/live-schedules/routes"); }
inline QString liveAvatar() { return QStringLiteral("/api/live-schedules/avatar"); }
inline QString liveApply() { return QStringLiteral("/api/live-schedules/apply"); }
QString liveDecision(const QString &decision);

} // namespace APIPath

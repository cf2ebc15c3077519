#pragma once

// What the sample service keeps about its members: reports with their evidence, notices, events and
// answers, Infinite Flight records and the live map. Built from the data files when the service starts;
// every time in those files is an offset from that moment, so the sample never goes stale.
#include "SampleService.h"

#include <QByteArray>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace Sample {

struct StoredEvidence
{
    QString id;
    QByteArray data;
    QByteArray mimeType;
    double uploadedAt = 0; // seconds
};

// One answer to an event, in the order the members first gave them.
struct EventAnswer
{
    QString username;
    QString response;
};

// One part of a form-data body.
struct FormPart
{
    QString name;
    QString filename; // empty for a text field
    QByteArray contentType;
    QByteArray data;
};

// Parts in body order; none when the body is not form data.
std::optional<QList<FormPart>> parseFormData(const Request &request);

class MemberStore;
// The staff's review workbench (ReviewEndpoints.cpp).
void addReviewRoutes(Service &service, const std::shared_ptr<MemberStore> &store);
// The Live schedules, with the Infinite Flight sign-in page of their authorisation (LiveEndpoints.cpp).
void addLiveRoutes(Service &service);
// The Live board as the given member sees it, and the fleet's positions and last pilots, from the data of
// "live-schedules.json" (the screenshots build their fleet items from them too).
QJsonObject liveBoardJson(const QJsonObject &live, const QString &username);
QJsonObject livePositionsJson(const QJsonObject &live);

class MemberStore
{
public:
    explicit MemberStore(const Service &service);

    // Times: the moment the service started (floored to the minute) and offsets from it.
    qint64 startMs() const { return m_startMs; }
    double secondsAt(double offsetHours) const;
    QString isoAt(qint64 msSinceEpoch, bool withMilliseconds = false) const;
    static double nowSeconds();
    static qint64 nowMs();

    // Reports, newest first. Owner by report id; none when nobody filed it.
    QList<QJsonObject> &reports(const QString &username) { return m_reports[username]; }
    QJsonObject *report(const QString &id, QString *owner = nullptr);
    QString nextPirepId();
    QList<StoredEvidence> &evidence(const QString &reportId) { return m_evidence[reportId]; }
    StoredEvidence addEvidence(const QString &reportId, const QByteArray &data, const QByteArray &mimeType);
    // The report as the service answers it: counts and the applicant filled in from the store.
    QJsonObject reportJson(const QJsonObject &stored) const;
    bool hasMemberRecord(const QString &username) const;
    QJsonObject summary(const QString &username) const;
    std::optional<double> joinedAt(const QString &username) const; // seconds
    QJsonArray routes(const QString &username) const;
    QJsonObject leaderboard(bool recent) const;
    // Staff: every report, newest submission first; a report's review history; a deletion.
    QList<QJsonObject> allPireps() const;
    QList<QJsonObject> &history(const QString &reportId) { return m_history[reportId]; }
    QString displayName(const QString &username) const { return m_displayNames.value(username); }
    bool removePirep(const QString &id);

    // Notices, newest first; none for an account without an inbox.
    QList<QJsonObject> *notices(const QString &username);
    void addNotice(const QString &username, QJsonObject notice);

    // Events and answers.
    const QList<QJsonObject> &events() const { return m_events; }
    const QJsonObject *event(const QString &id) const;
    QList<EventAnswer> &answers(const QString &eventId) { return m_answers[eventId]; }
    QStringList answeredEvents() const { return m_answerOrder; }
    void answer(const QString &eventId, const QString &username, const QString &response);
    bool eventInPirepWindow(const QJsonObject &event, double atSeconds) const;
    bool organizationRoute(const QString &departure, const QString &arrival) const;

    // Infinite Flight.
    std::optional<QJsonObject> statistics(const QString &username) const;
    QJsonArray recentFlights(const QString &username) const;
    QJsonArray aircraftNames() const { return m_infiniteFlight.value("aircraft").toArray(); }

    // The live map (MemberLiveMap.cpp): the snapshot as the given member sees it, and one flight's plan.
    QJsonObject liveSnapshot(const QString &username, bool saved) const;
    std::optional<QJsonObject> plan(const QString &sessionId, const QString &flightId) const;

private:
    QJsonObject liveFlight(const QJsonObject &source, double elapsedHours, QJsonArray *flown) const;
    QJsonObject phase(const QString &code, std::optional<double> verticalSpeed) const;
    // The generated crowd of the live map (the data file's "crowd"): the same flights at every start.
    void buildCrowd();
    QJsonArray planRows(const QString &name) const;
    // The rows of a snapshot: the data file's flights, then the crowd's.
    QList<QJsonObject> liveRows(bool saved) const;

    qint64 m_startMs = 0;
    QHash<QString, QList<QJsonObject>> m_reports;
    QHash<QString, QList<StoredEvidence>> m_evidence;
    QHash<QString, QList<QJsonObject>> m_history;
    QHash<QString, QList<QJsonObject>> m_notices;
    QHash<QString, double> m_joinedAt;
    QHash<QString, QString> m_displayNames;
    QList<QJsonObject> m_events;
    QHash<QString, QList<EventAnswer>> m_answers;
    QStringList m_answerOrder;
    QList<QPair<QString, QString>> m_organizationRoutes;
    QJsonObject m_leaderboard;
    QJsonObject m_infiniteFlight;
    QJsonObject m_liveMap;
    QList<QJsonObject> m_crowd;
    QList<QJsonObject> m_savedCrowd;
    QHash<QString, QJsonArray> m_crowdPlans;
    int m_lastPirepNumber = 0;
    int m_lastEvidenceNumber = 0;
};

} // namespace Sample

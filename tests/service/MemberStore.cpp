// The members' records of the sample service, built from its data files.
#include "MemberStore.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTimeZone>

#include <algorithm>
#include <cmath>

namespace Sample {

namespace {

// The steps the sample reports have been through, as the service records them.
void seedHistory(QList<QJsonObject> &history, const QJsonObject &report)
{
    history.append({{"kind", "提交"},
                    {"at", report.value("submittedAt")},
                    {"actor", report.value("applicantUsername")},
                    {"toStatus", "pending"}});
    if (report.value("heldAt").toDouble() > 0)
        history.append({{"kind", "问询"},
                        {"at", report.value("heldAt")},
                        {"actor", report.value("heldByName")},
                        {"toReason", report.value("holdNote")}});
    if (report.contains("reviewedAt")) {
        QJsonObject step{{"kind", "审核"},
                         {"at", report.value("reviewedAt")},
                         {"actor", report.value("reviewerName")},
                         {"toStatus", report.value("status")},
                         {"toPercent", report.value("multiplierPercent")}};
        if (report.contains("rejectionReason"))
            step.insert("toReason", report.value("rejectionReason"));
        history.append(step);
    }
}

constexpr double hourMs = 3600.0 * 1000.0;
constexpr double recentDays = 30;

double countedMinutes(const QJsonObject &report)
{
    const double percent = report.value("multiplierPercent").toDouble(100);
    return report.value("durationMinutes").toDouble() * percent / 100.0;
}

QString quotedParameter(const QByteArray &header, const QByteArray &name)
{
    const QRegularExpression pattern(
        QStringLiteral("(?:^|;)\\s*%1=(\"([^\"]*)\"|[^;\\s]*)").arg(QString::fromLatin1(name)),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(QString::fromUtf8(header));
    if (!match.hasMatch())
        return {};
    return match.captured(2).isNull() ? match.captured(1) : match.captured(2);
}

} // namespace

std::optional<QList<FormPart>> parseFormData(const Request &request)
{
    const QByteArray type = request.header("Content-Type");
    if (!type.trimmed().toLower().startsWith("multipart/form-data"))
        return std::nullopt;
    const QByteArray boundary = quotedParameter(type, "boundary").toUtf8();
    if (boundary.isEmpty())
        return std::nullopt;

    const QByteArray delimiter = "--" + boundary;
    const QByteArray &body = request.body;
    qsizetype at = body.indexOf(delimiter);
    if (at < 0)
        return std::nullopt;
    QList<FormPart> parts;
    while (true) {
        at += delimiter.size();
        if (body.mid(at, 2) == "--")
            return parts; // the closing delimiter
        if (body.mid(at, 2) != "\r\n")
            return std::nullopt;
        at += 2;
        const qsizetype next = body.indexOf("\r\n" + delimiter, at);
        if (next < 0)
            return std::nullopt;
        const QByteArray raw = body.mid(at, next - at);
        const qsizetype split = raw.indexOf("\r\n\r\n");
        if (split < 0)
            return std::nullopt;
        FormPart part;
        for (const QByteArray &line : raw.left(split).split('\n')) {
            const qsizetype colon = line.indexOf(':');
            if (colon < 0)
                continue;
            const QByteArray key = line.left(colon).trimmed().toLower();
            const QByteArray value = line.mid(colon + 1).trimmed();
            if (key == "content-disposition") {
                part.name = quotedParameter(value, "name");
                part.filename = quotedParameter(value, "filename");
            } else if (key == "content-type") {
                part.contentType = value.toLower();
            }
        }
        part.data = raw.mid(split + 4);
        parts.append(part);
        at = next + 2;
    }
}

MemberStore::MemberStore(const Service &service)
{
    // Whole minutes, so that an event "started 20 minutes ago" shows a round time.
    m_startMs = QDateTime::currentMSecsSinceEpoch() / 60000 * 60000;

    for (const QJsonValue &row : service.data(QStringLiteral("accounts")).toArray()) {
        const QJsonObject account = row.toObject();
        if (account.contains("joinedOffsetDays"))
            m_joinedAt.insert(account.value("username").toString(),
                              secondsAt(account.value("joinedOffsetDays").toDouble() * 24));
    }

    const QJsonObject reports = service.data(QStringLiteral("pireps")).toObject();
    for (auto owner = reports.begin(); owner != reports.end(); ++owner) {
        QList<QJsonObject> &list = m_reports[owner.key()];
        for (const QJsonValue &row : owner.value().toArray()) {
            QJsonObject report = row.toObject();
            for (const char *field : {"submittedAt", "reviewedAt", "heldAt"}) {
                const QString offset = QString::fromLatin1(field) + QStringLiteral("OffsetHours");
                if (report.contains(offset))
                    report.insert(QString::fromLatin1(field), secondsAt(report.take(offset).toDouble()));
            }
            report.insert("applicantUsername", owner.key());
            const QString id = report.value("id").toString();
            const int pictures = report.take("evidence").toInt();
            for (int i = 0; i < pictures; ++i) {
                // Drawn when first fetched, so starting the service stays quick.
                m_evidence[id].append({QStringLiteral("img-%1").arg(++m_lastEvidenceNumber),
                                       {},
                                       "image/png",
                                       report.value("submittedAt").toDouble() + 60 * i});
            }
            m_lastPirepNumber = std::max(m_lastPirepNumber, id.section('-', 1).toInt());
            seedHistory(m_history[id], report);
            list.append(report);
        }
    }

    const QJsonObject events = service.data(QStringLiteral("events")).toObject();
    for (const QJsonValue &row : events.value("events").toArray()) {
        QJsonObject event = row.toObject();
        const qint64 startMs = m_startMs + qint64(event.take("startsInMinutes").toDouble() * 60000);
        event.insert("eventAtUtc", isoAt(startMs));
        m_events.append(event);
    }
    const QJsonObject answers = events.value("responses").toObject();
    // Events in their listed order first, then answers to events no longer listed.
    QStringList order;
    for (const QJsonObject &event : std::as_const(m_events))
        order.append(event.value("id").toString());
    for (const QString &id : answers.keys()) {
        if (!order.contains(id))
            order.append(id);
    }
    for (const QString &id : std::as_const(order)) {
        for (const QJsonValue &row : answers.value(id).toArray())
            answer(id, row["username"].toString(), row["response"].toString());
    }
    for (const QJsonValue &pair : events.value("organizationRoutes").toArray())
        m_organizationRoutes.append({pair[0].toString(), pair[1].toString()});

    const QJsonObject notices = service.data(QStringLiteral("notifications")).toObject();
    for (auto owner = notices.begin(); owner != notices.end(); ++owner) {
        QList<QJsonObject> &list = m_notices[owner.key()];
        for (const QJsonValue &row : owner.value().toArray()) {
            QJsonObject notice = row.toObject();
            const double occurred =
                double(m_startMs + qint64(notice.take("occurredAtOffsetHours").toDouble() * hourMs))
                + notice.take("extraMilliseconds").toDouble();
            notice.insert("occurredAt", occurred);
            if (notice.contains("readAtOffsetHours"))
                notice.insert(
                    "readAt",
                    double(m_startMs + qint64(notice.take("readAtOffsetHours").toDouble() * hourMs)));
            if (notice.contains("eventAtOffsetHours")) {
                notice.insert("eventAt",
                              QDateTime::fromMSecsSinceEpoch(
                                  m_startMs + qint64(notice.take("eventAtOffsetHours").toDouble() * hourMs),
                                  QTimeZone(8 * 3600))
                                  .toString(QStringLiteral("yyyy-MM-dd HH:mm 北京时间")));
            } else if (const QJsonObject *listed = event(notice.value("entityId").toString());
                       listed && notice.value("kind").toString() == QLatin1String("event_published")) {
                notice.insert("eventAt",
                              QDateTime::fromString(listed->value("eventAtUtc").toString(), Qt::ISODate)
                                  .toTimeZone(QTimeZone(8 * 3600))
                                  .toString(QStringLiteral("yyyy-MM-dd HH:mm 北京时间")));
            }
            list.append(notice);
        }
        std::stable_sort(list.begin(), list.end(), [](const QJsonObject &a, const QJsonObject &b) {
            return a.value("occurredAt").toDouble() > b.value("occurredAt").toDouble();
        });
    }

    m_leaderboard = service.data(QStringLiteral("leaderboard")).toObject();
    m_infiniteFlight = service.data(QStringLiteral("infinite-flight")).toObject();
    m_liveMap = service.data(QStringLiteral("live-map")).toObject();
    buildCrowd();
    for (const QJsonValue &row : service.data(QStringLiteral("accounts")).toArray())
        m_displayNames.insert(row["username"].toString(), row["name"].toString());
}

double MemberStore::secondsAt(double offsetHours) const
{
    return double(m_startMs / 1000 + qRound64(offsetHours * 3600));
}

QString MemberStore::isoAt(qint64 msSinceEpoch, bool withMilliseconds) const
{
    return QDateTime::fromMSecsSinceEpoch(msSinceEpoch, Qt::UTC)
        .toString(withMilliseconds ? Qt::ISODateWithMs : Qt::ISODate);
}

double MemberStore::nowSeconds() { return std::floor(QDateTime::currentMSecsSinceEpoch() / 1000.0); }

qint64 MemberStore::nowMs() { return QDateTime::currentMSecsSinceEpoch(); }

QJsonObject *MemberStore::report(const QString &id, QString *owner)
{
    for (auto list = m_reports.begin(); list != m_reports.end(); ++list) {
        for (QJsonObject &report : *list) {
            if (report.value("id").toString() == id) {
                if (owner)
                    *owner = list.key();
                return &report;
            }
        }
    }
    return nullptr;
}

QString MemberStore::nextPirepId() { return QStringLiteral("p-%1").arg(++m_lastPirepNumber); }

StoredEvidence MemberStore::addEvidence(const QString &reportId, const QByteArray &data,
                                        const QByteArray &mimeType)
{
    const StoredEvidence added{QStringLiteral("img-%1").arg(++m_lastEvidenceNumber), data, mimeType,
                               nowSeconds()};
    m_evidence[reportId].append(added);
    return added;
}

QJsonObject MemberStore::reportJson(const QJsonObject &stored) const
{
    QJsonObject report = stored;
    report.insert("evidenceCount", int(m_evidence.value(stored.value("id").toString()).size()));
    return report;
}

bool MemberStore::hasMemberRecord(const QString &username) const
{
    return !m_reports.value(username).isEmpty() || m_joinedAt.contains(username);
}

std::optional<double> MemberStore::joinedAt(const QString &username) const
{
    const auto found = m_joinedAt.constFind(username);
    return found == m_joinedAt.constEnd() ? std::nullopt : std::optional<double>(*found);
}

QJsonObject MemberStore::summary(const QString &username) const
{
    int count = 0;
    double minutes = 0;
    for (const QJsonObject &report : m_reports.value(username)) {
        if (report.value("status").toString() != QLatin1String("approved"))
            continue;
        ++count;
        minutes += countedMinutes(report);
    }
    QJsonObject summary{{"approvedCount", count}, {"approvedDurationMinutes", minutes}};
    if (const auto joined = joinedAt(username))
        summary.insert("registeredAt", *joined);
    return summary;
}

QJsonArray MemberStore::routes(const QString &username) const
{
    struct Route
    {
        QString departure, arrival;
        int flights = 0;
    };
    QList<Route> routes;
    for (const QJsonObject &report : m_reports.value(username)) {
        if (report.value("status").toString() != QLatin1String("approved"))
            continue;
        const QString departure = report.value("departureCode").toString();
        const QString arrival = report.value("arrivalCode").toString();
        auto found = std::find_if(routes.begin(), routes.end(), [&](const Route &r) {
            return r.departure == departure && r.arrival == arrival;
        });
        if (found == routes.end())
            routes.append({departure, arrival, 1});
        else
            ++found->flights;
    }
    std::stable_sort(routes.begin(), routes.end(),
                     [](const Route &a, const Route &b) { return a.flights > b.flights; });
    QJsonArray answer;
    for (const Route &route : std::as_const(routes))
        answer.append(QJsonObject{
            {"departure", route.departure}, {"arrival", route.arrival}, {"flights", route.flights}});
    return answer;
}

QJsonObject MemberStore::leaderboard(bool recent) const
{
    QJsonObject board =
        m_leaderboard.value(recent ? QStringLiteral("recent") : QStringLiteral("all")).toObject();
    QList<QJsonObject> members;
    for (const QJsonValue &row : board.value("members").toArray())
        members.append(row.toObject());

    // The accounts' own rows come from their approved reports, so the board agrees with their logbooks.
    const double since = nowSeconds() - recentDays * 24 * 3600;
    for (auto owner = m_reports.begin(); owner != m_reports.end(); ++owner) {
        int count = 0, landings = 0;
        double minutes = 0;
        for (const QJsonObject &report : owner.value()) {
            if (report.value("status").toString() != QLatin1String("approved")
                || (recent && report.value("submittedAt").toDouble() < since))
                continue;
            ++count;
            minutes += countedMinutes(report);
            landings += report.value("landings").toInt(1);
        }
        members.removeIf([&](const QJsonObject &m) { return m.value("username").toString() == owner.key(); });
        if (count == 0)
            continue;
        QJsonObject row{{"username", owner.key()},
                        {"approvedCount", count},
                        {"approvedMinutes", minutes},
                        {"approvedLandings", landings}};
        if (const QString name = m_displayNames.value(owner.key()); !name.isEmpty())
            row.insert("displayName", name);
        members.append(row);
    }
    std::stable_sort(members.begin(), members.end(), [](const QJsonObject &a, const QJsonObject &b) {
        const double am = a.value("approvedMinutes").toDouble(), bm = b.value("approvedMinutes").toDouble();
        if (am != bm)
            return am > bm;
        const int ac = a.value("approvedCount").toInt(), bc = b.value("approvedCount").toInt();
        if (ac != bc)
            return ac > bc;
        return a.value("username").toString() < b.value("username").toString();
    });
    QJsonArray rows;
    for (const QJsonObject &member : std::as_const(members))
        rows.append(member);
    board.insert("members", rows);
    return board;
}

QList<QJsonObject> *MemberStore::notices(const QString &username)
{
    const auto found = m_notices.find(username);
    return found == m_notices.end() ? nullptr : &*found;
}

void MemberStore::addNotice(const QString &username, QJsonObject notice)
{
    int highest = 0;
    for (const QList<QJsonObject> &list : std::as_const(m_notices)) {
        for (const QJsonObject &n : list)
            highest = std::max(highest, n.value("id").toString().section('-', 1).toInt());
    }
    notice.insert("id", QStringLiteral("n-%1").arg(highest + 1));
    m_notices[username].prepend(notice);
}

const QJsonObject *MemberStore::event(const QString &id) const
{
    for (const QJsonObject &event : m_events) {
        if (event.value("id").toString() == id)
            return &event;
    }
    return nullptr;
}

void MemberStore::answer(const QString &eventId, const QString &username, const QString &response)
{
    QList<EventAnswer> &list = m_answers[eventId];
    if (!m_answerOrder.contains(eventId))
        m_answerOrder.append(eventId);
    for (EventAnswer &given : list) {
        if (given.username == username) {
            given.response = response;
            return;
        }
    }
    list.append({username, response});
}

bool MemberStore::eventInPirepWindow(const QJsonObject &event, double atSeconds) const
{
    const QDateTime start = QDateTime::fromString(event.value("eventAtUtc").toString(), Qt::ISODate);
    const double startSeconds = double(start.toSecsSinceEpoch());
    const double minutes =
        event.value("estimatedHours").toDouble() * 60 + event.value("estimatedMinutes").toDouble() + 60;
    return atSeconds >= startSeconds && atSeconds <= startSeconds + minutes * 60;
}

bool MemberStore::organizationRoute(const QString &departure, const QString &arrival) const
{
    return m_organizationRoutes.contains({departure, arrival});
}

std::optional<QJsonObject> MemberStore::statistics(const QString &username) const
{
    const QJsonValue found = m_infiniteFlight.value("statistics").toObject().value(username);
    return found.isObject() ? std::optional<QJsonObject>(found.toObject()) : std::nullopt;
}

QJsonArray MemberStore::recentFlights(const QString &username) const
{
    QJsonArray flights;
    for (const QJsonValue &row : m_infiniteFlight.value("flights").toObject().value(username).toArray()) {
        QJsonObject flight = row.toObject();
        if (flight.contains("createdOffsetHours"))
            flight.insert(
                "created",
                isoAt(m_startMs + qint64(flight.take("createdOffsetHours").toDouble() * hourMs), true));
        flights.append(flight);
    }
    return flights;
}

} // namespace Sample

namespace Sample {

QList<QJsonObject> MemberStore::allPireps() const
{
    QList<QJsonObject> all;
    for (const QList<QJsonObject> &list : m_reports)
        all += list;
    std::stable_sort(all.begin(), all.end(), [](const QJsonObject &a, const QJsonObject &b) {
        return a.value("submittedAt").toDouble() > b.value("submittedAt").toDouble();
    });
    for (QJsonObject &report : all)
        report = reportJson(report);
    return all;
}

bool MemberStore::removePirep(const QString &id)
{
    for (QList<QJsonObject> &list : m_reports) {
        for (qsizetype i = 0; i < list.size(); ++i) {
            if (list.at(i).value("id").toString() == id) {
                list.removeAt(i);
                m_evidence.remove(id);
                m_history.remove(id);
                return true;
            }
        }
    }
    return false;
}

} // namespace Sample

#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QMap>
#include <QObject>
#include <QSslCertificate>
#include <QString>
#include <QUrl>
#include <QUrlQuery>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QHttpServer;
class QImage;
class QHttpServerRequest;
class QHttpServerResponder;

// A small in-memory member service over HTTPS on 127.0.0.1, for tests and for trying the app without an
// account on the real site. It keeps its state, records every request, and can be told to misbehave.
namespace Sample {

using Headers = QList<QPair<QByteArray, QByteArray>>;

// The bytes of a picture in a format of Qt's ("png", "webp" at quality 90), as the service sends it.
QByteArray encodedPicture(const QImage &picture, const char *format = "png");

// One request as it arrived.
struct Request
{
    QByteArray method;
    QString path;
    QUrlQuery query;
    Headers headers;
    QMap<QByteArray, QByteArray> cookies;
    QByteArray body;
    QHash<QString, QString> parameters; // the {name} segments of the route

    QByteArray header(const QByteArray &name) const; // case-insensitive, first match
    QJsonValue json() const;                         // the body as JSON, undefined when it is none
};

// One answer. Statics make the common shapes.
struct Reply
{
    int status = 200;
    QByteArray contentType = "application/json";
    Headers headers;
    QByteArray body;

    static Reply json(const QJsonValue &value, int status = 200);
    static Reply message(int status, const QString &message); // {"message": …}, the service's refusals
    static Reply html(const QByteArray &page, int status = 200);
    static Reply redirect(const QString &location, int status = 302);
    static Reply bytes(const QByteArray &data, const QByteArray &contentType, int status = 200);
};

// How the service misbehaves for one path ("*" for every path). Empty fields change nothing.
struct Fault
{
    std::optional<int> status;         // answer with this status (the body says so in {"message"})
    std::optional<QByteArray> html;    // answer with this HTML page instead of JSON
    std::optional<QJsonValue> json;    // answer with this JSON (null, an unreadable shape) instead
    std::optional<int> bodyDelayMs;    // send the headers at once, then the body after this wait
    std::optional<qint64> oversize;    // a JSON body of this many bytes
    bool undeclaredLength = false;     // send the body chunked, without Content-Length
    std::optional<qint64> cutAfter;    // declare the whole body's length, send this many bytes, hang up
    std::optional<QUrl> redirect;      // answer 302 to this address (another origin, say)
    bool held = false;                 // answer nothing until release(), headers included
    std::optional<QByteArray> rawJson; // answer with these bytes as JSON (bad UTF-8, deep nesting)
    Headers headers;                   // add these headers to the answer (a foreign Set-Cookie, say)
    bool reset = false;                // reset the connection instead of answering
    bool unheard = false;              // with held or reset: the request never reaches its handler
    std::optional<int> trickleMs;      // send the body in eight pieces, one every this many ms
    int times = -1;                    // how many requests it hits; -1 for all
    QByteArray method;                 // hits only requests of this method ("POST"); empty for any
};

struct Account
{
    QString id;
    QString username;
    QString password;
    QString name;
    QString role;
    bool mustChangePassword = false;
    bool needsProfileSetup = false;
    QJsonObject profile; // as "/api/profile" answers it
    QByteArray avatar;   // an uploaded avatar; empty: the one drawn from the id
    QByteArray avatarType;
};

struct Session
{
    QString accountId;
    bool remember = false;
};

class Service : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<Reply(Service &, const Request &)>;

    // Sample data comes from the JSON files of a folder; by default the ones built into the service.
    explicit Service(QObject *parent = nullptr, const QString &dataFolder = QString());
    ~Service() override;

    // Listens on 127.0.0.1 (port 0: a free one). False when it cannot.
    bool start(quint16 port = 0);
    QUrl origin() const;

    // The certificate the service presents; a client trusts it to talk to the service.
    static QSslCertificate certificate();
    // Points these sites of the app at the service, before anything reads them: writes the certificate into
    // `folder` and sets VORNA_<site>_ORIGIN and VORNA_<site>_CA for each site ("MEMBER", "FORUM",
    // "LIVE_VENDOR"). False when the certificate cannot be written.
    bool standIn(const QString &folder, const QStringList &sites) const;

    // Routes: "{name}" matches one path segment, handed over in Request::parameters. A later route for the
    // same method and path takes the place of an earlier one, so a test can change one answer.
    void route(const QByteArray &method, const QString &pattern, Handler handler);

    // A path with its query ("/api/member/pirep-leaderboard?period=recent") hits only requests with that
    // query, before a fault of the bare path.
    void setFault(const QString &path, const Fault &fault);
    void clearFaults();
    // Sends the answers that held faults keep back, so a test decides when they come.
    void release();
    int heldAnswers() const { return int(m_held.size()); }

    QList<Request> requests() const { return m_requests; }
    QList<Request> requestsTo(const QString &path) const;
    void clearRequests() { m_requests.clear(); }

    // State.
    QList<Account> accounts() const { return m_accounts; }
    Account *account(const QString &id);
    Account *accountNamed(const QString &username); // in any letter case
    // The signed-in account of a request, if its session cookie is live.
    Account *signedIn(const Request &request);
    // Starts a session and returns the Set-Cookie value for it.
    QByteArray openSession(const QString &accountId, bool remember);
    void closeSession(const Request &request);
    // Every session ends at once, as when the cookies expire at the service.
    void expireSessions() { m_sessions.clear(); }
    int sessionCount() const { return int(m_sessions.size()); }

    // The avatar picture of an account that has one: a PNG drawn from the account's id.
    static QByteArray avatarPicture(const QString &accountId);

    // The release manifest of the member site: a build after the one this tree makes (the default), this
    // very build, or one whose build number is text.
    enum class Release { Newer, Current, Malformed };
    void publishRelease(Release release);

    // While set, the live map's live snapshot answers 503 and only the saved one ("?saved=1") answers, so
    // the app shows its saved-snapshot fallback.
    void setLiveSnapshotFailing(bool failing) { m_liveSnapshotFailing = failing; }
    bool liveSnapshotFailing() const { return m_liveSnapshotFailing; }

    // The JSON of a data file ("accounts" for accounts.json), for endpoints that serve sample records.
    QJsonValue data(const QString &name) const { return m_data.value(name); }

    static constexpr char sessionCookie[] = "vornalia_session";

private:
    struct Route
    {
        QByteArray method;
        QStringList segments;
        Handler handler;
    };

    void dispatch(const QHttpServerRequest &request, QHttpServerResponder &&responder);
    Reply answer(Request &request);
    std::optional<Fault> takeFault(const Request &request);
    void send(const Request &request, Reply reply, const std::optional<Fault> &fault,
              QHttpServerResponder &&responder);
    void loadData(const QString &folder);
    void addAccountRoutes(); // sign-in, the user, sign-out, gate pages, profile, avatar
    void addMemberRoutes();  // the member's reports, events, leaderboard, routes, notices, flights, live map
    void addImageRoutes();   // the livery catalog and the aircraft pictures
    void addReleaseRoutes(); // the release manifest of the update check
    void addForumRoutes();   // the community forum's public user records and avatars (for the forum avatar)

    std::unique_ptr<QHttpServer> m_server;
    quint16 m_port = 0;
    QList<Route> m_routes;
    QHash<QString, Fault> m_faults;
    struct HeldAnswer;
    std::vector<std::unique_ptr<HeldAnswer>> m_held;
    QList<Request> m_requests;
    QList<Account> m_accounts;
    QHash<QByteArray, Session> m_sessions;
    QHash<QString, QJsonValue> m_data;
    QJsonObject m_release;
    bool m_liveSnapshotFailing = false;
};

} // namespace Sample

// The sample member service itself: TLS on loopback, Secure cookies, the gate pages, misbehaviour and the
// request record that the client's tests rely on.
#include "SampleService.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QSslConfiguration>
#include <QtTest>

namespace {

struct Answer
{
    int status = 0;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    QUrl finalUrl;
    QByteArray body;
    QList<QNetworkReply::RawHeaderPair> headers;
    QByteArray header(const QByteArray &name) const
    {
        for (const auto &[key, value] : headers) {
            if (key.compare(name, Qt::CaseInsensitive) == 0)
                return value;
        }
        return {};
    }
};

// A client that trusts the service's certificate and keeps cookies, as the app's will.
class Client
{
public:
    explicit Client(const Sample::Service &service)
        : m_origin(service.origin())
    {
        m_ssl = QSslConfiguration::defaultConfiguration();
        m_ssl.addCaCertificate(Sample::Service::certificate());
    }

    Answer send(const QByteArray &method, const QString &path, const QByteArray &body = {},
                QNetworkRequest::RedirectPolicy redirects = QNetworkRequest::NoLessSafeRedirectPolicy,
                int timeoutMs = 10000)
    {
        QNetworkRequest request(m_origin.resolved(QUrl(path)));
        request.setSslConfiguration(m_ssl);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, redirects);
        request.setTransferTimeout(timeoutMs);
        request.setRawHeader("Accept", "application/json");
        if (method == "POST") {
            request.setRawHeader("Origin", m_origin.toString().toUtf8());
            request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
        }
        // Qt follows redirects of its own verbs only.
        QNetworkReply *reply =
            method == "HEAD" ? m_manager.head(request) : m_manager.sendCustomRequest(request, method, body);
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        Answer answer{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->error(),
                      reply->url(), reply->readAll(), reply->rawHeaderPairs()};
        reply->deleteLater();
        return answer;
    }

    Answer signIn(const QString &username, const QString &password, bool remember = false)
    {
        const QJsonObject body{{"username", username}, {"password", password}, {"rememberMe", remember}};
        return send("POST", "/api/login", QJsonDocument(body).toJson(QJsonDocument::Compact));
    }

    QNetworkCookieJar *cookies() { return m_manager.cookieJar(); }

private:
    QUrl m_origin;
    QSslConfiguration m_ssl;
    QNetworkAccessManager m_manager;
};

} // namespace

class SampleServiceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void answersOverTlsOnLoopback();
    void refusesClientsThatDoNotTrustItsCertificate();
    void secureSessionCookieTravelsBack();
    void signInRefusalsAndSignOut();
    void writesNeedTheSiteOrigin();
    void gatePagesLeadToWhatMustComeFirst_data();
    void gatePagesLeadToWhatMustComeFirst();
    void misbehavesOnRequest();
    void slowAndOversizeBodies();
    void recordsWhatWasSent();
    void unknownPathsAndMethods();

private:
    std::unique_ptr<Sample::Service> m_service;
};

void SampleServiceTest::init()
{
    m_service = std::make_unique<Sample::Service>();
    QVERIFY(m_service->start());
}

void SampleServiceTest::cleanup() { m_service.reset(); }

void SampleServiceTest::answersOverTlsOnLoopback()
{
    const QUrl origin = m_service->origin();
    QCOMPARE(origin.scheme(), QString("https"));
    QCOMPARE(origin.host(), QString("127.0.0.1"));
    QVERIFY(origin.port() > 0);

    Client client(*m_service);
    const Answer answer = client.send("GET", "/api/me");
    QCOMPARE(answer.error, QNetworkReply::AuthenticationRequiredError);
    QCOMPARE(answer.status, 401);
    QCOMPARE(QJsonDocument::fromJson(answer.body)["message"].toString(), QString("请先登录。"));
}

void SampleServiceTest::refusesClientsThatDoNotTrustItsCertificate()
{
    QNetworkAccessManager manager;
    QNetworkReply *reply = manager.get(QNetworkRequest(m_service->origin().resolved(QUrl("/api/me"))));
    QSignalSpy finished(reply, &QNetworkReply::finished);
    QVERIFY(finished.wait(TestSupport::patience));
    QCOMPARE(reply->error(), QNetworkReply::SslHandshakeFailedError);
    delete reply;
}

void SampleServiceTest::secureSessionCookieTravelsBack()
{
    Client client(*m_service);
    // As on the member site, the user name is found in any letter case; the account keeps its own.
    const Answer login = client.signIn("LiChen", "fly-vornalia");
    QCOMPARE(login.status, 200);
    QCOMPARE(QJsonDocument::fromJson(login.body)["redirect"].toString(), QString("/member"));

    const QList<QNetworkCookie> cookies = client.cookies()->cookiesForUrl(m_service->origin());
    QCOMPARE(cookies.size(), 1);
    QCOMPARE(cookies.first().name(), QByteArray(Sample::Service::sessionCookie));
    QVERIFY(cookies.first().isSecure());
    QVERIFY(cookies.first().isHttpOnly());
    QVERIFY(cookies.first().isSessionCookie()); // not remembered: ends with the browser session

    const Answer me = client.send("GET", "/api/me");
    QCOMPARE(me.status, 200);
    const QJsonObject user = QJsonDocument::fromJson(me.body)["user"].toObject();
    QCOMPARE(user.value("id").toString(), QString("u-1001"));
    QCOMPARE(user.value("username").toString(), QString("lichen"));
    QCOMPARE(user.value("name").toString(), QString("李辰"));
    QCOMPARE(user.value("role").toString(), QString("member"));
    QCOMPARE(m_service->requestsTo("/api/me").last().cookies.value(Sample::Service::sessionCookie),
             cookies.first().value());

    // Staying signed in gives the cookie thirty days.
    Client remembered(*m_service);
    QCOMPARE(remembered.signIn("wangfang", "fly-vornalia", true).status, 200);
    const QNetworkCookie lasting = remembered.cookies()->cookiesForUrl(m_service->origin()).first();
    QVERIFY(!lasting.isSessionCookie());
    QVERIFY(qAbs(QDateTime::currentDateTimeUtc().secsTo(lasting.expirationDate()) - 2'592'000) < 60);

    // Sessions can be ended at the service, as when they expire there.
    m_service->expireSessions();
    QCOMPARE(client.send("GET", "/api/me").status, 401);
}

void SampleServiceTest::signInRefusalsAndSignOut()
{
    Client client(*m_service);
    const Answer wrong = client.signIn("lichen", "not-the-password");
    QCOMPARE(wrong.status, 401);
    QCOMPARE(QJsonDocument::fromJson(wrong.body)["message"].toString(), QString("用户名或密码错误。"));
    QCOMPARE(client.signIn("nobody", "fly-vornalia").status, 401);
    QCOMPARE(m_service->sessionCount(), 0);

    QCOMPARE(client.signIn("sunyue", "fly-vornalia").status, 200);
    QCOMPARE(QJsonDocument::fromJson(client.send("GET", "/api/me").body)["user"]["role"].toString(),
             QString("observer"));
    const Answer out = client.send("POST", "/api/logout", "{}");
    QCOMPARE(out.status, 200);
    QCOMPARE(QJsonDocument::fromJson(out.body)["ok"].toBool(), true);
    QCOMPARE(m_service->sessionCount(), 0);
    QVERIFY(client.cookies()->cookiesForUrl(m_service->origin()).isEmpty());
}

void SampleServiceTest::writesNeedTheSiteOrigin()
{
    Client client(*m_service);
    QNetworkAccessManager manager;
    QNetworkRequest request(m_service->origin().resolved(QUrl("/api/login")));
    QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
    ssl.addCaCertificate(Sample::Service::certificate());
    request.setSslConfiguration(ssl);
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
    request.setRawHeader("Origin", "https://elsewhere.example");
    QNetworkReply *reply = manager.post(request, R"({"username":"lichen","password":"fly-vornalia"})");
    QSignalSpy finished(reply, &QNetworkReply::finished);
    QVERIFY(finished.wait(TestSupport::patience));
    QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 403);
    QCOMPARE(m_service->sessionCount(), 0);
    delete reply;
}

void SampleServiceTest::gatePagesLeadToWhatMustComeFirst_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("finalPath");
    QTest::addColumn<QString>("finalQuery");
    QTest::newRow("signed out") << ""
                                << ""
                                << "/member"
                                << "/login"
                                << "";
    QTest::newRow("member") << "lichen"
                            << "fly-vornalia"
                            << "/member"
                            << "/member"
                            << "";
    QTest::newRow("member at the staff page") << "lichen"
                                              << "fly-vornalia"
                                              << "/admin"
                                              << "/member"
                                              << "";
    QTest::newRow("admin") << "wangfang"
                           << "fly-vornalia"
                           << "/admin"
                           << "/admin"
                           << "";
    QTest::newRow("developer") << "zhaolei"
                               << "fly-vornalia"
                               << "/admin"
                               << "/admin"
                               << "";
    QTest::newRow("temporary password") << "zhouning"
                                        << "temporary-123"
                                        << "/member"
                                        << "/change-password"
                                        << "";
    QTest::newRow("profile to set up") << "xuhang"
                                       << "fly-vornalia"
                                       << "/member"
                                       << "/profile"
                                       << "setup=1";
}

void SampleServiceTest::gatePagesLeadToWhatMustComeFirst()
{
    QFETCH(QString, username);
    QFETCH(QString, password);
    QFETCH(QString, page);
    QFETCH(QString, finalPath);
    QFETCH(QString, finalQuery);
    Client client(*m_service);
    if (!username.isEmpty())
        QCOMPARE(client.signIn(username, password).status, 200);
    const Answer answer = client.send("HEAD", page);
    QCOMPARE(answer.status, 200);
    QCOMPARE(answer.finalUrl.path(), finalPath);
    QCOMPARE(answer.finalUrl.query(), finalQuery);
    QVERIFY(answer.body.isEmpty());
    QCOMPARE(m_service->requestsTo(page).first().method, QByteArray("HEAD"));
}

void SampleServiceTest::misbehavesOnRequest()
{
    Client client(*m_service);
    QCOMPARE(client.signIn("lichen", "fly-vornalia").status, 200);

    m_service->setFault("/api/me", {.status = 503, .times = 1});
    const Answer unavailable = client.send("GET", "/api/me");
    QCOMPARE(unavailable.status, 503);
    QVERIFY(QJsonDocument::fromJson(unavailable.body)["message"].toString().contains("503"));
    QCOMPARE(client.send("GET", "/api/me").status, 200); // only once

    m_service->setFault("/api/me", {.status = 500, .html = QByteArray("<html>Bad gateway</html>")});
    const Answer page = client.send("GET", "/api/me");
    QCOMPARE(page.status, 500);
    QCOMPARE(page.body, QByteArray("<html>Bad gateway</html>"));
    QVERIFY(page.header("Content-Type").startsWith("text/html"));
    m_service->clearFaults();

    // A JSON answer the app cannot use: a bare null in place of the user.
    m_service->setFault("/api/me", {.json = QJsonValue(QJsonValue::Null), .times = 1});
    const Answer null = client.send("GET", "/api/me");
    QCOMPARE(null.status, 200);
    QCOMPARE(null.body.trimmed(), QByteArray("null"));

    // A redirect to another origin, seen without following it.
    m_service->setFault("*", {.redirect = QUrl("https://elsewhere.example/login")});
    const Answer away = client.send("HEAD", "/member", {}, QNetworkRequest::ManualRedirectPolicy);
    QCOMPARE(away.status, 302);
    QCOMPARE(away.header("Location"), QByteArray("https://elsewhere.example/login"));
    m_service->clearFaults();
    QCOMPARE(client.send("GET", "/api/me").status, 200);
}

void SampleServiceTest::slowAndOversizeBodies()
{
    Client client(*m_service);
    QCOMPARE(client.signIn("lichen", "fly-vornalia").status, 200);

    m_service->setFault("/api/me", {.bodyDelayMs = 600, .times = 1});
    QElapsedTimer clock;
    clock.start();
    const Answer slow = client.send("GET", "/api/me");
    QCOMPARE(slow.status, 200);
    QVERIFY(clock.elapsed() >= 550);
    QCOMPARE(QJsonDocument::fromJson(slow.body)["user"]["username"].toString(), QString("lichen"));

    // A client with a shorter transfer time-out gives up on a stalled body.
    m_service->setFault("/api/me", {.bodyDelayMs = 3000, .times = 1});
    QCOMPARE(client.send("GET", "/api/me", {}, QNetworkRequest::NoLessSafeRedirectPolicy, 300).error,
             QNetworkReply::OperationCanceledError);

    m_service->setFault("/api/me", {.oversize = 3 * 1024 * 1024, .times = 1});
    const Answer declared = client.send("GET", "/api/me");
    QCOMPARE(declared.body.size(), 3 * 1024 * 1024);
    QCOMPARE(declared.header("Content-Length"), QByteArray::number(3 * 1024 * 1024));
    QVERIFY(QJsonDocument::fromJson(declared.body).isObject());

    m_service->setFault("/api/me", {.oversize = 100'000, .undeclaredLength = true, .times = 1});
    const Answer undeclared = client.send("GET", "/api/me");
    QCOMPARE(undeclared.status, 200);
    QCOMPARE(undeclared.body.size(), 100'000);
    QVERIFY(undeclared.header("Content-Length").isEmpty());

    // A body cut short: the whole length declared, a few bytes sent, the connection closed.
    m_service->setFault("/api/me", {.oversize = 400, .cutAfter = 8, .times = 1});
    const Answer cut = client.send("GET", "/api/me");
    QCOMPARE(cut.status, 200);
    QCOMPARE(cut.header("Content-Length"), QByteArray("400"));
    QCOMPARE(cut.body, QByteArray("{\"paddin"));
    QCOMPARE(client.send("GET", "/api/me").status, 200);
}

void SampleServiceTest::recordsWhatWasSent()
{
    Client client(*m_service);
    QCOMPARE(client.signIn("lichen", "fly-vornalia", true).status, 200);
    const Sample::Request login = m_service->requestsTo("/api/login").first();
    QCOMPARE(login.method, QByteArray("POST"));
    QCOMPARE(login.header("accept"), QByteArray("application/json"));
    QCOMPARE(login.header("Origin"), m_service->origin().toString().toUtf8());
    QCOMPARE(login.json().toObject().value("rememberMe").toBool(), true);
    QVERIFY(login.cookies.isEmpty());

    client.send("GET", "/api/me?x=1");
    const Sample::Request me = m_service->requests().last();
    QCOMPARE(me.path, QString("/api/me"));
    QCOMPARE(me.query.queryItemValue("x"), QString("1"));
    QVERIFY(me.cookies.contains(Sample::Service::sessionCookie));
    m_service->clearRequests();
    QVERIFY(m_service->requests().isEmpty());
}

void SampleServiceTest::unknownPathsAndMethods()
{
    Client client(*m_service);
    QCOMPARE(client.send("GET", "/api/nothing-here").status, 404);
    QCOMPARE(client.send("GET", "/api/login").status, 405);

    // Routes with a parameter hand the segment over.
    m_service->route("GET", "/api/things/{id}", [](Sample::Service &, const Sample::Request &request) {
        return Sample::Reply::json(QJsonObject{{"id", request.parameters.value("id")}});
    });
    QCOMPARE(QJsonDocument::fromJson(client.send("GET", "/api/things/t-9").body)["id"].toString(),
             QString("t-9"));
    QCOMPARE(client.send("GET", "/api/things/").status, 404);
}

QTEST_GUILESS_MAIN(SampleServiceTest)
#include "tst_sample_service.moc"

// A member service that misbehaves: each misbehaviour ends in the client's own clear error (or in an
// answer used as usual), leaves the stored session as it was, and the next request works again.
#include "ClientTestSupport.h"
#include "Outcome.h"

using namespace TestSupport;

class HostileServiceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void misbehaviourLeavesTheClientWhole_data();
    void misbehaviourLeavesTheClientWhole();

private:
    std::unique_ptr<Site> m_site;
};

void HostileServiceTest::init()
{
    qputenv("LANGUAGE", "zh_CN");
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
}

void HostileServiceTest::cleanup() { m_site.reset(); }

void HostileServiceTest::misbehaviourLeavesTheClientWhole_data()
{
    QTest::addColumn<Sample::Fault>("fault");
    QTest::addColumn<int>("status");      // of the failure; 0 for a failure of the transport
    QTest::addColumn<QString>("message"); // empty: the answer is used

    const QString unreadable = "服务器数据格式暂时无法识别，请刷新后重试。";
    Sample::Fault plainHttp;
    plainHttp.redirect = QUrl("http://127.0.0.1/api/me"); // the port is set once the service runs
    QTest::newRow("redirect to http") << plainHttp << 302 << "请求未完成（302），请稍后重试。";

    Sample::Fault badUtf8;
    badUtf8.rawJson =
        QByteArray(R"({"user":{"id":"u-1001","username":"li)") + "\xff\xfe" + R"(chen","role":"member"}})";
    QTest::newRow("invalid UTF-8 in a string") << badUtf8 << 502 << unreadable;

    Sample::Fault deep;
    deep.rawJson = QByteArray(100'000, '[') + QByteArray(100'000, ']');
    QTest::newRow("JSON nested 100,000 deep") << deep << 502 << unreadable;

    Sample::Fault deepRefusal = deep;
    deepRefusal.status = 500;
    QTest::newRow("deep JSON as an error body") << deepRefusal << 500 << "请求未完成（500），请稍后重试。";

    Sample::Fault foreignCookie;
    foreignCookie.headers = {
        {"Set-Cookie", "vornalia_session=stolen; Domain=elsewhere.example; Path=/; Secure"}};
    QTest::newRow("cookie for another domain") << foreignCookie << 0 << QString();

    Sample::Fault insecureCookie;
    insecureCookie.headers = {{"Set-Cookie", "tracker=1; Path=/; Max-Age=3600"}};
    QTest::newRow("cookie without Secure") << insecureCookie << 0 << QString();

    // Regression, with the row above: a cookie without Secure was kept, even in the session cookie's place.
    Sample::Fault downgrade;
    downgrade.headers = {{"Set-Cookie", "vornalia_session=downgraded; Path=/; Max-Age=3600"}};
    QTest::newRow("session cookie again without Secure") << downgrade << 0 << QString();

    Sample::Fault reset;
    reset.reset = true;
    QTest::newRow("connection reset") << reset << 0 << "连接在回答收完之前中断，请检查网络连接后重试。";
}

void HostileServiceTest::misbehaviourLeavesTheClientWhole()
{
    QFETCH(Sample::Fault, fault);
    QFETCH(int, status);
    QFETCH(QString, message);
    Sample::Service &service = *m_site->service;
    const auto store = std::make_shared<MemorySessionStore>();
    const auto client = m_site->client(store);
    await(client->login("lichen", "fly-vornalia", true));
    const std::optional<QByteArray> stored = store->data();
    QVERIFY(stored);
    const auto cookiesSent = [&service] { return service.requestsTo("/api/me").constLast().cookies; };
    const QMap<QByteArray, QByteArray> session = cookiesSent();
    QCOMPARE(session.keys(), QList<QByteArray>{Sample::Service::sessionCookie});

    if (fault.redirect)
        fault.redirect->setPort(service.origin().port());
    service.setFault("/api/me", fault);
    const Outcome<UserResponse> outcome =
        await(attempt(client->decode<UserResponse>(client->makeRequest("/api/me", "GET"))));
    QCOMPARE(outcome.message(), message);
    QCOMPARE(outcome.status(), status);
    if (message.isEmpty())
        QCOMPARE(outcome.value().user.username, QString("lichen"));
    QCOMPARE(store->data(), stored);

    // The next request goes out with the same session and no other cookie, and is answered.
    service.clearFaults();
    const UserResponse me = await(client->decode<UserResponse>(client->makeRequest("/api/me", "GET")));
    QCOMPARE(me.user.username, QString("lichen"));
    QCOMPARE(cookiesSent(), session);
    QCOMPARE(store->data(), stored);
}

QTEST_GUILESS_MAIN(HostileServiceTest)
#include "tst_hostile_service.moc"

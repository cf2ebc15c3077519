// Which member service the app talks to, and which certificates it trusts for it.
#include "SampleService.h"
#include "ServiceHosts.h"

#include <QTemporaryFile>
#include <QtTest>

class ServiceHostsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fixedOriginHasNoPathPortOrUser();
    void overrideAcceptsOnlySafeOrigins_data();
    void overrideAcceptsOnlySafeOrigins();
    void overrideTrustsTheNamedCertificate();
    void forumIsFixedUnlessTheEnvironmentNamesAnother();
};

void ServiceHostsTest::fixedOriginHasNoPathPortOrUser()
{
    const QUrl origin = ServiceHosts::fixedMemberEndpoint().origin;
    QCOMPARE(origin.scheme(), QString("https"));
    QCOMPARE(origin.host(), QString(ServiceHosts::memberHost));
    QCOMPARE(origin.port(), -1);
    QVERIFY(origin.path().isEmpty());
    QVERIFY(origin.userInfo().isEmpty());
    QVERIFY(ServiceHosts::fixedMemberEndpoint().trustedCertificates.isEmpty());
    QVERIFY(QString(ServiceHosts::secondHost) != QString(ServiceHosts::memberHost));
}

void ServiceHostsTest::overrideAcceptsOnlySafeOrigins_data()
{
    QTest::addColumn<QString>("origin");
    QTest::addColumn<QString>("accepted");
    QTest::newRow("https") << "https://staging.vornalia.org"
                           << "https://staging.vornalia.org";
    QTest::newRow("https with port and slash") << "https://127.0.0.1:8443/"
                                               << "https://127.0.0.1:8443";
    QTest::newRow("loopback http") << "http://127.0.0.1:8080"
                                   << "http://127.0.0.1:8080";
    QTest::newRow("localhost http") << "http://localhost:8080"
                                    << "http://localhost:8080";
    QTest::newRow("ipv6 loopback http") << "http://[::1]:8080"
                                        << "http://[::1]:8080";
    QTest::newRow("remote http") << "http://vornalia.org"
                                 << "";
    QTest::newRow("with path") << "https://vornalia.org/api"
                               << "";
    QTest::newRow("with user") << "https://someone@vornalia.org"
                               << "";
    QTest::newRow("with query") << "https://vornalia.org?x=1"
                                << "";
    QTest::newRow("other scheme") << "ftp://vornalia.org"
                                  << "";
    QTest::newRow("no host") << "https://"
                             << "";
    QTest::newRow("not a URL") << "vornalia"
                               << "";
}

void ServiceHostsTest::overrideAcceptsOnlySafeOrigins()
{
    QFETCH(QString, origin);
    QFETCH(QString, accepted);
    const auto endpoint = ServiceHosts::parseOverride(origin, QString());
    if (accepted.isEmpty()) {
        QVERIFY2(!endpoint, qPrintable(origin));
        return;
    }
    QVERIFY(endpoint);
    QCOMPARE(endpoint->origin.toString(), accepted);
}

void ServiceHostsTest::overrideTrustsTheNamedCertificate()
{
    QTemporaryFile pem;
    QVERIFY(pem.open());
    pem.write(Sample::Service::certificate().toPem());
    pem.close();
    const auto endpoint = ServiceHosts::parseOverride("https://127.0.0.1:9443", pem.fileName());
    QVERIFY(endpoint);
    // Read from the file now, made into certificates when a connection first asks: copies share that reading.
    QVERIFY(!endpoint->trustedCertificates.isRead());
    const TrustedCertificates copy = endpoint->trustedCertificates;
    QCOMPARE(endpoint->trustedCertificates.certificates(),
             QList<QSslCertificate>{Sample::Service::certificate()});
    QVERIFY(copy.isRead());
    QCOMPARE(copy.certificates(), QList<QSslCertificate>{Sample::Service::certificate()});

    // A file without a certificate in it trusts nothing extra.
    QTemporaryFile garbage;
    QVERIFY(garbage.open());
    garbage.write("-----BEGIN CERTIFICATE-----\nnot base64 at all\n-----END CERTIFICATE-----\n");
    garbage.close();
    const auto unreadable = ServiceHosts::parseOverride("https://127.0.0.1:9443", garbage.fileName());
    QVERIFY(unreadable && unreadable->trustedCertificates.isEmpty());

    // An unreadable file trusts nothing extra; the origin still applies.
    const auto without = ServiceHosts::parseOverride("https://127.0.0.1:9443", "/nonexistent/cert.pem");
    QVERIFY(without && without->trustedCertificates.isEmpty());
}

// The forum of the IFC avatar: the public forum, or for tests an origin of the same safe kinds as the
// member's.
void ServiceHostsTest::forumIsFixedUnlessTheEnvironmentNamesAnother()
{
    const QUrl fixed = ServiceHosts::fixedForumEndpoint().origin;
    QCOMPARE(fixed.toString(), QString("https://community.infiniteflight.com"));
    QVERIFY(ServiceHosts::fixedForumEndpoint().trustedCertificates.isEmpty());
    qputenv("VORNA_FORUM_ORIGIN", "http://forum.example.com"); // plain, and not this machine: refused
    QCOMPARE(ServiceHosts::forumEndpoint().origin, fixed);
}

QTEST_GUILESS_MAIN(ServiceHostsTest)
#include "tst_service_hosts.moc"

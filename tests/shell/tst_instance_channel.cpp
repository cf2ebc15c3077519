// A second start hands its links to the running app.
#include "InstanceChannel.h"

#include <QSignalSpy>
#include <QUuid>
#include <QtTest>

class InstanceChannelTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secondStartHandsOverItsLinks();
};

void InstanceChannelTest::secondStartHandsOverItsLinks()
{
    const QString name = "vorna-test-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    InstanceChannel second(name);
    QVERIFY(!second.handOver({"vorna://live-map/own-flight"})); // nobody runs yet

    InstanceChannel running(name);
    QVERIFY(running.listen());
    QSignalSpy received(&running, &InstanceChannel::received);
    QVERIFY(second.handOver({"vorna://live-map/own-flight", "vorna://other"}));
    QVERIFY(received.wait(3000));
    QCOMPARE(received.constFirst().constFirst().toStringList(),
             (QStringList{"vorna://live-map/own-flight", "vorna://other"}));

    // A start without links still reaches the running app, which brings its window forward.
    QVERIFY(second.handOver({}));
    QVERIFY(received.wait(3000));
    QVERIFY(received.constLast().constFirst().toStringList().isEmpty());
}

QTEST_GUILESS_MAIN(InstanceChannelTest)
#include "tst_instance_channel.moc"

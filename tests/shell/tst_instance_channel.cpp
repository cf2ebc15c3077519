// A second start hands its links to the running app.
#include "InstanceChannel.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUuid>
#include <QtTest>

class InstanceChannelTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secondStartHandsOverItsLinks();
    void anotherDisplayStartsItsOwnWindow();
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
    QVERIFY(received.wait(TestSupport::patience));
    QCOMPARE(received.constFirst().constFirst().toStringList(),
             (QStringList{"vorna://live-map/own-flight", "vorna://other"}));

    // A start without links still reaches the running app, which brings its window forward.
    QVERIFY(second.handOver({}));
    QVERIFY(received.wait(TestSupport::patience));
    QVERIFY(received.constLast().constFirst().toStringList().isEmpty());
}

void InstanceChannelTest::anotherDisplayStartsItsOwnWindow()
{
    // Two displays of one user: a start on the second does not reach the window of the first.
    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("DISPLAY", ":41");
    InstanceChannel first;
    QVERIFY(first.listen());
    QVERIFY(InstanceChannel::defaultName().startsWith(runtime.path() + '/'));
    QVERIFY(InstanceChannel().handOver({})); // the same display reaches it

    qputenv("DISPLAY", ":42");
    QVERIFY(!InstanceChannel().handOver({"vorna://other"}));
    InstanceChannel second;
    QVERIFY(second.listen());

    // A Wayland display's name may be a path: it still names one channel in the runtime folder.
    qputenv("WAYLAND_DISPLAY", "/run/wayland-1");
    QCOMPARE(InstanceChannel::defaultName().section('/', 0, -2), runtime.path());
    QVERIFY(!InstanceChannel().handOver({}));
}

QTEST_GUILESS_MAIN(InstanceChannelTest)
#include "tst_instance_channel.moc"

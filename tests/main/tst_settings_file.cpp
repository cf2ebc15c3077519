// The settings file as the app reads it from its start: a file Qt wrote for it, with the read marks of
// earlier versions in each form Qt gives them and entries damaged by hand. Built with the allocation limit,
// so a reader that reserves what a damaged count declares fails here as it fails under the fuzzer.
#include "AppComposition.h"
#include "ReadMarks.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class SettingsFileTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void marksAsTheFileHoldsThem_data();
    void marksAsTheFileHoldsThem();
    void writtenBackAsTexts();

private:
    QTemporaryDir m_config;
    QString m_file;
};

void SettingsFileTest::initTestCase()
{
    QVERIFY(m_config.isValid());
    qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
    AppComposition::describeApplication();
    QVERIFY(QDir(m_config.path()).mkpath("Vornalia"));
    m_file = m_config.filePath("Vornalia/Vornalia.conf");
    QFile file(m_file);
    QVERIFY(file.open(QIODevice::WriteOnly));
    // As Qt writes them: a list, a list with a comma in a mark, a lone mark, a list of one (Qt's variant
    // form) and a list of texts in that form; then variant forms damaged by hand.
    file.write(R"([General]
appTheme=dark
notification-read.list=event:ev-1, p-1:approved:1.0
notification-read.quoted=event:ev-1, "p-2:rejected:1,5"
notification-read.one=event:ev-1
notification-read.variant=@Variant(\0\0\0\t\0\0\0\x1\0\0\0\n\0\0\0\x14\0\x65\0v\0\x65\0n\0t\0:\0\x65\0v\0-\0\x31)
notification-read.texts=@Variant(\0\0\0\v\0\0\0\x2\0\0\0\x2\0\x61\0\0\0\x2\0\x62)
notification-read.huge-count=@Variant(\0\0\0\t\x60\0\0\0)
notification-read.huge-text=@Variant(\0\0\0\n\x7f\xff\xff\xfe)
notification-read.number=@Variant(\0\0\0\t\0\0\0\x1\0\0\0\x2\0\0\0\x11)
notification-read.cut=@Variant(\0\0\0\t\0\0\0\x1\0\0\0\n\0\0\0\x14\0\x65)
notification-server-read-migrated.u-1=true
)");
}

void SettingsFileTest::marksAsTheFileHoldsThem_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QStringList>("marks");
    QTest::newRow("list") << "list" << QStringList{"event:ev-1", "p-1:approved:1.0"};
    QTest::newRow("quoted mark") << "quoted" << QStringList{"event:ev-1", "p-2:rejected:1,5"};
    QTest::newRow("one mark") << "one" << QStringList{"event:ev-1"};
    QTest::newRow("list of one, variant form") << "variant" << QStringList{"event:ev-1"};
    QTest::newRow("list of texts, variant form") << "texts" << QStringList{"a", "b"};
    // Regression: Qt's reader reserved 48 GB for this count as the appearance was read at start.
    QTest::newRow("absurd count") << "huge-count" << QStringList{};
    QTest::newRow("absurd text length") << "huge-text" << QStringList{};
    QTest::newRow("a number among the marks") << "number" << QStringList{};
    QTest::newRow("cut short") << "cut" << QStringList{};
}

void SettingsFileTest::marksAsTheFileHoldsThem()
{
    QFETCH(QString, user);
    QFETCH(QStringList, marks);
    const QSettings settings;
    QCOMPARE(settings.fileName(), m_file);
    QCOMPARE(ReadMarks::stored(settings, user), QSet<QString>(marks.cbegin(), marks.cend()));
    // The rest of the file is read all the same.
    QCOMPARE(settings.value("appTheme").toString(), "dark");
    QVERIFY(ReadMarks::isMigrated(settings, "u-1"));
}

void SettingsFileTest::writtenBackAsTexts()
{
    QSettings settings;
    settings.setValue(ReadMarks::migratedKey("u-2"), true);
    settings.sync();
    QFile file(m_file);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    // The marks stay, in a form that no reader takes through Qt's variant stream; what was unreadable goes.
    QVERIFY(!written.contains("@Variant("));
    QVERIFY(written.contains("\nnotification-read.variant=event:ev-1\n"));
    QVERIFY(written.contains("\nnotification-read.texts=a, b\n"));
    QVERIFY(written.contains("\nnotification-read.quoted=event:ev-1, \"p-2:rejected:1,5\"\n"));
    QVERIFY(!written.contains("huge-count"));
    QVERIFY(written.contains("\nappTheme=dark\n"));
}

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "tst_settings_file.moc"

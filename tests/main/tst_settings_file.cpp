// The settings file as the app reads it from its start: a file Qt wrote for it, with the read marks of
// earlier versions in each form Qt gives them and entries damaged by hand. Built with the allocation limit,
// so a reader that reserves what a damaged count declares fails here as it fails under the fuzzer.
#include "AppComposition.h"
#include "ReadMarks.h"
#include "SettingsFile.h"

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
    void readAsQtReadsWhatItWrites_data();
    void readAsQtReadsWhatItWrites();
    void bothReadWhatTheAppWrites_data();
    void bothReadWhatTheAppWrites();

private:
    QString writtenForBothReaders(QSettings::Format format, const QString &key, const QVariant &value) const;

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

// Writes the key's value in the format to a file of the row's own and copies it for each reader (".qt" and
// ".app"), so neither finds the other's, nor the writer's, values cached for the file. The file's path; empty
// when a step failed.
QString SettingsFileTest::writtenForBothReaders(QSettings::Format format, const QString &key,
                                                const QVariant &value) const
{
    const QString written =
        m_config.filePath(QStringLiteral("%1-%2").arg(QTest::currentTestFunction(), QTest::currentDataTag()));
    {
        QSettings writer(written, format);
        writer.setValue(key, value);
        writer.sync();
        if (writer.status() != QSettings::NoError)
            return {};
    }
    if (!QFile::copy(written, written + ".qt") || !QFile::copy(written, written + ".app"))
        return {};
    return written;
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

void SettingsFileTest::readAsQtReadsWhatItWrites_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    const QString nul(QChar(0));
    QTest::newRow("text") << "appTheme" << QVariant("dark");
    QTest::newRow("flag") << "notification-server-read-migrated.u-1" << QVariant(true);
    // Regression: a text holding a NUL character, which Qt writes as "@String(…)", was left out, and a list
    // with one such mark with it.
    QTest::newRow("text with a NUL") << "notification-read.u-1" << QVariant("p-1" + nul + ":approved:1.0");
    QTest::newRow("marks, one with a NUL")
        << "notification-read.u-1" << QVariant(QStringList{"event:ev-1", "p-1" + nul + "1:approved:1.0"});
    QTest::newRow("marks as variants, one with a NUL")
        << "notification-read.u-1" << QVariant(QVariantList{"event:ev-1", "p-1:" + nul + ":1.0"});
    QTest::newRow("text starting with @") << "appTheme" << QVariant("@dark");
    QTest::newRow("text written like a typed value") << "appTheme" << QVariant("@String(dark)");
    QTest::newRow("marks starting with @")
        << "notification-read.u-1" << QVariant(QStringList{"@a", "@@b", "c"});
    QTest::newRow("one mark") << "notification-read.u-1" << QVariant(QStringList{"event:ev-1"});
    QTest::newRow("one mark as variants") << "notification-read.u-1" << QVariant(QVariantList{"event:ev-1"});
    QTest::newRow("no marks") << "notification-read.u-1" << QVariant(QStringList{});
    QTest::newRow("escapes, quotes and separators")
        << "notification-read.u-1"
        << QVariant(QStringList{"tab\tline\n\"q\" back\\", " a;b ", "x=y,z", QString(QChar(1)) + "f0", ""});
    QTest::newRow("beyond ASCII") << "notification-read.u-1" << QVariant(QStringList{"事件:é", "\U0001F600"});
    QTest::newRow("bytes") << "appTheme" << QVariant(QByteArray("\x01\xff,a\0 f", 7));
    QTest::newRow("list with bytes and no value")
        << "notification-read.u-1" << QVariant(QVariantList{"a", QByteArray("b\x80"), QVariant()});
    QTest::newRow("key in a group") << "group/sub key%/\u4e2d" << QVariant("v");
    QTest::newRow("group named General") << "General/k" << QVariant("v");
}

// What Qt's own writer leaves, read by Qt and by the app's reader from copies of the same file: the same
// keys and the same values of the same types.
void SettingsFileTest::readAsQtReadsWhatItWrites()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    const QString written = writtenForBothReaders(QSettings::IniFormat, key, value);
    QVERIFY(!written.isEmpty());
    const QSettings qt(written + ".qt", QSettings::IniFormat);
    const QSettings app(written + ".app", SettingsFile::format());
    QCOMPARE(app.allKeys(), qt.allKeys());
    QCOMPARE(app.value(key).typeId(), qt.value(key).typeId());
    QCOMPARE(app.value(key), qt.value(key));
    QCOMPARE(ReadMarks::stored(app, "u-1"), ReadMarks::stored(qt, "u-1"));
}

void SettingsFileTest::bothReadWhatTheAppWrites_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    // Regression: U+FEFF was written raw, and Qt's reader drops it at a value's start as a byte-order mark.
    QTest::newRow("text starting with U+FEFF") << "appTheme" << QVariant(QStringLiteral("\uFEFFa"));
    QTest::newRow("U+FEFF before a typed value's form")
        << "appTheme" << QVariant(QStringLiteral("\uFEFF@ByteArray(x)"));
}

// What the app's writer leaves, read by Qt and by the app's reader from copies of the same file: the value
// that was written, of its type.
void SettingsFileTest::bothReadWhatTheAppWrites()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    const QString written = writtenForBothReaders(SettingsFile::format(), key, value);
    QVERIFY(!written.isEmpty());
    const QSettings qt(written + ".qt", QSettings::IniFormat);
    const QSettings app(written + ".app", SettingsFile::format());
    QCOMPARE(qt.allKeys(), QStringList{key});
    QCOMPARE(app.allKeys(), QStringList{key});
    QCOMPARE(qt.value(key).typeId(), value.typeId());
    QCOMPARE(qt.value(key), value);
    QCOMPARE(app.value(key).typeId(), value.typeId());
    QCOMPARE(app.value(key), value);
}

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "tst_settings_file.moc"

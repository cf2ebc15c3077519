#include <QtTest>

#include "AppLanguage.h"
#include "Busy.h"
#include "Display.h"
#include "Installed.h"
#include "L.h"
#include "LanguageScope.h"
#include "QtTexts.h"
#include "Strings.h"

#include <limits>
#include <memory>

using TestSupport::LanguageScope;

class TextTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void languageFromPreferences_data();
    void languageFromPreferences();
    void userLanguagesNarrowToShippedTables();
    void substitutionIsOnlyAtAndPercent_data();
    void substitutionIsOnlyAtAndPercent();
    void argumentsAreShownPlainly();
    void lookupFollowsLanguage();
    void qtTextsFollowLanguage_data();
    void qtTextsFollowLanguage();
    void countsTakeTheirPluralForm_data();
    void countsTakeTheirPluralForm();
    void menuTextsMarkTheirLetter_data();
    void menuTextsMarkTheirLetter();
    void perceivedLengthCountsWhatAReaderSees_data();
    void perceivedLengthCountsWhatAReaderSees();
    void dateTimeReadsSecondsOrMilliseconds();
    void dateTimeRefusesUnusableValues_data();
    void dateTimeRefusesUnusableValues();
    void standardTimeHasSecondsWithoutZone();
    void timesReadAsTheLocaleWritesThem_data();
    void timesReadAsTheLocaleWritesThem();
    void everyLocaleFormatIsWritable();
    void durations_data();
    void durations();
    void busyGuardEndsWithItsRun();
    void installedObjectsNest();
};

void TextTest::languageFromPreferences_data()
{
    QTest::addColumn<QStringList>("preferred");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("name");
    QTest::newRow("en-GB") << QStringList{"en-GB", "zh-HK"} << "en"
                           << "English";
    QTest::newRow("en") << QStringList{"en"} << "en"
                        << "English";
    QTest::newRow("zh-HK") << QStringList{"zh-HK"} << "zh-HK"
                           << "繁體中文（香港）";
    QTest::newRow("zh-TW") << QStringList{"zh-TW", "en"} << "zh-TW"
                           << "繁體中文（台灣）";
    QTest::newRow("zh-Hant") << QStringList{"zh-Hant"} << "zh-Hans"
                             << "简体中文";
    QTest::newRow("ja") << QStringList{"ja", "en"} << "zh-Hans"
                        << "简体中文";
    QTest::newRow("empty") << QStringList{} << "zh-Hans"
                           << "简体中文";
}

void TextTest::languageFromPreferences()
{
    QFETCH(QStringList, preferred);
    QFETCH(QString, language);
    QFETCH(QString, name);
    QCOMPARE(AppLanguage::resolve(preferred), language);
    QCOMPARE(AppLanguage::nameOf(AppLanguage::resolve(preferred)), name);
}

void TextTest::userLanguagesNarrowToShippedTables()
{
    using AppLanguage::preferredLocalizations;
    // Languages without a table are passed over, so the next preference decides.
    QCOMPARE(preferredLocalizations({"ja-JP", "en-GB", "zh-CN"}), (QStringList{"en", "zh-Hans"}));
    QCOMPARE(preferredLocalizations({"zh-Hant-HK", "zh-HK"}), QStringList{"zh-HK"});
    QCOMPARE(preferredLocalizations({"zh_MO"}), QStringList{"zh-HK"});
    QCOMPARE(preferredLocalizations({"zh-Hant-TW"}), QStringList{"zh-TW"});
    QCOMPARE(preferredLocalizations({"zh-Hans-CN", "zh-CN"}), QStringList{"zh-Hans"});
    QCOMPARE(preferredLocalizations({"fr", "de"}), QStringList{});

    LanguageScope scope("en_GB:zh_CN");
    QCOMPARE(AppLanguage::current(), QString("en"));
    QCOMPARE(AppLanguage::currentName(), QString("English"));
}

void TextTest::substitutionIsOnlyAtAndPercent_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    QTest::newRow("in order") << "%@ 小时 %@ 分" << QStringList{"2", "5"} << "2 小时 5 分";
    QTest::newRow("percent") << "%@%%" << QStringList{"40"} << "40%";
    QTest::newRow("percent without arguments") << "100%%" << QStringList{} << "100%";
    // A bad table entry must not read arguments that are not there.
    QTest::newRow("missing argument") << "%@ / %@ / %@" << QStringList{"a"} << "a /  / ";
    QTest::newRow("stray specifiers") << "%d %s %1 %lld%" << QStringList{"x"} << "%d %s %1 %lld%";
    QTest::newRow("extra arguments") << "only %@" << QStringList{"one", "two"} << "only one";
    QTest::newRow("trailing percent") << "50%" << QStringList{} << "50%";
    QTest::newRow("argument holding a placeholder") << "%@ and %@" << QStringList{"%@", "b"} << "%@ and b";
}

void TextTest::substitutionIsOnlyAtAndPercent()
{
    QFETCH(QString, format);
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    QCOMPARE(Text::substitute(format, arguments), expected);
}

void TextTest::argumentsAreShownPlainly()
{
    LanguageScope scope("zh_CN");
    QCOMPARE(L("%@ 小时 %@ 分", 2, 5), QString("2 小时 5 分"));
    QCOMPARE(L("共 %@ 条", 1234567), QString("共 1234567 条")); // no grouping
    QCOMPARE(L("%@", qint64(-3)), QString("-3"));
    QCOMPARE(L("%@", 250.0), QString("250.0"));
    QCOMPARE(L("%@", 2.5), QString("2.5"));
    QCOMPARE(L("%@", 0.1 + 0.2), QString("0.30000000000000004"));
    QCOMPARE(L("%@ %@", QString("文字"), true), QString("文字 true"));
    QCOMPARE(L("没有这个键"), QString("没有这个键"));
}

void TextTest::lookupFollowsLanguage()
{
    {
        LanguageScope scope("en_US");
        QCOMPARE(L("%@ 小时 %@ 分", 2, 5), QString("2 h 5 min"));
        QCOMPARE(L("没有这个键"), QString("没有这个键"));
        // A counted lookup of a key that has one text only, or none, reads as the plain lookup.
        QCOMPARE(Ln("%@ 小时 %@ 分", 1, 1, 1), QString("1 h 1 min"));
        QCOMPARE(Ln("没有这个键 %@", 1, 1), QString("没有这个键 1"));
    }
    {
        LanguageScope scope("zh_TW");
        QCOMPARE(L("成员中心正在准备中。"), QString("成員中心正在準備中。"));
    }
    {
        LanguageScope scope("zh_HK");
        QCOMPARE(L("成员中心正在准备中。"), QString("成員中心正在準備中。"));
    }
    LanguageScope scope("zh_CN");
    QCOMPARE(L("成员中心正在准备中。"), QString("成员中心正在准备中。"));
}

// Qt's own texts (the standard buttons, Qt Quick's file dialog where the desktop has no chooser) speak the
// member's language: Qt's tables for it, and ours for the file dialog's texts that Qt 6.4's tables lack.
// Regression: the file dialog read "Filter", "Open" and "Cancel" in the Chinese window.
void TextTest::qtTextsFollowLanguage_data()
{
    QTest::addColumn<QByteArray>("languages");
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("cancel");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("zh-Hans") << QByteArray("zh_CN") << "打开"
                             << "取消"
                             << "文件类型"
                             << "文件名";
    // Qt has Traditional tables of Taiwan only: Hong Kong reads those; our own texts are Hong Kong's.
    QTest::newRow("zh-HK") << QByteArray("zh_HK") << "開啟"
                           << "取消"
                           << "文件類型"
                           << "文件名";
    QTest::newRow("zh-TW") << QByteArray("zh_TW") << "開啟"
                           << "取消"
                           << "檔案型別"
                           << "檔名";
    // Traditional Chinese named by its script alone is Taiwan's.
    QTest::newRow("zh-Hant, no region") << QByteArray("zh-Hant") << "開啟"
                                        << "取消"
                                        << "檔案型別"
                                        << "檔名";
    QTest::newRow("en") << QByteArray("en_GB") << "Open"
                        << "Cancel"
                        << "Filter"
                        << "File name";
    // Back to Chinese after English: what English removed is put back.
    QTest::newRow("zh-Hans again") << QByteArray("zh_CN") << "打开"
                                   << "取消"
                                   << "文件类型"
                                   << "文件名";
}

void TextTest::qtTextsFollowLanguage()
{
    QFETCH(QByteArray, languages);
    QFETCH(QString, open);
    QFETCH(QString, cancel);
    QFETCH(QString, filter);
    QFETCH(QString, fileName);
    LanguageScope scope(languages);
    Text::installQtTexts();
    // Qt's standard buttons, as QPlatformTheme names them for every dialog Qt draws.
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Open"), open);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), cancel);
    // Qt Quick Dialogs' own file dialog (qsTr in its FileDialog.qml).
    QCOMPARE(QCoreApplication::translate("FileDialog", "Filter"), filter);
    QCOMPARE(QCoreApplication::translate("FileDialog", "File name"), fileName);
    // Qt's tables beyond the standard buttons: qtbase's and Qt Quick's (qtdeclarative).
    const bool chinese = languages.startsWith("zh");
    QCOMPARE(QCoreApplication::translate("QFileDialog", "All Files (*)") != QLatin1String("All Files (*)"),
             chinese);
    const char *abstract = "Dialog is an abstract base class";
    QCOMPARE(QCoreApplication::translate("QQuickPlatformDialog", abstract) != QLatin1String(abstract),
             chinese);
}

void TextTest::countsTakeTheirPluralForm_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");
    // Regression: English said "1 landings".
    QTest::newRow("English, one") << QByteArray("en_US") << 1 << "1 landing";
    QTest::newRow("English, none") << QByteArray("en_US") << 0 << "0 landings";
    QTest::newRow("English, two") << QByteArray("en_US") << 2 << "2 landings";
    QTest::newRow("English, eleven") << QByteArray("en_US") << 11 << "11 landings";
    QTest::newRow("English, minus one") << QByteArray("en_US") << -1 << "-1 landing";
    QTest::newRow("Chinese, one") << QByteArray("zh_CN") << 1 << "1 次降落";
    QTest::newRow("Taiwan, one") << QByteArray("zh_TW") << 1 << "1 次降落";
}

void TextTest::countsTakeTheirPluralForm()
{
    QFETCH(QByteArray, language);
    QFETCH(int, count);
    QFETCH(QString, expected);
    LanguageScope scope(language);
    QCOMPARE(Ln("%@ 次降落", count, count), expected);
}

void TextTest::menuTextsMarkTheirLetter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("marked");
    QTest::newRow("first letter") << "Quit"
                                  << "Q"
                                  << "&Quit";
    QTest::newRow("letter inside, either case") << "Check for Updates…"
                                                << "u"
                                                << "Check for &Updates…";
    QTest::newRow("Chinese, in brackets") << "退出"
                                          << "q"
                                          << "退出(&Q)";
    QTest::newRow("Chinese with a Latin word") << "关于 Vornalia"
                                               << "A"
                                               << "关于 Vornalia(&A)";
    QTest::newRow("ellipsis stays last") << "检查更新…"
                                         << "U"
                                         << "检查更新(&U)…";
    QTest::newRow("letter missing from a Latin text") << "About"
                                                      << "V"
                                                      << "About(&V)";
    QTest::newRow("a literal ampersand") << "Terms & Privacy"
                                         << "P"
                                         << "Terms && &Privacy";
}

void TextTest::menuTextsMarkTheirLetter()
{
    QFETCH(QString, text);
    QFETCH(QString, letter);
    QFETCH(QString, marked);
    QCOMPARE(Text::withMnemonic(text, letter.at(0)), marked);
    // Read out as it was written.
    QCOMPARE(Text::withoutMnemonic(marked), text);
}

void TextTest::perceivedLengthCountsWhatAReaderSees_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("length");
    // Regression: Qt 6.4's grapheme rules split a flag that follows a sequence joined by zero-width joiners.
    QTest::newRow("a family, then a flag") << QStringLiteral("👨‍👩‍👧🇨🇳") << 2;
    QTest::newRow("a couple with a heart, then a flag")
        << QStringLiteral("👩‍❤️‍👨🇯🇵") << 2;
    QTest::newRow("400 Chinese, then 10 families each with a flag")
        << QString(400, QChar(u'多')) + QStringLiteral("👨‍👩‍👧🇨🇳").repeated(10) << 420;
}

void TextTest::perceivedLengthCountsWhatAReaderSees()
{
    QFETCH(QString, text);
    QFETCH(int, length);
    QCOMPARE(Text::perceivedLength(text), qsizetype(length));
}

void TextTest::dateTimeReadsSecondsOrMilliseconds()
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QTimeZone utc = QTimeZone::utc();
    auto show = [&](double value) { return Display::dateTime(value, english, utc); };

    QCOMPARE(show(1e12), QString("Sep 9, 2001 1:46 AM")); // milliseconds from 1e12 on
    QCOMPARE(show(1'700'000'000), show(1'700'000'000'000));
    QCOMPARE(show(1'700'000'000), QString("Nov 14, 2023 10:13 PM"));
    // Just below 1e12 is still seconds: a date tens of thousands of years ahead.
    QVERIFY(show(999'999'999'999).contains("33658"));

    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QCOMPARE(Display::dateTime(1'700'000'000, chinese, utc), QString("2023年11月14日 22:13"));
    QCOMPARE(Display::dateTime(1'700'000'000, chinese, QTimeZone("Asia/Shanghai")),
             QString("2023年11月15日 06:13"));
}

void TextTest::standardTimeHasSecondsWithoutZone()
{
    // The live map's update time: hours, minutes and seconds, and the medium date before it on another day.
    const QDateTime moment(QDate(2024, 4, 30), QTime(23, 59, 58), QTimeZone::utc());
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QCOMPARE(english.toString(moment, Display::standardTimeFormat(english)), QString("11:59:58 PM"));
    QCOMPARE(english.toString(moment, Display::mediumDateFormat(english)), QString("Apr 30, 2024"));
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QCOMPARE(chinese.toString(moment, Display::standardTimeFormat(chinese)), QString("23:59:58"));
    QCOMPARE(chinese.toString(moment, Display::mediumDateFormat(chinese)), QString("2024年4月30日"));
}

void TextTest::timesReadAsTheLocaleWritesThem_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("dateTime");
    QTest::addColumn<QString>("standardTime");
    // Regression: Taiwan's "Bh:mm" was written "B6:54", the day-period letter as it is.
    QTest::newRow("zh_TW") << QLocale(QLocale::Chinese, QLocale::Taiwan) << "2026年12月9日 下午6:54"
                           << "下午6:54:05";
    QTest::newRow("zh_HK") << QLocale(QLocale::Chinese, QLocale::HongKong) << "2026年12月9日 下午6:54"
                           << "下午6:54:05";
    QTest::newRow("zh_CN") << QLocale(QLocale::Chinese, QLocale::China) << "2026年12月9日 18:54"
                           << "18:54:05";
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << "Dec 9, 2026 6:54 PM"
                           << "6:54:05 PM";
}

void TextTest::timesReadAsTheLocaleWritesThem()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, dateTime);
    QFETCH(QString, standardTime);
    const QDateTime moment(QDate(2026, 12, 9), QTime(18, 54, 5), QTimeZone::utc());
    QCOMPARE(Display::dateTime(moment.toSecsSinceEpoch(), locale, QTimeZone::utc()), dateTime);
    QCOMPARE(locale.toString(moment, Display::standardTimeFormat(locale)), standardTime);
}

void TextTest::everyLocaleFormatIsWritable()
{
    // Letters Qt 6.4's formatter writes as fields; any other unquoted letter would be written as itself.
    static const QString fields = QStringLiteral("dMyhHmszaApP");
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    QVERIFY(locales.size() > 100);
    for (const QLocale &locale : locales) {
        for (const QString &format : {Display::dateTimeFormat(locale), Display::standardTimeFormat(locale),
                                      Display::timeFormat(locale, QLocale::ShortFormat)}) {
            bool quoted = false;
            for (const QChar c : format) {
                if (c == QLatin1Char('\''))
                    quoted = !quoted;
                else if (!quoted && c.isLetter() && c.unicode() < 128 && !fields.contains(c))
                    QFAIL(
                        qPrintable(QStringLiteral("%1: \"%2\" holds \"%3\"").arg(locale.name(), format, c)));
            }
        }
    }
}

void TextTest::dateTimeRefusesUnusableValues_data()
{
    QTest::addColumn<std::optional<double>>("value");
    QTest::newRow("missing") << std::optional<double>();
    QTest::newRow("zero") << std::optional<double>(0);
    QTest::newRow("negative") << std::optional<double>(-5);
    QTest::newRow("nan") << std::optional<double>(std::numeric_limits<double>::quiet_NaN());
    QTest::newRow("infinity") << std::optional<double>(std::numeric_limits<double>::infinity());
    QTest::newRow("-infinity") << std::optional<double>(-std::numeric_limits<double>::infinity());
    QTest::newRow("beyond whole milliseconds") << std::optional<double>(1e300);
}

void TextTest::dateTimeRefusesUnusableValues()
{
    QFETCH(std::optional<double>, value);
    QCOMPARE(Display::dateTime(value), QString("—"));
    QCOMPARE(Display::missing, QString(QChar(0x2014)));
}

void TextTest::durations_data()
{
    QTest::addColumn<std::optional<double>>("minutes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("125") << std::optional<double>(125) << "2 小时 5 分";
    QTest::newRow("59.5 rounds up") << std::optional<double>(59.5) << "1 小时 0 分";
    QTest::newRow("59.49") << std::optional<double>(59.49) << "0 小时 59 分";
    QTest::newRow("0.4") << std::optional<double>(0.4) << "0 小时 0 分";
    QTest::newRow("negative") << std::optional<double>(-10) << "0 小时 0 分";
    QTest::newRow("no days") << std::optional<double>(1500) << "25 小时 0 分";
    QTest::newRow("missing") << std::optional<double>() << "—";
    QTest::newRow("nan") << std::optional<double>(std::numeric_limits<double>::quiet_NaN()) << "—";
    QTest::newRow("infinity") << std::optional<double>(std::numeric_limits<double>::infinity()) << "—";
    QTest::newRow("-infinity") << std::optional<double>(-std::numeric_limits<double>::infinity()) << "—";
    QTest::newRow("beyond 64 bits") << std::optional<double>(1e19) << "—";
}

void TextTest::durations()
{
    LanguageScope scope("zh_CN");
    QFETCH(std::optional<double>, minutes);
    QFETCH(QString, expected);
    QCOMPARE(Display::duration(minutes), expected);
}

void TextTest::busyGuardEndsWithItsRun()
{
    // Guards a loading flag left on when the owner restarted the run (a new period): it was cleared by hand.
    bool busy = false;
    int changes = 0;
    const auto changed = [&changes] { ++changes; };
    auto period = std::make_unique<Lifetime>();
    auto first = std::make_unique<BusyGuard>(busy, period->guard(), changed);
    QVERIFY(busy);
    period->restart();
    QVERIFY(!busy);
    QCOMPARE(changes, 2);
    // The next run holds the flag; the ended run's guard leaves it alone when its work comes back.
    auto second = std::make_unique<BusyGuard>(busy, period->guard(), changed);
    first.reset();
    QVERIFY(busy);
    QCOMPARE(changes, 3);
    // The owner went first (its Lifetime ended): the guard touches nothing of it.
    period.reset();
    second.reset();
    QVERIFY(busy);
    QCOMPARE(changes, 3);

    // A guard whose work ended does not reach the flag at a later restart, where another holder has it.
    Lifetime run;
    bool held = false;
    std::make_unique<BusyGuard>(held, run.guard()).reset();
    QVERIFY(!held);
    held = true;
    run.restart();
    QVERIFY(held);

    // A flag set through a function, on every way out.
    QList<bool> states;
    {
        const BusyGuard table(run.guard(), [&states](bool state) { states.append(state); });
    }
    QCOMPARE(states, QList<bool>({true, false}));
}

void TextTest::installedObjectsNest()
{
    // A test installs its own over the app's; the app's serves again once the test's has gone.
    struct Thing
    {
        int id;
    };
    Thing app{1};
    Thing test{2};
    const Installed<Thing> installedApp(app);
    QCOMPARE(&Installed<Thing>::current(), &app);
    {
        const Installed<Thing> installedTest(test);
        QCOMPARE(&Installed<Thing>::current(), &test);
    }
    QCOMPARE(&Installed<Thing>::current(), &app);
}

QTEST_GUILESS_MAIN(TextTest)
#include "tst_text.moc"

// Airport names by interface language and country flags, over small tables made here, and the bundled
// tables the app ships.
#include "Airports.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QRawFont>
#include <QtTest>

namespace {

const QByteArray airportsJson = R"({
  "ZBAA": {"latitude": 40.0801, "longitude": 116.585, "city": "Beijing", "country": "CN"},
  "VHHH": {"latitude": 22.308, "longitude": 113.918, "city": "Hong Kong", "country": "HK"},
  "RCTP": {"latitude": 25.0777, "longitude": 121.233, "city": "Taipei", "country": "TW"},
  "EGLL": {"latitude": 51.4706, "longitude": -0.4619, "city": "London", "country": "gb"},
  "KXYZ": {"latitude": 1, "longitude": 2, "city": "Nowhere", "country": "USA"},
  "ZZZZ": {"latitude": 0, "longitude": 0, "city": ""},
  "YSSY": {"latitude": -33.946, "longitude": 151.177, "city": "Sydney", "country": null}
})";

const QByteArray namesJson = R"({
  "ZBAA": ["北京首都国际机场", "北京首都國際機場", "北京首都國際機場"],
  "VHHH": ["香港国际机场", "香港國際機場", "香港國際機場"],
  "RCTP": ["台湾桃园国际机场", "", "臺灣桃園國際機場"],
  "EGLL": ["伦敦希思罗机场"],
  "ZZZZ": ["测试"]
})";

} // namespace

class AirportTablesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void namesByLanguage_data();
    void namesByLanguage();
    void codesAreCleanedAndChecked_data();
    void codesAreCleanedAndChecked();
    void flags_data();
    void flags();
    void oneMalformedEntryEmptiesATable_data();
    void oneMalformedEntryEmptiesATable();
    void coordinatesAreRead();
    void bundledTablesLoad();
    void bundledNamesForEveryLanguage_data();
    void bundledNamesForEveryLanguage();
    void flagsHaveAGlyph();

private:
    Airports::Table m_airports;
    AirportNames::Table m_names;
};

void AirportTablesTest::initTestCase()
{
    m_airports = Airports::decode(airportsJson);
    m_names = AirportNames::decode(namesJson);
    QCOMPARE(m_airports.size(), 7);
    QCOMPARE(m_names.size(), 5);
}

void AirportTablesTest::namesByLanguage_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("expected"); // empty: none

    QTest::newRow("English is always the city") << "ZBAA"
                                                << "en"
                                                << "Beijing";
    QTest::newRow("Simplified Chinese") << "ZBAA"
                                        << "zh-Hans"
                                        << "北京首都国际机场";
    QTest::newRow("Hong Kong") << "VHHH"
                               << "zh-HK"
                               << "香港國際機場";
    QTest::newRow("Taiwan") << "RCTP"
                            << "zh-TW"
                            << "臺灣桃園國際機場";
    // Each language reads its own position: an empty or missing one falls to the city, not to another
    // position.
    QTest::newRow("Hong Kong, empty position") << "RCTP"
                                               << "zh-HK"
                                               << "Taipei";
    QTest::newRow("Hong Kong, one-item entry") << "EGLL"
                                               << "zh-HK"
                                               << "London";
    QTest::newRow("Taiwan, one-item entry") << "EGLL"
                                            << "zh-TW"
                                            << "London";
    QTest::newRow("Simplified, one-item entry") << "EGLL"
                                                << "zh-Hans"
                                                << "伦敦希思罗机场";
    QTest::newRow("no names entry") << "KXYZ"
                                    << "zh-Hans"
                                    << "Nowhere";
    QTest::newRow("English never reads the names") << "EGLL"
                                                   << "en"
                                                   << "London";
    QTest::newRow("empty city, no name in English") << "ZZZZ"
                                                    << "en"
                                                    << "";
    QTest::newRow("empty city, name in Chinese") << "ZZZZ"
                                                 << "zh-Hans"
                                                 << "测试";
    QTest::newRow("unknown code") << "ABCD"
                                  << "zh-Hans"
                                  << "";
}

void AirportTablesTest::namesByLanguage()
{
    QFETCH(QString, code);
    QFETCH(QString, language);
    QFETCH(QString, expected);
    QCOMPARE(AirportNames::name(code, language, m_names, m_airports).value_or(QString()), expected);
}

void AirportTablesTest::codesAreCleanedAndChecked_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("named");
    QTest::addColumn<bool>("flagged");

    QTest::newRow("exact") << "ZBAA" << true << true;
    QTest::newRow("lower case") << "zbaa" << true << true;
    QTest::newRow("spaces and tabs") << " \tZbAa\t " << true << true;
    QTest::newRow("line break is not trimmed") << "ZBAA\n" << false << false;
    QTest::newRow("three letters") << "ZBA" << false << false;
    QTest::newRow("five letters") << "ZBAAX" << false << false;
    QTest::newRow("digit") << "ZBA1" << false << false;
    QTest::newRow("non-ASCII letter") << "ZBAÄ" << false << false;
    QTest::newRow("empty") << "" << false << false;
}

void AirportTablesTest::codesAreCleanedAndChecked()
{
    QFETCH(QString, code);
    QFETCH(bool, named);
    QFETCH(bool, flagged);
    QCOMPARE(AirportNames::name(code, "zh-Hans", m_names, m_airports).has_value(), named);
    QCOMPARE(AirportNames::flag(code, "zh-Hans", m_airports).has_value(), flagged);
}

void AirportTablesTest::flags_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("expected"); // empty: none

    const QString cn = QString::fromUtf8("\U0001F1E8\U0001F1F3");
    const QString tw = QString::fromUtf8("\U0001F1F9\U0001F1FC");
    QTest::newRow("China") << "ZBAA"
                           << "zh-Hans" << cn;
    QTest::newRow("Hong Kong") << "VHHH"
                               << "zh-HK" << QString::fromUtf8("\U0001F1ED\U0001F1F0");
    QTest::newRow("TW in Simplified Chinese") << "RCTP"
                                              << "zh-Hans" << cn;
    QTest::newRow("TW in Taiwan Chinese") << "RCTP"
                                          << "zh-TW" << tw;
    QTest::newRow("TW in Hong Kong Chinese") << "RCTP"
                                             << "zh-HK" << tw;
    QTest::newRow("TW in English") << "RCTP"
                                   << "en" << tw;
    QTest::newRow("lower-case country") << "EGLL"
                                        << "en" << QString::fromUtf8("\U0001F1EC\U0001F1E7");
    QTest::newRow("three-letter country") << "KXYZ"
                                          << "en"
                                          << "";
    QTest::newRow("no country") << "ZZZZ"
                                << "en"
                                << "";
    QTest::newRow("null country") << "YSSY"
                                  << "en"
                                  << "";
    QTest::newRow("unknown airport") << "ABCD"
                                     << "en"
                                     << "";
}

void AirportTablesTest::flags()
{
    QFETCH(QString, code);
    QFETCH(QString, language);
    QFETCH(QString, expected);
    QCOMPARE(AirportNames::flag(code, language, m_airports).value_or(QString()), expected);
}

void AirportTablesTest::oneMalformedEntryEmptiesATable_data()
{
    QTest::addColumn<QByteArray>("airports");
    QTest::addColumn<QByteArray>("names");
    QTest::addColumn<bool>("airportsEmpty");
    QTest::addColumn<bool>("namesEmpty");

    QTest::newRow("airport without city")
        << QByteArray(R"({"ZBAA":{"latitude":1,"longitude":2,"city":"Beijing"},
                                                           "ZSPD":{"latitude":1,"longitude":2}})")
        << namesJson << true << false;
    QTest::newRow("latitude as text")
        << QByteArray(R"({"ZBAA":{"latitude":"40","longitude":2,"city":"B"}})") << namesJson << true << false;
    QTest::newRow("country as number")
        << QByteArray(R"({"ZBAA":{"latitude":1,"longitude":2,"city":"B","country":86}})") << namesJson << true
        << false;
    QTest::newRow("name as number") << airportsJson << QByteArray(R"({"ZBAA":["北京",3]})") << false << true;
    QTest::newRow("names not a list") << airportsJson << QByteArray(R"({"ZBAA":"北京"})") << false << true;
    QTest::newRow("not JSON") << QByteArray("{") << QByteArray("") << true << true;
    QTest::newRow("top-level list") << QByteArray("[]") << QByteArray("[]") << true << true;
}

void AirportTablesTest::oneMalformedEntryEmptiesATable()
{
    QFETCH(QByteArray, airports);
    QFETCH(QByteArray, names);
    QFETCH(bool, airportsEmpty);
    QFETCH(bool, namesEmpty);
    const Airports::Table airportTable = Airports::decode(airports);
    const AirportNames::Table nameTable = AirportNames::decode(names);
    QCOMPARE(airportTable.isEmpty(), airportsEmpty);
    QCOMPARE(nameTable.isEmpty(), namesEmpty);
    if (airportsEmpty) {
        // Without the airport table: no flags, no English names, Chinese names from the names table only.
        QVERIFY(!AirportNames::flag("ZBAA", "zh-Hans", airportTable));
        QVERIFY(!AirportNames::name("ZBAA", "en", nameTable, airportTable));
        QCOMPARE(AirportNames::name("ZBAA", "zh-Hans", nameTable, airportTable).has_value(), !namesEmpty);
    }
}

void AirportTablesTest::coordinatesAreRead()
{
    const AirportCoordinate beijing = m_airports.value("ZBAA");
    QCOMPARE(beijing.latitude, 40.0801);
    QCOMPARE(beijing.longitude, 116.585);
    QCOMPARE(beijing.city, QString("Beijing"));
    QCOMPARE(beijing.country, std::optional<QString>("CN"));
    QCOMPARE(m_airports.value("YSSY").country, std::nullopt);
}

void AirportTablesTest::bundledTablesLoad()
{
    const Airports::Table &airports = Airports::all();
    const AirportNames::Table &names = AirportNames::chinese();
    QVERIFY2(airports.size() > 4000, qPrintable(QString("only %1 airports").arg(airports.size())));
    QVERIFY2(names.size() >= 300, qPrintable(QString("only %1 names").arg(names.size())));
    for (auto it = airports.begin(); it != airports.end(); ++it) {
        QVERIFY2(it.key().size() == 4 && it.key() == it.key().toUpper(), qPrintable(it.key()));
        QVERIFY2(qAbs(it->latitude) <= 90 && qAbs(it->longitude) <= 180, qPrintable(it.key()));
        QVERIFY2(!it->city.isEmpty(), qPrintable(it.key()));
    }
    // Every named airport has coordinates, and three Chinese names.
    for (auto it = names.begin(); it != names.end(); ++it) {
        QVERIFY2(airports.contains(it.key()), qPrintable(it.key() + " is named but has no coordinates"));
        QVERIFY2(it->size() == 3 && !it->at(0).isEmpty() && !it->at(1).isEmpty() && !it->at(2).isEmpty(),
                 qPrintable(it.key()));
    }
}

void AirportTablesTest::bundledNamesForEveryLanguage_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Beijing in English") << "ZBAA"
                                        << "en"
                                        << "Beijing";
    QTest::newRow("Beijing Capital") << "ZBAA"
                                     << "zh-Hans"
                                     << "北京首都国际机场";
    QTest::newRow("Daxing in Hong Kong") << "ZBAD"
                                         << "zh-HK"
                                         << "北京大興國際機場";
    QTest::newRow("Hong Kong in Hong Kong") << "VHHH"
                                            << "zh-HK"
                                            << "香港國際機場";
    QTest::newRow("Taoyuan in Taiwan") << "RCTP"
                                       << "zh-TW"
                                       << "臺灣桃園國際機場";
    QTest::newRow("Taoyuan on the mainland") << "RCTP"
                                             << "zh-Hans"
                                             << "台湾桃园国际机场";
    QTest::newRow("Heathrow in Hong Kong") << "EGLL"
                                           << "zh-HK"
                                           << "倫敦希斯路機場";
    QTest::newRow("Heathrow in Taiwan") << "EGLL"
                                        << "zh-TW"
                                        << "倫敦希斯洛機場";
    QTest::newRow("Sydney in Taiwan") << "YSSY"
                                      << "zh-TW"
                                      << "雪梨金斯福德·史密斯機場";
    // Regression: English named some of the busiest airports by the district they lie in ("Islands" for
    // Hong Kong, "Shanghai (Pudong)", "Jiaozhou, Qingdao", "Sepang" for Kuala Lumpur).
    const QList<std::pair<const char *, const char *>> english{
        {"VHHH", "Hong Kong"}, {"VMMC", "Macau"},       {"ZSPD", "Shanghai"},   {"ZSSS", "Shanghai"},
        {"ZGGG", "Guangzhou"}, {"ZGSZ", "Shenzhen"},    {"ZUUU", "Chengdu"},    {"ZSQD", "Qingdao"},
        {"ZYTX", "Shenyang"},  {"ZLXY", "Xi'an"},       {"RCTP", "Taoyuan"},    {"WMKK", "Kuala Lumpur"},
        {"EBBR", "Brussels"},  {"LTFM", "Istanbul"},    {"KIAD", "Washington"}, {"VVNB", "Hanoi"},
        {"RKSI", "Seoul"},     {"KBOS", "Boston"},      {"VTBS", "Bangkok"},    {"KDFW", "Dallas-Fort Worth"},
        {"EGLL", "London"},    {"SAEZ", "Buenos Aires"}};
    for (const auto &[code, city] : english)
        QTest::addRow("%s in English", code) << code << "en" << city;
}

void AirportTablesTest::bundledNamesForEveryLanguage()
{
    QFETCH(QString, code);
    QFETCH(QString, language);
    QFETCH(QString, expected);
    QCOMPARE(AirportNames::name(code, language, AirportNames::chinese(), Airports::all()).value_or(QString()),
             expected);
}

// The flags are drawn by the colour emoji font; without it they show as two letters in boxes.
void AirportTablesTest::flagsHaveAGlyph()
{
    const QString family = QStringLiteral("Noto Color Emoji");
    QVERIFY2(QFontDatabase::families().contains(family), "the colour emoji font is not installed");
    const QRawFont font = QRawFont::fromFont(QFont(family));
    QVERIFY(font.isValid());
    for (const char *code : {"ZBAA", "VHHH", "RCTP", "EGLL", "KJFK", "OMDB"}) {
        const QString flag = AirportNames::flag(code, "zh-TW", Airports::all()).value_or(QString());
        QVERIFY2(!flag.isEmpty(), code);
        // A flag is one glyph made of two regional indicators: the font must know both.
        const QList<quint32> glyphs = font.glyphIndexesForString(flag);
        QVERIFY2(!glyphs.isEmpty() && !glyphs.contains(0), code);
    }
}

QTEST_MAIN(AirportTablesTest)
#include "tst_airport_tables.moc"

// Aircraft names reduced to family keys: the examples of each family, the order in which the families are
// tried, and the Cessna 172 that must never become a C-17.
#include "AircraftNaming.h"

#include <QtTest>

class TypeKeysTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void normalisedKeepsLettersAndDigits_data();
    void normalisedKeepsLettersAndDigits();
    void familyKeys_data();
    void familyKeys();
    void earlierRulesWin_data();
    void earlierRulesWin();
    void familyWithoutVariantFallsThrough_data();
    void familyWithoutVariantFallsThrough();
    void cessna172IsNeverAC17_data();
    void cessna172IsNeverAC17();
};

void TypeKeysTest::normalisedKeepsLettersAndDigits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("type name") << "Boeing 737-800"
                               << "boeing737800";
    QTest::newRow("spaces") << "Delta Air Lines"
                            << "deltaairlines";
    QTest::newRow("hyphens") << "delta-air-lines"
                             << "deltaairlines";
    QTest::newRow("non-ASCII letters dropped") << "Ürümqi Café 2"
                                               << "rmqicaf2";
    QTest::newRow("Chinese dropped") << "国航 A320"
                                     << "a320";
    QTest::newRow("empty") << ""
                           << "";
}

void TypeKeysTest::normalisedKeepsLettersAndDigits()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(AircraftNaming::normalised(name), expected);
}

void TypeKeysTest::familyKeys_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("A321neo") << "Airbus A321neo"
                             << "a321neo";
    QTest::newRow("A321-200") << "A321-200"
                              << "a321";
    QTest::newRow("A320neo") << "A320neo"
                             << "a320";
    QTest::newRow("A319") << "Airbus A319"
                          << "a319";
    QTest::newRow("A318") << "A318"
                          << "a318";
    QTest::newRow("A220") << "Airbus A220-300"
                          << "a220";
    QTest::newRow("A330-200F") << "A330-200F"
                               << "a332f";
    QTest::newRow("A330-200") << "A330-200"
                              << "a332";
    QTest::newRow("A330-300") << "Airbus A330-300"
                              << "a333";
    QTest::newRow("A330-800") << "A330-800neo"
                              << "a338";
    QTest::newRow("A330-900neo") << "A330-900neo"
                                 << "a339";
    QTest::newRow("A340-600") << "A340-600"
                              << "a346";
    QTest::newRow("A350-1000") << "A350-1000"
                               << "a35k";
    QTest::newRow("A350-900") << "A350-900"
                              << "a359";
    QTest::newRow("A350") << "Airbus A350"
                          << "a359";
    QTest::newRow("A380") << "Airbus A380-800"
                          << "a380";
    QTest::newRow("737 MAX 8") << "Boeing 737 MAX 8"
                               << "737max";
    QTest::newRow("737-700") << "737-700"
                             << "737-700";
    QTest::newRow("737-800") << "737-800"
                             << "737-800";
    QTest::newRow("737-900") << "Boeing 737-900ER"
                             << "737-900";
    QTest::newRow("747-8F") << "747-8F"
                            << "748";
    QTest::newRow("747-400") << "747-400"
                             << "744";
    QTest::newRow("747-200") << "Boeing 747-200"
                             << "742";
    QTest::newRow("757") << "Boeing 757-200"
                         << "757";
    QTest::newRow("767") << "Boeing 767-300"
                         << "767";
    QTest::newRow("777-300ER") << "777-300ER"
                               << "773";
    QTest::newRow("777-200LR") << "777-200LR"
                               << "772lr";
    QTest::newRow("777-200ER") << "Boeing 777-200ER"
                               << "772er";
    QTest::newRow("777F") << "777F"
                          << "77f";
    QTest::newRow("787-10") << "787-10"
                            << "78x";
    QTest::newRow("787-9") << "Boeing 787-9"
                           << "789";
    QTest::newRow("787-8") << "787-8 Dreamliner"
                           << "788";
    QTest::newRow("Cessna C172") << "Cessna C172"
                                 << "c172";
    QTest::newRow("Cessna 172") << "Cessna 172"
                                << "c172";
    QTest::newRow("Skyhawk") << "Skyhawk"
                             << "c172";
    QTest::newRow("C-17") << "C-17 Globemaster"
                          << "c17";
    QTest::newRow("CRJ-1000") << "CRJ-1000"
                              << "crj1000";
    QTest::newRow("CRJ-900") << "Bombardier CRJ-900"
                             << "crj900";
    QTest::newRow("CRJ-700") << "CRJ700"
                             << "crj700";
    QTest::newRow("CRJ-200") << "CRJ-200"
                             << "crj200";
    QTest::newRow("Dash 8 Q400") << "Dash 8 Q400"
                                 << "q400";
    QTest::newRow("E175") << "E175"
                          << "e175";
    QTest::newRow("Embraer 175") << "Embraer 175"
                                 << "e175";
    QTest::newRow("Embraer 190") << "Embraer 190"
                                 << "e190";
    QTest::newRow("E-190") << "E-190"
                           << "e190";
    QTest::newRow("717") << "Boeing 717-200"
                         << "717";
    QTest::newRow("DC-10") << "DC-10"
                           << "dc10";
    QTest::newRow("DC-10F") << "DC-10F"
                            << "dc10f";
    QTest::newRow("MD-11") << "MD-11"
                           << "md11";
    QTest::newRow("MD-11F") << "MD-11F"
                            << "md11f";
    QTest::newRow("C-130J-30") << "C-130J-30"
                               << "c130j30";
    QTest::newRow("C-130J") << "C-130J"
                            << "c130j";
    QTest::newRow("C-130H") << "C-130H"
                            << "c130h";
    QTest::newRow("Challenger") << "Bombardier Challenger 350"
                                << "cl350";
    QTest::newRow("CL-350") << "CL-350"
                            << "cl350";
    QTest::newRow("Caravan") << "Cessna 208 Caravan"
                             << "c208";
    QTest::newRow("SR22") << "Cirrus SR-22"
                          << "sr22";
    QTest::newRow("XCub") << "CubCrafters XCub"
                          << "xcub";
    QTest::newRow("TBM 930") << "TBM 930"
                             << "tbm930";
    QTest::newRow("Cherokee") << "Piper PA-28 Cherokee"
                              << "pa28";
    QTest::newRow("Spitfire") << "Supermarine Spitfire"
                              << "spitfire";
    QTest::newRow("Super Hornet") << "F/A-18E Super Hornet"
                                  << "f18";
    QTest::newRow("F-16") << "F-16C"
                          << "f16";
    QTest::newRow("F-14") << "F-14 Tomcat"
                          << "f14";
    QTest::newRow("F-22") << "F-22 Raptor"
                          << "f22";
    QTest::newRow("P-38") << "P-38 Lightning"
                          << "p38";
    QTest::newRow("A-10") << "A-10"
                          << "a10";
    QTest::newRow("unknown type") << "Concorde"
                                  << "concorde";
    QTest::newRow("empty") << ""
                           << "";
}

void TypeKeysTest::familyKeys()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(AircraftNaming::typeKey(name), expected);
}

// A name that two rules would match gets the key of the rule tried first.
void TypeKeysTest::earlierRulesWin_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("freighter A330 before plain -200") << "A330-200F"
                                                      << "a332f";
    QTest::newRow("A330-900 before -300 in a name with both") << "A330-900 (ex A330-300)"
                                                              << "a339";
    QTest::newRow("A320 before 737") << "A320 / 737 shared livery"
                                     << "a320";
    QTest::newRow("MAX before -800") << "737-800 MAX"
                                     << "737max";
    QTest::newRow("747-8 before -400") << "747-8 (400 seats)"
                                       << "748";
    QTest::newRow("777-200ER before -200LR") << "777-200ER/200LR"
                                             << "772er";
    QTest::newRow("777-300 before 777F") << "777-300F"
                                         << "773";
    QTest::newRow("787-10 before 787-9") << "787-10/787-9"
                                         << "78x";
    QTest::newRow("CRJ-1000 before CRJ-900") << "CRJ 1000 (900 frame)"
                                             << "crj1000";
    QTest::newRow("C-17 before Caravan") << "C-17 208"
                                         << "c17";
    QTest::newRow("Dash before E175") << "Dash E175"
                                      << "q400";
    QTest::newRow("E175 before E190") << "E175/E190"
                                      << "e175";
    QTest::newRow("DC-10 before A-10") << "DC-10"
                                       << "dc10";
    QTest::newRow("MD-11 before F-?16 table") << "MD-11 F16"
                                              << "md11";
    QTest::newRow("C-130 before Challenger table") << "C-130 Challenger"
                                                   << "c130h";
    QTest::newRow("Challenger before Cessna 172") << "Challenger Skyhawk"
                                                  << "cl350";
    QTest::newRow("Super Hornet before F-16") << "Super Hornet F-16"
                                              << "f18";
    QTest::newRow("F-14 before F-22") << "F-14/F-22"
                                      << "f14";
}

void TypeKeysTest::earlierRulesWin()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(AircraftNaming::typeKey(name), expected);
}

// A family whose variants all miss lets the later rules try, and without one the normalised name stands.
void TypeKeysTest::familyWithoutVariantFallsThrough_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("A330 without variant") << "Airbus A330"
                                          << "airbusa330";
    QTest::newRow("737 without variant") << "Boeing 737"
                                         << "boeing737";
    QTest::newRow("737-600 is not a listed variant") << "Boeing 737-600"
                                                     << "boeing737600";
    QTest::newRow("747 without variant") << "Boeing 747 Dreamlifter"
                                         << "boeing747dreamlifter";
    QTest::newRow("777 without variant") << "Boeing 777"
                                         << "boeing777";
    QTest::newRow("787 without variant") << "Boeing 787"
                                         << "boeing787";
    QTest::newRow("CRJ without variant") << "CRJ"
                                         << "crj";
    QTest::newRow("A330 then a later rule") << "A330 tanker F-16 escort"
                                            << "f16";
    QTest::newRow("777 then a later rule") << "777 Spitfire"
                                           << "spitfire";
}

void TypeKeysTest::familyWithoutVariantFallsThrough()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(AircraftNaming::typeKey(name), expected);
}

void TypeKeysTest::cessna172IsNeverAC17_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("c172") << "c172"
                          << "c172";
    // Regression: "C-172" with a hyphen was taken for the C-17 transport.
    QTest::newRow("C-172") << "C-172"
                           << "c172";
    QTest::newRow("Cessna C-172") << "Cessna C-172"
                                  << "c172";
    // Regression: a 172 model suffix ("C172SP") slipped past the word boundary and became a C-17.
    QTest::newRow("C172SP") << "C172SP"
                            << "c172sp";
    QTest::newRow("C172S Skyhawk") << "C172S Skyhawk"
                                   << "c172";
    QTest::newRow("C-17") << "C-17"
                          << "c17";
    QTest::newRow("C17") << "Boeing C17"
                         << "c17";
    QTest::newRow("C-17A Globemaster III") << "C-17A Globemaster III"
                                           << "c17";
}

void TypeKeysTest::cessna172IsNeverAC17()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(AircraftNaming::typeKey(name), expected);
}

QTEST_APPLESS_MAIN(TypeKeysTest)
#include "tst_type_keys.moc"

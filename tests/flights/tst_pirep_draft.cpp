#include "PirepDraft.h"

#include <QtTest>

// The draft's prefill, its nine rules in their order and the upload's fields.
class PirepDraftTest : public QObject
{
    Q_OBJECT

private:
    static RecentFlight flight(std::optional<double> minutes, std::optional<qint64> landings)
    {
        RecentFlight f;
        f.id = QStringLiteral("3c9e1f52-7a4b-4d8e-9f61-2b7d0c5e8a13");
        f.origin = QStringLiteral("ZGGG");
        f.destination = QStringLiteral("ZUUU");
        f.aircraft = QStringLiteral("Airbus A320");
        f.livery = QStringLiteral("Sichuan Airlines");
        f.callsign = QStringLiteral("B-207CA");
        f.totalTimeMinutes = minutes;
        f.landings = landings;
        return f;
    }
    // A draft every rule passes; each row of the rules table breaks one thing of it.
    static PirepDraft valid()
    {
        PirepDraft d;
        d.departure = QStringLiteral("zggg");
        d.arrival = QStringLiteral("ZUUU");
        d.aircraft = QStringLiteral("Airbus A320");
        d.livery = QStringLiteral("Sichuan Airlines");
        d.hours = QStringLiteral("2");
        d.minutes = QStringLiteral("19");
        d.landings = QStringLiteral("1");
        return d;
    }

private Q_SLOTS:
    void emptyDraft()
    {
        const PirepDraft d(std::nullopt);
        QCOMPARE(d.hours, QStringLiteral("0"));
        QCOMPARE(d.minutes, QString());
        QCOMPARE(d.landings, QStringLiteral("1"));
        QVERIFY(d.departure.isEmpty() && d.aircraft.isEmpty() && d.sourceFlightId.isEmpty());
        QVERIFY(!d.organizationMultiplier && !d.eventMultiplier);
        // Codes come first, then the time until minutes are given.
        QCOMPARE(d.validationMessage(), QStringLiteral("机场代码需为 4 位英文字母。"));
        PirepDraft filled = d;
        filled.departure = QStringLiteral("ZGGG");
        filled.arrival = QStringLiteral("ZUUU");
        filled.aircraft = QStringLiteral("A320");
        filled.livery = QStringLiteral("Generic");
        QCOMPARE(filled.validationMessage(),
                 QStringLiteral("请填写有效飞行时间，分钟为 0–59，总时长大于零。"));
    }

    void prefillFromFlight_data()
    {
        QTest::addColumn<std::optional<double>>("minutes");
        QTest::addColumn<std::optional<qint64>>("landings");
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("minutesText");
        QTest::addColumn<QString>("landingsText");
        QTest::newRow("90 minutes") << std::optional(90.0) << std::optional<qint64>(2) << "1"
                                    << "30"
                                    << "2";
        QTest::newRow("halves away from zero") << std::optional(89.5) << std::optional<qint64>(1) << "1"
                                               << "30"
                                               << "1";
        QTest::newRow("59.5 is an hour") << std::optional(59.5) << std::optional<qint64>(1) << "1"
                                         << "0"
                                         << "1";
        QTest::newRow("0.4 is nothing") << std::optional(0.4) << std::optional<qint64>(1) << "0"
                                        << "0"
                                        << "1";
        QTest::newRow("5 minutes") << std::optional(5.0) << std::optional<qint64>(1) << "0"
                                   << "5"
                                   << "1";
        QTest::newRow("negative is zero") << std::optional(-12.0) << std::optional<qint64>(1) << "0"
                                          << "0"
                                          << "1";
        QTest::newRow("no time") << std::optional<double>() << std::optional<qint64>(3) << "0"
                                 << ""
                                 << "3";
        QTest::newRow("no landings") << std::optional(60.0) << std::optional<qint64>() << "1"
                                     << "0"
                                     << "1";
        QTest::newRow("zero landings") << std::optional(60.0) << std::optional<qint64>(0) << "1"
                                       << "0"
                                       << "1";
        // Beyond what minutes can hold: no crash, and a time the member must enter.
        QTest::newRow("huge time") << std::optional(1e300) << std::optional<qint64>(1) << "0"
                                   << "0"
                                   << "1";
    }
    void prefillFromFlight()
    {
        QFETCH(std::optional<double>, minutes);
        QFETCH(std::optional<qint64>, landings);
        const PirepDraft d(flight(minutes, landings));
        QTEST(d.hours, "hours");
        QTEST(d.minutes, "minutesText");
        QTEST(d.landings, "landingsText");
        QCOMPARE(d.departure, QStringLiteral("ZGGG"));
        QCOMPARE(d.arrival, QStringLiteral("ZUUU"));
        QCOMPARE(d.callsign, QStringLiteral("B-207CA"));
        QCOMPARE(d.sourceFlightId, QStringLiteral("3c9e1f52-7a4b-4d8e-9f61-2b7d0c5e8a13"));
        QVERIFY(d.note.isEmpty());
    }

    void eventFillsRouteAndFactor()
    {
        PirepDraft d(std::nullopt);
        FlightEvent event;
        event.departureCode = QStringLiteral("zsss");
        event.arrivalCode = QStringLiteral("RJTT");
        event.aircraft = QStringLiteral("Boeing 787-9");
        event.livery = QStringLiteral("China Eastern");
        event.estimatedHours = 3;
        d.takeEvent(event);
        QCOMPARE(d.departure, QStringLiteral("zsss")); // as the event has it, not upper-cased
        QCOMPARE(d.aircraft, QStringLiteral("Boeing 787-9"));
        QVERIFY(d.eventMultiplier);
        QCOMPARE(d.hours, QStringLiteral("0")); // the event's estimate is not the flight's time
        QCOMPARE(d.minutes, QString());
    }

    void rulesInOrder_data()
    {
        const QString codes = QStringLiteral("机场代码需为 4 位英文字母。");
        const QString names = QStringLiteral("请填写机型和涂装，每项不超过 120 字。");
        const QString time = QStringLiteral("请填写有效飞行时间，分钟为 0–59，总时长大于零。");
        const QString landings = QStringLiteral("降落次数需为 1–99 的整数。");
        const QString note = QStringLiteral("补充说明最多 500 字。");
        using Change = std::function<void(PirepDraft &)>;
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("message");
        QTest::newRow("valid") << Change([](PirepDraft &) {}) << QString();
        QTest::newRow("lower-case codes pass")
            << Change([](PirepDraft &d) { d.arrival = "zuuu"; }) << QString();
        QTest::newRow("three letters") << Change([](PirepDraft &d) { d.departure = "ZGG"; }) << codes;
        QTest::newRow("leading space") << Change([](PirepDraft &d) { d.arrival = " ZUUU"; }) << codes;
        QTest::newRow("digit") << Change([](PirepDraft &d) { d.arrival = "ZUU1"; }) << codes;
        QTest::newRow("line break after a code")
            << Change([](PirepDraft &d) { d.arrival = "ZUUU\n"; }) << codes;
        QTest::newRow("aircraft of spaces") << Change([](PirepDraft &d) { d.aircraft = "   "; }) << names;
        QTest::newRow("livery of ideographic spaces")
            << Change([](PirepDraft &d) { d.livery = QStringLiteral("\u3000\t"); }) << names;
        QTest::newRow("a line break is not blank")
            << Change([](PirepDraft &d) { d.livery = "\n"; }) << QString();
        QTest::newRow("aircraft of 120")
            << Change([](PirepDraft &d) { d.aircraft = QString(120, u'A'); }) << QString();
        QTest::newRow("aircraft of 121")
            << Change([](PirepDraft &d) { d.aircraft = QString(121, u'A'); }) << names;
        // 120 emoji are 240 UTF-16 units but 120 characters.
        QTest::newRow("livery of 120 emoji") << Change([](PirepDraft &d) {
            d.livery = QStringLiteral("✈️").repeated(60) + QString(60, u'x');
        }) << QString();
        QTest::newRow("codes fail before names") << Change([](PirepDraft &d) {
            d.departure = "";
            d.aircraft = "";
        }) << codes;
        QTest::newRow("99:59") << Change([](PirepDraft &d) {
            d.hours = "99";
            d.minutes = "59";
        }) << QString();
        QTest::newRow("100 hours") << Change([](PirepDraft &d) { d.hours = "100"; }) << time;
        QTest::newRow("60 minutes") << Change([](PirepDraft &d) { d.minutes = "60"; }) << time;
        QTest::newRow("-1 hours") << Change([](PirepDraft &d) { d.hours = "-1"; }) << time;
        QTest::newRow("zero total") << Change([](PirepDraft &d) {
            d.hours = "0";
            d.minutes = "0";
        }) << time;
        QTest::newRow("decimal") << Change([](PirepDraft &d) { d.minutes = "1.5"; }) << time;
        QTest::newRow("space in number") << Change([](PirepDraft &d) { d.minutes = " 7"; }) << time;
        QTest::newRow("007 and +5") << Change([](PirepDraft &d) {
            d.hours = "+5";
            d.minutes = "007";
        }) << QString();
        QTest::newRow("beyond 64 bits")
            << Change([](PirepDraft &d) { d.hours = "99999999999999999999"; }) << time;
        QTest::newRow("time before landings") << Change([](PirepDraft &d) {
            d.minutes = "";
            d.landings = "0";
        }) << time;
        QTest::newRow("0 landings") << Change([](PirepDraft &d) { d.landings = "0"; }) << landings;
        QTest::newRow("100 landings") << Change([](PirepDraft &d) { d.landings = "100"; }) << landings;
        QTest::newRow("99 landings") << Change([](PirepDraft &d) { d.landings = "99"; }) << QString();
        QTest::newRow("empty landings") << Change([](PirepDraft &d) { d.landings = ""; }) << landings;
        QTest::newRow("note of 500") << Change([](PirepDraft &d) { d.note = QString(500, u'字'); })
                                     << QString();
        QTest::newRow("note of 501") << Change([](PirepDraft &d) { d.note = QString(501, u'字'); }) << note;
        QTest::newRow("note of 500 with marks")
            << Change([](PirepDraft &d) { d.note = QStringLiteral("e\u0301").repeated(500); }) << QString();
    }
    void rulesInOrder()
    {
        QFETCH(std::function<void(PirepDraft &)>, change);
        QFETCH(QString, message);
        PirepDraft d = valid();
        change(d);
        QCOMPARE(d.validationMessage().value_or(QString()), message);
    }

    void uploadFields()
    {
        PirepDraft d = valid();
        d.callsign = QStringLiteral("B-207CA");
        d.note = QStringLiteral(" 备注 ");
        d.hours = QStringLiteral("+2");
        d.minutes = QStringLiteral("007");
        const QMap<QString, QString> fields = d.fields();
        QCOMPARE(fields.size(), 11);
        QCOMPARE(fields.value("departureCode"), QStringLiteral("ZGGG"));
        QCOMPARE(fields.value("arrivalCode"), QStringLiteral("ZUUU"));
        QCOMPARE(fields.value("aircraft"), QStringLiteral("Airbus A320"));
        QCOMPARE(fields.value("flightCallsign"), QStringLiteral("B-207CA"));
        // Regression: numbers went out as typed ("+2", "007"); the service reads the plain decimals.
        QCOMPARE(fields.value("hours"), QStringLiteral("2"));
        QCOMPARE(fields.value("minutes"), QStringLiteral("7"));
        QCOMPARE(fields.value("landings"), QStringLiteral("1"));
        QCOMPARE(fields.value("submitNote"), QStringLiteral(" 备注 "));
        QVERIFY(fields.contains("sourceFlightId"));
        QCOMPARE(fields.value("sourceFlightId"), QString());
        QCOMPARE(fields.value("multiplier"), QStringLiteral("1"));
    }

    void multiplierValue()
    {
        PirepDraft d;
        QCOMPARE(d.multiplierValue(), QStringLiteral("1"));
        d.organizationMultiplier = true;
        QCOMPARE(d.multiplierValue(), QStringLiteral("1.25"));
        d.eventMultiplier = true;
        QCOMPARE(d.multiplierValue(), QStringLiteral("1.25,1.5"));
        QCOMPARE(d.multiplierFactor(), 1.875);
        d.organizationMultiplier = false;
        QCOMPARE(d.multiplierValue(), QStringLiteral("1.5"));
    }
};

QTEST_GUILESS_MAIN(PirepDraftTest)
#include "tst_pirep_draft.moc"

// The leaderboard's ranks, merges and loads, against the sample member service.
#include "AppState.h"
#include "LeaderboardModel.h"
#include "MemberTestSupport.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QLocale>

using namespace TestSupport;

namespace {

const QString recentPath = QStringLiteral("/api/member/pirep-leaderboard?period=recent");

FleetTotal fleetRow(const QString &aircraft, const QString &livery, std::optional<qint64> flights,
                    std::optional<double> minutes, std::optional<qint64> landings)
{
    return {aircraft, livery, flights, minutes, landings};
}

ReviewerTotal reviewerRow(const QString &username, std::optional<QString> name, std::optional<qint64> reviews,
                          std::optional<qint64> recent)
{
    return {username, std::move(name), reviews, recent};
}

// "rank title" per row, the airports' by their code.
QStringList shown(LeaderboardModel &model)
{
    QStringList rows;
    for (const LeaderboardRow &row : model.rows()->records())
        rows.append(QString::number(row.rank) + QLatin1Char(' ')
                    + (model.board() == LeaderboardModel::Airports ? row.caption : row.title));
    return rows;
}

} // namespace

class LeaderboardTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void competitionRanks_data();
    void competitionRanks();
    void medalsOfTheFirstThreeRanks();
    void fleetRowsMergeByCaseAndSpaces();
    void reviewerNames_data();
    void reviewerNames();
    void reviewersMergeAndOrder();
    void boardsOfTheSampleService_data();
    void boardsOfTheSampleService();
    void ownRowAndEmptyBoards();
    void loadsKeepTheRowsTheyDoNotChange();
    void recentPeriodLoadsOnceAndFailsOnItsOwn();
    void changingPeriodBackCancelsTheRecentLoad();
    void refreshLoadsTheShownPeriodAgain();
    void pickerLabelsChooseWhatTheyName();
    void englishCountsOfOne();

private:
    std::unique_ptr<Site> m_site;
    std::unique_ptr<AppState> m_app;
    std::unique_ptr<MemberData> m_data;
    std::unique_ptr<LeaderboardModel> m_model;
};

void LeaderboardTest::initTestCase()
{
    // Names tie-break in the reader's language: Chinese names by their reading.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
}

void LeaderboardTest::init()
{
    qputenv("LANGUAGE", "zh_CN");
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
    m_app = signedInApp(*m_site, "lichen");
    m_data = std::make_unique<MemberData>(m_app->api());
    m_model = std::make_unique<LeaderboardModel>();
    m_model->setMemberData(m_data.get());
    m_model->setClient(m_app->api());
    m_model->setUsername(m_app->username());
}

void LeaderboardTest::cleanup()
{
    m_model.reset();
    m_data.reset();
    m_app.reset();
    m_site.reset();
}

void LeaderboardTest::competitionRanks_data()
{
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<QList<int>>("ranks");
    QTest::newRow("tie at the top") << QList<double>{90, 90, 70} << QList<int>{1, 1, 3};
    QTest::newRow("single row") << QList<double>{12.5} << QList<int>{1};
    QTest::newRow("ties further down") << QList<double>{10, 9, 9, 8, 8, 1} << QList<int>{1, 2, 2, 4, 4, 6};
    QTest::newRow("all equal") << QList<double>{0, 0, 0} << QList<int>{1, 1, 1};
    QTest::newRow("no rows") << QList<double>{} << QList<int>{};
}

void LeaderboardTest::competitionRanks()
{
    QFETCH(QList<double>, values);
    QFETCH(QList<int>, ranks);
    QCOMPARE(LeaderboardModel::competitionRanks(values), ranks);
}

// Gold, silver and bronze discs for ranks 1 to 3, none below; tied rows share their rank's disc.
void LeaderboardTest::medalsOfTheFirstThreeRanks()
{
    m_site->service->route(
        "GET", "/api/member/pirep-leaderboard", [](Sample::Service &, const Sample::Request &) {
            QJsonArray members;
            for (const auto &[name, minutes] : {std::pair{"a", 90}, {"b", 90}, {"c", 70}, {"d", 60}}) {
                members.append(QJsonObject{{"username", name},
                                           {"displayName", name},
                                           {"approvedCount", 1},
                                           {"approvedMinutes", minutes},
                                           {"approvedLandings", 1}});
            }
            return Sample::Reply::json(QJsonObject{{"members", members}});
        });
    m_model->appear();
    QTRY_VERIFY(m_model->hasAnswer() && !m_model->loading());
    auto *rows = m_model->rows();
    QCOMPARE(rows->rowCount(), 4);
    QList<int> ranks;
    QList<QColor> medals;
    for (int i = 0; i < rows->rowCount(); ++i) {
        ranks.append(rows->data(rows->index(i, 0), LeaderboardRows::RankRole).toInt());
        medals.append(rows->data(rows->index(i, 0), LeaderboardRows::MedalRole).value<QColor>());
    }
    QCOMPARE(ranks, (QList<int>{1, 1, 3, 4}));
    const QColor gold(227, 184, 102);
    const QColor bronze(196, 138, 90);
    QCOMPARE(medals.mid(0, 3), (QList<QColor>{gold, gold, bronze}));
    QVERIFY(!medals.at(3).isValid());
    QCOMPARE(LeaderboardModel::medalTint(2), QColor(167, 175, 186));
    for (const int rank : {0, 4, 10})
        QVERIFY(!LeaderboardModel::medalTint(rank).isValid());
}

void LeaderboardTest::fleetRowsMergeByCaseAndSpaces()
{
    const QList<FleetTotal> merged = LeaderboardModel::combined({
        fleetRow(" Airbus A320\t", "China Eastern ", 2, std::nullopt, 2),
        fleetRow("Boeing 787-9", "EVA Air", std::nullopt, std::nullopt, std::nullopt),
        fleetRow("AIRBUS A320", "china eastern", std::nullopt, 100.5, 3),
        fleetRow("   ", "Air China", 9, 900, 9),
        fleetRow("airbus a320", " China Eastern", 1, 20, std::nullopt),
        fleetRow("Airbus A320", "China Eastern\n", 1, 1, 1), // a line break is part of the livery
    });
    QCOMPARE(merged.size(), 3);
    QCOMPARE(merged.at(0).aircraft, QString("Airbus A320"));
    QCOMPARE(merged.at(0).livery, QString("China Eastern"));
    QCOMPARE(merged.at(0).flights, std::optional<qint64>(3));
    QCOMPARE(merged.at(0).minutes, std::optional<double>(120.5));
    QCOMPARE(merged.at(0).landings, std::optional<qint64>(5));
    // A row that met no other keeps its absent totals.
    QCOMPARE(merged.at(1).aircraft, QString("Boeing 787-9"));
    QVERIFY(!merged.at(1).minutes && !merged.at(1).flights && !merged.at(1).landings);
    QCOMPARE(merged.at(2).livery, QString("China Eastern\n"));

    // Regression: counts that add up beyond 64 bits overflowed (undefined); they stop at the largest.
    const qint64 most = std::numeric_limits<qint64>::max();
    const QList<FleetTotal> huge = LeaderboardModel::combined(
        {fleetRow("a", "", most, std::nullopt, most), fleetRow("A ", "", 1, std::nullopt, 1)});
    QCOMPARE(huge.size(), 1);
    QCOMPARE(huge.at(0).landings, std::optional<qint64>(most));
    QCOMPARE(huge.at(0).flights, std::optional<qint64>(most));
}

void LeaderboardTest::reviewerNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("cleaned");
    QTest::newRow("admin ending") << "pilotadmin"
                                  << "pilot";
    QTest::newRow("dev ending in capitals") << "PilotDEV"
                                            << "Pilot";
    QTest::newRow("surrounding spaces") << " \twangfang "
                                        << "wangfang";
    QTest::newRow("only the last ending") << "devadmin"
                                          << "dev";
    QTest::newRow("ending not at the end") << "adminx"
                                           << "adminx";
    // Regression: a reviewer called "admin" was listed without a name.
    QTest::newRow("nothing but the ending") << "admin"
                                            << "admin";
    QTest::newRow("nothing but the ending, spaced") << " Dev "
                                                    << " Dev ";
    // Regression: "$" matched before a final line feed, so an ending that was not the last was cut.
    QTest::newRow("ending before a line feed") << "pilotadmin\n"
                                               << "pilotadmin\n";
    QTest::newRow("only the ending before a line feed") << "dev\n"
                                                        << "dev\n";
}

void LeaderboardTest::reviewerNames()
{
    QFETCH(QString, name);
    QFETCH(QString, cleaned);
    QCOMPARE(LeaderboardModel::cleanedName(name), cleaned);
}

void LeaderboardTest::reviewersMergeAndOrder()
{
    const QList<ReviewerTotal> rows{
        reviewerRow("zhaolei", "赵磊", 5, 1),
        reviewerRow("WangFangAdmin", std::nullopt, 7, std::nullopt),
        reviewerRow("mazhiyuan", "马志远", std::nullopt, 0),
        reviewerRow("wangfang", "王芳", 3, 4),
        reviewerRow("zhaoleiDEV", "别名", 5, 2),
    };
    QCOMPARE(
        LeaderboardModel::people(rows, false),
        (QList<Reviewer>{{"wangfang", "WangFang", 10}, {"zhaolei", "赵磊", 10}, {"mazhiyuan", "马志远", 0}}));
    QCOMPARE(
        LeaderboardModel::people(rows, true),
        (QList<Reviewer>{{"wangfang", "WangFang", 4}, {"zhaolei", "赵磊", 3}, {"mazhiyuan", "马志远", 0}}));

    // Regression: review counts beyond 64 bits overflowed when merged; they stop at the largest.
    const qint64 most = std::numeric_limits<qint64>::max();
    const QList<Reviewer> huge =
        LeaderboardModel::people({reviewerRow("a", std::nullopt, most, std::nullopt),
                                  reviewerRow("aAdmin", std::nullopt, 1, std::nullopt)},
                                 false);
    QCOMPARE(huge.size(), 1);
    QCOMPARE(huge.at(0).reviews, most);
}

void LeaderboardTest::boardsOfTheSampleService_data()
{
    using M = LeaderboardModel;
    QTest::addColumn<int>("board");
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("metric");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("members, all time, time")
        << int(M::Members) << int(M::Total) << int(M::Time)
        << QStringList{"1 张伟", "2 李辰",     "3 陈杰", "4 何静", "4 刘洋",
                       "6 赵磊", "7 huangmin", "8 王芳", "9 周宁"};
    QTest::newRow("members, all time, landings")
        << int(M::Members) << int(M::Total) << int(M::Landings)
        << QStringList{"1 张伟",     "2 李辰", "3 陈杰", "4 何静", "5 刘洋",
                       "6 huangmin", "7 王芳", "8 赵磊", "8 周宁"};
    // cadet9 and cadet10 tie on both: the digits compare as numbers, though the service sends cadet10 first.
    QTest::newRow("members, recent, time")
        << int(M::Members) << int(M::Recent) << int(M::Time)
        << QStringList{"1 张伟", "2 陈杰", "2 李辰", "4 何静",   "5 赵磊",
                       "6 刘洋", "7 周宁", "8 王芳", "9 cadet9", "9 cadet10"};
    QTest::newRow("members, recent, landings")
        << int(M::Members) << int(M::Recent) << int(M::Landings)
        << QStringList{"1 张伟",    "2 陈杰", "2 李辰", "4 何静", "5 cadet9",
                       "5 cadet10", "7 刘洋", "8 王芳", "8 赵磊", "8 周宁"};
    QTest::newRow("fleet, all time, time")
        << int(M::Fleet) << int(M::Total) << int(M::Time)
        << QStringList{"1 Boeing 777-300ER", "2 Airbus A330-300", "3 Airbus A320", "4 Airbus A320",
                       "5 Airbus A350",      "5 Boeing 787-9",    "7 Airbus A321"};
    QTest::newRow("fleet, all time, landings")
        << int(M::Fleet) << int(M::Total) << int(M::Landings)
        << QStringList{"1 Airbus A320", "2 Airbus A330-300", "3 Boeing 777-300ER", "4 Airbus A320",
                       "5 Airbus A350", "6 Boeing 787-9",    "7 Airbus A321"};
    QTest::newRow("fleet, recent, time")
        << int(M::Fleet) << int(M::Recent) << int(M::Time)
        << QStringList{"1 Airbus A330-300", "2 Airbus A320", "3 Airbus A321", "3 Boeing 787-9"};
    QTest::newRow("fleet, recent, landings")
        << int(M::Fleet) << int(M::Recent) << int(M::Landings)
        << QStringList{"1 Airbus A320", "1 Airbus A330-300", "3 Airbus A321", "4 Boeing 787-9"};
    // The metric does not rank airports or reviewers.
    for (const int metric : {int(M::Time), int(M::Landings)}) {
        const QByteArray by = metric == M::Time ? "time" : "landings";
        QTest::newRow("airports, all time, " + by)
            << int(M::Airports) << int(M::Total) << metric
            << QStringList{"1 ZBAA", "1 ZSPD", "3 ZGGG", "4 RCTP", "4 VHHH",
                           "6 ZUUU", "7 RJTT", "8 WSSS", "9 EGLL", "10 KLAX"};
        QTest::newRow("airports, recent, " + by)
            << int(M::Airports) << int(M::Recent) << metric
            << QStringList{"1 ZSPD", "2 ZBAA", "3 RJTT", "3 VHHH", "5 ZGGG"};
        QTest::newRow("reviewers, all time, " + by)
            << int(M::Reviews) << int(M::Total) << metric
            << QStringList{"1 王芳", "1 赵磊", "3 马志远", "4 admin", "4 刘洋"};
        QTest::newRow("reviewers, recent, " + by) << int(M::Reviews) << int(M::Recent) << metric
                                                  << QStringList{"1 王芳", "1 赵磊", "3 admin", "3 马志远"};
    }
}

void LeaderboardTest::boardsOfTheSampleService()
{
    QFETCH(int, board);
    QFETCH(int, period);
    QFETCH(int, metric);
    QFETCH(QStringList, rows);
    m_model->appear();
    QTRY_VERIFY(m_model->hasAnswer());
    m_model->setBoard(LeaderboardModel::Board(board));
    m_model->setMetric(LeaderboardModel::Metric(metric));
    m_model->setPeriod(LeaderboardModel::Period(period));
    QTRY_VERIFY(m_model->hasAnswer() && !m_model->loading());
    QCOMPARE(shown(*m_model), rows);
    QVERIFY(m_model->failureText().isEmpty());
}

void LeaderboardTest::ownRowAndEmptyBoards()
{
    m_model->appear();
    QTRY_VERIFY(m_model->hasAnswer());
    const QList<LeaderboardRow> &rows = m_model->rows()->records();
    QCOMPARE(
        std::count_if(rows.cbegin(), rows.cend(), [](const LeaderboardRow &row) { return row.highlighted; }),
        1);
    const auto own =
        std::find_if(rows.cbegin(), rows.cend(), [](const LeaderboardRow &row) { return row.highlighted; });
    QCOMPARE(own->title, QString("李辰"));
    QCOMPARE(own->caption, QString("37 小时 49 分 · 12 次降落"));
    m_model->setUsername("LiChen"); // letter case does not matter
    QVERIFY(m_model->rows()->records().at(1).highlighted);

    // An answer without airports shows the empty card, never a loader.
    m_site->service->route(
        "GET", "/api/member/pirep-leaderboard", [](Sample::Service &, const Sample::Request &) {
            return Sample::Reply::json(
                QJsonObject{{"members", QJsonArray{}},
                            {"airports", QJsonArray{QJsonObject{{"airport", "ZBAA"}, {"landings", 0}}}}});
        });
    await(m_data->loadLeaderboard());
    m_model->setBoard(LeaderboardModel::Airports);
    QVERIFY(m_model->showsEmpty() && !m_model->showsLoader());
    QCOMPARE(m_model->emptyTitle(), QString("暂无机场统计"));
    m_model->setBoard(LeaderboardModel::Reviews);
    QVERIFY(m_model->showsEmpty());
    QCOMPARE(m_model->emptyTitle(), QString("暂无管理员"));
    QVERIFY(m_model->emptyDescription().isEmpty());
}

// Regression: every start and end of a load rebuilt the rows, and a window closed during a load crashed
// in the layouts of the rows it was rebuilding.
void LeaderboardTest::loadsKeepTheRowsTheyDoNotChange()
{
    m_model->appear();
    QTRY_VERIFY(m_model->hasAnswer() && !m_model->loading());
    QSignalSpy reset(m_model->rows(), &QAbstractItemModel::modelReset);
    // Nor do the pickers hear of a load: only what the board holds changed.
    QSignalSpy choice(m_model.get(), &LeaderboardModel::choiceChanged);
    QSignalSpy content(m_model.get(), &LeaderboardModel::contentChanged);
    await(m_data->loadLeaderboard());
    QCOMPARE(reset.count(), 0);
    QVERIFY(content.count() > 0);
    QCOMPARE(choice.count(), 0);
    m_model->setMetric(LeaderboardModel::Landings);
    QCOMPARE(reset.count(), 1);
    QCOMPARE(choice.count(), 1);
}

void LeaderboardTest::recentPeriodLoadsOnceAndFailsOnItsOwn()
{
    m_site->service->setFault(recentPath, {.status = 500, .times = 1});
    m_model->appear();
    QTRY_VERIFY(m_model->hasAnswer());
    m_model->setPeriod(LeaderboardModel::Recent);
    QVERIFY(m_model->loading());
    QTRY_VERIFY(!m_model->loading());
    QCOMPARE(m_model->failureText(), QString("样例服务按要求返回 500。"));
    QVERIFY(!m_model->hasAnswer());

    // The all-time board has no failure of its own; back on the recent one, a new load succeeds.
    m_model->setPeriod(LeaderboardModel::Total);
    QVERIFY(m_model->failureText().isEmpty() && m_model->hasAnswer());
    m_model->setPeriod(LeaderboardModel::Recent);
    QCOMPARE(m_model->failureText(), QString("样例服务按要求返回 500。")); // kept until a load succeeds
    QTRY_VERIFY(!m_model->loading());
    QVERIFY(m_model->failureText().isEmpty() && m_model->hasAnswer());
    QCOMPARE(m_site->service->requestsTo("/api/member/pirep-leaderboard").size(), 3);

    // Once held, the recent answer is not fetched again by a change of period.
    m_model->setPeriod(LeaderboardModel::Total);
    m_model->setPeriod(LeaderboardModel::Recent);
    QVERIFY(!m_model->loading());
    QCOMPARE(m_site->service->requestsTo("/api/member/pirep-leaderboard").size(), 3);
}

void LeaderboardTest::changingPeriodBackCancelsTheRecentLoad()
{
    m_site->service->setFault(recentPath, {.status = 500, .held = true});
    m_model->appear();
    QTRY_VERIFY(m_model->hasAnswer());
    m_model->setPeriod(LeaderboardModel::Recent);
    QVERIFY(m_model->showsLoader());
    QCoro::Task<> second = m_model->loadRecent();
    QTRY_COMPARE(m_site->service->requestsTo("/api/member/pirep-leaderboard").size(), 3);

    m_model->setPeriod(LeaderboardModel::Total);
    QVERIFY(!m_model->loading() && m_model->failureText().isEmpty());
    m_site->service->clearFaults();
    m_site->service->release();
    await(std::move(second));

    // Both failed loads were left behind: they show nothing, and the next visit loads afresh.
    m_model->setPeriod(LeaderboardModel::Recent);
    QVERIFY(m_model->failureText().isEmpty());
    QTRY_VERIFY(!m_model->loading());
    QVERIFY(m_model->failureText().isEmpty() && m_model->hasAnswer());
}

// The refresh asks again for the period on screen, and only for it.
void LeaderboardTest::refreshLoadsTheShownPeriodAgain()
{
    const auto asked = [this](bool recent) {
        const QList<Sample::Request> sent = m_site->service->requestsTo("/api/member/pirep-leaderboard");
        return std::count_if(sent.cbegin(), sent.cend(), [recent](const Sample::Request &r) {
            return r.query.hasQueryItem("period") == recent;
        });
    };
    m_model->appear();
    QTRY_VERIFY(m_model->hasAnswer() && !m_model->loading());
    m_site->service->clearRequests();
    await(m_model->reload());
    QCOMPARE(asked(false), 1);
    QCOMPARE(asked(true), 0);

    // The recent period failed; its refresh replaces the failure with the board.
    m_site->service->setFault(recentPath, {.status = 500, .times = 1});
    m_model->setPeriod(LeaderboardModel::Recent);
    QTRY_VERIFY(!m_model->loading());
    QCOMPARE(m_model->failureText(), QString("样例服务按要求返回 500。"));
    await(m_model->reload());
    QCOMPARE(asked(true), 2);
    QCOMPARE(asked(false), 1);
    QVERIFY(m_model->failureText().isEmpty() && m_model->hasAnswer());
}

void LeaderboardTest::pickerLabelsChooseWhatTheyName()
{
    // Guards labels listed in the view by position, which a reordered or added board would shift.
    const auto options = [](const QVariantList &list) {
        QList<std::pair<QString, int>> pairs;
        for (const QVariant &option : list)
            pairs.append({option.toMap().value("title").toString(), option.toMap().value("value").toInt()});
        return pairs;
    };
    QStringList boards;
    for (const auto &[title, value] : options(LeaderboardModel::boards())) {
        m_model->setBoard(LeaderboardModel::Board(value));
        boards << title + " " + m_model->emptyTitle();
    }
    QCOMPARE(boards,
             QStringList({"成员 暂无排名", "机队 暂无机队统计", "机场 暂无机场统计", "管理员 暂无管理员"}));

    const auto periods = options(LeaderboardModel::periods());
    QCOMPARE(periods.size(), 2);
    QCOMPARE(periods.at(0), std::make_pair(QString("全部"), int(LeaderboardModel::Total)));
    QCOMPARE(periods.at(1), std::make_pair(QString("最近 30 天"), int(LeaderboardModel::Recent)));
    const auto metrics = options(LeaderboardModel::metrics());
    QCOMPARE(metrics.size(), 2);
    QCOMPARE(metrics.at(0), std::make_pair(QString("飞行时长"), int(LeaderboardModel::Time)));
    QCOMPARE(metrics.at(1), std::make_pair(QString("降落次数"), int(LeaderboardModel::Landings)));
}

void LeaderboardTest::englishCountsOfOne()
{
    // Regression: the English board said "1 landings" and "1 reports".
    qputenv("LANGUAGE", "en_US");
    m_site->service->route(
        "GET", "/api/member/pirep-leaderboard", [](Sample::Service &, const Sample::Request &) {
            const QJsonObject one{{"username", "lichen"},
                                  {"displayName", "李辰"},
                                  {"approvedCount", 1},
                                  {"approvedMinutes", 72},
                                  {"approvedLandings", 1}};
            const QJsonObject two{{"username", "zhangwei"},
                                  {"approvedCount", 2},
                                  {"approvedMinutes", 135},
                                  {"approvedLandings", 2}};
            return Sample::Reply::json(QJsonObject{
                {"members", QJsonArray{two, one}},
                {"airports", QJsonArray{QJsonObject{{"airport", "ZBAA"}, {"landings", 1}}}},
                {"reviewers", QJsonArray{QJsonObject{{"username", "wangfang"}, {"reviews", 1}}}}});
        });
    m_model->appear();
    QTRY_VERIFY(m_model->hasAnswer());
    const auto rows = [this] { return m_model->rows()->records(); };
    QCOMPARE(rows().size(), 2);
    QCOMPARE(rows().at(0).caption, QString("2 h 15 min · 2 landings"));
    QCOMPARE(rows().at(1).caption, QString("1 h 12 min · 1 landing"));
    m_model->setBoard(LeaderboardModel::Airports);
    QCOMPARE(rows().constFirst().trailing, QString("1 landing"));
    m_model->setBoard(LeaderboardModel::Reviews);
    QCOMPARE(rows().constFirst().trailing, QString("1 report"));
}

QTEST_MAIN(LeaderboardTest)
#include "tst_leaderboard.moc"

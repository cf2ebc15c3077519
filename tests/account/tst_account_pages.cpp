// The account switcher, the profile page, the settings, the application information and the legal texts.
#include "AccountSwitcherModel.h"
#include "AppState.h"
#include "ClientTestSupport.h"
#include "LegalTexts.h"
#include "NotifyWatch.h"
#include "ProfilePageModel.h"
#include "ServiceHosts.h"
#include "SettingsModels.h"
#include "Theme.h"

#include <QSettings>

using namespace TestSupport;

class AccountPagesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void switcherFlows();
    void switcherLimitAndFailures();
    void switcherFromTheSignInForm();
    void accountPageRecordAndRank();
    void statisticsStates_data();
    void statisticsStates();
    void rankRules();
    void profilePageTellsEveryChange();
    void legalTextsInEachLanguage();
    void legalShapeIsStrict();
    void legalPagePicksItsLanguage();
    void themeWriteReadBack();
    void languageSettingsCommand();
    void versionText();

private:
    std::unique_ptr<AppState> makeState()
    {
        return std::make_unique<AppState>(AccountEnvironment{m_site->service->origin(),
                                                             {Sample::Service::certificate()},
                                                             [session = m_session, vault = m_vault](
                                                                 const QString &item) -> SessionStorePtr {
                                                                 return item == "session-cookies" ? session
                                                                                                  : vault;
                                                             }},
                                          nullptr);
    }
    std::unique_ptr<AppState> signedIn(const QString &username)
    {
        auto state = makeState();
        await(state->restore());
        await(state->signIn(username, "fly-vornalia", false));
        return state;
    }
    // lichen signed in and saved, and hejing added from the switcher: two saved, hejing current.
    static void lichenThenHejing(AppState *state, AccountSwitcherModel &switcher)
    {
        switcher.setAppState(state);
        await(switcher.rememberCurrent());
        switcher.setUsername("hejing");
        switcher.setPassword("fly-vornalia");
        await(switcher.addAccount());
    }
    QStringList rowNames(const AccountSwitcherModel &switcher) const
    {
        QStringList names;
        for (const QVariant &row : switcher.rows())
            names.append(row.toMap().value("username").toString()
                         + (row.toMap().value("current").toBool() ? "*" : ""));
        return names;
    }

    std::unique_ptr<Site> m_site;
    std::shared_ptr<MemorySessionStore> m_session;
    std::shared_ptr<MemorySessionStore> m_vault;
};

void AccountPagesTest::initTestCase()
{
    QCoreApplication::setOrganizationName("VornaliaTests");
    QCoreApplication::setApplicationName("tst_account_pages");
}

void AccountPagesTest::init()
{
    qputenv("LANGUAGE", "zh_CN");
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
    m_session = std::make_shared<MemorySessionStore>();
    m_vault = std::make_shared<MemorySessionStore>();
}

void AccountPagesTest::cleanup() { m_site.reset(); }

void AccountPagesTest::switcherFlows()
{
    const auto state = signedIn("lichen");
    AccountSwitcherModel switcher;
    switcher.setAppState(state.get());
    QSignalSpy dismissed(&switcher, &AccountSwitcherModel::dismiss);
    await(switcher.rememberCurrent());
    QCOMPARE(rowNames(switcher), QStringList{"lichen*"});
    QVERIFY(switcher.canAdd());
    QVERIFY(switcher.signedIn());

    // Add: a user name of spaces keeps the button off, a password of spaces turns it on.
    switcher.setAddingAccount(true);
    switcher.setUsername("  ");
    switcher.setPassword("fly-vornalia");
    QVERIFY(!switcher.canSubmit());
    switcher.setUsername(" hejing ");
    switcher.setPassword(" ");
    QVERIFY(switcher.canSubmit());
    switcher.setPassword("fly-vornalia");
    auto adding = switcher.addAccount();
    QVERIFY(switcher.busy()); // the account state's flag stands for the panel's
    QVERIFY(!switcher.canSubmit());
    await(std::move(adding));
    QCOMPARE(switcher.errorText(), QString());
    QCOMPARE(dismissed.size(), 1);
    QCOMPARE(state->username(), QString("hejing"));
    QCOMPARE(rowNames(switcher), (QStringList{"lichen", "hejing*"}));
    QVERIFY(!switcher.canAdd()); // two saved
    QVERIFY(switcher.password().isEmpty());

    // The current account's row does nothing; another switches.
    await(switcher.switchAccount(state->user()->id));
    QCOMPARE(dismissed.size(), 1);
    const QString lichen = switcher.rows().first().toMap().value("id").toString();
    await(switcher.switchAccount(lichen));
    QCOMPARE(dismissed.size(), 2);
    QCOMPARE(state->username(), QString("lichen"));

    // Remove the one not signed in: the add section comes back.
    const QString hejing = switcher.rows().last().toMap().value("username") == "hejing"
                               ? switcher.rows().last().toMap().value("id").toString()
                               : switcher.rows().first().toMap().value("id").toString();
    await(switcher.removeAccount(hejing));
    QCOMPARE(rowNames(switcher), QStringList{"lichen*"});
    QVERIFY(switcher.canAdd());

    // Sign out: the account leaves the list.
    await(switcher.signOut());
    QCOMPARE(dismissed.size(), 3);
    QVERIFY(!state->signedIn());
    QVERIFY(switcher.rows().isEmpty());
}

void AccountPagesTest::switcherLimitAndFailures()
{
    const auto state = signedIn("lichen");
    AccountSwitcherModel switcher;
    lichenThenHejing(state.get(), switcher);
    QCOMPARE(state->savedAccountCount(), 2);

    // Two saved: another add is refused; the password goes, the user name and the open form stay.
    switcher.setAddingAccount(true);
    switcher.setUsername("wangfang");
    switcher.setPassword("fly-vornalia");
    await(switcher.addAccount());
    QCOMPARE(switcher.errorText(), QString("最多保存两个账号，请先移除一个。"));
    QVERIFY(switcher.password().isEmpty());
    QCOMPARE(switcher.username(), QString("wangfang"));
    QVERIFY(switcher.addingAccount());
    QCOMPARE(state->username(), QString("hejing"));

    // A switch whose saved session the service no longer knows: the prefix, and nothing changes.
    m_site->service->expireSessions();
    QString lichen;
    for (const QVariant &row : switcher.rows()) {
        if (row.toMap().value("username") == "lichen")
            lichen = row.toMap().value("id").toString();
    }
    await(switcher.switchAccount(lichen));
    QVERIFY2(switcher.errorText().startsWith("切换失败："), qPrintable(switcher.errorText()));
    QCOMPARE(state->savedAccountCount(), 2);

    // The failure text stays through a later removal.
    const QString earlier = switcher.errorText();
    await(switcher.removeAccount(lichen));
    QCOMPARE(switcher.errorText(), earlier);

    // Closing the add form empties the password but not the user name.
    switcher.setPassword("secret");
    switcher.setAddingAccount(false);
    QVERIFY(switcher.password().isEmpty());
    QCOMPARE(switcher.username(), QString("wangfang"));
}

void AccountPagesTest::switcherFromTheSignInForm()
{
    const auto state = signedIn("lichen");
    AccountSwitcherModel switcher;
    lichenThenHejing(state.get(), switcher);
    await(switcher.signOut()); // hejing leaves the list; lichen stays saved
    QVERIFY(!state->signedIn());

    // Nobody signed in: the appearance saves nothing, every row reads "点击登录"; a click signs in.
    await(switcher.rememberCurrent());
    QVERIFY(!switcher.signedIn());
    QCOMPARE(rowNames(switcher), QStringList{"lichen"});
    await(switcher.switchAccount(switcher.rows().first().toMap().value("id").toString()));
    QCOMPARE(switcher.errorText(), QString());
    QCOMPARE(state->username(), QString("lichen"));
}

void AccountPagesTest::accountPageRecordAndRank()
{
    const auto state = signedIn("lichen");
    MemberData data;
    data.setClient(state->api());
    ProfilePageModel page;
    page.setAppState(state.get());
    page.setMemberData(&data);
    QCOMPARE(page.rank(), QString("—")); // no leaderboard yet
    await(page.load());
    QCOMPARE(page.errorText(), QString());
    QVERIFY(page.joinedAt().isValid());
    QCOMPARE(page.displayName(), QString("李辰"));
    QCOMPARE(page.callsign(), QString("B-207CA"));
    QCOMPARE(page.contactEmail(), QString("lichen@example.com"));
    QCOMPARE(page.discordUsername(), QString("lichen#2207"));
    // Where the leaderboard has him.
    qsizetype position = 0;
    while (data.leaderboard()->members.at(position).username != "lichen")
        ++position;
    QCOMPARE(page.rank(), QString("#%1").arg(position + 1));

    // A leaderboard already held is not asked again.
    m_site->service->clearRequests();
    await(page.load());
    QVERIFY(m_site->service->requestsTo("/api/member/pirep-leaderboard").isEmpty());

    // A failed record load shows the error and keeps the record.
    m_site->service->setFault("/api/profile/summary", {.status = 500, .times = 1});
    await(page.load());
    QVERIFY(!page.errorText().isEmpty());
    QVERIFY(page.joinedAt().isValid());
    await(page.load());
    QCOMPARE(page.errorText(), QString());
}

void AccountPagesTest::statisticsStates_data()
{
    QTest::addColumn<int>("status"); // 0: the service answers; -1: it answers JSON null
    QTest::addColumn<QString>("username");
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("statistics");
    QTest::newRow("linked") << 0 << "lichen"
                            << "ready" << true;
    QTest::newRow("404") << 404 << "lichen"
                         << "missing" << false;
    QTest::newRow("500") << 500 << "lichen"
                         << "failed" << false;
    QTest::newRow("null") << -1 << "lichen"
                          << "ready" << false;
}

void AccountPagesTest::statisticsStates()
{
    QFETCH(int, status);
    QFETCH(QString, username);
    QFETCH(QString, state);
    QFETCH(bool, statistics);
    const auto app = signedIn(username);
    ProfilePageModel page;
    page.setAppState(app.get());
    QCOMPARE(page.statisticsState(), QString("loading"));
    if (status > 0)
        m_site->service->setFault("/api/infinite-flight/me", {.status = status});
    else if (status < 0)
        m_site->service->setFault("/api/infinite-flight/me", {.rawJson = QByteArray("null")});
    await(page.loadStatistics());
    QCOMPARE(page.statisticsState(), state);
    QVERIFY2(page.hasStatistics() == statistics, qPrintable(page.statisticsValues().join(" ")));
    QCOMPARE(page.statisticsValues().size(), 6);
    if (statistics)
        QVERIFY(page.organization().startsWith("所属组织："));
}

void AccountPagesTest::rankRules()
{
    LeaderboardResponse board;
    for (const char *name : {"Bob", "Alice", "alice"})
        board.members.append(LeaderboardMember{QString::fromUtf8(name)});
    QCOMPARE(ProfilePageModel::rankOf("alice", board), QString("#2"));
    QCOMPARE(ProfilePageModel::rankOf("ALICE", board), QString("#2"));
    QCOMPARE(ProfilePageModel::rankOf("carol", board), QString("—"));
    QCOMPARE(ProfilePageModel::rankOf("alice", LeaderboardResponse{}), QString("—"));
    QCOMPARE(ProfilePageModel::rankOf("alice", std::nullopt), QString("—"));
}

// Each property's signal comes with its change: the page's objects, its two loads, their failures and
// another member.
void AccountPagesTest::profilePageTellsEveryChange()
{
    const auto state = signedIn("lichen");
    MemberData data;
    data.setClient(state->api());
    ProfilePageModel page;
    NotifyWatch watch(&page);
    watch.step("inputs", [&] {
        page.setAppState(state.get());
        page.setMemberData(&data);
    });
    watch.step("record", [&] { await(page.load()); });
    watch.step("statistics", [&] { await(page.loadStatistics()); });
    watch.step("record failing", [&] {
        m_site->service->setFault("/api/profile/summary", {.status = 500, .times = 1});
        await(page.load());
    });
    watch.step("statistics missing", [&] {
        m_site->service->setFault("/api/infinite-flight/me", {.status = 404, .times = 1});
        await(page.loadStatistics());
    });
    watch.step("another member", [&] {
        await(state->signIn("wangfang", "fly-vornalia", false));
        await(page.load());
    });
}

void AccountPagesTest::legalTextsInEachLanguage()
{
    const LegalTexts::Table &table = LegalTexts::bundled();
    for (const QString &language : LegalTexts::languageCodes()) {
        for (const QString &document : {QString("terms"), QString("privacy")}) {
            QVERIFY2(table.value(language).contains(document), qPrintable(language + "/" + document));
            const LegalTexts::Document &text = table.value(language).value(document);
            QVERIFY(!text.title.isEmpty() && !text.intro.isEmpty() && !text.sections.isEmpty());
        }
    }
    // The privacy statement says where things go.
    const QString privacy = [&] {
        QString all;
        for (const LegalTexts::Section &section : table.value("en").value("privacy").sections)
            all += section.body;
        return all;
    }();
    for (const char *term :
         {"keychain", "two accounts", "64 MB", "vornalia.org", "community.infiniteflight.com"})
        QVERIFY2(privacy.contains(QLatin1String(term)), term);
    // The terms credit the map's data in every language: the base map, the relief, the imagery and their
    // licences, and the airports.
    for (const QString &language : LegalTexts::languageCodes()) {
        QString terms;
        for (const LegalTexts::Section &section : table.value(language).value("terms").sections)
            terms += section.body;
        for (const char *credit :
             {"Natural Earth", "SRTM", "marble-qt-data", "LGPL 2.1", "NASA", "xplanet-images", "OurAirports"})
            QVERIFY2(terms.contains(QLatin1String(credit)), qPrintable(language + ": " + credit));
    }
}

void AccountPagesTest::legalShapeIsStrict()
{
    QVERIFY(LegalTexts::decode(R"({"en":{"terms":{"title":"T","intro":"I","sections":[]}}})"));
    // An extra member is ignored.
    QVERIFY(LegalTexts::decode(
        R"({"en":{"terms":{"title":"T","intro":"I","sections":[{"title":"a","body":"b","x":1}]}}})"));
    // A section without a body, even under a language nobody picks, spoils the whole file.
    QVERIFY(!LegalTexts::decode(R"({"en":{"terms":{"title":"T","intro":"I","sections":[]}},
                                    "fr":{"terms":{"title":"T","intro":"I","sections":[{"title":"a"}]}}})"));
    QVERIFY(!LegalTexts::decode(R"({"en":{"terms":{"title":1,"intro":"I","sections":[]}}})"));
    QVERIFY(!LegalTexts::decode(R"({"en":[]})"));
    QVERIFY(!LegalTexts::decode("not json"));
}

void AccountPagesTest::legalPagePicksItsLanguage()
{
    LegalTextModel page(
        *LegalTexts::decode(R"({"zh-Hans":{"terms":{"title":"条款","intro":"引言","sections":[]}}})"));
    QCOMPARE(page.language(), 0); // the app's language here: Simplified Chinese
    QVERIFY(page.found());
    QCOMPARE(page.title(), QString("条款"));
    page.setDocument(1);
    QVERIFY(!page.found()); // never the other document
    QCOMPARE(page.unavailableMessage(), QString("条款文本暂时无法读取，请访问 vornalia.org 查看。"));
    page.setDocument(0);
    page.setLanguage(3);
    QVERIFY(!page.found()); // never another language
    QCOMPARE(page.languages().size(), 4);
    QCOMPARE(page.languages().at(3).toMap().value("title").toString(), QString("English"));
}

void AccountPagesTest::themeWriteReadBack()
{
    QSettings().remove("appTheme");
    Theme theme;
    QCOMPARE(theme.appearance(), QString("system"));
    theme.setAppearance("dark");
    QCOMPARE(QSettings().value("appTheme").toString(), QString("dark"));
    QVERIFY(theme.dark());
    Theme restarted; // the app as it starts again
    QCOMPARE(restarted.appearance(), QString("dark"));
    QVERIFY(restarted.dark());
    theme.setAppearance("light");
    QCOMPARE(QSettings().value("appTheme").toString(), QString("light"));
    QVERIFY(!theme.dark());
    QSettings().remove("appTheme");
}

void AccountPagesTest::languageSettingsCommand()
{
    const auto all = [](const QString &) { return true; };
    const auto none = [](const QString &) { return false; };
    QCOMPARE(LanguageSettings::commandFor("GNOME", all), (QStringList{"gnome-control-center", "region"}));
    QCOMPARE(LanguageSettings::commandFor("ubuntu:GNOME", all),
             (QStringList{"gnome-control-center", "region"}));
    QCOMPARE(LanguageSettings::commandFor("KDE", all), (QStringList{"systemsettings", "kcm_regionandlang"}));
    QVERIFY(LanguageSettings::commandFor("GNOME", none).isEmpty());
    QVERIFY(LanguageSettings::commandFor("XFCE", all).isEmpty());
    QVERIFY(LanguageSettings::commandFor("", all).isEmpty());
}

void AccountPagesTest::versionText()
{
    QCOMPARE(AppInformationModel::versionText("2.1", "57"), QString("2.1 (57)"));
    QCOMPARE(AppInformationModel::versionText("", ""), QString("1.0 (1)"));
    QCOMPARE(AppInformationModel::versionText("1.0.0", ""), QString("1.0.0 (1)"));
    AppInformationModel information;
    QCOMPARE(information.version(), QString("1.0.0 (1)")); // this tree's build
    QCOMPARE(information.serviceHost(), QString("vornalia.org"));
    // Started against another service (the sample one), the row names that one.
    const auto sample = ServiceHosts::parseOverride("https://127.0.0.1:8443", "");
    QVERIFY(sample);
    QCOMPARE(AppInformationModel::hostOf(sample->origin), QString("127.0.0.1:8443"));
    QCOMPARE(
        AppInformationModel::hostOf(ServiceHosts::parseOverride("https://staging.example.org/", "")->origin),
        QString("staging.example.org"));
}

QTEST_MAIN(AccountPagesTest)
#include "tst_account_pages.moc"

// The window root's choice of screen and the sign-in form, against the sample member service.
#include "AppState.h"
#include "ClientTestSupport.h"
#include "SignInModel.h"
#include "WindowRootModel.h"

using namespace TestSupport;
using Screen = WindowRootModel::Screen;
using Gate = AppState::Gate;

class WindowRootTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void screenForEachState_data();
    void screenForEachState();
    void introEndsByItselfAtTheLatest();
    void signInFormRules();
    void signInSendsWhatTheMemberMeant();
    void signInFailureKeepsTheForm();
    void noticeAndSavedAccounts();

private:
    std::unique_ptr<AppState> makeState()
    {
        const auto session = std::make_shared<MemorySessionStore>();
        const auto vault = std::make_shared<MemorySessionStore>();
        return std::make_unique<AppState>(
            AccountEnvironment{m_site->service->origin(),
                               {Sample::Service::certificate()},
                               [session, vault](const QString &item) -> SessionStorePtr {
                                   return item == "session-cookies" ? session : vault;
                               }},
            nullptr);
    }

    std::unique_ptr<Site> m_site;
};

void WindowRootTest::init()
{
    qputenv("LANGUAGE", "zh_CN");
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
}

void WindowRootTest::cleanup() { m_site.reset(); }

void WindowRootTest::screenForEachState_data()
{
    QTest::addColumn<bool>("checking");
    QTest::addColumn<bool>("signedIn");
    QTest::addColumn<Gate>("gate");
    QTest::addColumn<Screen>("screen");
    QTest::newRow("checking wins") << true << true << Gate::Ready << Screen::Checking;
    QTest::newRow("nobody") << false << false << Gate::Ready << Screen::SignIn;
    QTest::newRow("password") << false << true << Gate::Password << Screen::Password;
    QTest::newRow("profile") << false << true << Gate::Profile << Screen::Profile;
    QTest::newRow("ready") << false << true << Gate::Ready << Screen::MemberTabs;
    QTest::newRow("no gate yet") << false << true << Gate::NoGate << Screen::GateWaiting;
}

void WindowRootTest::screenForEachState()
{
    QFETCH(bool, checking);
    QFETCH(bool, signedIn);
    QFETCH(Gate, gate);
    QFETCH(Screen, screen);
    QCOMPARE(WindowRootModel::screenFor(checking, signedIn, gate), screen);
}

void WindowRootTest::introEndsByItselfAtTheLatest()
{
    const auto state = makeState();
    QElapsedTimer clock;
    clock.start();
    WindowRootModel root;
    QSignalSpy ended(&root, &WindowRootModel::showingIntroChanged);
    root.setAppState(state.get());
    QCOMPARE(root.screen(), Screen::Checking); // never the sign-in form first
    await(state->restore());
    QCOMPARE(root.screen(), Screen::SignIn);

    // Four seconds after it came, though the intro never said it had played: the limit started with the
    // window root, and is run out here rather than waited for.
    QVERIFY(root.showingIntro());
    auto *limit = root.findChild<QTimer *>();
    QVERIFY(limit && limit->isActive() && limit->isSingleShot());
    QCOMPARE(limit->interval(), 4000);
    // A coarse timer may end up to 5 % early.
    QVERIFY(limit->remainingTime() >= 3800 - clock.elapsed() - 20);
    QVERIFY(QMetaObject::invokeMethod(limit, "timeout"));
    QCOMPARE(ended.size(), 1);
    QVERIFY(!root.showingIntro());
    QVERIFY(!root.introFades()); // cut off: gone at once

    WindowRootModel played;
    played.introFinished();
    QVERIFY(!played.showingIntro());
    QVERIFY(played.introFades());
    played.introFinished(); // once only
    QVERIFY(!played.showingIntro());
}

void WindowRootTest::signInFormRules()
{
    const auto state = makeState();
    SignInModel form;
    form.setAppState(state.get());
    QVERIFY(!form.ready());
    form.setUsername(" \t ");
    form.setPassword("secret");
    QVERIFY(!form.ready()); // blanks are no name
    form.setUsername(" lichen ");
    QVERIFY(form.ready());
    form.setPassword("");
    QVERIFY(!form.ready());

    // Regression: Return in the password field used to send a blank user name.
    form.setUsername("   ");
    form.setPassword("secret");
    m_site->service->clearRequests();
    await(form.submit());
    QVERIFY(m_site->service->requestsTo("/api/login").isEmpty());
    QVERIFY(!form.busy());
}

void WindowRootTest::signInSendsWhatTheMemberMeant()
{
    const auto state = makeState();
    SignInModel form;
    form.setAppState(state.get());
    form.setUsername("  LiChen\t");
    form.setPassword("fly-vornalia");
    form.setRemember(true);
    auto signing = form.submit();
    QVERIFY(form.busy());
    QVERIFY(!form.ready());
    await(std::move(signing));
    const QJsonObject sent = m_site->service->requestsTo("/api/login").constLast().json().toObject();
    QCOMPARE(sent.value("username").toString(), QString("LiChen")); // trimmed, its letter case kept
    QCOMPARE(sent.value("rememberMe").toBool(), true);
    QVERIFY(state->signedIn());
    QCOMPARE(state->username(), QString("lichen")); // the service names the account as it knows it
    QVERIFY(form.password().isEmpty());
    QVERIFY(!form.busy());

    // A password is sent exactly as typed, blanks and all.
    const auto other = makeState();
    SignInModel second;
    second.setAppState(other.get());
    second.setUsername("lichen");
    second.setPassword(" fly-vornalia ");
    await(second.submit());
    QCOMPARE(m_site->service->requestsTo("/api/login").constLast().json()["password"].toString(),
             QString(" fly-vornalia "));
}

void WindowRootTest::signInFailureKeepsTheForm()
{
    const auto state = makeState();
    SignInModel form;
    form.setAppState(state.get());
    form.setUsername("sunyue");
    form.setPassword("fly-vornalia");
    form.setRemember(true);
    await(form.submit());
    QCOMPARE(form.notice(), QString("此账号当前不可使用成员中心。"));
    QVERIFY(form.password().isEmpty());
    QCOMPARE(form.username(), QString("sunyue"));
    QVERIFY(form.remember());
    QVERIFY(!state->signedIn());

    // The next submission clears the failure while it runs.
    form.setUsername("lichen");
    form.setPassword("wrong");
    m_site->service->setFault("/api/login", {.bodyDelayMs = 300, .times = 1});
    auto again = form.submit();
    QVERIFY(form.notice().isEmpty());
    await(std::move(again));
    QCOMPARE(form.notice(), QString("用户名或密码错误。"));
}

void WindowRootTest::noticeAndSavedAccounts()
{
    // An expired session leaves its message for the form.
    const auto state = makeState();
    await(state->signIn("lichen", "fly-vornalia", true));
    m_site->service->expireSessions();
    await(state->refreshProfile().then([] {}, [](const std::exception &) {}));
    QVERIFY(!state->signedIn());
    SignInModel form;
    form.setAppState(state.get());
    QCOMPARE(form.notice(), QString("登录已过期，请重新登录。"));
    QVERIFY(!form.offersSavedAccounts());

    // Signed in again by the form: the message goes as the sign-in starts, and says nothing once it is done.
    form.setUsername("lichen");
    form.setPassword("fly-vornalia");
    auto again = form.submit();
    QCOMPARE(form.notice(), QString());
    await(std::move(again));
    QVERIFY(state->signedIn());
    QCOMPARE(form.notice(), QString());

    await(state->signIn("lichen", "fly-vornalia", true));
    await(state->rememberCurrentAccount());
    QVERIFY(form.offersSavedAccounts());
}

QTEST_GUILESS_MAIN(WindowRootTest)
#include "tst_window_root.moc"

// The first-login forms and the forum avatar, against the sample member service (which plays the forum).
#include "AppState.h"
#include "ClientTestSupport.h"
#include "ForumAvatar.h"
#include "NotifyWatch.h"
#include "PasswordForm.h"
#include "ProfileForm.h"

#include <QBuffer>
#include <QImageWriter>
#include <QJsonDocument>
#include <QTemporaryDir>

using namespace TestSupport;
using Gate = AppState::Gate;

namespace {

const QString ruleMessage = QStringLiteral("请检查密码长度、两次输入是否一致，以及是否与原密码不同。");
const QString missingMessage = QStringLiteral("请先补全头像、微信名和联系邮箱。");

} // namespace

class AccountFormsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void passwordRules_data();
    void passwordRules();
    void passwordSaveNeedsThreeFields();
    void requiredPasswordChangeAsksTheGate();
    void refusedPasswordKeepsTheFields();
    void profileLoadsAndSendsWhatWasTyped();
    void requiredProfileChecks();
    void takenCallsignAndRetryRepeatsTheSave();
    void profileSetUpWithForumAvatarAsksTheGate();
    void photoImportBecomesThePendingAvatar();
    void forumAvatar_data();
    void forumAvatar();
    void forumAvatarAddresses();
    void forumFailureKeepsThePendingAvatar();
    void profileEditOutlivesAnEndedSession();
    void formsTellEveryChange();

private:
    std::unique_ptr<AppState> signedIn(const QString &username, const QString &password)
    {
        const auto session = std::make_shared<MemorySessionStore>();
        const auto vault = std::make_shared<MemorySessionStore>();
        auto state = std::make_unique<AppState>(
            AccountEnvironment{m_site->service->origin(),
                               {Sample::Service::certificate()},
                               [session, vault](const QString &item) -> SessionStorePtr {
                                   return item == "session-cookies" ? session : vault;
                               }},
            nullptr);
        await(state->restore());
        await(state->signIn(username, password, false));
        return state;
    }
    ServiceHosts::MemberEndpoint forum() const
    {
        return {m_site->service->origin(), {Sample::Service::certificate()}};
    }

    std::unique_ptr<Site> m_site;
};

void AccountFormsTest::init()
{
    qputenv("LANGUAGE", "zh_CN");
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
}

void AccountFormsTest::cleanup() { m_site.reset(); }

void AccountFormsTest::passwordRules_data()
{
    QTest::addColumn<QString>("next");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<bool>("passes");
    const QString current = "temporary-123";
    QTest::newRow("11 characters") << "abcdefghijk"
                                   << "abcdefghijk" << false;
    QTest::newRow("12 characters") << "abcdefghijkl"
                                   << "abcdefghijkl" << true;
    QTest::newRow("24 Chinese, 72 bytes") << QString(24, QChar(0x822A)) << QString(24, QChar(0x822A)) << true;
    QTest::newRow("25 Chinese, 75 bytes")
        << QString(25, QChar(0x822A)) << QString(25, QChar(0x822A)) << false;
    const QString plane = QString::fromUtf8("\xF0\x9F\x9B\xAB"); // 4 bytes, one character
    QTest::newRow("12 emoji, 48 bytes") << plane.repeated(12) << plane.repeated(12) << true;
    const QString flag = QString::fromUtf8("\xF0\x9F\x87\xA8\xF0\x9F\x87\xB3"); // one character, 8 bytes
    QTest::newRow("11 flags: 11 characters") << flag.repeated(11) << flag.repeated(11) << false;
    QTest::newRow("9 flags and 3 letters: 12 characters, 75 bytes")
        << flag.repeated(9) + "abc" << flag.repeated(9) + "abc" << false;
    QTest::newRow("8 flags and 4 letters: 12 characters, 68 bytes")
        << flag.repeated(8) + "abcd" << flag.repeated(8) + "abcd" << true;
    // Regression: counted as 12 by Qt's grapheme rules, which split the flag after the joined family.
    const QString familyAndFlag = QStringLiteral("abcdefghi👨‍👩‍👧🇨🇳");
    QTest::newRow("9 letters, a family and a flag: 11 characters") << familyAndFlag << familyAndFlag << false;
    QTest::newRow("confirmation differs") << "abcdefghijkl"
                                          << "abcdefghijkm" << false;
    QTest::newRow("another normal form is the same")
        << QString::fromUtf8("caf\xC3\xA9-password") << QString::fromUtf8("cafe\xCC\x81-password") << true;
    QTest::newRow("spaces count") << "  abcdefghij"
                                  << "  abcdefghij" << true;
    QTest::newRow("same as the current") << current << current << false;
}

void AccountFormsTest::passwordRules()
{
    QFETCH(QString, next);
    QFETCH(QString, confirmation);
    QFETCH(bool, passes);
    const auto failure = PasswordForm::ruleFailure("temporary-123", next, confirmation);
    QCOMPARE(!failure.has_value(), passes);
    if (failure)
        QCOMPARE(*failure, ruleMessage);
    // Another normal form of the current password is the current password.
    QVERIFY(PasswordForm::ruleFailure(QString::fromUtf8("caf\xC3\xA9-password"),
                                      QString::fromUtf8("cafe\xCC\x81-password"),
                                      QString::fromUtf8("cafe\xCC\x81-password")));
}

void AccountFormsTest::passwordSaveNeedsThreeFields()
{
    PasswordForm form;
    QVERIFY(!form.canSave());
    form.setCurrent("a");
    form.setNext("b");
    QVERIFY(!form.canSave());
    form.setConfirmation(" ");
    QVERIFY(form.canSave()); // spaces are not empty
}

void AccountFormsTest::requiredPasswordChangeAsksTheGate()
{
    const auto state = signedIn("zhouning", "temporary-123");
    QCOMPARE(state->gateState(), Gate::Password);
    PasswordForm form;
    form.setAppState(state.get());
    form.setRequired(true);
    form.setCurrent("temporary-123");
    form.setNext("short");
    form.setConfirmation("short");
    m_site->service->clearRequests();
    await(form.save());
    QCOMPARE(form.errorText(), ruleMessage);
    QVERIFY(m_site->service->requestsTo("/api/account/password").isEmpty());
    QCOMPARE(form.next(), QString("short"));

    form.setNext(" my own password ");
    form.setConfirmation(" my own password ");
    await(form.save());
    QCOMPARE(form.errorText(), QString());
    QVERIFY(!form.busy());
    QVERIFY(!form.saved()); // the required mode has no alert
    QVERIFY(form.current().isEmpty() && form.next().isEmpty() && form.confirmation().isEmpty());
    const QList<Sample::Request> sent = m_site->service->requestsTo("/api/account/password");
    QCOMPARE(sent.size(), 1);
    const QJsonObject body = sent.constFirst().json().toObject();
    QCOMPARE(body.value("newPassword").toString(), QString(" my own password ")); // sent as typed
    QCOMPARE(body.value("currentPassword").toString(), QString("temporary-123"));
    QCOMPARE(state->gateState(), Gate::Ready);
}

void AccountFormsTest::refusedPasswordKeepsTheFields()
{
    const auto state = signedIn("zhouning", "temporary-123");
    PasswordForm form;
    form.setAppState(state.get());
    form.setCurrent("not-the-temporary");
    form.setNext("my own password");
    form.setConfirmation("my own password");
    await(form.save());
    QCOMPARE(form.errorText(), QString("当前密码不正确。"));
    QCOMPARE(form.current(), QString("not-the-temporary"));
    QVERIFY(!form.busy());
    QCOMPARE(state->gateState(), Gate::Password);

    // The ordinary mode ends with its alert, and asks no gate.
    form.setCurrent("temporary-123");
    await(form.save());
    QVERIFY(form.saved());
    QCOMPARE(state->gateState(), Gate::Password);
}

void AccountFormsTest::profileLoadsAndSendsWhatWasTyped()
{
    const auto state = signedIn("lichen", "fly-vornalia");
    ProfileForm form;
    form.setAppState(state.get());
    QVERIFY(!form.loaded());
    await(form.load());
    QVERIFY(form.loaded());
    QCOMPARE(form.wechatName(), QString("李辰"));
    QCOMPARE(form.callsign(), QString("207"));
    QCOMPARE(form.discord(), QString("lichen#2207"));

    // Regression: only ASCII spaces and tabs were trimmed; the ideographic space is a blank too.
    form.setDiscord(QStringLiteral(" \tlichen\t\u3000"));
    form.setWechatName(" 李辰 ");
    m_site->service->clearRequests();
    await(form.save());
    QVERIFY(form.saved()); // edit mode: the alert
    QCOMPARE(form.errorText(), QString());
    QJsonObject body;
    for (const Sample::Request &request : m_site->service->requestsTo("/api/profile")) {
        if (request.method == "POST" && body.isEmpty())
            body = request.json().toObject();
    }
    QCOMPARE(body.value("discordUsername").toString(), QString("lichen"));
    QCOMPARE(body.value("wechatName").toString(), QString(" 李辰 "));
    QCOMPARE(body.value("callsign").toString(), QString("207"));
    for (const Sample::Request &request : m_site->service->requestsTo("/api/profile/avatar"))
        QCOMPARE(request.method, QByteArray("GET")); // nothing pending, nothing uploaded

    form.setDiscord("");
    await(form.save());
    QJsonObject emptied;
    for (const Sample::Request &request : m_site->service->requestsTo("/api/profile")) {
        if (request.method == "POST")
            emptied = request.json().toObject();
    }
    QVERIFY(emptied.value("discordUsername").isString());
    QCOMPARE(emptied.value("discordUsername").toString(), QString());
}

void AccountFormsTest::profileEditOutlivesAnEndedSession()
{
    // Regression: the profile being edited was lost when the session ended under it.
    const auto state = signedIn("lichen", "fly-vornalia");
    auto form = std::make_unique<ProfileForm>();
    form->setAppState(state.get());
    await(form->load());
    form->setWechatName("李辰-新");
    form->setDiscord("lichen#3307");
    m_site->service->expireSessions();
    await(form->save());
    QVERIFY(!state->signedIn());
    form.reset();

    await(state->signIn("lichen", "fly-vornalia", false));
    form = std::make_unique<ProfileForm>();
    form->setAppState(state.get());
    await(form->load());
    QCOMPARE(form->wechatName(), QString("李辰-新"));
    QCOMPARE(form->discord(), QString("lichen#3307"));
    QCOMPARE(form->callsign(), QString("207")); // untouched fields come from the service
    // Once: the next opening shows the service's copy.
    ProfileForm again;
    again.setAppState(state.get());
    await(again.load());
    QCOMPARE(again.wechatName(), QString("李辰"));
}

void AccountFormsTest::requiredProfileChecks()
{
    const auto state = signedIn("xuhang", "fly-vornalia");
    QCOMPARE(state->gateState(), Gate::Profile);
    ProfileForm form;
    form.setAppState(state.get());
    form.setRequired(true);
    await(form.load());
    form.setWechatName(" \t ");
    form.setContactEmail("xuhang@example.com");
    m_site->service->clearRequests();
    await(form.save());
    QCOMPARE(form.errorText(), missingMessage);
    form.setWechatName("许航");
    form.setContactEmail("   "); // passes the check, sent as typed
    await(form.save());
    QCOMPARE(form.errorText(), missingMessage); // no avatar, stored or pending
    QVERIFY(m_site->service->requestsTo("/api/profile").isEmpty());
    QVERIFY(!form.retryable());
}

void AccountFormsTest::takenCallsignAndRetryRepeatsTheSave()
{
    const auto state = signedIn("lichen", "fly-vornalia");
    ProfileForm form;
    form.setAppState(state.get());
    await(form.load());
    form.setCallsign("077"); // hejing's
    form.setWechatName("李辰 edited");
    await(form.save());
    QCOMPARE(form.errorText(), QString("呼号 077 已被其他成员使用。"));
    QVERIFY(form.retryable());
    QVERIFY(!form.saved());

    // "重试" sends the edits again rather than reloading over them.
    m_site->service->clearRequests();
    form.retry();
    QTRY_VERIFY(!form.busy());
    QCOMPARE(m_site->service->requestsTo("/api/profile").size(), 1);
    QCOMPARE(form.wechatName(), QString("李辰 edited"));
    QCOMPARE(form.callsign(), QString("077"));

    form.setCallsign("208");
    form.retry();
    QTRY_VERIFY(form.saved());
    QCOMPARE(form.errorText(), QString());
}

void AccountFormsTest::profileSetUpWithForumAvatarAsksTheGate()
{
    const auto state = signedIn("xuhang", "fly-vornalia");
    ProfileForm form;
    form.setAppState(state.get());
    form.setRequired(true);
    form.setForumEndpoint(forum());
    await(form.load());
    await(form.useIFCAvatar());
    QCOMPARE(form.errorText(), QString());
    QVERIFY(form.hasPendingAvatar());
    QCOMPARE(form.preview().size(), QSize(256, 256)); // "{size}" became 256
    QCOMPARE(form.pendingAvatar()->filename, QString("ifc-avatar.jpg"));
    form.setWechatName("许航");
    form.setContactEmail("xuhang@example.com");
    await(form.save());
    QCOMPARE(form.errorText(), QString());
    QVERIFY(!form.hasPendingAvatar()); // uploaded
    QVERIFY(!form.saved());
    QCOMPARE(state->gateState(), Gate::Ready);
    QVERIFY(state->hasAvatar());
}

void AccountFormsTest::photoImportBecomesThePendingAvatar()
{
    const auto state = signedIn("lichen", "fly-vornalia");
    ProfileForm form;
    form.setAppState(state.get());
    QTemporaryDir folder;
    const QString path = folder.filePath("photo.png");
    QImage photo(300, 200, QImage::Format_RGB32);
    photo.fill(Qt::darkCyan);
    QVERIFY(photo.save(path));
    await(form.importPhotos({QUrl::fromLocalFile(path)}));
    QVERIFY(form.hasPendingAvatar());
    QVERIFY(form.pendingAvatar()->data.size() <= 524'288);
    QVERIFY(!form.preview().isNull());
    // An emptied pick clears it.
    await(form.importPhotos({}));
    QVERIFY(!form.hasPendingAvatar());
    QVERIFY(form.preview().isNull());
}

void AccountFormsTest::forumAvatar_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<QSize>("size"); // invalid: the import fails
    QTest::newRow("relative template") << "lichen" << QSize(256, 256);
    QTest::newRow("absolute https template") << "absolute-pilot" << QSize(256, 256);
    QTest::newRow("template without the placeholder") << "fixed-pilot" << QSize(120, 120);
    QTest::newRow("unencrypted address") << "plain-pilot" << QSize();
    QTest::newRow("unknown user: 404") << "nobody-here" << QSize();
    QTest::newRow("no template") << "no-template" << QSize();
    QTest::newRow("not JSON") << "not-json" << QSize();
    QTest::newRow("5,242,879 bytes") << "almost-huge-pilot" << QSize(64, 64);
    QTest::newRow("5,242,880 bytes") << "huge-pilot" << QSize();
    QTest::newRow("not a picture") << "text-pilot" << QSize();
    QTest::newRow("decompression bomb") << "bomb-pilot" << QSize();
    QTest::newRow("JPEG over 512 KiB, never scaled") << "noisy-pilot" << QSize();
    QTest::newRow("picture missing") << "missing-pilot" << QSize();
}

void AccountFormsTest::forumAvatar()
{
    QFETCH(QString, username);
    QFETCH(QSize, size);
    m_site->service->clearRequests();
    try {
        const ForumAvatar::Picture picture = await(ForumAvatar::fetch(forum(), username));
        QVERIFY2(size.isValid(), "the import should have failed");
        QCOMPARE(picture.preview.size(), size);
        QCOMPARE(picture.upload.mimeType, QString("image/jpeg"));
        QVERIFY(picture.upload.data.size() <= 524'288);
        QCOMPARE(QImage::fromData(picture.upload.data).size(), size); // not scaled
    } catch (const APIError &error) {
        QVERIFY2(!size.isValid(), qPrintable(error.message()));
        QCOMPARE(error.message(), ForumAvatar::failureMessage());
    }
    // No cookie of the member service reaches the forum.
    for (const Sample::Request &request : m_site->service->requests())
        QVERIFY(request.header("Cookie").isEmpty());
    if (username == "plain-pilot") // the unencrypted address is never asked
        QCOMPARE(m_site->service->requests().size(), 1);
}

void AccountFormsTest::forumAvatarAddresses()
{
    const QUrl origin("https://community.infiniteflight.com");
    QCOMPARE(ForumAvatar::recordAddress(origin, "li chen/x").toString(QUrl::FullyEncoded),
             QString("https://community.infiniteflight.com/u/li%20chen%2Fx.json"));
    QCOMPARE(ForumAvatar::pictureAddress(origin, "/user_avatar/x/{size}/1_{size}.png")->toString(),
             QString("https://community.infiniteflight.com/user_avatar/x/256/1_256.png"));
    QCOMPARE(ForumAvatar::pictureAddress(origin, "https://cdn.example.com/a/{size}.png")->toString(),
             QString("https://cdn.example.com/a/256.png"));
    QVERIFY(!ForumAvatar::pictureAddress(origin, "http://cdn.example.com/a.png"));
    QVERIFY(!ForumAvatar::pictureAddress(origin, "HTTPS://cdn.example.com/a.png"));
    QVERIFY(!ForumAvatar::pictureAddress(QUrl("http://127.0.0.1:1"), "/a.png"));
}

void AccountFormsTest::forumFailureKeepsThePendingAvatar()
{
    const auto state = signedIn("lichen", "fly-vornalia");
    ProfileForm form;
    form.setAppState(state.get());
    form.setForumEndpoint(forum());
    await(form.useIFCAvatar());
    QVERIFY(form.hasPendingAvatar());
    const Upload pending = *form.pendingAvatar();
    // The forum no longer answers: the message, and the earlier avatar stays pending.
    m_site->service->setFault("/u/lichen.json", {.status = 404});
    await(form.useIFCAvatar());
    QCOMPARE(form.errorText(), ForumAvatar::failureMessage());
    QCOMPARE(*form.pendingAvatar(), pending);
    QVERIFY(!form.busy());
    QVERIFY(!form.retryable());

    // Without a signed-in member it does nothing.
    ProfileForm alone;
    await(alone.useIFCAvatar());
    QCOMPARE(alone.errorText(), QString());
}

// Each property's signal comes with its change, in both forms: the load, the typing, a refused save, the
// forum's avatar, the saved alert and the mode.
void AccountFormsTest::formsTellEveryChange()
{
    const auto state = signedIn("lichen", "fly-vornalia");
    ProfileForm profile;
    profile.setForumEndpoint(forum());
    NotifyWatch watch(&profile);
    watch.step("load", [&] {
        profile.setAppState(state.get());
        await(profile.load());
    });
    watch.step("typed", [&] { profile.setCallsign("077"); }); // hejing's
    watch.step("refused", [&] { await(profile.save()); });
    watch.step("forum avatar", [&] { await(profile.useIFCAvatar()); });
    watch.step("saved", [&] {
        profile.setCallsign("208");
        await(profile.save());
    });
    watch.step("alert closed", [&] { profile.setSaved(false); });
    watch.step("required", [&] { profile.setRequired(true); });

    const auto first = signedIn("zhouning", "temporary-123");
    PasswordForm password;
    NotifyWatch passwordWatch(&password);
    passwordWatch.step("typed", [&] {
        password.setAppState(first.get());
        password.setCurrent("temporary-123");
        password.setNext("short");
        password.setConfirmation("short");
    });
    passwordWatch.step("rules", [&] { await(password.save()); });
    passwordWatch.step("saved", [&] {
        password.setNext("my own password");
        password.setConfirmation("my own password");
        await(password.save());
    });
}

QTEST_MAIN(AccountFormsTest)
#include "tst_account_forms.moc"

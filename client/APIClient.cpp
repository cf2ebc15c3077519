#include "APIClient.h"

#include "ClientLog.h"
#include "ServiceHosts.h"
#include "StoredCookie.h"

#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QUrlQuery>

// The client's own cookies: never persisted by Qt, readable and replaceable as a whole.
class SessionCookieJar : public QNetworkCookieJar
{
public:
    using QNetworkCookieJar::QNetworkCookieJar;
    QList<QNetworkCookie> all() const { return allCookies(); }
    void replaceAll(const QList<QNetworkCookie> &cookies) { setAllCookies(cookies); }

protected:
    // A cookie without Secure is never stored: let in, it would take the place of the secure session cookie
    // of the same name and the saved session would lose it.
    bool validateCookie(const QNetworkCookie &cookie, const QUrl &url) const override
    {
        return cookie.isSecure() && QNetworkCookieJar::validateCookie(cookie, url);
    }
};

namespace {

// An error the client makes of an answer or a request, told in its log by the status and a reason of our
// own: the message may carry the service's words.
APIError failure(int status, QString message, const QString &reason)
{
    qCInfo(lcClient, "%s (%d)", qPrintable(reason), status);
    return APIError(status, std::move(message));
}

} // namespace

void APIRequest::setJsonBody(const QJsonObject &object)
{
    request.setRawHeader("Content-Type", "application/json");
    body = QJsonDocument(object).toJson(QJsonDocument::Compact);
}

void APIRequest::setMultipartBody(const MultipartBody &multipart)
{
    request.setRawHeader("Content-Type", multipart.contentType());
    body = multipart.data;
}

APIClient::APIClient(QUrl origin, SessionStorePtr store, TrustedCertificates trustedCertificates,
                     QObject *parent)
    : QObject(parent)
    , m_origin(std::move(origin))
    , m_store(std::move(store))
    , m_transfers(this, std::move(trustedCertificates))
    , m_cookies(new SessionCookieJar(&m_transfers.manager()))
{
    Q_ASSERT(m_origin.isValid());
    m_transfers.manager().setCookieJar(m_cookies);
}

APIClient::~APIClient()
{
    // Coroutines waiting on our replies resume when they are aborted and must see we are gone. They are
    // aborted here, while every member is whole: one whose owner lives on may go on to ask again, and is
    // refused (send() below) rather than reaching members already destroyed.
    m_lifetime.end();
    m_transfers.cancel();
}

void APIClient::setTimeouts(std::chrono::milliseconds idle, std::chrono::milliseconds total)
{
    m_idleTimeout = idle;
    m_totalTimeout = total;
}

bool APIClient::sameOrigin(const QUrl &candidate, const QUrl &origin)
{
    return candidate.scheme() == origin.scheme() && candidate.host() == origin.host()
           && candidate.port() == origin.port() && candidate.userName().isEmpty()
           && candidate.password().isEmpty();
}

APIError APIClient::unreadableAnswer(const QUrl &url)
{
    return failure(502, L("服务器数据格式暂时无法识别，请刷新后重试。"),
                   QStringLiteral("the answer of %1 is not its record").arg(url.path()));
}

APIRequest APIClient::makeRequest(const QString &path, const QByteArray &method) const
{
    const auto refuse = [] { return failure(400, L("无效的接口地址。"), "a path off the member site"); };
    if (!path.startsWith(QLatin1Char('/')) || path.startsWith(QLatin1String("//")))
        throw refuse();
    const QUrl relative(path, QUrl::StrictMode);
    if (!relative.isValid())
        throw refuse();
    const QUrl url = m_origin.resolved(relative);
    // Resolving takes "." and ".." segments (encoded ones too) out of the path: a report id ".." would
    // send the request to another endpoint. No encoding keeps such a segment, so the path is refused.
    if (!sameOrigin(url, m_origin) || url.path() != relative.path())
        throw refuse();

    APIRequest request{QNetworkRequest(url), method, {}};
    request.request.setRawHeader("Accept", "application/json");
    if (method == "POST")
        request.request.setRawHeader("Origin", m_origin.toString(QUrl::FullyEncoded).toUtf8());
    return request;
}

QCoro::Task<HTTPAnswer> APIClient::send(APIRequest request)
{
    // Asked for during our teardown, by a coroutine that went on after its last request was aborted.
    m_lifetime.guard().check();
    if (m_retired)
        throw CancellationError();
    request.request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    // Redirects are followed only within the member site; any other ends with the 3xx itself.
    TransferRules rules{.maxBytes = maxAnswerBytes,
                        .tooLarge = APIError(502, L("服务器响应无效。")),
                        .idleTimeout = m_idleTimeout,
                        .totalTimeout = m_totalTimeout,
                        .maxRedirects = 16,
                        .follows = [origin = m_origin](const QUrl &to) { return sameOrigin(to, origin); }};
    return m_transfers.run(std::move(request), std::move(rules));
}

QCoro::Task<HTTPAnswer> APIClient::perform(APIRequest request)
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const quint64 generation = m_generation;
    HTTPAnswer answer = co_await send(std::move(request));
    lifetime.check();
    if (m_generation != generation)
        throw CancellationError();

    if (answer.status >= 200 && answer.status <= 299) {
        co_await saveCookies();
        co_return answer;
    }

    const QString message = failureMessage(answer.body, answer.status);
    if (answer.status == 401 && answer.url.path() != APIPath::login()) {
        std::exception_ptr forgetting;
        try {
            co_await forgetSession();
        } catch (...) {
            forgetting = std::current_exception();
        }
        lifetime.check();
        if (onUnauthorized)
            onUnauthorized();
        if (forgetting)
            std::rethrow_exception(forgetting);
    }
    if (answer.status == 403 && onRestricted)
        onRestricted();
    // The status, not the message: that comes from the answer's body.
    throw failure(answer.status, message, answer.url.path() + QStringLiteral(" is refused"));
}

QCoro::Task<User> APIClient::login(QString username, QString password, bool remember)
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    co_await forgetSession();
    lifetime.check();

    APIRequest request = makeRequest(APIPath::login(), "POST");
    request.setJsonBody(QJsonObject{{QStringLiteral("username"), username},
                                    {QStringLiteral("password"), password},
                                    {QStringLiteral("rememberMe"), remember}});
    co_await decode<LoginResponse>(std::move(request));
    lifetime.check();

    const User user = (co_await decode<UserResponse>(makeRequest(APIPath::me(), "GET"))).user;
    lifetime.check();
    if (!user.mayUseCentre()) {
        co_await forgetSession();
        throw failure(403, L("此账号当前不可使用成员中心。"), "the account may not use the member centre");
    }
    m_remembersSession = remember;
    // "保持登录" is the member asking to be remembered: the one sign-in that may set up a keyring.
    co_await saveCookies(remember ? KeyringPrompt::Allowed : KeyringPrompt::Avoid);
    co_return user;
}

QCoro::Task<> APIClient::logout()
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    co_await endSession();
    lifetime.check();
    co_await forgetSession();
}

QCoro::Task<> APIClient::endSession()
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    APIRequest request = makeRequest(APIPath::logout(), "POST");
    request.setJsonBody(QJsonObject());
    // The answer that ends the session is not stored: writing it to the keychain only to delete it could
    // hold the sign-out at a keyring prompt, or fail it when the prompt is dismissed.
    const bool remembered = std::exchange(m_remembersSession, false);
    const quint64 generation = m_generation;
    Acknowledgement answer;
    try {
        answer = co_await decode<Acknowledgement>(std::move(request));
    } catch (...) {
        if (lifetime.alive() && m_generation == generation)
            m_remembersSession = remembered;
        throw;
    }
    lifetime.check();
    if (answer.ok != true) {
        if (m_generation == generation)
            m_remembersSession = remembered;
        throw failure(400, L("退出登录未完成，请重试。"), "the sign-out was not confirmed");
    }
    dropSession();
}

QCoro::Task<AccountGate> APIClient::accountGate(User user)
{
    const QString page = user.isMember() ? APIPath::memberArea() : APIPath::staffArea();
    const HTTPAnswer answer = co_await send(makeRequest(page, "HEAD"));
    if (!answer.url.isValid())
        throw failure(502, L("无法确认账号状态。"), "the account gate has no address");
    const QString path = answer.url.path();
    if (path == APIPath::signInPage())
        throw failure(401, L("会话已过期，请重新登录。"), "the account gate asks for a sign-in");
    if (answer.status < 200 || answer.status > 299)
        throw failure(answer.status, L("账号状态暂时不可用，请重试。"), "the account gate is refused");
    if (path == APIPath::passwordPage())
        co_return AccountGate::Password;
    if (path == APIPath::profilePage()) {
        const QUrlQuery query(answer.url);
        for (const auto &[name, value] : query.queryItems(QUrl::FullyDecoded)) {
            if (name == QLatin1String("setup") && value == QLatin1String("1"))
                co_return AccountGate::Profile;
        }
    }
    co_return AccountGate::Ready;
}

QCoro::Task<QByteArray> APIClient::image(QString path)
{
    const HTTPAnswer answer = co_await perform(makeRequest(path, "GET"));
    if (!answer.mimeType.startsWith("image/"))
        throw failure(502, L("图片格式无效。"), "a picture is not an image");
    co_return answer.body;
}

QCoro::Task<> APIClient::completeLiveAuthorization(QUrl callback)
{
    const QString callbackPath = APIPath::liveAuthorizationCallback();
    // These two texts are shown as they are, in every language.
    if (callback.scheme() != QLatin1String("https")
        || callback.host() != QLatin1String(ServiceHosts::secondHost) || callback.port() != -1
        || callback.path() != callbackPath || !callback.userName().isEmpty()
        || !callback.password().isEmpty())
        throw failure(400, QStringLiteral("无效的授权回调。"), "a Live callback is not ours");

    QString replay = callbackPath;
    if (callback.hasQuery())
        replay += QLatin1Char('?') + callback.query(QUrl::FullyEncoded);
    const HTTPAnswer answer = co_await send(makeRequest(replay, "GET"));
    // The service confirms with a redirect away from the member site; anything else did not finish.
    if (answer.status != 303)
        throw failure(400, QStringLiteral("授权未完成，请重新连接。"),
                      "the Live authorization did not finish");
}

QByteArray APIClient::snapshotJson() const
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QList<StoredCookie> stored;
    for (const QNetworkCookie &cookie : m_cookies->all()) {
        if (auto admitted = StoredCookie::admit(cookie, m_origin, true, now))
            stored.append(*admitted);
    }
    return StoredCookie::encodeList(stored);
}

QCoro::Task<> APIClient::saveCookies(KeyringPrompt prompt)
{
    if (!m_remembersSession)
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const QByteArray bytes = snapshotJson();
    const SessionStorePtr store = m_store;
    co_await store->write(bytes, prompt);
    lifetime.check();
    m_storeMayHoldSession = true;
    if (onSessionSaved)
        onSessionSaved(bytes);
}

QCoro::Task<APIClient::StoredSession> APIClient::restoreCookies()
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const SessionStorePtr store = m_store;
    const std::optional<QByteArray> bytes = co_await store->read();
    lifetime.check();
    if (!bytes) {
        m_storeMayHoldSession = false;
        co_return StoredSession::None;
    }
    QList<StoredCookie> stored;
    bool readable = true;
    try {
        stored = StoredCookie::decodeList(*bytes);
    } catch (const DecodeError &) {
        readable = false;
    }
    if (!readable) {
        co_await store->clear();
        m_storeMayHoldSession = false;
        co_return StoredSession::Damaged;
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QList<QNetworkCookie> usable;
    for (const StoredCookie &cookie : std::as_const(stored)) {
        if (auto live = cookie.cookie(m_origin, now))
            usable.append(*live);
    }
    if (usable.isEmpty()) {
        co_await store->clear();
        m_storeMayHoldSession = false;
        co_return StoredSession::None;
    }
    for (const QNetworkCookie &cookie : std::as_const(usable))
        m_cookies->insertCookie(cookie);
    m_remembersSession = true;
    co_return StoredSession::Restored;
}

void APIClient::dropSession()
{
    ++m_generation;
    m_remembersSession = false;
    m_cookies->replaceAll({});
}

QCoro::Task<> APIClient::forgetSession()
{
    dropSession();
    if (!m_storeMayHoldSession)
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const SessionStorePtr store = m_store;
    co_await store->clear();
    // Unless the store was handed over meanwhile: the new one holds what it was given.
    if (lifetime.alive() && store == m_store)
        m_storeMayHoldSession = false;
}

QByteArray APIClient::accountSessionData() const { return snapshotJson(); }

void APIClient::installAccountSession(const QByteArray &cookieJson)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QList<QNetworkCookie> usable;
    for (const StoredCookie &cookie : StoredCookie::decodeList(cookieJson)) {
        if (auto live = cookie.cookie(m_origin, now))
            usable.append(*live);
    }
    if (usable.isEmpty())
        throw failure(401, L("登录已过期，请重新登录。"), "a saved session has expired");
    for (const QNetworkCookie &cookie : std::as_const(usable))
        m_cookies->insertCookie(cookie);
    m_remembersSession = true;
}

QCoro::Task<> APIClient::persistSession(SessionStorePtr store, KeyringPrompt prompt)
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const QByteArray bytes = snapshotJson();
    co_await store->write(bytes, prompt);
    lifetime.check();
    m_store = std::move(store);
    m_remembersSession = true;
    m_storeMayHoldSession = true;
}

void APIClient::retire()
{
    ++m_generation;
    onSessionSaved = nullptr;
    onUnauthorized = nullptr;
    onRestricted = nullptr;
    m_retired = true;
    m_transfers.cancel();
}

#include "APIClient.h"

#include "ServiceHosts.h"
#include "StoredCookie.h"

#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QTimer>
#include <QUrlQuery>

#include <QCoro/QCoroNetworkReply>

// The client's own cookies: never persisted by Qt, readable and replaceable as a whole.
class SessionCookieJar : public QNetworkCookieJar
{
public:
    using QNetworkCookieJar::QNetworkCookieJar;
    QList<QNetworkCookie> all() const { return allCookies(); }
    void replaceAll(const QList<QNetworkCookie> &cookies) { setAllCookies(cookies); }
};

namespace {

// Why the client ended a reply itself: Qt reports all of these as OperationCanceledError.
constexpr char abortReason[] = "vornaAbortReason";
constexpr char abortedByClient[] = "cancelled";
constexpr char abortedForTime[] = "timeout";
constexpr char abortedForSize[] = "oversize";

constexpr int maxRedirects = 16;

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

TransportError timedOut()
{
    return TransportError(QNetworkReply::TimeoutError, L("请求超时，请检查网络连接后重试。"));
}

// The service's error body: {"message": "…"}; anything else falls back to the status text.
QString failureMessage(const QByteArray &body, int status)
{
    try {
        const QJsonValue value = Json::parse(body);
        if (value.isObject()) {
            const std::optional<QString> message = JsonFields(value).optionalString(u"message");
            if (message)
                return *message;
        }
    } catch (const DecodeError &) {
    }
    return L("请求未完成（%@），请稍后重试。", status);
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

QString APIPath::encoded(const QString &value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

APIClient::APIClient(QUrl origin, SessionStorePtr store, QList<QSslCertificate> trustedCertificates,
                     QObject *parent)
    : QObject(parent)
    , m_origin(std::move(origin))
    , m_store(std::move(store))
    , m_ssl(QSslConfiguration::defaultConfiguration())
    , m_manager(new QNetworkAccessManager(this))
    , m_cookies(new SessionCookieJar(m_manager))
{
    Q_ASSERT(m_origin.isValid());
    if (!trustedCertificates.isEmpty())
        m_ssl.addCaCertificates(trustedCertificates);
    m_manager->setCookieJar(m_cookies);
    m_manager->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

APIClient::~APIClient()
{
    // Coroutines waiting on our replies resume during the aborts below and must see we are gone.
    m_lifetime.end();
    for (const QPointer<QNetworkReply> &reply : std::as_const(m_inFlight)) {
        if (reply) {
            reply->setProperty(abortReason, abortedByClient);
            reply->abort();
        }
    }
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

APIError APIClient::unreadableAnswer()
{
    return APIError(502, L("服务器数据格式暂时无法识别，请刷新后重试。"));
}

APIRequest APIClient::makeRequest(const QString &path, const QByteArray &method) const
{
    const auto refuse = [] { return APIError(400, L("无效的接口地址。")); };
    if (!path.startsWith(QLatin1Char('/')) || path.startsWith(QLatin1String("//")))
        throw refuse();
    const QUrl relative(path, QUrl::StrictMode);
    if (!relative.isValid())
        throw refuse();
    const QUrl url = m_origin.resolved(relative);
    if (!sameOrigin(url, m_origin))
        throw refuse();

    APIRequest request{QNetworkRequest(url), method, {}};
    request.request.setRawHeader("Accept", "application/json");
    if (method == "POST")
        request.request.setRawHeader("Origin", m_origin.toString(QUrl::FullyEncoded).toUtf8());
    return request;
}

QCoro::Task<HTTPAnswer> APIClient::send(APIRequest request)
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    for (int hop = 0;; ++hop) {
        if (m_retired)
            throw CancellationError();
        QNetworkRequest outgoing = request.request;
        outgoing.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        outgoing.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        outgoing.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
        outgoing.setTransferTimeout(int(m_idleTimeout.count()));
        outgoing.setSslConfiguration(m_ssl);

        QNetworkReply *reply = nullptr;
        if (request.method == "GET")
            reply = m_manager->get(outgoing);
        else if (request.method == "HEAD")
            reply = m_manager->head(outgoing); // Qt reads no body only for its own HEAD
        else
            reply = m_manager->sendCustomRequest(outgoing, request.method, request.body);
        const std::unique_ptr<QNetworkReply, void (*)(QNetworkReply *)> owner(
            reply, [](QNetworkReply *r) { r->deleteLater(); });
        m_inFlight.removeAll(nullptr);
        m_inFlight.append(reply);

        const auto stop = [reply](const char *reason) {
            if (reply->isRunning()) {
                reply->setProperty(abortReason, reason);
                reply->abort();
            }
        };
        QTimer::singleShot(m_totalTimeout, reply, [stop] { stop(abortedForTime); });
        connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, stop] {
            if (reply->header(QNetworkRequest::ContentLengthHeader).toLongLong() > maxAnswerBytes)
                stop(abortedForSize);
        });
        connect(reply, &QNetworkReply::downloadProgress, reply, [stop](qint64 received, qint64) {
            if (received > maxAnswerBytes)
                stop(abortedForSize);
        });

        co_await reply;
        lifetime.check();

        const QByteArray reason = reply->property(abortReason).toByteArray();
        if (reason == abortedByClient)
            throw CancellationError();
        if (reason == abortedForTime)
            throw timedOut();
        if (reason == abortedForSize)
            throw APIError(502, L("服务器响应无效。"));

        // Qt reports its own idle time-out as a cancellation, also once the headers have come: the answer
        // is then cut short, not an answer.
        if (reply->error() == QNetworkReply::OperationCanceledError)
            throw timedOut();
        const QVariant statusValue = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (!statusValue.isValid())
            throw TransportError(reply->error(), reply->errorString());
        const int status = statusValue.toInt();
        const QUrl url = reply->url();

        // Redirects are followed only within the member site; any other ends with the 3xx itself.
        const QUrl location = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
        if (isRedirect(status) && location.isValid()) {
            const QUrl next = url.resolved(location);
            if (sameOrigin(next, m_origin)) {
                if (hop >= maxRedirects)
                    throw TransportError(QNetworkReply::TooManyRedirectsError, L("重定向次数过多。"));
                if (status == 303 || ((status == 301 || status == 302) && request.method == "POST")) {
                    request.method = "GET";
                    request.body.clear();
                    request.request.setRawHeader("Content-Type", QByteArray());
                }
                request.request.setUrl(next);
                continue;
            }
        }

        HTTPAnswer answer;
        answer.status = status;
        answer.url = url;
        answer.body = reply->readAll();
        // The last piece can arrive together with the end of the answer, before the limit could stop it.
        if (answer.body.size() > maxAnswerBytes)
            throw APIError(502, L("服务器响应无效。"));
        answer.mimeType = reply->header(QNetworkRequest::ContentTypeHeader)
                              .toByteArray()
                              .split(';')
                              .constFirst()
                              .trimmed()
                              .toLower();
        co_return answer;
    }
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
    if (answer.status == 401 && answer.url.path() != QLatin1String("/api/login")) {
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
    throw APIError(answer.status, message);
}

QCoro::Task<User> APIClient::login(QString username, QString password, bool remember)
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    co_await forgetSession();
    lifetime.check();

    APIRequest request = makeRequest(QStringLiteral("/api/login"), "POST");
    request.setJsonBody(QJsonObject{{QStringLiteral("username"), username},
                                    {QStringLiteral("password"), password},
                                    {QStringLiteral("rememberMe"), remember}});
    co_await decode<LoginResponse>(std::move(request));
    lifetime.check();

    const User user = (co_await decode<UserResponse>(makeRequest(QStringLiteral("/api/me"), "GET"))).user;
    lifetime.check();
    if (!user.mayUseCentre()) {
        co_await forgetSession();
        throw APIError(403, L("此账号当前不可使用成员中心。"));
    }
    m_remembersSession = remember;
    co_await saveCookies();
    co_return user;
}

QCoro::Task<> APIClient::logout()
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    APIRequest request = makeRequest(QStringLiteral("/api/logout"), "POST");
    request.setJsonBody(QJsonObject());
    const Acknowledgement answer = co_await decode<Acknowledgement>(std::move(request));
    lifetime.check();
    if (answer.ok != true)
        throw APIError(400, L("退出登录未完成，请重试。"));
    co_await forgetSession();
}

QCoro::Task<AccountGate> APIClient::accountGate(User user)
{
    const QString page = user.isMember() ? QStringLiteral("/member") : QStringLiteral("/admin");
    const HTTPAnswer answer = co_await send(makeRequest(page, "HEAD"));
    if (!answer.url.isValid())
        throw APIError(502, L("无法确认账号状态。"));
    const QString path = answer.url.path();
    if (path == QLatin1String("/login"))
        throw APIError(401, L("会话已过期，请重新登录。"));
    if (answer.status < 200 || answer.status > 299)
        throw APIError(answer.status, L("账号状态暂时不可用，请重试。"));
    if (path == QLatin1String("/change-password"))
        co_return AccountGate::Password;
    if (path == QLatin1String("/profile")) {
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
        throw APIError(502, L("图片格式无效。"));
    co_return answer.body;
}

QCoro::Task<> APIClient::completeLiveAuthorization(QUrl callback)
{
    static const QString callbackPath = QStringLiteral("/api/live-schedules/authorization-callback");
    // These two texts are shown as they are, in every language.
    if (callback.scheme() != QLatin1String("https") || callback.host() != QLatin1String(ServiceHosts::secondHost)
        || callback.port() != -1 || callback.path() != callbackPath || !callback.userName().isEmpty()
        || !callback.password().isEmpty())
        throw APIError(400, QStringLiteral("无效的授权回调。"));

    QString replay = callbackPath;
    if (callback.hasQuery())
        replay += QLatin1Char('?') + callback.query(QUrl::FullyEncoded);
    const HTTPAnswer answer = co_await send(makeRequest(replay, "GET"));
    // The service confirms with a redirect away from the member site; anything else did not finish.
    if (answer.status != 303)
        throw APIError(400, QStringLiteral("授权未完成，请重新连接。"));
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

QCoro::Task<> APIClient::saveCookies()
{
    if (!m_remembersSession)
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const QByteArray bytes = snapshotJson();
    const SessionStorePtr store = m_store;
    co_await store->write(bytes);
    lifetime.check();
    if (onSessionSaved)
        onSessionSaved(bytes);
}

QCoro::Task<bool> APIClient::restoreCookies()
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const SessionStorePtr store = m_store;
    const std::optional<QByteArray> bytes = co_await store->read();
    lifetime.check();
    if (!bytes)
        co_return false;
    QList<StoredCookie> stored;
    bool readable = true;
    try {
        stored = StoredCookie::decodeList(*bytes);
    } catch (const DecodeError &) {
        readable = false;
    }
    if (!readable) {
        co_await store->clear();
        co_return false;
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QList<QNetworkCookie> usable;
    for (const StoredCookie &cookie : std::as_const(stored)) {
        if (auto live = cookie.cookie(m_origin, now))
            usable.append(*live);
    }
    if (usable.isEmpty()) {
        co_await store->clear();
        co_return false;
    }
    for (const QNetworkCookie &cookie : std::as_const(usable))
        m_cookies->insertCookie(cookie);
    m_remembersSession = true;
    co_return true;
}

QCoro::Task<> APIClient::forgetSession()
{
    ++m_generation;
    m_remembersSession = false;
    m_cookies->replaceAll({});
    const SessionStorePtr store = m_store;
    co_await store->clear();
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
        throw APIError(401, L("登录已过期，请重新登录。"));
    for (const QNetworkCookie &cookie : std::as_const(usable))
        m_cookies->insertCookie(cookie);
    m_remembersSession = true;
}

QCoro::Task<> APIClient::persistSession(SessionStorePtr store)
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const QByteArray bytes = snapshotJson();
    co_await store->write(bytes);
    lifetime.check();
    m_store = std::move(store);
    m_remembersSession = true;
}

void APIClient::retire()
{
    ++m_generation;
    onSessionSaved = nullptr;
    onUnauthorized = nullptr;
    onRestricted = nullptr;
    m_retired = true;
    for (const QPointer<QNetworkReply> &reply : std::as_const(m_inFlight)) {
        if (reply && reply->isRunning()) {
            reply->setProperty(abortReason, abortedByClient);
            reply->abort();
        }
    }
}

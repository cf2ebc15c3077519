#pragma once

#include "APIError.h"
#include "APIPath.h"
#include "AccountRecords.h"
#include "Json.h"
#include "L.h"
#include "Lifetime.h"
#include "MultipartBody.h"
#include "SessionStore.h"
#include "Transfer.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QNetworkRequest>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <QCoro/QCoroFuture>
#include <QCoro/QCoroTask>
#include <QtConcurrent/QtConcurrentRun>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

class SessionCookieJar;

// What the member site's gate pages say about the signed-in member.
enum class AccountGate {
    Ready,    // the member area may be used
    Password, // a password change is required first
    Profile,  // the profile set-up is required first
};

// One member-service call as built by `makeRequest`: the request, its method and its body.
struct APIRequest : HTTPRequest
{
    // A JSON object serialised compactly, with "Content-Type" "application/json".
    void setJsonBody(const QJsonObject &object);
    // A form-data body with its boundary in "Content-Type".
    void setMultipartBody(const MultipartBody &multipart);
};

// The one client of the member service. It lives on the main thread; every request goes through
// `makeRequest` and `perform`, and answers become records through `decode`.
class APIClient : public QObject
{
    Q_OBJECT

public:
    APIClient(QUrl origin, SessionStorePtr store, TrustedCertificates trustedCertificates = {},
              QObject *parent = nullptr);
    ~APIClient() override;

    const QUrl &origin() const { return m_origin; }
    bool remembersSession() const { return m_remembersSession; }
    quint64 generation() const { return m_generation; }

    // Told the stored cookie bytes when they were saved; that the service refused the session (401);
    // that it refused the member's role (403). Run before the caller sees the error.
    std::function<void(const QByteArray &)> onSessionSaved;
    std::function<void()> onUnauthorized;
    std::function<void()> onRestricted;

    // Throws APIError 400 "无效的接口地址。" for a path that is not on the member site, or that resolving
    // its "." or ".." segments would move.
    APIRequest makeRequest(const QString &path, const QByteArray &method) const;
    QCoro::Task<HTTPAnswer> perform(APIRequest request);

    // Answers the service may send as JSON null are read with decodeOptional, the rest with decode.
    template <typename T>
    QCoro::Task<T> decode(APIRequest request)
    {
        static_assert(!T::optionalAnswer, "this answer may be null: use decodeOptional");
        const HTTPAnswer answer = co_await perform(std::move(request));
        co_return decodeBody<T>(answer.body, answer.url);
    }
    template <typename T>
    QCoro::Task<std::optional<T>> decodeOptional(APIRequest request)
    {
        static_assert(T::optionalAnswer, "this answer is never null: use decode");
        const HTTPAnswer answer = co_await perform(std::move(request));
        co_return decodeOptionalBody<T>(answer.body, answer.url);
    }
    // The same, with the answer read into its record on the thread pool: a large answer (a live-map
    // snapshot of thousands of flights) would hold the window for more than a frame. The client is not
    // touched once the answer is in; its failures are made back on the calling thread.
    template <typename T>
    QCoro::Task<std::optional<T>> decodeOptionalInBackground(APIRequest request)
    {
        static_assert(T::optionalAnswer, "this answer is never null: use decode");
        const HTTPAnswer answer = co_await perform(std::move(request));
        const QUrl url = answer.url;
        struct Read
        {
            std::optional<T> value;
            bool failed = false;
        };
        QFuture<Read> reading = QtConcurrent::run([body = answer.body]() -> Read {
            try {
                return {readOptional<T>(body), false};
            } catch (const DecodeError &) {
                return {std::nullopt, true};
            }
        });
        Read read = co_await reading;
        if (read.failed)
            throw unreadableAnswer(url);
        co_return std::move(read.value);
    }
    // An answer that may be null, as its record or none: the one reading of every such answer, so null
    // means the same everywhere (Json::parse). A record that can be read straight from the bytes
    // (T::readDirectly, which reads no null) is read so first, and the ordinary reading takes what that
    // leaves. Throws DecodeError; any thread.
    template <typename T>
    static std::optional<T> readOptional(const QByteArray &body)
    {
        if constexpr (requires { T::readDirectly(QByteArrayView()); }) {
            if (std::optional<T> read = T::readDirectly(body))
                return read;
        }
        const QJsonValue value = Json::parse(body);
        if (value.isNull())
            return std::nullopt;
        return T::fromJson(value);
    }
    template <typename T>
    static T decodeBody(const QByteArray &body, const QUrl &url)
    {
        try {
            return T::fromJson(Json::parse(body));
        } catch (const DecodeError &) {
            throw unreadableAnswer(url);
        }
    }
    template <typename T>
    static std::optional<T> decodeOptionalBody(const QByteArray &body, const QUrl &url)
    {
        try {
            return readOptional<T>(body);
        } catch (const DecodeError &) {
            throw unreadableAnswer(url);
        }
    }

    // A screen's requests, one helper a verb, each answer read as its record, through a client that may have
    // gone before it is asked (a retired client ends its screens' work as cancelled). A record the service
    // may send as null comes optional. The screen keeps its own rules of the answer and of its status.
    template <typename T>
    using Answer = std::conditional_t<T::optionalAnswer, std::optional<T>, T>;
    template <typename T>
    static QCoro::Task<Answer<T>> get(QPointer<APIClient> client, QString path)
    {
        if (!client)
            throw CancellationError();
        co_return co_await client->read<T>(client->makeRequest(path, "GET"));
    }
    // A POST of a JSON object.
    template <typename T>
    static QCoro::Task<Answer<T>> post(QPointer<APIClient> client, QString path, QJsonObject body)
    {
        if (!client)
            throw CancellationError();
        APIRequest request = client->makeRequest(path, "POST");
        request.setJsonBody(body);
        co_return co_await client->read<T>(std::move(request));
    }
    // A POST of a form-data body: text fields and pictures under `fileField` (see MultipartBody::make, whose
    // refusals come after the path's).
    template <typename T>
    static QCoro::Task<Answer<T>> postForm(QPointer<APIClient> client, QString path,
                                           QMap<QString, QString> fields, QList<Upload> files,
                                           QString fileField)
    {
        if (!client)
            throw CancellationError();
        APIRequest request = client->makeRequest(path, "POST");
        request.setMultipartBody(MultipartBody::make(fields, files, fileField));
        co_return co_await client->read<T>(std::move(request));
    }

    static bool sameOrigin(const QUrl &candidate, const QUrl &origin);

    // Sign-in, sign-out and the account gate.
    QCoro::Task<User> login(QString username, QString password, bool remember);
    QCoro::Task<> logout();
    // The first half of logout(): the service ends the session and the client drops it, but the stored
    // copy is left for forgetSession() to clear (the keychain may keep the caller waiting on a prompt).
    QCoro::Task<> endSession();
    QCoro::Task<AccountGate> accountGate(User user);

    // A picture of the member site that needs the session.
    QCoro::Task<QByteArray> image(QString path);
    // Replays the Live authorisation callback caught on the second host against the member site.
    QCoro::Task<> completeLiveAuthorization(QUrl callback);

    // What the store held for the session at start. Damaged bytes are cleared, so the next start is an
    // ordinary signed-out one.
    enum class StoredSession { None, Restored, Damaged };
    // The session's cookies.
    QCoro::Task<StoredSession> restoreCookies();
    // Drops the session and clears the store, unless the store is known to hold nothing: a member who
    // never asked to stay signed in is never taken to the keychain for a deletion.
    QCoro::Task<> forgetSession();
    QByteArray accountSessionData() const;
    void installAccountSession(const QByteArray &cookieJson);
    // Moves the live session into a lasting store; `prompt` says whether the member asked for it.
    QCoro::Task<> persistSession(SessionStorePtr store, KeyringPrompt prompt = KeyringPrompt::Avoid);
    // Disconnects a client that is being replaced: requests in flight end as cancelled.
    void retire();

    // How long a request may wait without data, and how long a whole exchange may take.
    void setTimeouts(std::chrono::milliseconds idle, std::chrono::milliseconds total);
    std::chrono::milliseconds idleTimeout() const { return m_idleTimeout; }
    std::chrono::milliseconds totalTimeout() const { return m_totalTimeout; }
    // The largest answer read; a longer one is cut off and treated as unusable.
    static constexpr qint64 maxAnswerBytes = 32 * 1024 * 1024;

private:
    template <typename T>
    QCoro::Task<Answer<T>> read(APIRequest request)
    {
        if constexpr (T::optionalAnswer)
            co_return co_await decodeOptional<T>(std::move(request));
        else
            co_return co_await decode<T>(std::move(request));
    }
    static APIError unreadableAnswer(const QUrl &url);
    QCoro::Task<HTTPAnswer> send(APIRequest request);
    QCoro::Task<> saveCookies(KeyringPrompt prompt = KeyringPrompt::Avoid);
    QByteArray snapshotJson() const;
    void dropSession();

    QUrl m_origin;
    SessionStorePtr m_store;
    Transfers m_transfers;
    SessionCookieJar *m_cookies;
    bool m_remembersSession = false;
    // False only once the store is known to be empty: read empty, or cleared by this client.
    bool m_storeMayHoldSession = true;
    bool m_retired = false;
    quint64 m_generation = 0;
    std::chrono::milliseconds m_idleTimeout{30'000};
    std::chrono::milliseconds m_totalTimeout{60'000};
    Lifetime m_lifetime; // last: ends first
};

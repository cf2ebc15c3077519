#include "Transfer.h"

#include "ClientLog.h"
#include "L.h"

#include <QAbstractNetworkCache>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QMetaEnum>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

#include <QCoro/QCoroNetworkReply>

#include <memory>

namespace {

// Why a transfer ended a reply itself: Qt reports both as OperationCanceledError.
constexpr char abortReason[] = "vornaAbortReason";
constexpr char abortedForTime[] = "timeout";
constexpr char abortedForSize[] = "oversize";

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

TransportError timedOut()
{
    return TransportError(QNetworkReply::TimeoutError,
                          TransportError::messageFor(QNetworkReply::TimeoutError));
}

TransportError cutShort()
{
    return TransportError(QNetworkReply::RemoteHostClosedError,
                          TransportError::messageFor(QNetworkReply::RemoteHostClosedError));
}

// Qt's failures of the connection itself (refused, closed, TLS, proxy), as opposed to HTTP refusals.
bool isTransportFailure(QNetworkReply::NetworkError error)
{
    return error > QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied;
}

// A body shorter than the length its headers declared: the connection ended before the answer did. Bodies
// come as they are on the wire (we ask for no encoding), so the declared length is what we must hold.
bool endedEarly(const QNetworkReply &reply, const QByteArray &method, qsizetype received)
{
    const QVariant declared = reply.header(QNetworkRequest::ContentLengthHeader);
    return method != "HEAD" && declared.isValid() && declared.toLongLong() > received;
}

// One line per exchange: the method, the path (never the query, the headers or a body: they may carry a
// member's name or their session), what came of it and how long it took.
void logExchange(const QByteArray &method, const QUrl &url, const char *outcome, const QElapsedTimer &took)
{
    qCDebug(lcClient, "%s %s %s in %lld ms", method.constData(), qPrintable(url.path()), outcome,
            took.elapsed());
}

void logFailure(const QByteArray &method, const QUrl &url, const char *failure, const QElapsedTimer &took)
{
    qCInfo(lcClient, "%s %s failed: %s after %lld ms", method.constData(), qPrintable(url.path()), failure,
           took.elapsed());
}

} // namespace

Transfers::Transfers(QObject *owner, TrustedCertificates trustedCertificates)
    : m_manager(new QNetworkAccessManager(owner))
    , m_trustedCertificates(std::move(trustedCertificates))
{
    m_manager->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

const QSslConfiguration &Transfers::ssl()
{
    if (!m_ssl) {
        m_ssl = QSslConfiguration::defaultConfiguration();
        if (!m_trustedCertificates.isEmpty())
            m_ssl->addCaCertificates(m_trustedCertificates.certificates());
    }
    return *m_ssl;
}

Transfers::~Transfers()
{
    // Transfers resumed by the aborts below must see that we are gone.
    m_lifetime.end();
    abortAll();
}

void Transfers::cancel()
{
    m_lifetime.restart();
    abortAll();
}

void Transfers::abortAll()
{
    const QList<QPointer<QNetworkReply>> replies = std::exchange(m_replies, {});
    for (const QPointer<QNetworkReply> &reply : replies) {
        if (reply && reply->isRunning())
            reply->abort();
    }
}

QCoro::Task<HTTPAnswer> Transfers::run(HTTPRequest request, TransferRules rules)
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const QDeadlineTimer deadline(rules.totalTimeout);
    for (int hop = 0;; ++hop) {
        QNetworkRequest outgoing = request.request;
        outgoing.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                              QNetworkRequest::ManualRedirectPolicy);
        outgoing.setTransferTimeout(int(rules.idleTimeout.count()));
        // No compression: Qt unpacks a compressed body cut short without a word and counts only what it
        // unpacked, so a half answer would pass as a whole one.
        outgoing.setRawHeader("Accept-Encoding", "identity");
        outgoing.setSslConfiguration(ssl());

        QNetworkReply *reply = nullptr;
        if (request.method == "GET")
            reply = m_manager->get(outgoing);
        else if (request.method == "HEAD")
            reply = m_manager->head(outgoing); // Qt reads no body only for its own HEAD
        else
            reply = m_manager->sendCustomRequest(outgoing, request.method, request.body);
        QElapsedTimer took;
        took.start();
        const std::unique_ptr<QNetworkReply, void (*)(QNetworkReply *)> owner(
            reply, [](QNetworkReply *r) { r->deleteLater(); });
        m_replies.removeAll(nullptr);
        m_replies.append(reply);

        const auto stop = [reply](const char *reason) {
            if (reply->isRunning()) {
                reply->setProperty(abortReason, reason);
                reply->abort();
            }
        };
        const auto remaining =
            std::chrono::ceil<std::chrono::milliseconds>(deadline.remainingTimeAsDuration());
        QTimer::singleShot(remaining, reply, [stop] { stop(abortedForTime); });
        // The limit holds while the body arrives: a larger declared length is refused at once, an undeclared
        // one as soon as it passes the limit.
        const qint64 limit = rules.maxBytes;
        QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, stop, limit] {
            if (reply->header(QNetworkRequest::ContentLengthHeader).toLongLong() > limit)
                stop(abortedForSize);
        });
        QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                         [stop, limit](qint64 received, qint64) {
                             if (received > limit)
                                 stop(abortedForSize);
                         });

        co_await reply;
        lifetime.check();

        const auto failing = [&](const char *failure) {
            logFailure(request.method, outgoing.url(), failure, took);
        };
        const QByteArray reason = reply->property(abortReason).toByteArray();
        if (reason == abortedForTime) {
            failing("out of time");
            throw timedOut();
        }
        if (reason == abortedForSize) {
            failing("answer too large");
            throw rules.tooLarge;
        }
        // Qt reports its own idle time-out as a cancellation, also once the headers have come: the answer is
        // then cut short, not an answer.
        const QNetworkReply::NetworkError error = reply->error();
        if (error == QNetworkReply::OperationCanceledError) {
            failing("idle too long");
            throw timedOut();
        }
        // Qt's own finding that the connection closed before the answer was whole.
        if (error == QNetworkReply::RemoteHostClosedError) {
            failing("closed before the answer was whole");
            throw cutShort();
        }
        // No HTTP answer, or the connection failed during the body: the transport's own failure.
        const QVariant statusValue = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (!statusValue.isValid() || isTransportFailure(error)) {
            // The code's name, not Qt's description: that names the whole address.
            failing(QMetaEnum::fromType<QNetworkReply::NetworkError>().valueToKey(error));
            throw TransportError(error, TransportError::messageFor(error));
        }
        const int status = statusValue.toInt();
        const QUrl url = reply->url();
        logExchange(request.method, outgoing.url(), QByteArray::number(status).constData(), took);

        const QUrl location = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
        if (isRedirect(status) && location.isValid()) {
            const QUrl next = url.resolved(location);
            if (rules.follows(next)) {
                if (hop >= rules.maxRedirects) {
                    failing("too many redirects");
                    throw TransportError(QNetworkReply::TooManyRedirectsError, L("重定向次数过多。"));
                }
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
        if (answer.body.size() > rules.maxBytes) {
            failing("answer too large");
            throw rules.tooLarge;
        }
        if (endedEarly(*reply, request.method, answer.body.size())) {
            failing("answer shorter than declared");
            // Not even a damaged copy may come back from the HTTP cache.
            if (QAbstractNetworkCache *cache = m_manager->cache())
                cache->remove(url);
            throw cutShort();
        }
        answer.mimeType = reply->header(QNetworkRequest::ContentTypeHeader)
                              .toByteArray()
                              .split(';')
                              .constFirst()
                              .trimmed()
                              .toLower();
        co_return answer;
    }
}

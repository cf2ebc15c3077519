#pragma once

#include "APIError.h"
#include "Lifetime.h"
#include "TrustedCertificates.h"

#include <QByteArray>
#include <QList>
#include <QNetworkRequest>
#include <QPointer>
#include <QSslConfiguration>
#include <QUrl>

#include <QCoro/QCoroTask>

#include <chrono>
#include <functional>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class QObject;

// One HTTP request: what to send, how, and with which body.
struct HTTPRequest
{
    QNetworkRequest request;
    QByteArray method = "GET";
    QByteArray body;
};

// A final HTTP answer.
struct HTTPAnswer
{
    int status = 0;
    QUrl url; // after the redirects that were followed
    QByteArray body;
    QByteArray mimeType; // lower case, without parameters
};

// What one caller allows its transfers.
struct TransferRules
{
    qint64 maxBytes;                        // the longest body read; a longer one is cut off
    APIError tooLarge;                      // what a longer body is
    std::chrono::milliseconds idleTimeout;  // the longest wait without data
    std::chrono::milliseconds totalTimeout; // the longest whole exchange, redirects included
    int maxRedirects;                       // one more is a transport failure
    // Whether a redirect to this address is followed; one that is not ends the exchange at the 3xx answer.
    std::function<bool(const QUrl &)> follows;
};

// The transfers of one owner, on a network manager of its own (redirects are ours to decide). Every reply
// belongs to the owner: when it goes, or cancels (a retired client, an emptied cache), its transfers in
// flight end with a CancellationError. Main thread only.
class Transfers
{
public:
    // The manager becomes a child of the owner; the certificates are trusted besides the system's.
    Transfers(QObject *owner, TrustedCertificates trustedCertificates);
    Transfers(const Transfers &) = delete;
    Transfers &operator=(const Transfers &) = delete;
    ~Transfers();

    // The manager, for the owner's cookie jar and cache.
    QNetworkAccessManager &manager() const { return *m_manager; }

    // Sends the request and follows the redirects the rules allow. Throws TransportError for a failure of
    // the transport (a time-out with "请求超时，请检查网络连接后重试。", a body cut short), rules.tooLarge,
    // or CancellationError.
    QCoro::Task<HTTPAnswer> run(HTTPRequest request, TransferRules rules);
    // Ends every transfer in flight; the ones started later run as usual.
    void cancel();

private:
    void abortAll();
    // Made for the first transfer: reading the TLS settings loads the TLS library, which a window that has
    // not yet asked for anything does not need before its first frame.
    const QSslConfiguration &ssl();

    QNetworkAccessManager *m_manager;
    TrustedCertificates m_trustedCertificates;
    std::optional<QSslConfiguration> m_ssl;
    QList<QPointer<QNetworkReply>> m_replies;
    Lifetime m_lifetime;
};

#pragma once

#include "Cancellation.h"

#include <QNetworkReply>
#include <QString>

#include <exception>

// The one error of the app: a status (the service's HTTP status, or a local code: 400 bad input, 401
// session gone, 403 role refused, 502 unusable answer, 503 picture unavailable, or a keychain status) and
// the message shown to the user.
class APIError : public std::exception
{
public:
    APIError(int status, QString message)
        : m_status(status)
        , m_message(std::move(message))
        , m_what(m_message.toUtf8())
    {
    }

    int status() const { return m_status; }
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_what.constData(); }

    bool operator==(const APIError &other) const
    {
        return m_status == other.m_status && m_message == other.m_message;
    }

private:
    int m_status;
    QString m_message;
    QByteArray m_what;
};

// A failure of the transport (no network, time-out, TLS), with Qt's code and its own description.
class TransportError : public std::exception
{
public:
    TransportError(QNetworkReply::NetworkError code, QString description)
        : m_code(code)
        , m_description(std::move(description))
        , m_what(m_description.toUtf8())
    {
    }

    QNetworkReply::NetworkError code() const { return m_code; }
    // The member's words for a failure of the connection, by its kind: Qt's own description is English and
    // names the whole address.
    static QString messageFor(QNetworkReply::NetworkError code);
    const QString &description() const { return m_description; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    QNetworkReply::NetworkError m_code;
    QString m_description;
    QByteArray m_what;
};

// The text to show for any failure; empty for a cancellation, which is never shown.
QString errorMessage(const std::exception &error);
// The text for a failure that is no std::exception at all.
QString unknownErrorMessage();
// The service's error body {"message": "…"} of a failed answer; anything else gives the status text.
QString failureMessage(const QByteArray &body, int status);

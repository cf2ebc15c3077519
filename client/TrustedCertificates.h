#pragma once

#include <QByteArray>
#include <QList>
#include <QSslCertificate>

#include <initializer_list>
#include <memory>

// Extra certificates a service's TLS may present (a staging site's or the sample service's own root), kept as
// the PEM text they were read from until a connection first asks for them: making a certificate loads the
// TLS library, which a window that has not yet sent anything does not need before its first frame. Copies
// share one reading. Main thread only.
class TrustedCertificates
{
public:
    TrustedCertificates() = default;
    TrustedCertificates(QList<QSslCertificate> certificates);
    TrustedCertificates(std::initializer_list<QSslCertificate> certificates);
    // The certificates of PEM text, read when first asked for.
    static TrustedCertificates fromPem(QByteArray pem);

    // Reads the PEM text if it has not been read yet.
    const QList<QSslCertificate> &certificates() const;
    bool isEmpty() const { return certificates().isEmpty(); }
    // Whether the PEM text, if any, has been turned into certificates.
    bool isRead() const { return !m_pending || m_pending->pem.isNull(); }

private:
    struct Pending
    {
        QByteArray pem;
        QList<QSslCertificate> certificates;
    };
    std::shared_ptr<Pending> m_pending;
};

#include "TrustedCertificates.h"

TrustedCertificates::TrustedCertificates(QList<QSslCertificate> certificates)
    : m_pending(certificates.isEmpty()
                    ? nullptr
                    : std::make_shared<Pending>(Pending{QByteArray(), std::move(certificates)}))
{
}

TrustedCertificates::TrustedCertificates(std::initializer_list<QSslCertificate> certificates)
    : TrustedCertificates(QList<QSslCertificate>(certificates))
{
}

TrustedCertificates TrustedCertificates::fromPem(QByteArray pem)
{
    TrustedCertificates trusted;
    if (!pem.isEmpty())
        trusted.m_pending = std::make_shared<Pending>(Pending{std::move(pem), {}});
    return trusted;
}

const QList<QSslCertificate> &TrustedCertificates::certificates() const
{
    static const QList<QSslCertificate> none;
    if (!m_pending)
        return none;
    if (!m_pending->pem.isNull()) {
        m_pending->certificates = QSslCertificate::fromData(m_pending->pem, QSsl::Pem);
        m_pending->pem = QByteArray();
    }
    return m_pending->certificates;
}

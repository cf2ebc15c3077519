#include "AuthenticatedPicture.h"

#include "Outcome.h"

#include <QPainter>
#include <QPainterPath>

AuthenticatedPicture::AuthenticatedPicture(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void AuthenticatedPicture::setClient(APIClient *client)
{
    if (m_client == client)
        return;
    m_client = client;
    Q_EMIT clientChanged();
    restart();
}

void AuthenticatedPicture::setPath(const QString &path)
{
    if (m_path == path)
        return;
    m_path = path;
    Q_EMIT pathChanged();
    restart();
}

qreal AuthenticatedPicture::aspect() const
{
    return m_picture.isNull() ? 0 : qreal(m_picture.height()) / m_picture.width();
}

void AuthenticatedPicture::restart()
{
    // Another path's picture must not stand for this one while it loads.
    m_picture = QImage();
    m_failed = false;
    Q_EMIT stateChanged();
    update();
    // An empty path loads too: the client refuses it, and that shows as a failure.
    if (m_client)
        load();
}

QCoro::Task<> AuthenticatedPicture::load()
{
    m_run.restart();
    const Lifetime::Guard run = m_run.guard();
    const auto fetch = [](QPointer<APIClient> client, QString path) -> QCoro::Task<QByteArray> {
        if (!client)
            throw CancellationError();
        co_return co_await client->image(path);
    };
    const Outcome<QByteArray> answer = co_await attempt(fetch(m_client, m_path));
    // A cancelled load (the item went, the client was retired) sets nothing.
    if (!run.alive() || answer.cancelled())
        co_return;
    if (answer.ok()) {
        // Bytes that are no picture fail like any other answer.
        m_picture = QImage::fromData(answer.value());
        m_failed = m_picture.isNull();
    } else {
        m_failed = true;
    }
    Q_EMIT stateChanged();
    update();
}

void AuthenticatedPicture::paint(QPainter *painter)
{
    if (m_picture.isNull() || width() <= 0 || height() <= 0)
        return;
    const QSizeF fitted = QSizeF(m_picture.size()).scaled(QSizeF(width(), height()), Qt::KeepAspectRatio);
    const QRectF target(QPointF((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    QPainterPath corners;
    corners.addRoundedRect(target, 14, 14);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->setClipPath(corners);
    painter->drawImage(target, m_picture);
}

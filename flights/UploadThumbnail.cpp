#include "UploadThumbnail.h"

#include <QPainter>
#include <QPainterPath>

UploadThumbnail::UploadThumbnail(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void UploadThumbnail::setBytes(const QByteArray &bytes)
{
    if (m_bytes == bytes)
        return;
    m_bytes = bytes;
    // Decoded once per picture, not on every paint; a thumbnail needs no more than a few hundred pixels.
    m_picture = QImage::fromData(bytes);
    if (!m_picture.isNull() && std::max(m_picture.width(), m_picture.height()) > 600)
        m_picture = m_picture.scaled(600, 600, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    Q_EMIT bytesChanged();
    update();
}

void UploadThumbnail::setRadius(qreal radius)
{
    if (qFuzzyCompare(m_radius, radius))
        return;
    m_radius = radius;
    Q_EMIT radiusChanged();
    update();
}

void UploadThumbnail::paint(QPainter *painter)
{
    if (m_picture.isNull())
        return;
    const QRectF bounds(0, 0, width(), height());
    // The part of the picture with the square's proportions, centred: the rest is cut off.
    const QSizeF picture = m_picture.size();
    const qreal scale = std::max(bounds.width() / picture.width(), bounds.height() / picture.height());
    const QSizeF shown(bounds.width() / scale, bounds.height() / scale);
    const QRectF source(
        QPointF((picture.width() - shown.width()) / 2, (picture.height() - shown.height()) / 2), shown);
    QPainterPath clip;
    clip.addRoundedRect(bounds, m_radius, m_radius);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->setClipPath(clip);
    painter->drawImage(bounds, m_picture, source);
}

#include "AvatarPicture.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QQmlFile>
#include <QQuickImageProvider>

AvatarPicture::AvatarPicture(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void AvatarPicture::setImage(const QVariant &image)
{
    const QImage picture =
        image.metaType() == QMetaType::fromType<QImage>() ? image.value<QImage>() : QImage();
    if (m_image == picture)
        return;
    m_image = picture;
    Q_EMIT imageChanged();
    choose();
}

void AvatarPicture::setSource(const QUrl &source)
{
    if (m_source == source)
        return;
    m_source = source;
    Q_EMIT sourceChanged();
    if (isComponentComplete())
        choose();
}

void AvatarPicture::componentComplete()
{
    QQuickPaintedItem::componentComplete();
    choose();
}

QImage AvatarPicture::load(const QUrl &url) const
{
    if (url.isEmpty())
        return {};
    if (url.scheme() == QLatin1String("image")) {
        // An avatar held in memory and handed out by an image provider of the engine.
        QQmlEngine *engine = qmlEngine(this);
        auto *provider =
            engine ? dynamic_cast<QQuickImageProvider *>(engine->imageProvider(url.host())) : nullptr;
        if (!provider || provider->imageType() != QQmlImageProviderBase::Image)
            return {};
        QSize size;
        return provider->requestImage(url.path().mid(1), &size, QSize());
    }
    // Local and bundled pictures only: a remote avatar is fetched by the app and handed over as `image`.
    const QString path = QQmlFile::urlToLocalFileOrQrc(url);
    if (path.isEmpty())
        return {};
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    // Pictures larger than an avatar ever shows are decoded smaller (vector art has no size of its own).
    if (size.isValid() && (size.width() > 512 || size.height() > 512))
        reader.setScaledSize(size.scaled(512, 512, Qt::KeepAspectRatio));
    else if (!size.isValid())
        reader.setScaledSize(QSize(512, 512));
    return reader.read();
}

void AvatarPicture::choose()
{
    const bool wasEmpty = empty();
    m_shown = !m_image.isNull() ? m_image : load(m_source);
    if (wasEmpty != empty())
        Q_EMIT shownChanged();
    update();
}

QRectF AvatarPicture::squareCrop(QSizeF picture)
{
    const double side = std::min(picture.width(), picture.height());
    return QRectF((picture.width() - side) / 2, (picture.height() - side) / 2, side, side);
}

void AvatarPicture::paint(QPainter *painter)
{
    if (m_shown.isNull())
        return;
    const QRectF target(QPointF(0, 0), size());
    const QRectF crop = squareCrop(m_shown.size());
    // Filling the circle with the picture as a brush keeps its edge antialiased, which a clip would not.
    QBrush brush(m_shown);
    QTransform transform;
    transform.scale(target.width() / crop.width(), target.height() / crop.height());
    transform.translate(-crop.x(), -crop.y());
    brush.setTransform(transform);
    QPainterPath circle;
    circle.addEllipse(target);
    painter->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter->fillPath(circle, brush);
}

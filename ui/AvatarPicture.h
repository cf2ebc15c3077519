#pragma once

#include <QImage>
#include <QQmlEngine>
#include <QQuickPaintedItem>
#include <QUrl>
#include <QVariant>

// A picture cropped to fill a circle, with a smooth edge. It shows `image` (a QImage) when one is given,
// else the picture at `source`: a file, a bundled resource or an image provider's "image://" address.
// `image` is a variant because QImage is no QML type: typed, every binding to it fails the QML lint.
class AvatarPicture : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QVariant image READ image WRITE setImage NOTIFY imageChanged)
    Q_PROPERTY(QUrl source READ source WRITE setSource NOTIFY sourceChanged)
    Q_PROPERTY(bool empty READ empty NOTIFY shownChanged)

public:
    explicit AvatarPicture(QQuickItem *parent = nullptr);

    QVariant image() const { return m_image.isNull() ? QVariant() : QVariant(m_image); }
    // Anything but a QImage (nothing, undefined) clears it.
    void setImage(const QVariant &image);
    QUrl source() const { return m_source; }
    void setSource(const QUrl &source);
    // Nothing to show: the placeholder stands in.
    bool empty() const { return m_shown.isNull(); }

    // The part of a picture that fills a square, centred.
    static QRectF squareCrop(QSizeF picture);

    void paint(QPainter *painter) override;

Q_SIGNALS:
    void imageChanged();
    void sourceChanged();
    void shownChanged();

protected:
    void componentComplete() override;

private:
    void choose();
    QImage load(const QUrl &url) const;

    QImage m_image;
    QUrl m_source;
    QImage m_shown;
};

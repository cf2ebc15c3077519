#pragma once

#include <QByteArray>
#include <QImage>
#include <QQmlEngine>
#include <QQuickPaintedItem>

// A picked screenshot as a square thumbnail: the picture fills the square, its overflow cut off, with
// rounded corners. Bytes that are no picture leave it empty.
class UploadThumbnail : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QByteArray bytes READ bytes WRITE setBytes NOTIFY bytesChanged)
    Q_PROPERTY(bool empty READ empty NOTIFY bytesChanged)
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY radiusChanged)

public:
    explicit UploadThumbnail(QQuickItem *parent = nullptr);

    QByteArray bytes() const { return m_bytes; }
    void setBytes(const QByteArray &bytes);
    bool empty() const { return m_picture.isNull(); }
    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);

    void paint(QPainter *painter) override;

Q_SIGNALS:
    void bytesChanged();
    void radiusChanged();

private:
    QByteArray m_bytes;
    QImage m_picture;
    qreal m_radius = 14;
};

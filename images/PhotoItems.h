#pragma once

#include <QImage>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickItem>
#include <QSizeF>

#include <optional>

class AircraftPhotoModel;

// Lays out its first child in a frame as wide as offered and as high as the aspect ratio asks, but never
// higher than maxHeight: a tall picture keeps the full width and the capped height, centred inside.
class CappedAspectLayout : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal aspect READ aspect WRITE setAspect NOTIFY layoutChanged)
    Q_PROPERTY(qreal maxHeight READ maxHeight WRITE setMaxHeight NOTIFY layoutChanged)

public:
    explicit CappedAspectLayout(QQuickItem *parent = nullptr);

    qreal aspect() const { return m_aspect; }
    void setAspect(qreal aspect);
    qreal maxHeight() const { return m_maxHeight; }
    void setMaxHeight(qreal maxHeight);

    // The frame for a proposed width (none: as wide as the capped height allows).
    static QSizeF sizeFor(std::optional<qreal> proposedWidth, qreal aspect, qreal maxHeight);

Q_SIGNALS:
    void layoutChanged();

protected:
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;
    void itemChange(ItemChange change, const ItemChangeData &value) override;

private:
    void relayout();

    qreal m_aspect = 1;
    qreal m_maxHeight = 0;
};

// Draws a photo model's picture scaled to fit its bounds, aspect kept, centred.
class FittedPhoto : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(AircraftPhotoModel *source READ source WRITE setSource NOTIFY sourceChanged)

public:
    explicit FittedPhoto(QQuickItem *parent = nullptr);

    AircraftPhotoModel *source() const { return m_source; }
    void setSource(AircraftPhotoModel *source);

    // Where a picture of the given size is drawn inside the bounds.
    static QRectF fittedRect(const QSizeF &picture, const QRectF &bounds);

Q_SIGNALS:
    void sourceChanged();

protected:
    QSGNode *updatePaintNode(QSGNode *node, UpdatePaintNodeData *data) override;
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;

private:
    QPointer<AircraftPhotoModel> m_source;
    QImage m_shown;
    bool m_textureStale = true;
};

#pragma once

#include "BaseMap.h"
#include "MapCamera.h"
#include "MapMath.h"

#include <QElapsedTimer>
#include <QGeoCoordinate>
#include <QQuickItem>
#include <QSet>
#include <QTimer>

#include <optional>

class MapCompass;
class MapMarkerLayer;

// The map: Web-Mercator, north up, flat. Pans by drag, zooms by wheel, pinch (touch or trackpad) and
// double click around the pointer; longitude wraps without end. Children are its content: `MapAnnotation`
// items stand on coordinates (stacked in their order), `MapPolyline`s draw geodesic lines, a `MapMarkerLayer`
// draws many markers at once. Lines lie lowest (z 0), then marker layers (z 1), then annotations (z 2).
//
// The camera moves continuously (`center`, `distance`, `zoomLevel`); `visibleRegion` and `movementEnded`
// report only when a gesture, an animation or a jump has finished.
class MapView : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(Interactions interactionModes READ interactionModes WRITE setInteractionModes NOTIFY
                   interactionModesChanged)
    Q_PROPERTY(Style mapStyle READ mapStyle WRITE setMapStyle NOTIFY mapStyleChanged)
    // Realistic: the land shows its relief, shaded as if lit from the north-west. Flat by default.
    Q_PROPERTY(Elevation elevation READ elevation WRITE setElevation NOTIFY elevationChanged)
    Q_PROPERTY(bool dark READ dark WRITE setDark NOTIFY darkChanged)
    Q_PROPERTY(QGeoCoordinate center READ center NOTIFY cameraChanged)
    Q_PROPERTY(double distance READ distance NOTIFY cameraChanged)
    Q_PROPERTY(double zoomLevel READ zoomLevel NOTIFY cameraChanged)
    Q_PROPERTY(double metresPerPixel READ metresPerPixel NOTIFY cameraChanged)
    Q_PROPERTY(MapRegion visibleRegion READ visibleRegion NOTIFY movementEnded)
    Q_PROPERTY(bool automatic READ automatic NOTIFY automaticChanged)
    Q_PROPERTY(bool moving READ moving NOTIFY movingChanged)
    // The compass control in the bottom-trailing corner (north up, as the map always is); off by default.
    Q_PROPERTY(bool showsCompass READ showsCompass WRITE setShowsCompass NOTIFY showsCompassChanged)

public:
    enum Interaction { Pan = 1, Zoom = 2 };
    Q_DECLARE_FLAGS(Interactions, Interaction)
    Q_FLAG(Interactions)
    enum class Style { Standard, Hybrid };
    Q_ENUM(Style)
    enum class Elevation { Flat, Realistic };
    Q_ENUM(Elevation)

    explicit MapView(QQuickItem *parent = nullptr);
    ~MapView() override;

    Interactions interactionModes() const { return m_interactions; }
    void setInteractionModes(Interactions modes);
    Style mapStyle() const { return m_style; }
    void setMapStyle(Style style);
    Elevation elevation() const { return m_elevation; }
    void setElevation(Elevation elevation);
    bool dark() const { return m_dark; }
    void setDark(bool dark);

    QGeoCoordinate center() const;
    double distance() const;
    double zoomLevel() const { return m_camera.zoom; }
    double metresPerPixel() const;
    MapRegion visibleRegion() const { return m_region; }
    bool automatic() const { return m_automatic; }
    bool moving() const { return m_moving; }
    bool showsCompass() const { return m_showsCompass; }
    void setShowsCompass(bool shows);

    // Camera: a centre and the distance of the rule in MapMath. Animated moves are a critically damped
    // spring of 0.4 s.
    Q_INVOKABLE void setCamera(const QGeoCoordinate &center, double distance, bool animated = false);
    Q_INVOKABLE void showRegion(double latitude, double longitude, double latitudeSpan, double longitudeSpan,
                                bool animated = false);
    // A rectangle of map points: the world square is 2^28 points on a side, x eastwards, y southwards.
    Q_INVOKABLE void showMapRect(const QRectF &mapPoints, bool animated = false);
    // The automatic position: frames all content with some padding, again whenever content or size change,
    // until a gesture or another camera takes over.
    Q_INVOKABLE void showAll(bool animated = false);

    Q_INVOKABLE QGeoCoordinate coordinateAt(const QPointF &point) const;
    // Where a coordinate lies in the item, the copy nearest the middle.
    Q_INVOKABLE QPointF pointAt(const QGeoCoordinate &coordinate) const;
    // For content items: the item point of a world point, the copy nearest the middle.
    QPointF itemPoint(QPointF world) const;

    // Lays a content layer over the whole map and gives it the camera to draw for.
    MapFrame cover(QQuickItem *layer) const;
    // The part of the map, in its own points, that shows in the window through every clipping item above
    // it, widened by a margin ahead of scrolling: tiles and lines outside it are not drawn. Nothing while
    // the map is in no window.
    QRectF shownArea() const { return m_shown; }
    // Content items call this when what they show moved, so the automatic position can follow.
    void contentChanged();

signals:
    void interactionModesChanged();
    void mapStyleChanged();
    void elevationChanged();
    void darkChanged();
    void cameraChanged();
    void automaticChanged();
    void movingChanged();
    void showsCompassChanged();
    // Once at the end of every gesture, animation or jump: the visible region and the map's width.
    void movementEnded(const MapRegion &region, double width);
    // A click on the map where no marker is.
    void tapped(const QGeoCoordinate &coordinate);

protected:
    QSGNode *updatePaintNode(QSGNode *old, UpdatePaintNodeData *) override;
    void updatePolish() override;
    void geometryChange(const QRectF &now, const QRectF &before) override;
    void componentComplete() override;
    void itemChange(ItemChange change, const ItemChangeData &data) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void touchEvent(QTouchEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool event(QEvent *event) override;

private:
    // A camera asked for in terms that depend on the item's size, kept to apply again when the size changes.
    struct Request
    {
        QGeoCoordinate center;
        double distance = 0;
        std::optional<MapRegion> region;
        std::optional<QRectF> world;
    };

    // A jump reports at once; a camera that follows a resize or changed content reports when they pause.
    enum class Motion { Jump, Animated, Follow };
    static Motion motion(bool animated) { return animated ? Motion::Animated : Motion::Jump; }
    void apply(const Request &request, Motion motion);
    void frameContent(Motion motion);
    void moveTo(const MapCamera &camera, Motion motion);
    void setCameraNow(MapCamera camera);
    void zoomAround(QPointF point, double zoom);
    void step();
    void beginGesture();
    void tapAt(QPointF at);
    bool wheelScrollsPage();
    void finishMovement();
    void setMoving(bool moving);
    void setAutomatic(bool automatic);
    void requestTiles();
    void placeCompass();
    void watchWindow(QQuickWindow *window);
    QRectF areaInWindow() const;
    void checkShownArea();

    Interactions m_interactions = Interactions(Pan | Zoom);
    Style m_style = Style::Standard;
    Elevation m_elevation = Elevation::Flat;
    bool m_dark = false;
    bool m_showsCompass = false;
    MapCompass *m_compass = nullptr;

    MapCamera m_camera{{0.5, 0.5}, 1};
    MapRegion m_region;
    bool m_automatic = false;
    bool m_moving = false;
    std::optional<Request> m_request;

    // The spring: where it goes, where it started and how fast it moved then.
    struct Spring
    {
        MapCamera from;
        MapCamera to;
        MapCamera velocity;
        QElapsedTimer clock;
    };
    std::optional<Spring> m_spring;
    QTimer m_frames;
    QTimer m_settle;

    QPointF m_pressAt;
    QPointF m_lastDrag;
    bool m_dragging = false;
    // When a wheel over the map last went on to the page around it.
    QElapsedTimer m_pageWheel;
    int m_touches = 0;
    double m_lastSpread = 0;

    TileCache m_tiles;
    QRectF m_shown;
    QMetaObject::Connection m_windowFrames;
    QSet<TileKey> m_rendering;
    // Tiles the last frame lacked, noted on the render thread.
    QSet<TileKey> m_wanted;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(MapView::Interactions)

#pragma once

#include "BrandArt.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickPaintedItem>
#include <QTimer>

#include <memory>

class QQuickWindow;

// Paints the brand animation. Its clock starts when the item is complete, and every frame the window
// shows repaints it until the animation rests: a loop never rests, a one-shot play rests on its final
// frame, reduced motion shows the final frame at once.
class BrandCanvas : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool once READ once WRITE setOnce NOTIFY onceChanged)
    Q_PROPERTY(bool reduceMotion READ reduceMotion WRITE setReduceMotion NOTIFY reduceMotionChanged)
    // A time in milliseconds to show instead of the clock's (for a still picture); negative follows the
    // clock.
    Q_PROPERTY(double fixedTime READ fixedTime WRITE setFixedTime NOTIFY fixedTimeChanged)

public:
    explicit BrandCanvas(QQuickItem *parent = nullptr);

    bool once() const { return m_once; }
    void setOnce(bool once);
    bool reduceMotion() const { return m_reduceMotion; }
    void setReduceMotion(bool reduce);
    double fixedTime() const { return m_fixedTime; }
    void setFixedTime(double time);

    // The time of the frame shown now.
    double time() const;
    // Whether frames still change.
    bool animating() const;

    void paint(QPainter *painter) override;

    // The view goes away: a one-shot play that has not reported yet reports now.
    Q_INVOKABLE void release();

Q_SIGNALS:
    void onceChanged();
    void reduceMotionChanged();
    void fixedTimeChanged();
    // Once, after a one-shot play (or at release, when that comes first).
    void finished();

protected:
    void componentComplete() override;
    void itemChange(ItemChange change, const ItemChangeData &value) override;

private:
    void nextFrame();
    void finish();

    bool m_once = false;
    bool m_reduceMotion = false;
    double m_fixedTime = -1;
    QElapsedTimer m_clock;
    QTimer m_finishTimer;
    bool m_finishPending = false;
    QPointer<QQuickWindow> m_window;
    QMetaObject::Connection m_frames;
    std::shared_ptr<const BrandArt::Pictures> m_pictures;
};

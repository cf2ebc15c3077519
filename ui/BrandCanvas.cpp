#include "BrandCanvas.h"

#include "BrandArt.h"

#include <QPainter>
#include <QQuickWindow>

BrandCanvas::BrandCanvas(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    setFillColor(Qt::transparent);
    m_finishTimer.setSingleShot(true);
    // A coarse timer may fire up to 5 % early: the intro would be cut before its last frame.
    m_finishTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_finishTimer, &QTimer::timeout, this, &BrandCanvas::finish);
}

void BrandCanvas::setOnce(bool once)
{
    if (m_once == once)
        return;
    m_once = once;
    Q_EMIT onceChanged();
    update();
}

void BrandCanvas::setReduceMotion(bool reduce)
{
    if (m_reduceMotion == reduce)
        return;
    m_reduceMotion = reduce;
    Q_EMIT reduceMotionChanged();
    update();
}

void BrandCanvas::setFixedTime(double time)
{
    if (m_fixedTime == time)
        return;
    m_fixedTime = time;
    Q_EMIT fixedTimeChanged();
    update();
}

double BrandCanvas::time() const
{
    if (m_fixedTime >= 0)
        return BrandArt::loaderTime(m_fixedTime, m_once, m_reduceMotion);
    const double elapsed = m_clock.isValid() ? double(m_clock.nsecsElapsed()) / 1e6 : 0;
    return BrandArt::loaderTime(elapsed, m_once, m_reduceMotion);
}

bool BrandCanvas::animating() const
{
    if (m_fixedTime >= 0 || m_reduceMotion)
        return false;
    return !m_once || !m_clock.isValid() || double(m_clock.elapsed()) < BrandArt::playLength;
}

void BrandCanvas::paint(QPainter *painter)
{
    // A hidden canvas is still asked to paint; it shows again through update(), so it draws nothing now.
    if (!isVisible())
        return;
    // Held while this canvas shows, so a loader on screen does not draw them again each frame.
    if (!m_pictures)
        m_pictures = BrandArt::bundledPictures();
    BrandArt::draw(*painter, size(), time(), BrandRoute::website(), *m_pictures);
}

void BrandCanvas::componentComplete()
{
    QQuickPaintedItem::componentComplete();
    m_clock.start();
    if (m_once) {
        // Decided when the play starts, as the play itself is.
        m_finishPending = true;
        m_finishTimer.start(BrandArt::finishDelay(m_reduceMotion));
    }
    update();
}

void BrandCanvas::itemChange(ItemChange change, const ItemChangeData &value)
{
    QQuickPaintedItem::itemChange(change, value);
    if (change == ItemSceneChange) {
        if (m_frames)
            disconnect(m_frames);
        m_window = value.window;
        // Each frame the window has shown asks for the next one while the animation moves.
        if (m_window)
            m_frames = connect(m_window, &QQuickWindow::frameSwapped, this, &BrandCanvas::nextFrame,
                               Qt::QueuedConnection);
    } else if (change == ItemVisibleHasChanged) {
        // A hidden loader (one in every button and card) lets the art go; it is drawn again when one shows.
        if (value.boolValue)
            update();
        else
            m_pictures.reset();
    }
}

void BrandCanvas::nextFrame()
{
    if (animating() && isVisible())
        update();
}

void BrandCanvas::release()
{
    if (m_finishPending) {
        m_finishTimer.stop();
        finish();
    }
}

void BrandCanvas::finish()
{
    if (!m_finishPending)
        return;
    m_finishPending = false;
    update(); // the final frame
    Q_EMIT finished();
}

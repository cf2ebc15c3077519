#include "AircraftPhotoModel.h"

#include "AircraftImageService.h"
#include "L.h"

#include <algorithm>

AircraftPhotoModel::AircraftPhotoModel(QObject *parent)
    : QObject(parent)
{
}

void AircraftPhotoModel::setAircraft(const QString &aircraft)
{
    if (aircraft == m_aircraft)
        return;
    m_aircraft = aircraft;
    Q_EMIT inputsChanged();
    Q_EMIT identityChanged();
    restart();
}

void AircraftPhotoModel::setLivery(const QString &livery)
{
    if (livery == m_livery)
        return;
    m_livery = livery;
    Q_EMIT inputsChanged();
    Q_EMIT identityChanged();
    restart();
}

void AircraftPhotoModel::setReference(const AircraftPhotoReference &reference)
{
    if (reference == m_reference)
        return;
    m_reference = reference;
    Q_EMIT inputsChanged();
    Q_EMIT identityChanged();
    restart();
}

void AircraftPhotoModel::setNominalHeight(qreal height)
{
    if (qFuzzyCompare(height, m_nominalHeight))
        return;
    m_nominalHeight = height;
    Q_EMIT nominalHeightChanged();
}

void AircraftPhotoModel::setActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    Q_EMIT activeChanged();
    restart();
}

void AircraftPhotoModel::setService(AircraftImageService *service) { m_service = service; }

QString AircraftPhotoModel::identity() const
{
    const QString base = m_reference.isEmpty() ? m_aircraft + QLatin1Char('|') + m_livery : m_reference.path;
    return base + QLatin1Char('@') + QString::number(m_attempt);
}

qreal AircraftPhotoModel::aspectOf(const QSizeF &picture)
{
    return std::max(0.1, picture.width() / std::max(picture.height(), 1.0));
}

QString AircraftPhotoModel::accessibleLabel() const
{
    if (m_state == State::Unavailable)
        return L("暂无对应涂装图片");
    if (m_state != State::Picture)
        return {};
    return L("飞机图片：%@，%@", m_photo ? m_photo->aircraft : m_aircraft,
             m_photo ? m_photo->livery : m_livery);
}

qreal AircraftPhotoModel::loaderSize() const { return std::min(1.7 * 0.45 * m_nominalHeight, 48.0); }

void AircraftPhotoModel::retry()
{
    ++m_attempt;
    Q_EMIT identityChanged();
    restart();
}

void AircraftPhotoModel::setState(State state)
{
    m_state = state;
    Q_EMIT stateChanged();
}

void AircraftPhotoModel::componentComplete()
{
    m_complete = true;
    restart();
}

void AircraftPhotoModel::restart()
{
    if (!m_complete)
        return;
    // Off screen nothing is held: the picture stays in the service's caches for the way back.
    if (!m_active) {
        m_run.restart();
        m_runningIdentity.clear();
        if (!m_image.isNull()) {
            m_image = QImage();
            setState(State::Loading);
        }
        return;
    }
    const QString next = identity();
    if (next == m_runningIdentity)
        return;
    m_runningIdentity = next;
    m_run.restart();
    load(m_run.guard());
}

QCoro::Task<> AircraftPhotoModel::load(Lifetime::Guard run)
{
    m_image = QImage();
    m_photo.reset();
    setState(State::Loading);
    if (!m_service)
        m_service = &AircraftImageService::shared();
    const QPointer<AircraftImageService> service = m_service;

    try {
        std::optional<AircraftPhotoReference> photo;
        if (!m_reference.isEmpty()) {
            photo = m_reference;
        } else {
            const QString aircraft = m_aircraft;
            const QString livery = m_livery;
            const AircraftCatalog catalog = co_await service->catalog();
            if (!run.alive())
                co_return;
            photo = catalog.photo(aircraft, livery);
        }
        m_photo = photo;
        if (!photo) {
            setState(State::Unavailable);
            co_return;
        }
        if (!service)
            throw CancellationError();
        const QImage picture = co_await service->image(*photo, pixels);
        if (!run.alive())
            co_return;
        m_image = picture;
        setState(State::Picture);
    } catch (...) {
        // Our own run was superseded or we are gone: nothing changes. Anything else ends this run, also a
        // load the service abandoned while emptying its caches, so the retry is offered.
        if (!run.alive())
            co_return;
        setState(State::Failed);
    }
}

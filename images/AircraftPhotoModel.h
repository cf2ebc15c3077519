#pragma once

#include "AircraftCatalog.h"
#include "Lifetime.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QString>

#include <QCoro/QCoroTask>

#include <optional>

class AircraftImageService;

// The state behind `AircraftPhoto`: which picture an aircraft in a livery has, and whether it is loading,
// shown, missing from the catalog, or failed (with a retry). The view sets the inputs and `active` while it
// is on screen; everything else is read from here.
class AircraftPhotoModel : public QObject, public QQmlParserStatus
{
    Q_OBJECT
    Q_INTERFACES(QQmlParserStatus)
    QML_ELEMENT

    Q_PROPERTY(QString aircraft READ aircraft WRITE setAircraft NOTIFY inputsChanged)
    Q_PROPERTY(QString livery READ livery WRITE setLivery NOTIFY inputsChanged)
    Q_PROPERTY(AircraftPhotoReference reference READ reference WRITE setReference NOTIFY inputsChanged)
    Q_PROPERTY(qreal nominalHeight READ nominalHeight WRITE setNominalHeight NOTIFY nominalHeightChanged)
    Q_PROPERTY(bool active READ active WRITE setActive NOTIFY activeChanged)

    Q_PROPERTY(State state READ state NOTIFY stateChanged)
    Q_PROPERTY(int attempt READ attempt NOTIFY identityChanged)
    Q_PROPERTY(QString identity READ identity NOTIFY identityChanged)
    Q_PROPERTY(QSize pictureSize READ pictureSize NOTIFY stateChanged)
    Q_PROPERTY(qreal aspect READ aspect NOTIFY stateChanged)
    Q_PROPERTY(QString accessibleLabel READ accessibleLabel NOTIFY stateChanged)
    Q_PROPERTY(qreal pictureMaxHeight READ pictureMaxHeight NOTIFY nominalHeightChanged)
    Q_PROPERTY(qreal placeholderHeight READ placeholderHeight NOTIFY nominalHeightChanged)
    Q_PROPERTY(qreal loaderSize READ loaderSize NOTIFY nominalHeightChanged)

public:
    enum class State { Loading, Picture, Unavailable, Failed };
    Q_ENUM(State)

    // Every picture is asked at this size, so one decoded size serves every place.
    static constexpr int pixels = 2000;

    explicit AircraftPhotoModel(QObject *parent = nullptr);

    const QString &aircraft() const { return m_aircraft; }
    void setAircraft(const QString &aircraft);
    const QString &livery() const { return m_livery; }
    void setLivery(const QString &livery);
    const AircraftPhotoReference &reference() const { return m_reference; }
    void setReference(const AircraftPhotoReference &reference);
    qreal nominalHeight() const { return m_nominalHeight; }
    void setNominalHeight(qreal height);
    bool active() const { return m_active; }
    void setActive(bool active);

    // The service to load through; the shared one unless a test hands its own.
    void setService(AircraftImageService *service);

    State state() const { return m_state; }
    int attempt() const { return m_attempt; }
    // The load key: the reference's path, or "aircraft|livery"; then "@" and the attempt.
    QString identity() const;
    const QImage &image() const { return m_image; }
    // The reference in use: the given one, or the catalog's.
    const std::optional<AircraftPhotoReference> &photo() const { return m_photo; }
    QSize pictureSize() const { return m_image.size(); }
    // Width over height of the picture, at least 0.1 (a picture under one point high counts as one).
    qreal aspect() const { return aspectOf(m_image.size()); }
    static qreal aspectOf(const QSizeF &picture);
    QString accessibleLabel() const;
    qreal pictureMaxHeight() const { return 1.7 * m_nominalHeight; }
    qreal placeholderHeight() const { return 1.7 * 0.75 * m_nominalHeight; }
    qreal loaderSize() const;

    // Loads again after a failure, as a new attempt.
    Q_INVOKABLE void retry();

    // A view sets every input before the first load starts.
    void classBegin() override { m_complete = false; }
    void componentComplete() override;

Q_SIGNALS:
    void inputsChanged();
    void nominalHeightChanged();
    void activeChanged();
    void stateChanged();
    void identityChanged();

private:
    void restart();
    void setState(State state);
    QCoro::Task<> load(Lifetime::Guard run);

    QString m_aircraft;
    QString m_livery;
    AircraftPhotoReference m_reference;
    qreal m_nominalHeight = 108;
    bool m_active = false;
    bool m_complete = true;
    QPointer<AircraftImageService> m_service;

    State m_state = State::Loading;
    QImage m_image;
    std::optional<AircraftPhotoReference> m_photo;
    int m_attempt = 0;
    QString m_runningIdentity;
    // Last, so it ends first. A new identity or leaving the screen starts a new run; old ones stop quietly.
    Lifetime m_run;
};

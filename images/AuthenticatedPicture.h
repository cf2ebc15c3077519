#pragma once

#include "APIClient.h"
#include "Lifetime.h"

#include <QImage>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickPaintedItem>

#include <QCoro/QCoroTask>

// A picture of the member site that only the signed-in member may fetch (a report's evidence): its bytes
// come through the member's client, with their session, never through a plain address load. The picture is
// drawn whole, scaled to fit, centred.
class AuthenticatedPicture : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(APIClient *client READ client WRITE setClient NOTIFY clientChanged REQUIRED)
    Q_PROPERTY(QString path READ path WRITE setPath NOTIFY pathChanged REQUIRED)
    Q_PROPERTY(State state READ state NOTIFY stateChanged)
    // Height over width of the picture; 0 while there is none.
    Q_PROPERTY(qreal aspect READ aspect NOTIFY stateChanged)

public:
    enum State { Loading, Shown, Failed };
    Q_ENUM(State)

    explicit AuthenticatedPicture(QQuickItem *parent = nullptr);

    APIClient *client() const { return m_client; }
    void setClient(APIClient *client);
    QString path() const { return m_path; }
    void setPath(const QString &path);
    // A picture wins over a failure: a failed reload of the same path keeps the earlier picture.
    State state() const { return !m_picture.isNull() ? Shown : m_failed ? Failed : Loading; }
    qreal aspect() const;
    const QImage &picture() const { return m_picture; }

    void paint(QPainter *painter) override;

    // Loads the current path; a newer load (a new path or client) makes this one change nothing.
    QCoro::Task<> load();

Q_SIGNALS:
    void clientChanged();
    void pathChanged();
    void stateChanged();

private:
    void restart();

    QPointer<APIClient> m_client;
    QString m_path;
    QImage m_picture;
    bool m_failed = false;
    Lifetime m_run; // last: ends first
};

#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;

// One running app per user: a second start hands the links it was given (e.g. "vorna://live-map/own-flight"
// from the desktop) to the running one and quits.
class InstanceChannel : public QObject
{
    Q_OBJECT

public:
    explicit InstanceChannel(QString name = defaultName(), QObject *parent = nullptr);
    ~InstanceChannel() override;

    // True when a running app took the links; this process should then end.
    bool handOver(const QStringList &links) const;
    // Becomes the running app: links from later starts arrive through `received`.
    bool listen();

    static QString defaultName();

Q_SIGNALS:
    void received(const QStringList &links);

private:
    QString m_name;
    QLocalServer *m_server = nullptr;
};

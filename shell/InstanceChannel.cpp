#include "InstanceChannel.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace {
constexpr int timeoutMs = 1000;
}

InstanceChannel::InstanceChannel(QString name, QObject *parent)
    : QObject(parent)
    , m_name(std::move(name))
{
}

InstanceChannel::~InstanceChannel() = default;

QString InstanceChannel::defaultName()
{
    return QStringLiteral("org.vornalia.MemberCentre-%1")
        .arg(qEnvironmentVariable("USER", QStringLiteral("user")));
}

bool InstanceChannel::handOver(const QStringList &links) const
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    // One link per line, then the end of the message.
    socket.write(links.join(QLatin1Char('\n')).toUtf8() + '\n');
    socket.disconnectFromServer();
    return socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(timeoutMs);
}

bool InstanceChannel::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // A server left behind by a crashed run: nobody answered handOver, so it is stale.
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name))
            return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                // Links are small; a line ends each message.
                if (!socket->canReadLine())
                    return;
                // A start without links still arrives, so the running window can come forward.
                Q_EMIT received(
                    QString::fromUtf8(socket->readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts));
            });
        }
    });
    return true;
}

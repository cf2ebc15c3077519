#include "InstanceChannel.h"

#include "ShellLog.h"

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
    // One window per desktop session: the channel is named for the user and the display, in the session's
    // runtime folder. A name alone lies in the shared temporary folder, where a start on another display (or
    // another login of the same user) would hand its links to a window it cannot show.
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    display.replace(QLatin1Char('/'), QLatin1Char('_'));
    const QString name = QStringLiteral("org.vornalia.MemberCentre-%1-%2")
                             .arg(qEnvironmentVariable("USER", QStringLiteral("user")), display);
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return runtime.isEmpty() ? name : runtime + QLatin1Char('/') + name;
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
        if (!m_server->listen(m_name)) {
            qCInfo(lcShell, "a second start cannot reach this window: %s",
                   qPrintable(m_server->errorString()));
            return false;
        }
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

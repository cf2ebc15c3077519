#include "PortalFilePick.h"

#include "FileChooser.h"
#include "UiLog.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QWindow>

namespace {

const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

// One pattern of a filter, the portal's (us): 0 a glob, 1 a media type.
struct PortalPattern
{
    uint kind = 0;
    QString pattern;
};
// A named filter, the portal's (sa(us)).
struct PortalFilter
{
    QString name;
    QList<PortalPattern> patterns;
};

QDBusArgument &operator<<(QDBusArgument &argument, const PortalPattern &pattern)
{
    argument.beginStructure();
    argument << pattern.kind << pattern.pattern;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalPattern &pattern)
{
    argument.beginStructure();
    argument >> pattern.kind >> pattern.pattern;
    argument.endStructure();
    return argument;
}

QDBusArgument &operator<<(QDBusArgument &argument, const PortalFilter &filter)
{
    argument.beginStructure();
    argument << filter.name << filter.patterns;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalFilter &filter)
{
    argument.beginStructure();
    argument >> filter.name >> filter.patterns;
    argument.endStructure();
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(PortalPattern)
Q_DECLARE_METATYPE(PortalFilter)

namespace {

void registerTypes()
{
    static const bool registered = [] {
        qDBusRegisterMetaType<PortalPattern>();
        qDBusRegisterMetaType<QList<PortalPattern>>();
        qDBusRegisterMetaType<PortalFilter>();
        qDBusRegisterMetaType<QList<PortalFilter>>();
        return true;
    }();
    Q_UNUSED(registered)
}

// "图片 (*.png *.jpg)" as the portal's filter "图片" of two globs; a filter without patterns is left out.
QList<PortalFilter> portalFilters(const QStringList &nameFilters)
{
    static const QRegularExpression form(QStringLiteral("^(.*)\\(([^()]*)\\)\\s*$"));
    QList<PortalFilter> filters;
    for (const QString &nameFilter : nameFilters) {
        const QRegularExpressionMatch match = form.match(nameFilter);
        if (!match.hasMatch())
            continue;
        PortalFilter filter{match.captured(1).trimmed(), {}};
        for (const QString &glob : match.captured(2).split(u' ', Qt::SkipEmptyParts))
            filter.patterns.append({0, glob});
        if (!filter.name.isEmpty() && !filter.patterns.isEmpty())
            filters.append(filter);
    }
    return filters;
}

// The request's path as the portal makes it from our unique name and the token, known before the call so
// that an answer sent at once is not missed.
QString expectedHandle(const QString &uniqueName, const QString &token)
{
    QString sender = uniqueName;
    sender.remove(0, sender.startsWith(u':') ? 1 : 0).replace(u'.', u'_');
    return portalPath + QStringLiteral("/request/") + sender + u'/' + token;
}

// The options of OpenFile: `token` names the request, `nameFilters` are Qt's ("图片 (*.png *.jpg)"), `folder`
// a local folder, sent as the portal's NUL-terminated bytes.
QVariantMap openFileOptions(const QString &token, bool multiple, const QStringList &nameFilters,
                            const QString &folder)
{
    registerTypes();
    QVariantMap options{{QStringLiteral("handle_token"), token},
                        {QStringLiteral("modal"), true},
                        {QStringLiteral("multiple"), multiple},
                        {QStringLiteral("current_folder"), QFile::encodeName(folder).append('\0')}};
    const QList<PortalFilter> filters = portalFilters(nameFilters);
    if (!filters.isEmpty())
        options.insert(QStringLiteral("filters"), QVariant::fromValue(filters));
    return options;
}

// The window the chooser belongs to, as the portal names windows: "x11:" and its id in hex on X11, empty
// elsewhere (a Wayland window needs an exported handle Qt 6.4 does not give).
QString parentWindow(const QWindow *window)
{
    if (!window || QGuiApplication::platformName() != QLatin1String("xcb"))
        return {};
    return QStringLiteral("x11:") + QString::number(window->winId(), 16);
}

} // namespace

PortalFilePick::PortalFilePick(QObject *parent)
    : QObject(parent)
    , m_service(QStringLiteral("org.freedesktop.portal.Desktop"))
{
}

void PortalFilePick::open(const QString &title, bool multiple, const QStringList &nameFilters,
                          QWindow *window)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        Q_EMIT unavailable();
        return;
    }
    const QString token = QStringLiteral("vorna%1").arg(QRandomGenerator::global()->generate());
    listen(expectedHandle(bus.baseService(), token));
    QDBusMessage call = QDBusMessage::createMethodCall(m_service, portalPath,
                                                       QStringLiteral("org.freedesktop.portal.FileChooser"),
                                                       QStringLiteral("OpenFile"));
    call << parentWindow(window) << title
         << openFileOptions(token, multiple, nameFilters, FileChooser::picturesFolder().toLocalFile());
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, token](QDBusPendingCallWatcher *sent) {
        sent->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *sent;
        if (!m_handle.endsWith(u'/' + token))
            return; // answered already, or a later pick took over
        if (reply.isError()) {
            qCInfo(lcUi, "the desktop's file chooser did not take the pick (%s)",
                   qPrintable(reply.error().name()));
            stopListening();
            Q_EMIT unavailable();
            return;
        }
        // An older portal makes a path of its own.
        if (reply.value().path() != m_handle)
            listen(reply.value().path());
    });
}

void PortalFilePick::respond(uint response, const QVariantMap &results)
{
    stopListening();
    if (response != 0)
        return; // cancelled, or ended another way: nothing picked
    QList<QUrl> files;
    for (const QString &uri : results.value(QStringLiteral("uris")).toStringList())
        files.append(QUrl(uri));
    Q_EMIT picked(files);
}

void PortalFilePick::listen(const QString &handle)
{
    const bool was = picking();
    disconnectHandle();
    m_handle = handle;
    // The portal's answer only: no other program on the bus hands the pick its files.
    QDBusConnection::sessionBus().connect(m_service, m_handle, requestInterface, QStringLiteral("Response"),
                                          this, SLOT(respond(uint, QVariantMap)));
    if (!was)
        Q_EMIT pickingChanged();
}

void PortalFilePick::stopListening()
{
    if (m_handle.isEmpty())
        return;
    disconnectHandle();
    m_handle.clear();
    Q_EMIT pickingChanged();
}

void PortalFilePick::disconnectHandle()
{
    if (!m_handle.isEmpty())
        QDBusConnection::sessionBus().disconnect(m_service, m_handle, requestInterface,
                                                 QStringLiteral("Response"), this,
                                                 SLOT(respond(uint, QVariantMap)));
}

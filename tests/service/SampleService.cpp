#include "SampleService.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QRandomGenerator>
#include <QSslKey>
#include <QTcpSocket>
#include <QTimer>

#include <sys/socket.h>

namespace Sample {

struct Service::HeldAnswer
{
    QPointer<QTcpSocket> socket; // gone when the client gave up
    Request request;
    Reply reply;
    Fault fault;
    QHttpServerResponder responder;
};

namespace {

QByteArray methodName(QHttpServerRequest::Method method)
{
    switch (method) {
    case QHttpServerRequest::Method::Get:
        return "GET";
    case QHttpServerRequest::Method::Head:
        return "HEAD";
    case QHttpServerRequest::Method::Post:
        return "POST";
    case QHttpServerRequest::Method::Put:
        return "PUT";
    case QHttpServerRequest::Method::Delete:
        return "DELETE";
    case QHttpServerRequest::Method::Patch:
        return "PATCH";
    case QHttpServerRequest::Method::Options:
        return "OPTIONS";
    default:
        return "UNKNOWN";
    }
}

QByteArray readResource(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray chunked(const QByteArray &body)
{
    constexpr qsizetype piece = 16 * 1024;
    QByteArray framed;
    for (qsizetype at = 0; at < body.size(); at += piece) {
        const QByteArray part = body.mid(at, piece);
        framed += QByteArray::number(part.size(), 16) + "\r\n" + part + "\r\n";
    }
    return framed + "0\r\n\r\n";
}

QByteArray paddedJson(qint64 size)
{
    QByteArray body = "{\"padding\":\"";
    const QByteArray end = "\"}";
    body += QByteArray(qMax<qint64>(0, size - body.size() - end.size()), 'x');
    return body + end;
}

} // namespace

QByteArray Request::header(const QByteArray &name) const
{
    for (const auto &[key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

QJsonValue Request::json() const
{
    if (body.trimmed() == "null")
        return QJsonValue::Null;
    const QJsonDocument document = QJsonDocument::fromJson(body);
    if (document.isObject())
        return document.object();
    if (document.isArray())
        return document.array();
    return QJsonValue::Undefined;
}

Reply Reply::json(const QJsonValue &value, int status)
{
    QByteArray body;
    if (value.isObject())
        body = QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    else if (value.isArray())
        body = QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact);
    else if (value.isNull())
        body = "null";
    return {status, "application/json", {}, body};
}

Reply Reply::message(int status, const QString &message)
{
    return json(QJsonObject{{"message", message}}, status);
}

Reply Reply::html(const QByteArray &page, int status)
{
    return {status, "text/html; charset=utf-8", {}, page};
}

Reply Reply::redirect(const QString &location, int status)
{
    Reply reply = html("<html><body>Moved</body></html>", status);
    reply.headers.append({"Location", location.toUtf8()});
    return reply;
}

Reply Reply::bytes(const QByteArray &data, const QByteArray &contentType, int status)
{
    return {status, contentType, {}, data};
}

Service::Service(QObject *parent, const QString &dataFolder)
    : QObject(parent)
    , m_server(std::make_unique<QHttpServer>())
{
    loadData(dataFolder.isEmpty() ? QStringLiteral(":/sample-service/data") : dataFolder);
    m_server->setMissingHandler([this](const QHttpServerRequest &request, QHttpServerResponder &&responder) {
        dispatch(request, std::move(responder));
    });
    addAccountRoutes();
    addMemberRoutes();
    addImageRoutes();
    addReleaseRoutes();
    addForumRoutes();
}

Service::~Service() = default;

QSslCertificate Service::certificate()
{
    return QSslCertificate(readResource(QStringLiteral(":/sample-service/test-cert.pem")), QSsl::Pem);
}

bool Service::standIn(const QString &folder, const QStringList &sites) const
{
    const QString path = QDir(folder).filePath(QStringLiteral("sample.pem"));
    QFile pem(path);
    if (!pem.open(QIODevice::WriteOnly) || pem.write(certificate().toPem()) < 0)
        return false;
    pem.close();
    for (const QString &site : sites) {
        qputenv(qPrintable(QStringLiteral("VORNA_%1_ORIGIN").arg(site)), origin().toString().toUtf8());
        qputenv(qPrintable(QStringLiteral("VORNA_%1_CA").arg(site)), path.toLocal8Bit());
    }
    return true;
}

bool Service::start(quint16 port)
{
    const QSslKey key(readResource(QStringLiteral(":/sample-service/test-key.pem")), QSsl::Rsa, QSsl::Pem);
    m_server->sslSetup(certificate(), key);
    m_port = m_server->listen(QHostAddress::LocalHost, port);
    return m_port != 0;
}

QUrl Service::origin() const
{
    QUrl origin;
    origin.setScheme(QStringLiteral("https"));
    origin.setHost(QStringLiteral("127.0.0.1"));
    origin.setPort(m_port);
    return origin;
}

void Service::route(const QByteArray &method, const QString &pattern, Handler handler)
{
    m_routes.prepend({method, pattern.split(QLatin1Char('/')), std::move(handler)});
}

void Service::setFault(const QString &path, const Fault &fault) { m_faults.insert(path, fault); }

void Service::clearFaults() { m_faults.clear(); }

QList<Request> Service::requestsTo(const QString &path) const
{
    QList<Request> found;
    for (const Request &request : m_requests) {
        if (request.path == path)
            found.append(request);
    }
    return found;
}

Account *Service::account(const QString &id)
{
    for (Account &account : m_accounts) {
        if (account.id == id)
            return &account;
    }
    return nullptr;
}

Account *Service::accountNamed(const QString &username)
{
    // As on the member site, a user name is found in any letter case; the account keeps its own.
    for (Account &account : m_accounts) {
        if (account.username.compare(username, Qt::CaseInsensitive) == 0)
            return &account;
    }
    return nullptr;
}

Account *Service::signedIn(const Request &request)
{
    const auto found = m_sessions.constFind(request.cookies.value(sessionCookie));
    return found == m_sessions.constEnd() ? nullptr : account(found->accountId);
}

QByteArray Service::openSession(const QString &accountId, bool remember)
{
    QByteArray token(24, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(token.data()), token.size() / 4);
    token = token.toHex();
    m_sessions.insert(token, {accountId, remember});
    QByteArray cookie = QByteArray(sessionCookie) + '=' + token + "; Path=/; Secure; HttpOnly; SameSite=Lax";
    if (remember)
        cookie += "; Max-Age=2592000";
    return cookie;
}

void Service::closeSession(const Request &request)
{
    m_sessions.remove(request.cookies.value(sessionCookie));
}

void Service::loadData(const QString &folder)
{
    const QDir dir(folder);
    for (const QFileInfo &file : dir.entryInfoList({QStringLiteral("*.json")}, QDir::Files)) {
        QFile source(file.absoluteFilePath());
        if (!source.open(QIODevice::ReadOnly))
            continue;
        const QJsonDocument document = QJsonDocument::fromJson(source.readAll());
        m_data.insert(file.completeBaseName(),
                      document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object()));
    }
    for (const QJsonValue &row : m_data.value(QStringLiteral("accounts")).toArray()) {
        const QJsonObject o = row.toObject();
        m_accounts.append({o.value("id").toString(), o.value("username").toString(),
                           o.value("password").toString(), o.value("name").toString(),
                           o.value("role").toString(), o.value("mustChangePassword").toBool(),
                           o.value("needsProfileSetup").toBool(), o.value("profile").toObject()});
    }
}

std::optional<Fault> Service::takeFault(const Request &request)
{
    const QString query = request.query.isEmpty() ? QString() : request.query.toString(QUrl::FullyDecoded);
    const QString withQuery = query.isEmpty() ? QString() : request.path + QLatin1Char('?') + query;
    for (const QString &key : {withQuery, request.path, QStringLiteral("*")}) {
        if (key.isEmpty())
            continue;
        auto found = m_faults.find(key);
        if (found == m_faults.end() || (!found->method.isEmpty() && found->method != request.method))
            continue;
        Fault fault = *found;
        if (found->times > 0 && --found->times == 0)
            m_faults.erase(found);
        return fault;
    }
    return std::nullopt;
}

void Service::dispatch(const QHttpServerRequest &incoming, QHttpServerResponder &&responder)
{
    Request request;
    request.method = methodName(incoming.method());
    request.path = incoming.url().path();
    request.query = incoming.query();
    request.headers = incoming.headers();
    request.body = incoming.body();
    for (const auto &[name, value] : request.headers) {
        if (name.compare("Cookie", Qt::CaseInsensitive) != 0)
            continue;
        for (const QByteArray &pair : value.split(';')) {
            const qsizetype equals = pair.indexOf('=');
            if (equals > 0)
                request.cookies.insert(pair.left(equals).trimmed(), pair.mid(equals + 1).trimmed());
        }
    }

    const std::optional<Fault> fault = takeFault(request);
    Reply reply;
    if (fault && fault->redirect)
        reply = Reply::redirect(fault->redirect->toString());
    else if (!fault || !fault->unheard)
        reply = answer(request);
    m_requests.append(request);

    if (fault && fault->html)
        reply = Reply::html(*fault->html, fault->status.value_or(reply.status));
    else if (fault && fault->json)
        reply = Reply::json(*fault->json, fault->status.value_or(reply.status));
    else if (fault && fault->rawJson)
        reply = Reply::bytes(*fault->rawJson, "application/json", fault->status.value_or(reply.status));
    else if (fault && fault->status)
        reply = Reply::message(*fault->status, QStringLiteral("样例服务按要求返回 %1。").arg(*fault->status));
    if (fault && fault->oversize)
        reply = Reply::bytes(paddedJson(*fault->oversize), "application/json", reply.status);
    if (fault)
        reply.headers += fault->headers;
    send(request, std::move(reply), fault, std::move(responder));
}

Reply Service::answer(Request &request)
{
    // Like the real site, writes are accepted only from the site's own pages.
    if (request.method == "POST" && request.header("Origin") != origin().toString().toUtf8())
        return Reply::message(403, QStringLiteral("请求来源无效。"));

    const QStringList segments = request.path.split(QLatin1Char('/'));
    const QByteArray method = request.method == "HEAD" ? QByteArray("GET") : request.method;
    bool pathKnown = false;
    for (const Route &route : std::as_const(m_routes)) {
        if (route.segments.size() != segments.size())
            continue;
        QHash<QString, QString> parameters;
        bool matches = true;
        for (qsizetype i = 0; i < segments.size() && matches; ++i) {
            const QString &expected = route.segments.at(i);
            if (expected.startsWith(QLatin1Char('{')) && expected.endsWith(QLatin1Char('}'))
                && !segments.at(i).isEmpty())
                parameters.insert(expected.mid(1, expected.size() - 2), segments.at(i));
            else
                matches = expected == segments.at(i);
        }
        if (!matches)
            continue;
        pathKnown = true;
        if (route.method != method)
            continue;
        request.parameters = parameters;
        return route.handler(*this, request);
    }
    return pathKnown ? Reply::message(405, QStringLiteral("不支持该请求方法。"))
                     : Reply::message(404, QStringLiteral("未找到该资源。"));
}

void Service::send(const Request &request, Reply reply, const std::optional<Fault> &fault,
                   QHttpServerResponder &&responder)
{
    if (fault && fault->held) {
        Fault rest = *fault;
        rest.held = false;
        QTcpSocket *socket = responder.socket();
        m_held.push_back(std::unique_ptr<HeldAnswer>(
            new HeldAnswer{socket, request, std::move(reply), rest, std::move(responder)}));
        return;
    }
    if (fault && fault->reset) {
        // A zero linger time makes the close a reset (RST) rather than an orderly end.
        QTcpSocket *socket = responder.socket();
        const linger abrupt{1, 0};
        ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &abrupt, sizeof abrupt);
        socket->abort();
        return;
    }
    const bool undeclared = fault && fault->undeclaredLength && request.method != "HEAD";
    const int delay = fault ? fault->bodyDelayMs.value_or(0) : 0;
    QByteArray body = undeclared ? chunked(reply.body) : reply.body;

    responder.writeStatusLine(static_cast<QHttpServerResponder::StatusCode>(reply.status));
    responder.writeHeader("Content-Type", reply.contentType);
    for (const auto &[name, value] : std::as_const(reply.headers))
        responder.writeHeader(name, value);
    if (undeclared)
        responder.writeHeader("Transfer-Encoding", "chunked");
    else
        responder.writeHeader("Content-Length", QByteArray::number(reply.body.size()));

    if (request.method == "HEAD")
        body.clear();
    const bool cut = fault && fault->cutAfter && !undeclared && request.method != "HEAD";
    const int trickle = fault && request.method != "HEAD" ? fault->trickleMs.value_or(0) : 0;
    if (delay == 0 && !cut && trickle == 0) {
        responder.writeBody(body);
        return;
    }
    // The headers go out now, the body after the wait, unless the client has gone by then. A cut body
    // ends with the connection, short of the length the headers declared.
    QTcpSocket *socket = responder.socket();
    socket->write("\r\n");
    if (trickle > 0) {
        // A slow answer that never stalls: a piece after each step.
        const qsizetype piece = std::max<qsizetype>(1, (body.size() + 7) / 8);
        int step = 1;
        for (qsizetype at = 0; at < body.size(); at += piece, ++step) {
            QTimer::singleShot(delay + step * trickle, socket,
                               [socket, part = body.mid(at, piece)] { socket->write(part); });
        }
        return;
    }
    if (cut)
        body.truncate(qBound<qint64>(0, *fault->cutAfter, body.size()));
    QTimer::singleShot(delay, socket, [socket, body, cut] {
        socket->write(body);
        if (cut)
            socket->disconnectFromHost();
    });
}

void Service::release()
{
    const auto held = std::exchange(m_held, {});
    for (const std::unique_ptr<HeldAnswer> &answer : held) {
        if (answer->socket)
            send(answer->request, std::move(answer->reply), answer->fault, std::move(answer->responder));
    }
}

} // namespace Sample

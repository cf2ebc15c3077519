// Sign-in, the signed-in user, sign-out and the account gate pages.
#include "SampleService.h"

#include <QCryptographicHash>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QPainter>

namespace Sample {

namespace {

QJsonObject userJson(const Account &account)
{
    QJsonObject user{{"id", account.id}, {"username", account.username}, {"role", account.role}};
    if (!account.name.isEmpty())
        user.insert("name", account.name);
    return user;
}

const QByteArray page = "<!doctype html><html><body>Vornalia</body></html>";

// The gate pages send a member who may not use them yet to the page that he must see first.
Reply gate(Service &service, const Request &request, bool staffPage)
{
    const Account *account = service.signedIn(request);
    if (!account)
        return Reply::redirect(QStringLiteral("/login"));
    if (account->mustChangePassword)
        return Reply::redirect(QStringLiteral("/change-password"));
    if (account->needsProfileSetup)
        return Reply::redirect(QStringLiteral("/profile?setup=1"));
    const bool staff = account->role == QLatin1String("admin") || account->role == QLatin1String("developer");
    if (staffPage && !staff)
        return Reply::redirect(QStringLiteral("/member"));
    return Reply::html(page);
}

} // namespace

QByteArray Service::avatarPicture(const QString &accountId)
{
    const QByteArray hash = QCryptographicHash::hash(accountId.toUtf8(), QCryptographicHash::Sha1);
    QImage picture(128, 128, QImage::Format_ARGB32_Premultiplied);
    picture.fill(QColor(quint8(hash[0]), quint8(hash[1]), quint8(hash[2])));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawEllipse(QPointF(64, 50), 24, 24);
    painter.drawEllipse(QRectF(24, 82, 80, 70));
    painter.end();
    return encodedPicture(picture);
}

void Service::addAccountRoutes()
{
    route("POST", "/api/login", [](Service &service, const Request &request) {
        const QJsonObject body = request.json().toObject();
        Account *account = service.accountNamed(body.value("username").toString());
        if (!account || account->password != body.value("password").toString())
            return Reply::message(401, QStringLiteral("用户名或密码错误。"));
        Reply reply =
            Reply::json(QJsonObject{{"redirect", account->role == "member" ? "/member" : "/admin"}});
        reply.headers.append(
            {"Set-Cookie", service.openSession(account->id, body.value("rememberMe").toBool())});
        return reply;
    });
    route("GET", "/api/me", [](Service &service, const Request &request) {
        const Account *account = service.signedIn(request);
        if (!account)
            return Reply::message(401, QStringLiteral("请先登录。"));
        return Reply::json(QJsonObject{{"user", userJson(*account)}});
    });
    route("POST", "/api/logout", [](Service &service, const Request &request) {
        service.closeSession(request);
        Reply reply = Reply::json(QJsonObject{{"ok", true}});
        reply.headers.append(
            {"Set-Cookie", QByteArray(sessionCookie) + "=; Path=/; Secure; HttpOnly; Max-Age=0"});
        return reply;
    });

    route("GET", "/api/profile", [](Service &service, const Request &request) {
        const Account *account = service.signedIn(request);
        if (!account)
            return Reply::message(401, QStringLiteral("请先登录。"));
        return Reply::json(QJsonObject{{"profile", account->profile}});
    });
    route("GET", "/api/profile/avatar", [](Service &service, const Request &request) {
        const Account *account = service.signedIn(request);
        if (!account)
            return Reply::message(401, QStringLiteral("请先登录。"));
        if (!account->profile.value("hasAvatar").toBool())
            return Reply::message(404, QStringLiteral("尚未上传头像。"));
        if (!account->avatar.isEmpty())
            return Reply::bytes(account->avatar, account->avatarType);
        return Reply::bytes(avatarPicture(account->id), "image/png");
    });
    route("GET", "/member",
          [](Service &service, const Request &request) { return gate(service, request, false); });
    route("GET", "/admin",
          [](Service &service, const Request &request) { return gate(service, request, true); });
    for (const char *path : {"/login", "/change-password", "/profile"})
        route("GET", QString::fromLatin1(path), [](Service &, const Request &) { return Reply::html(page); });
}

} // namespace Sample

#include "AccountSessionVault.h"

#include "APIError.h"
#include "Json.h"

#include <QSet>

namespace {

QByteArray base64(const QJsonValue &value, QStringView where)
{
    const QByteArray text = JsonFields::toString(value, where).toLatin1();
    // Complete final groups only, as the stored form is always written.
    const auto decoded = QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || text.size() % 4 != 0)
        throw DecodeError(QStringLiteral("%1 is not Base64").arg(where));
    return *decoded;
}

bool withinLimits(const QList<SavedLogin> &logins)
{
    QSet<QString> users;
    for (const SavedLogin &login : logins)
        users.insert(login.id());
    return logins.size() <= AccountSessionVault::maxAccounts && users.size() == logins.size();
}

} // namespace

SavedLogin SavedLogin::fromJson(const QJsonValue &value)
{
    const JsonFields fields(value, false);
    SavedLogin login{fields.record<User>(u"user"), base64(fields.required(u"session"), u"session"), {}};
    const QJsonValue avatar = fields.optional(u"avatar");
    if (!avatar.isUndefined())
        login.avatar = base64(avatar, u"avatar");
    return login;
}

QJsonObject SavedLogin::toJson() const
{
    QJsonObject object{{QStringLiteral("user"), user.toJson()},
                       {QStringLiteral("session"), QString::fromLatin1(session.toBase64())}};
    if (avatar)
        object.insert(QStringLiteral("avatar"), QString::fromLatin1(avatar->toBase64()));
    return object;
}

AccountSessionVault::AccountSessionVault(SessionStorePtr store)
    : m_store(std::move(store))
{
}

QCoro::Task<QList<SavedLogin>> AccountSessionVault::load() const
{
    const SessionStorePtr store = m_store;
    const std::optional<QByteArray> bytes = co_await store->read();
    if (!bytes)
        co_return QList<SavedLogin>();
    const QJsonValue value = Json::parse(*bytes);
    if (!value.isArray())
        throw DecodeError(QStringLiteral("the saved accounts are not a list"));
    QList<SavedLogin> logins;
    for (const QJsonValue &item : value.toArray())
        logins.append(SavedLogin::fromJson(item));
    // Shown as it stands in every language.
    if (!withinLimits(logins))
        throw APIError(400, QStringLiteral("本地账号资料无效。"));
    co_return logins;
}

QCoro::Task<> AccountSessionVault::save(QList<SavedLogin> logins, KeyringPrompt prompt) const
{
    if (!withinLimits(logins))
        throw APIError(400, QStringLiteral("最多保存两个账号，请先移除一个。"));
    QJsonArray list;
    for (const SavedLogin &login : std::as_const(logins))
        list.append(login.toJson());
    const SessionStorePtr store = m_store;
    co_await store->write(Json::compact(list), prompt);
}

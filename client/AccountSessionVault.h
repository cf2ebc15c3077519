#pragma once

#include "AccountRecords.h"
#include "SessionStore.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>

#include <optional>

// One saved account: the user, the cookie JSON of their session and, when fetched, their avatar.
struct SavedLogin
{
    User user;
    QByteArray session;
    std::optional<QByteArray> avatar;

    const QString &id() const { return user.id; }
    bool operator==(const SavedLogin &) const = default;

    // "session" and "avatar" travel as standard Base64; a damaged one fails the whole list.
    static SavedLogin fromJson(const QJsonValue &value);
    QJsonObject toJson() const;
};

// The saved accounts, at most two with distinct users, as one JSON item in a store ("saved-accounts-v1").
class AccountSessionVault
{
public:
    explicit AccountSessionVault(SessionStorePtr store);

    // Throws DecodeError for an unreadable item and APIError 400 "本地账号资料无效。" for one that breaks
    // the limits.
    QCoro::Task<QList<SavedLogin>> load() const;
    // Throws APIError 400 "最多保存两个账号，请先移除一个。" (nothing is written) for a list over the limits.
    // `prompt`: whether the member asked for this list to be kept ("登录并保存").
    QCoro::Task<> save(QList<SavedLogin> logins, KeyringPrompt prompt = KeyringPrompt::Avoid) const;

    static constexpr int maxAccounts = 2;

private:
    SessionStorePtr m_store;
};

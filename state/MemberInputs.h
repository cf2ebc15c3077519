#pragma once

#include "APIClient.h"
#include "MemberData.h"

#include <QPointer>
#include <QString>

#include <optional>

// What a screen that shows the member data and asks the service for more of its own is handed by its
// view: the member data, the client, and the signed-in member's user name (empty when nobody is signed
// in). The screen's model declares them as its properties and tells its view of a change with its own
// signals; it follows the member data with `retarget`.
class MemberInputs
{
public:
    MemberData *memberData() const { return m_data; }
    APIClient *client() const { return m_client; }
    QString username() const { return m_username; }
    // The same, or none when nobody is signed in.
    std::optional<QString> signedInUser() const
    {
        return m_username.isEmpty() ? std::nullopt : std::optional(m_username);
    }

protected:
    // Each false when it is the one held already; the caller then tells nobody.
    bool takeClient(APIClient *client)
    {
        if (m_client == client)
            return false;
        m_client = client;
        return true;
    }
    bool takeUsername(const QString &username)
    {
        if (m_username == username)
            return false;
        m_username = username;
        return true;
    }

    QPointer<MemberData> m_data;
    QPointer<APIClient> m_client;
    QString m_username;
};

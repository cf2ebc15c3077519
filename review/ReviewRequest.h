#pragma once

#include "AppState.h"

#include <QPointer>

#include <QCoro/QCoroTask>

namespace ReviewRequest {

// A GET through the account's current client, read as T; cancelled when the account has no client.
template <typename T>
QCoro::Task<APIClient::Answer<T>> get(QPointer<AppState> app, QString path)
{
    return APIClient::get<T>(app ? app->api() : nullptr, std::move(path));
}

} // namespace ReviewRequest

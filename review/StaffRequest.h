#pragma once

#include "AppState.h"

#include <QPointer>

#include <QCoro/QCoroTask>

namespace StaffRequest {

// A GET through the account's current client, read as T; cancelled when the account has no client.
template <typename T>
QCoro::Task<T> get(QPointer<AppState> app, QString path)
{
    if (!app || !app->api())
        throw CancellationError();
    APIClient *client = app->api();
    co_return co_await client->decode<T>(client->makeRequest(path, "GET"));
}

} // namespace StaffRequest

#include "APIError.h"

#include "Json.h"
#include "L.h"

QString errorMessage(const std::exception &error)
{
    if (const auto *api = dynamic_cast<const APIError *>(&error))
        return api->message();
    if (const auto *transport = dynamic_cast<const TransportError *>(&error))
        return transport->description();
    if (dynamic_cast<const CancellationError *>(&error))
        return {};
    if (dynamic_cast<const DecodeError *>(&error))
        return L("数据格式不正确，无法读取。");
    return QString::fromUtf8(error.what());
}

QString unknownErrorMessage() { return L("发生未知错误。"); }

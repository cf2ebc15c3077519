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

QString TransportError::messageFor(QNetworkReply::NetworkError code)
{
    switch (code) {
    case QNetworkReply::ConnectionRefusedError:
        return L("无法连接到服务器，请检查网络连接后重试。");
    case QNetworkReply::HostNotFoundError:
        return L("找不到服务器，请检查网络连接或 DNS 设置后重试。");
    case QNetworkReply::TimeoutError:
        return L("请求超时，请检查网络连接后重试。");
    case QNetworkReply::RemoteHostClosedError:
        return L("连接在回答收完之前中断，请检查网络连接后重试。");
    case QNetworkReply::SslHandshakeFailedError:
        return L("无法建立安全连接，请检查系统时间和网络环境后重试。");
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return L("无法通过代理服务器连接，请检查代理设置后重试。");
    default:
        return L("网络连接出现问题，请检查网络连接后重试。");
    }
}

QString unknownErrorMessage() { return L("发生未知错误。"); }

QString failureMessage(const QByteArray &body, int status)
{
    try {
        const QJsonValue value = Json::parse(body);
        if (value.isObject()) {
            const std::optional<QString> message = JsonFields(value).optionalString(u"message");
            if (message)
                return *message;
        }
    } catch (const DecodeError &) {
    }
    return L("请求未完成（%@），请稍后重试。", status);
}

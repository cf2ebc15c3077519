#pragma once

#include <QObject>
#include <QQmlEngine>
#include <QWebEngineCertificateError>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNavigationRequest>

// The authorisation browser's web engine side: hands what the web view reports to the browser's
// LiveAuthorizationCoordinator as plain values and carries out its answers. It is a plugin of its own, so
// the web engine's libraries load when the Live page first opens the vendor's sign-in, not with the app;
// it reaches the coordinator through its meta-object alone.
class LiveWebEngine : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    // Lets the web view go where the coordinator allows, and no further.
    Q_INVOKABLE static void judge(QWebEngineNavigationRequest *request, QObject *coordinator);
    // A page's load ended (the vendor's own page for an HTTP error status counts as shown) or failed.
    Q_INVOKABLE static void loading(const QWebEngineLoadingInfo &info, QObject *coordinator);
    // Accepts a certificate the system does not trust only where the coordinator trusts its chain.
    Q_INVOKABLE static void judgeCertificate(const QWebEngineCertificateError &error, QObject *coordinator);
};

#include "LiveWebEngine.h"

#include "LiveLog.h"

namespace {

// Hands the coordinator one report; false, and a warning, when it has no such method.
template <typename... Arguments>
bool tell(QObject *coordinator, const char *method, Arguments... arguments)
{
    if (coordinator && QMetaObject::invokeMethod(coordinator, method, Qt::DirectConnection, arguments...))
        return true;
    qCWarning(lcLive, "the authorisation browser has no coordinator answering %s", method);
    return false;
}

} // namespace

void LiveWebEngine::judge(QWebEngineNavigationRequest *request, QObject *coordinator)
{
    if (!request)
        return;
    bool allowed = false;
    if (tell(coordinator, "allows", Q_RETURN_ARG(bool, allowed), Q_ARG(QUrl, request->url())) && allowed)
        request->accept();
    else
        request->reject();
}

void LiveWebEngine::loading(const QWebEngineLoadingInfo &info, QObject *coordinator)
{
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
    case QWebEngineLoadingInfo::LoadStoppedStatus:
        // A navigation we cancelled ends as stopped: refused silently.
        break;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
        tell(coordinator, "loadEnded", Q_ARG(bool, true), Q_ARG(QString, QString()));
        break;
    case QWebEngineLoadingInfo::LoadFailedStatus:
        // An HTTP error status is a page the vendor shows; only a page that could not be had is a failure.
        tell(coordinator, "loadEnded",
             Q_ARG(bool, info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain),
             Q_ARG(QString, info.errorString()));
        break;
    }
}

void LiveWebEngine::judgeCertificate(const QWebEngineCertificateError &error, QObject *coordinator)
{
    QWebEngineCertificateError decision = error;
    bool trusted = false;
    if (decision.isOverridable()
        && tell(coordinator, "trustsCertificate", Q_RETURN_ARG(bool, trusted), Q_ARG(QUrl, decision.url()),
                Q_ARG(QList<QSslCertificate>, decision.certificateChain()))
        && trusted)
        decision.acceptCertificate();
    else
        decision.rejectCertificate();
}

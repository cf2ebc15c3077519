// The release manifest the organisation publishes on the member site, for the app's update check.
#include "SampleService.h"

#include "BuildInfo.h"

#include <QJsonObject>

namespace Sample {

namespace {
const QString manifestPath = QStringLiteral("/downloads/linux/latest.json");
}

void Service::publishRelease(Release release)
{
    QJsonObject manifest = data(QStringLiteral("release")).toObject();
    const qint64 ours = QByteArray(BuildInfo::build).toLongLong();
    switch (release) {
    case Release::Newer:
        manifest.insert("build", ours + 1);
        break;
    case Release::Current:
        manifest.insert("version", QString::fromLatin1(BuildInfo::version));
        manifest.insert("build", ours);
        break;
    case Release::Malformed:
        // The build number as text: the app must refuse the whole manifest.
        manifest.insert("build", QString::number(ours + 1));
        break;
    }
    m_release = manifest;
}

void Service::addReleaseRoutes()
{
    publishRelease(Release::Newer);
    route("GET", manifestPath,
          [](Service &service, const Request &) { return Reply::json(service.m_release); });
}

} // namespace Sample

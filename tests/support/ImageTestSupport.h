#pragma once

// The picture service of a screen under test, installed as main/ would install the app's own.
#include "AircraftImageService.h"
#include "Installed.h"
#include "SampleService.h"

#include <memory>
#include <optional>

namespace TestSupport {

// Where the sample service keeps the livery catalog.
inline const QString catalogPath = QStringLiteral("/live-map-assets/liveries/catalog.json");

// The options with the livery catalog and pictures coming from the sample service, its certificate trusted.
inline AircraftImageService::Options pictureOptions(const Sample::Service &service,
                                                    AircraftImageService::Options options = {})
{
    options.origin = service.origin();
    options.trustedCertificates = {Sample::Service::certificate()};
    return options;
}

// A picture service of the sample service, with no disk cache.
inline std::unique_ptr<AircraftImageService> pictureService(const Sample::Service &service)
{
    return std::make_unique<AircraftImageService>(pictureOptions(service));
}

// Makes and installs one for as long as it lives.
struct InstalledPictures
{
    explicit InstalledPictures(const Sample::Service &service)
        : service(pictureService(service))
        , installed(*this->service)
    {
    }
    std::unique_ptr<AircraftImageService> service;
    Installed<AircraftImageService> installed;
};

} // namespace TestSupport

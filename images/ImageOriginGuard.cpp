#include "ImageOriginGuard.h"

#include "AircraftCatalog.h"

namespace {

int effectivePort(const QUrl &url)
{
    const int fallback = url.scheme() == QLatin1String("https")  ? 443
                         : url.scheme() == QLatin1String("http") ? 80
                                                                 : -1;
    return url.port(fallback);
}

} // namespace

ImageOriginGuard::ImageOriginGuard(QUrl origin)
    : m_origin(std::move(origin))
{
}

bool ImageOriginGuard::allows(const QUrl &target) const
{
    if (!target.isValid() || target.isEmpty())
        return false;
    if (target.scheme() != m_origin.scheme())
        return false;
    if (target.host().isEmpty() || target.host() != m_origin.host())
        return false;
    if (effectivePort(target) != effectivePort(m_origin))
        return false;
    if (!target.userName().isEmpty() || !target.password().isEmpty())
        return false;
    return AircraftPhotoReference::isPublicAssetPath(target.path(QUrl::FullyEncoded));
}

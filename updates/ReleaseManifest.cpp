#include "ReleaseManifest.h"

#include "Json.h"

ReleaseManifest ReleaseManifest::fromJson(const QJsonValue &value)
{
    const JsonFields fields(value, false);
    ReleaseManifest release;
    release.version = fields.string(u"version");
    release.build = fields.integer(u"build");
    release.url = fields.string(u"url");
    release.notes = fields.optionalString(u"notes");
    release.minimumSystemVersion = fields.optionalString(u"minimumSystemVersion");
    return release;
}

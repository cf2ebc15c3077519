#include "MacRelease.h"

#include "Json.h"

MacRelease MacRelease::fromJson(const QJsonValue &value)
{
    const JsonFields fields(value, false);
    MacRelease release;
    release.version = fields.string(u"version");
    release.build = fields.integer(u"build");
    release.url = fields.string(u"url");
    release.notes = fields.optionalString(u"notes");
    release.minimumSystemVersion = fields.optionalString(u"minimumSystemVersion");
    return release;
}

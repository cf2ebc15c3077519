#include "ReviewRecords.h"

#include "Json.h"

ReviewEntry ReviewEntry::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.optionalString(u"kind"),     f.optionalNumber(u"at"),       f.optionalString(u"actor"),
            f.optionalString(u"toStatus"), f.optionalString(u"toReason"), f.optionalNumber(u"toPercent")};
}

ReviewHistory ReviewHistory::fromJson(const QJsonValue &value)
{
    return {JsonFields(value).list<ReviewEntry>(u"entries")};
}

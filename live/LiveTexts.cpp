#include "LiveTexts.h"

#include "L.h"
#include "WireTime.h"

#include <cmath>

namespace LiveApplicationTint {

Theme::Role tint(const QString &status)
{
    if (status == QStringLiteral("approved"))
        return Theme::Approved;
    if (status == QStringLiteral("rejected"))
        return Theme::Rejected;
    if (status == QStringLiteral("needs_review"))
        return Theme::Accent;
    return Theme::Pending;
}

} // namespace LiveApplicationTint

namespace LivePilotTag {

std::optional<QString> ago(const std::optional<QString> &seenAt, const QDateTime &now)
{
    const auto seen = WireTime::parse(seenAt);
    if (!seen)
        return std::nullopt;
    // Whole minutes, truncated toward zero; a time ahead of the clock is "just now".
    const qint64 minutes = seen->msecsTo(now) / 60000;
    if (minutes < 1)
        return L(TEXT_KEY(" · 刚刚"));
    return L(TEXT_KEY(" · %@ 分钟前"), minutes);
}

std::optional<QString> ago(const std::optional<QString> &seenAt)
{
    return ago(seenAt, QDateTime::currentDateTimeUtc());
}

} // namespace LivePilotTag

#pragma once

#include "LiveScheduleRecords.h"
#include "Theme.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace LiveApplicationTint {
// The colour of an application's status; the status is matched exactly, anything unknown is pending.
Theme::Role tint(const QString &status);
} // namespace LiveApplicationTint

namespace LivePilotTag {
// " · 刚刚" or " · %@ 分钟前" after the previous pilot's name; none when the time cannot be read.
std::optional<QString> ago(const std::optional<QString> &seenAt, const QDateTime &now);
std::optional<QString> ago(const std::optional<QString> &seenAt);
} // namespace LivePilotTag

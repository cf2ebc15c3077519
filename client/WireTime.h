#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// The times the member service writes as text.
namespace WireTime {

// An ISO 8601 time: "2024-05-01T08:30:00", with optional fractional seconds and a zone "Z" or "±hh:mm"
// (none means UTC). Anything else, a zone without its colon included, gives no time.
std::optional<QDateTime> parse(const std::optional<QString> &text);

} // namespace WireTime

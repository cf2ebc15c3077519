#pragma once

#include "CommunityRecords.h"

#include <QList>
#include <QSet>
#include <QString>

#include <optional>

class QSettings;

// The read marks that earlier versions kept on this machine, per user, and the flag that says they have
// been handed to the service. The marks are only ever read here.
namespace ReadMarks {

// "notification-read." + user id: the marks, a list of texts.
QString marksKey(const QString &userId);
// "notification-server-read-migrated." + user id: true once the marks are handed over.
QString migratedKey(const QString &userId);

// `occurredAt` as the marks write it: the shortest round-trip decimal with ".0" on whole values, and the
// value truncated to a 64-bit integer (none when it is not finite or out of that range).
QString decimalForm(double value);
std::optional<QString> integerForm(double value);

// "pending" for a received report whatever its status says; else the status, or empty without one.
QString statusWord(const SiteNotice &notice);
// "event:" + entityId for an event; else entityId:status:occurredAt in the decimal form, then in the
// integer form. Exact text comparison.
bool matches(const SiteNotice &notice, const QSet<QString> &marks);
// The ids of the matching notices, read or not, in the inbox's order.
QList<QString> matchingIds(const SiteInbox &inbox, const QSet<QString> &marks);

// The user's marks; a missing or unreadable entry is no marks.
QSet<QString> stored(const QSettings &settings, const QString &userId);
bool isMigrated(const QSettings &settings, const QString &userId);

} // namespace ReadMarks

#include "ReadMarks.h"

#include "L.h"
#include "NoticeText.h"

#include <QSettings>

#include <cmath>

namespace ReadMarks {

QString marksKey(const QString &userId) { return QStringLiteral("notification-read.") + userId; }

QString migratedKey(const QString &userId)
{
    return QStringLiteral("notification-server-read-migrated.") + userId;
}

QString decimalForm(double value) { return Text::describe(value); }

std::optional<QString> integerForm(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double whole = std::trunc(value);
    // -2^63 is the last value a 64-bit integer holds; 2^63 is the first it does not.
    if (whole < -9223372036854775808.0 || whole >= 9223372036854775808.0)
        return std::nullopt;
    return QString::number(qint64(whole));
}

QString statusWord(const SiteNotice &notice)
{
    if (notice.kind == NoticeText::pirepSubmitted)
        return QStringLiteral("pending");
    return notice.status.value_or(QString());
}

bool matches(const SiteNotice &notice, const QSet<QString> &marks)
{
    if (notice.kind == NoticeText::eventPublished)
        return marks.contains(QStringLiteral("event:") + notice.entityId);
    const QString prefix = notice.entityId + QLatin1Char(':') + statusWord(notice) + QLatin1Char(':');
    if (marks.contains(prefix + decimalForm(notice.occurredAt)))
        return true;
    const std::optional<QString> integer = integerForm(notice.occurredAt);
    return integer && marks.contains(prefix + *integer);
}

QList<QString> matchingIds(const SiteInbox &inbox, const QSet<QString> &marks)
{
    QList<QString> ids;
    if (marks.isEmpty())
        return ids;
    for (const SiteNotice &notice : inbox.notifications) {
        if (matches(notice, marks))
            ids.append(notice.id);
    }
    return ids;
}

QSet<QString> stored(const QSettings &settings, const QString &userId)
{
    const QVariant value = settings.value(marksKey(userId));
    QSet<QString> marks;
    switch (value.typeId()) {
    case QMetaType::QStringList: {
        const QStringList list = value.toStringList();
        marks = QSet<QString>(list.cbegin(), list.cend());
        break;
    }
    case QMetaType::QVariantList:
        for (const QVariant &item : value.toList()) {
            // A list with anything but texts in it is not a list of marks at all.
            if (item.typeId() != QMetaType::QString)
                return {};
            marks.insert(item.toString());
        }
        break;
    case QMetaType::QString:
        // The settings file cannot tell a list of one text from a lone text: it writes both the same way.
        marks.insert(value.toString());
        break;
    default:
        break;
    }
    return marks;
}

bool isMigrated(const QSettings &settings, const QString &userId)
{
    const QVariant value = settings.value(migratedKey(userId));
    // A Boolean read back from the settings file comes as the text "true".
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    return value.typeId() == QMetaType::QString && value.toString() == QLatin1String("true");
}

} // namespace ReadMarks

#pragma once

#include <QJsonValue>
#include <QString>

#include <optional>

// The release manifest the organisation publishes on the member site: one JSON object whose keys are read
// exactly as written (no snake case), other keys ignored.
struct ReleaseManifest
{
    QString version; // as shown to the member
    qint64 build = 0;
    QString url; // the download address
    std::optional<QString> notes;
    std::optional<QString> minimumSystemVersion; // read, not used

    // Throws DecodeError for anything but a manifest.
    static ReleaseManifest fromJson(const QJsonValue &value);

    bool operator==(const ReleaseManifest &) const = default;
};

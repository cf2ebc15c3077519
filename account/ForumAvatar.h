#pragma once

#include "MultipartBody.h"
#include "ServiceHosts.h"

#include <QImage>
#include <QString>

#include <QCoro/QCoroTask>

// The member's avatar from their public user record at the community forum, read without any
// credentials on a network manager made for the one call and gone at its end.
namespace ForumAvatar {

struct Picture
{
    Upload upload;  // the JPEG, "ifc-avatar.jpg"
    QImage preview; // the decoded picture
};

// The two GETs and every check; throws APIError with `failureMessage()` on any failure, CancellationError
// never (the call owns its transfers).
QCoro::Task<Picture> fetch(ServiceHosts::MemberEndpoint forum, QString username);

// The address of the user record: the origin, "u", the user name with ".json" as one path component.
QUrl recordAddress(const QUrl &origin, const QString &username);
// The picture's address from the template: "{size}" → "256", relative to the origin; none unless https.
std::optional<QUrl> pictureAddress(const QUrl &origin, const QString &avatarTemplate);

QString failureMessage();

constexpr qint64 maxPictureBytes = 5'242'880; // fewer than this
constexpr qint64 maxRecordBytes = 1'048'576;
constexpr qsizetype maxJpegBytes = 524'288;

} // namespace ForumAvatar

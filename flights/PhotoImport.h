#pragma once

#include "MultipartBody.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QUrl>

#include <optional>

#include <QCoro/QCoroTask>

// Turns the pictures a member picked into JPEG uploads under a byte limit: upright, scaled down to a long
// side of 800 pixels (limits up to 512 KiB) or 2400, drawn on white, encoded at the first quality of
// 0.9, 0.75, 0.55 and 0.35 that fits. Neither the source format, its transparency nor its metadata
// reaches the service.
namespace PhotoImport {

// One upload per picked file, in order, converted off the main thread one after another. The first
// failure ends the whole call (APIError 400 with the member's text); an empty pick gives none.
QCoro::Task<QList<Upload>> load(QList<QUrl> items, qsizetype limit);

// What can go wrong with one picture.
enum class Failure { None, Unreadable, TooLarge };
struct Converted
{
    QByteArray jpeg;
    Failure failure = Failure::None;
};
// The work on one picture's bytes; safe on any thread.
Converted convert(const QByteArray &bytes, qsizetype limit);
// The longest side a picture keeps under a limit.
int longSide(qsizetype limit);

constexpr qsizetype reportLimit = 2'097'152;
// The largest file read, and the largest picture decoded (either side, and all its pixels).
constexpr qint64 maxFileBytes = 64 * 1024 * 1024;
constexpr int maxSide = 16'384;
constexpr qint64 maxPixels = 100'000'000;
constexpr qsizetype avatarLimit = 524'288;

// The file dialog's filter: the picture formats this system can read among those members use.
QStringList nameFilters();

// Whether a new pick joins the pictures chosen before (the report form) or takes their place (a report's
// page, which takes what room the report has left).
enum class Pick { Adds, Replaces };

// What a pick of `picked` pictures with room for `room` tells the member of those left out, with advice that
// holds for that kind of pick; none when all fitted.
std::optional<QString> leftOutNotice(qsizetype picked, qsizetype room, Pick pick);

} // namespace PhotoImport

#pragma once

#include <QString>
#include <QStringList>

// The app speaks four languages: "en", "zh-HK", "zh-TW" and "zh-Hans" (the keys themselves).
namespace AppLanguage {

// The current language code, read afresh from the system's language preferences at every call.
QString current();
// The display name of the current language.
QString currentName();

// The language chosen for localisations ordered best first (the first entry decides).
QString resolve(const QStringList &preferredLocalizations);
QString nameOf(const QString &code);

// The system's language preferences, best first, as BCP 47 or POSIX tags.
QStringList userLanguages();

// The user's preferred languages (BCP 47 tags, best first) narrowed to the localisations the app ships,
// dropping the ones it has no table for.
QStringList preferredLocalizations(const QStringList &userLanguages);

} // namespace AppLanguage

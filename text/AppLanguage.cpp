#include "AppLanguage.h"

#include <QLocale>

namespace AppLanguage {

QString resolve(const QStringList &preferredLocalizations)
{
    const QString first =
        preferredLocalizations.isEmpty() ? QStringLiteral("zh-Hans") : preferredLocalizations.constFirst();
    for (const char *prefix : {"en", "zh-HK", "zh-TW"}) {
        if (first.startsWith(QLatin1String(prefix)))
            return QLatin1String(prefix);
    }
    return QStringLiteral("zh-Hans");
}

QString nameOf(const QString &code)
{
    if (code == QLatin1String("en"))
        return QStringLiteral("English");
    if (code == QLatin1String("zh-HK"))
        return QStringLiteral("繁體中文（香港）");
    if (code == QLatin1String("zh-TW"))
        return QStringLiteral("繁體中文（台灣）");
    return QStringLiteral("简体中文");
}

QStringList preferredLocalizations(const QStringList &userLanguages)
{
    QStringList result;
    for (QString tag : userLanguages) {
        tag.replace(QLatin1Char('_'), QLatin1Char('-'));
        const QStringList parts = tag.split(QLatin1Char('-'), Qt::SkipEmptyParts);
        if (parts.isEmpty())
            continue;
        const QString language = parts.constFirst().toLower();
        QString script;
        QString region;
        for (qsizetype i = 1; i < parts.size(); ++i) {
            const QString &part = parts.at(i);
            if (part.size() == 4 && script.isEmpty() && region.isEmpty())
                script = part.toLower();
            else if ((part.size() == 2 || part.size() == 3) && region.isEmpty())
                region = part.toUpper();
        }
        QString localization;
        if (language == QLatin1String("en")) {
            localization = QStringLiteral("en");
        } else if (language == QLatin1String("zh")) {
            if (region == QLatin1String("HK") || region == QLatin1String("MO"))
                localization = QStringLiteral("zh-HK");
            else if (region == QLatin1String("TW") || (region.isEmpty() && script == QLatin1String("hant")))
                localization = QStringLiteral("zh-TW");
            else
                localization = QStringLiteral("zh-Hans");
        }
        if (!localization.isEmpty() && !result.contains(localization))
            result.append(localization);
    }
    return result;
}

QStringList userLanguages()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Qt reads the environment once per process; reading it here keeps the language current, as the
    // desktop's own programs see it: LANGUAGE first, then the locale that LC_ALL, LC_MESSAGES or LANG names.
    QStringList languages;
    const QString list = qEnvironmentVariable("LANGUAGE");
    for (const QString &entry : list.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        languages.append(entry);
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        QString locale = qEnvironmentVariable(variable);
        if (locale.isEmpty())
            continue;
        locale = locale.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
        if (locale != QLatin1String("C") && locale != QLatin1String("POSIX"))
            languages.append(locale);
        break;
    }
    return languages;
#else
    return QLocale::system().uiLanguages();
#endif
}

QString current() { return resolve(preferredLocalizations(userLanguages())); }

QString currentName() { return nameOf(current()); }

} // namespace AppLanguage

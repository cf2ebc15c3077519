#include "QtTexts.h"

#include "AppLanguage.h"
#include "L.h"
#include "TextLog.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>
#include <vector>

namespace Text {

namespace {

// The texts Qt Quick Dialogs' own file dialog shows (its FileDialog.qml, context "FileDialog") that no table
// of Qt 6.4 translates, answered from the app's tables in the current language. Everything else is left to
// Qt's tables below.
class QuickDialogTexts : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *disambiguation,
                      int n) const override
    {
        Q_UNUSED(disambiguation)
        Q_UNUSED(n)
        if (qstrcmp(context, "FileDialog") != 0 || !sourceText)
            return {};
        if (qstrcmp(sourceText, "File name") == 0)
            return lookup(TEXT_KEY("文件名"));
        if (qstrcmp(sourceText, "Filter") == 0)
            return lookup(TEXT_KEY("文件类型"));
        return {};
    }
    bool isEmpty() const override { return false; }
};

// Qt's tables of a language; Hong Kong reads Taiwan's, the Traditional ones Qt has.
QString qtSuffix(const QString &language)
{
    if (language == QLatin1String("zh-Hans"))
        return QStringLiteral("zh_CN");
    if (language == QLatin1String("zh-HK") || language == QLatin1String("zh-TW"))
        return QStringLiteral("zh_TW");
    return {};
}

std::vector<std::unique_ptr<QTranslator>> &installed()
{
    static std::vector<std::unique_ptr<QTranslator>> translators;
    return translators;
}

} // namespace

void installQtTexts()
{
    std::vector<std::unique_ptr<QTranslator>> &translators = installed();
    for (const std::unique_ptr<QTranslator> &translator : translators)
        QCoreApplication::removeTranslator(translator.get());
    translators.clear();

    const QString suffix = qtSuffix(AppLanguage::current());
    if (suffix.isEmpty())
        return;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char *module : {"qtbase", "qtdeclarative"}) {
        auto table = std::make_unique<QTranslator>();
        const QString name = QLatin1String(module) + QLatin1Char('_') + suffix;
        if (!table->load(name, folder)) {
            qCWarning(lcText,
                      "Qt's table %s is missing from %s (Debian package qt6-translations-l10n): "
                      "Qt's own dialogs speak English",
                      qPrintable(name), qPrintable(folder));
            continue;
        }
        QCoreApplication::installTranslator(table.get());
        translators.push_back(std::move(table));
    }
    // Installed last, so asked first.
    auto quick = std::make_unique<QuickDialogTexts>();
    QCoreApplication::installTranslator(quick.get());
    translators.push_back(std::move(quick));
}

} // namespace Text

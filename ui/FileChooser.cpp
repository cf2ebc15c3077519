#include "FileChooser.h"

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QWindow>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformdialoghelper.h>
#include <qpa/qplatformtheme.h>

#include <memory>

namespace {

bool portalChosen = false;

} // namespace

bool FileChooser::portal() { return portalChosen; }

void FileChooser::usePortal(bool use) { portalChosen = use; }

QUrl FileChooser::picturesFolder()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir())
        return QUrl::fromLocalFile(pictures);
    return QUrl::fromLocalFile(QDir::homePath());
}

bool FileChooser::desktopChooser() const
{
    if (QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs))
        return false;
    QPlatformTheme *theme = QGuiApplicationPrivate::platformTheme();
    if (!theme || !theme->usePlatformNativeDialog(QPlatformTheme::FileDialog))
        return false;
    const std::unique_ptr<QPlatformDialogHelper> helper(
        theme->createPlatformDialogHelper(QPlatformTheme::FileDialog));
    return helper != nullptr;
}

QStringList FileChooser::anyCase(const QStringList &nameFilters)
{
    // Only the patterns, between the last parentheses: the filter's name stays as it is shown.
    QStringList filters;
    for (const QString &filter : nameFilters) {
        const qsizetype open = filter.lastIndexOf(u'('), close = filter.lastIndexOf(u')');
        if (open < 0 || close < open) {
            filters.append(filter);
            continue;
        }
        QString patterns;
        for (const QChar c : QStringView(filter).sliced(open + 1, close - open - 1)) {
            const QChar lower = c.toLower(), upper = c.toUpper();
            patterns += lower == upper ? QString(c) : QString(u'[') + lower + upper + u']';
        }
        filters.append(filter.left(open + 1) + patterns + filter.mid(close));
    }
    return filters;
}

void FileChooser::fitDialogs(QWindow *window) const
{
    if (!window)
        return;
    // Qt Quick's dialog is a popup of the window once shown.
    const QList<QObject *> children = window->findChildren<QObject *>(Qt::FindDirectChildrenOnly);
    for (QObject *child : children) {
        if (!child->inherits("QQuickFileDialogImpl"))
            continue;
        // A modal screen of the window, like the sheets and alerts: Qt 6.4 shows it as a plain popup, and the
        // page behind it took clicks and the keyboard.
        child->setProperty("modal", true);
        const QList<QObject *> parts = child->findChildren<QObject *>();
        for (QObject *part : parts) {
            if (part->inherits("QQuickFolderListModel"))
                part->setProperty("caseSensitive", false);
            if (!part->inherits("QQuickFolderBreadcrumbBar"))
                continue;
            if (auto *background = part->property("background").value<QObject *>())
                background->setProperty("color", QColor(Qt::transparent));
        }
    }
}

QQuickItem *FileChooser::dialogScreen(QWindow *window) const
{
    if (!window)
        return nullptr;
    const QList<QObject *> children = window->findChildren<QObject *>(Qt::FindDirectChildrenOnly);
    for (QObject *child : children) {
        if (child->inherits("QQuickFileDialogImpl") && child->property("visible").toBool())
            return child->property("contentItem").value<QQuickItem *>();
    }
    return nullptr;
}

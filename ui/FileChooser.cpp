#include "FileChooser.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformdialoghelper.h>
#include <qpa/qplatformtheme.h>

#include <memory>

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

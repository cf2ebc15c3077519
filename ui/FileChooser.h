#pragma once

#include <QObject>
#include <QQuickItem>
#include <QUrl>
#include <QWindow>
#include <QtQml/qqmlregistration.h>

// What the file dialogs of the app need of the desktop (QML: FileChooser): the folder they open in, whether
// files are picked in the desktop's own chooser through its portal (PortalFilePick; main/ says so where the
// portal answers), and whether a FileDialog opened now shows a chooser of the platform theme's or Qt Quick's,
// drawn in the window, which takes one file at a time.
class FileChooser : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    Q_PROPERTY(QUrl picturesFolder READ picturesFolder CONSTANT)
    // Set once by main/ before the window is made.
    Q_PROPERTY(bool portal READ portal CONSTANT)

public:
    using QObject::QObject;

    // The member's pictures folder where it exists, else their home folder; read afresh at each call.
    static QUrl picturesFolder();
    // Whether pictures are picked through the desktop's portal.
    static bool portal();
    static void usePortal(bool use);
    // As Qt Quick Dialogs decides when a FileDialog opens: the platform theme (one the member named) offers
    // native file dialogs and has one to give now (Qt's portal theme has none until the portal has told its
    // version).
    Q_INVOKABLE bool desktopChooser() const;
    // Name filters ("图片 (*.png *.jpg)") whose patterns take a file name whatever the case of its letters
    // ("*.[pP][nN][gG]" takes "IMG_0001.PNG" and "Screenshot 3.Png"): the desktop's choosers (GNOME's through
    // the portal, GTK's through a platform theme) match patterns by case.
    Q_INVOKABLE static QStringList anyCase(const QStringList &nameFilters);
    // Qt Quick's dialogs drawn in `window`, made to suit the app: their file lists take names whatever their
    // case, as the desktop's choosers are given them; and their folder bar, drawn white whatever the palette
    // (in the dark one, light folder names on white), shows the colour of their header behind it instead.
    Q_INVOKABLE void fitDialogs(QWindow *window) const;
    // The content of Qt Quick's file dialog shown in the window, or none: a modal screen of the window.
    Q_INVOKABLE QQuickItem *dialogScreen(QWindow *window) const;
};

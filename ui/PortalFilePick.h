#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>
#include <QWindow>
#include <QtQml/qqmlregistration.h>

// One pick in the desktop's own file chooser (GNOME's, KDE's…): the freedesktop FileChooser portal's
// OpenFile, called here rather than through Qt's portal theme, whose OpenFile names no folder, so the chooser
// opened on its recent files. The pick opens in the member's pictures folder where the portal takes a folder
// for OpenFile (version 4 and later; older ones ignore it).
class PortalFilePick : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    // A pick is open: the chooser shows, its answer not yet come.
    Q_PROPERTY(bool picking READ picking NOTIFY pickingChanged)

public:
    explicit PortalFilePick(QObject *parent = nullptr);

    // The portal's bus name; tests put a portal of their own under another.
    void setService(const QString &service) { m_service = service; }
    bool picking() const { return !m_handle.isEmpty(); }

    // Asks the portal for files, opening in FileChooser::picturesFolder(). A pick still open is forgotten:
    // its answer, if it ever comes, is not heard.
    Q_INVOKABLE void open(const QString &title, bool multiple, const QStringList &nameFilters,
                          QWindow *window);

Q_SIGNALS:
    // The files chosen, as file URLs; nothing is said when the member cancels.
    void picked(const QList<QUrl> &files);
    // The portal did not take the call (gone since the app started): the caller shows its own dialog.
    void unavailable();
    void pickingChanged();

private Q_SLOTS:
    void respond(uint response, const QVariantMap &results);

private:
    void listen(const QString &handle);
    void stopListening();
    void disconnectHandle();

    QString m_service;
    // The request's object path while a pick is open, else empty.
    QString m_handle;
};

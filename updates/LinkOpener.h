#pragma once

#include <QObject>
#include <QUrl>

// Opens a web address in the desktop's browser and tells when that could not be done: no opener to
// start, or the desktop's opener found no browser for it. An opener started and still running (a
// browser kept in the foreground) counts as opened.
class LinkOpener : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    void open(const QUrl &url);

Q_SIGNALS:
    void failed(const QUrl &url);
};

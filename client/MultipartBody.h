#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QUuid>

// One picture chosen for upload; `filename` is for the app's own lists and is never sent.
struct Upload
{
    QUuid id;
    QByteArray data;
    QString filename;
    QString mimeType;

    bool operator==(const Upload &) const = default;
};

// A "multipart/form-data" body of text fields and at most six pictures, built whole in memory. Input the
// service would refuse is refused here first, with APIError 400.
struct MultipartBody
{
    QString boundary; // "VORNA-" and a fresh upper-case UUID
    QByteArray data;

    // Fields are written in the order of their names, then the files as "image-0.jpg", "image-1.png", …
    static MultipartBody make(const QMap<QString, QString> &fields, const QList<Upload> &files,
                              const QString &fileField);
    QByteArray contentType() const { return "multipart/form-data; boundary=" + boundary.toLatin1(); }

    static constexpr int maxFiles = 6;
    static constexpr qsizetype maxFileBytes = 2'097'152;
};

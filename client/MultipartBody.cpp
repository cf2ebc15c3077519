#include "MultipartBody.h"

#include "APIError.h"
#include "L.h"

#include <QRegularExpression>

MultipartBody MultipartBody::make(const QMap<QString, QString> &fields, const QList<Upload> &files,
                                  const QString &fileField)
{
    if (files.size() > maxFiles)
        throw APIError(400, L("每次最多上传 6 张截图。"));

    MultipartBody body{
        QStringLiteral("VORNA-") + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(), {}};
    const QByteArray boundary = body.boundary.toLatin1();
    // Anchored: "$" alone would let a name ending in a line feed into the part header.
    static const QRegularExpression fieldName(QRegularExpression::anchoredPattern(u"[a-zA-Z0-9_]+"));

    // QMap keeps its keys in order, which for the names allowed here is byte order.
    for (auto field = fields.constBegin(); field != fields.constEnd(); ++field) {
        if (!fieldName.match(field.key()).hasMatch())
            throw APIError(400, L("无效表单字段。"));
        body.data += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + field.key().toUtf8()
                     + "\"\r\n\r\n" + field.value().toUtf8() + "\r\n";
    }

    static const QStringList mediaTypes{QStringLiteral("image/jpeg"), QStringLiteral("image/png"),
                                        QStringLiteral("image/webp")};
    for (qsizetype i = 0; i < files.size(); ++i) {
        const Upload &file = files.at(i);
        if (file.data.isEmpty() || file.data.size() > maxFileBytes || !mediaTypes.contains(file.mimeType)
            || (fileField != QLatin1String("files") && fileField != QLatin1String("avatar")))
            throw APIError(400, L("请选择 JPG、PNG 或 WebP 图片，每张不超过 2 MB。"));
        const QByteArray extension = file.mimeType == QLatin1String("image/jpeg")  ? "jpg"
                                     : file.mimeType == QLatin1String("image/png") ? "png"
                                                                                   : "webp";
        body.data += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + fileField.toUtf8()
                     + "\"; filename=\"image-" + QByteArray::number(i) + '.' + extension
                     + "\"\r\nContent-Type: " + file.mimeType.toUtf8() + "\r\n\r\n";
        body.data += file.data + "\r\n";
    }
    body.data += "--" + boundary + "--\r\n";
    return body;
}

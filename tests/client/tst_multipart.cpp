// Form-data bodies of screenshot and avatar uploads.
#include "ClientTestSupport.h"
#include "MultipartBody.h"

#include <QRegularExpression>

using namespace TestSupport;

namespace {

Upload picture(qsizetype bytes, const QString &type = "image/jpeg")
{
    return {QUuid::createUuid(), QByteArray(bytes, 'p'), "ignored-name.heic", type};
}

const APIError badPicture(400, "请选择 JPG、PNG 或 WebP 图片，每张不超过 2 MB。");

} // namespace

class MultipartTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { qputenv("LANGUAGE", "zh_CN"); }
    void bodyLayout();
    void limitsAndTheirOrder();
    void uploadReachesTheService();
};

void MultipartTest::bodyLayout()
{
    const MultipartBody body = MultipartBody::make(
        {{"sourceFlightId", "f-1"}, {"aircraft", "A320"}, {"arrivalCode", "ZSPD"}, {"Zulu", "x\r\n\"q\""}},
        {picture(3), picture(4, "image/webp"), picture(5, "image/png")}, "files");
    QVERIFY(QRegularExpression("^VORNA-[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$")
                .match(body.boundary)
                .hasMatch());
    QCOMPARE(body.contentType(), "multipart/form-data; boundary=" + body.boundary.toLatin1());

    const QByteArray b = body.boundary.toLatin1();
    const QByteArray expected =
        "--" + b + "\r\nContent-Disposition: form-data; name=\"Zulu\"\r\n\r\nx\r\n\"q\"\r\n" + "--" + b
        + "\r\nContent-Disposition: form-data; name=\"aircraft\"\r\n\r\nA320\r\n" + "--" + b
        + "\r\nContent-Disposition: form-data; name=\"arrivalCode\"\r\n\r\nZSPD\r\n" + "--" + b
        + "\r\nContent-Disposition: form-data; name=\"sourceFlightId\"\r\n\r\nf-1\r\n" + "--" + b
        + "\r\nContent-Disposition: form-data; name=\"files\"; filename=\"image-0.jpg\"\r\n"
        + "Content-Type: image/jpeg\r\n\r\nppp\r\n" + "--" + b
        + "\r\nContent-Disposition: form-data; name=\"files\"; filename=\"image-1.webp\"\r\n"
        + "Content-Type: image/webp\r\n\r\npppp\r\n" + "--" + b
        + "\r\nContent-Disposition: form-data; name=\"files\"; filename=\"image-2.png\"\r\n"
        + "Content-Type: image/png\r\n\r\nppppp\r\n" + "--" + b + "--\r\n";
    QCOMPARE(body.data, expected);

    const MultipartBody empty = MultipartBody::make({}, {}, "anything");
    QCOMPARE(empty.data, "--" + empty.boundary.toLatin1() + "--\r\n");
    QVERIFY(MultipartBody::make({}, {}, "x").boundary != empty.boundary);
}

void MultipartTest::limitsAndTheirOrder()
{
    auto make = [](const QMap<QString, QString> &fields, const QList<Upload> &files,
                   const QString &field = "files") {
        return thrown<APIError>([&] { MultipartBody::make(fields, files, field); });
    };
    QCOMPARE(make({}, QList<Upload>(6, picture(1))), std::nullopt);
    // Seven are refused before anything else is looked at.
    QCOMPARE(make({{"bad-name", "x"}}, QList<Upload>(7, picture(0))),
             APIError(400, "每次最多上传 6 张截图。"));
    // Fields come before pictures.
    QCOMPARE(make({{"bad-name", "x"}}, {picture(0)}), APIError(400, "无效表单字段。"));
    QCOMPARE(make({{"", "x"}}, {}), APIError(400, "无效表单字段。"));
    QCOMPARE(make({{"名字", "x"}}, {}), APIError(400, "无效表单字段。"));
    // Guards "$" matching before a final line feed: the line feed would reach the part header.
    QCOMPARE(make({{"z\n", "x"}}, {}), APIError(400, "无效表单字段。"));

    QCOMPARE(make({}, {picture(MultipartBody::maxFileBytes)}), std::nullopt);
    QCOMPARE(make({}, {picture(MultipartBody::maxFileBytes + 1)}), badPicture);
    QCOMPARE(make({}, {picture(0)}), badPicture);
    QCOMPARE(make({}, {picture(10, "IMAGE/JPEG")}), badPicture);
    QCOMPARE(make({}, {picture(10, "image/gif")}), badPicture);
    QCOMPARE(make({}, {picture(10)}, "photos"), badPicture);
    QCOMPARE(make({}, {picture(10)}, "avatar"), std::nullopt);
}

void MultipartTest::uploadReachesTheService()
{
    Site site;
    QVERIFY(site.started);
    QByteArray received;
    QByteArray contentType;
    site.service->route("POST", "/api/pireps/{id}/evidence",
                        [&](Sample::Service &, const Sample::Request &request) {
                            received = request.body;
                            contentType = request.header("Content-Type");
                            return Sample::Reply::json(QJsonObject{{"ok", true}});
                        });
    const auto client = site.client();
    const MultipartBody body = MultipartBody::make({}, {picture(1000, "image/png")}, "files");
    APIRequest request = client->makeRequest("/api/pireps/" + APIPath::encoded("p-7") + "/evidence", "POST");
    request.setMultipartBody(body);
    const Acknowledgement answer = await(client->decode<Acknowledgement>(request));
    QCOMPARE(answer.ok, std::optional<bool>(true));
    QCOMPARE(received, body.data);
    QCOMPARE(contentType, body.contentType());
}

QTEST_GUILESS_MAIN(MultipartTest)
#include "tst_multipart.moc"

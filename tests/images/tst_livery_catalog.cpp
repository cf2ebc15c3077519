// The livery catalog: rows turned into picture paths, names matched to entries, the public-asset rule and
// the redirect guard built on it, and the strict reading of the catalog file.
#include "AircraftCatalog.h"
#include "ImageOriginGuard.h"
#include "Json.h"

#include <QtTest>

namespace {

CatalogAircraft entry(const QString &name, const QString &dir, const QList<QStringList> &rows)
{
    return {name, dir, rows};
}

QStringList pathsOf(const QList<AircraftPhotoReference> &references)
{
    QStringList paths;
    for (const AircraftPhotoReference &reference : references)
        paths.append(reference.path);
    return paths;
}

} // namespace

class LiveryCatalogTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rowsBecomePicturePaths_data();
    void rowsBecomePicturePaths();
    void referenceCarriesNamesAsWritten();
    void publicAssetPaths_data();
    void publicAssetPaths();
    void aircraftMatching_data();
    void aircraftMatching();
    void liveryMatching_data();
    void liveryMatching();
    void catalogReading_data();
    void catalogReading();
    void redirectGuard_data();
    void redirectGuard();
};

void LiveryCatalogTest::rowsBecomePicturePaths_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("extension defaults to webp") << "a320" << QList<QStringList>{{"Default", "default"}}
                                                << QStringList{"/live-map-assets/liveries/a320/default.webp"};
    QTest::newRow("explicit extensions")
        << "b789" << QList<QStringList>{{"A", "a", "png"}, {"B", "b", "jpg"}, {"C", "c", "jpeg"}}
        << QStringList{"/live-map-assets/liveries/b789/a.png", "/live-map-assets/liveries/b789/b.jpg",
                       "/live-map-assets/liveries/b789/c.jpeg"};
    QTest::newRow("items past the extension are ignored")
        << "a333" << QList<QStringList>{{"Air China", "air-china", "webp", "#c8102e", "extra"}}
        << QStringList{"/live-map-assets/liveries/a333/air-china.webp"};
    QTest::newRow("bad rows skipped, the others kept in order")
        << "a320"
        << QList<QStringList>{{"Upper", "Default"},
                              {"First", "first"},
                              {"Underscore", "air_china"},
                              {"Shouting", "loud", "PNG"},
                              {"Animated", "moving", "gif"},
                              {"Alone"},
                              {},
                              {"Dotted", "a.b"},
                              {"Double hyphen", "a--b"},
                              {"Last", "last-one", "png"}}
        << QStringList{"/live-map-assets/liveries/a320/first.webp",
                       "/live-map-assets/liveries/a320/last-one.png"};
    QTest::newRow("leading hyphen folder")
        << "-a320" << QList<QStringList>{{"Default", "default"}} << QStringList{};
    QTest::newRow("trailing hyphen folder")
        << "a320-" << QList<QStringList>{{"Default", "default"}} << QStringList{};
    QTest::newRow("upper-case folder")
        << "A320" << QList<QStringList>{{"Default", "default"}} << QStringList{};
    QTest::newRow("folder that climbs")
        << "../api" << QList<QStringList>{{"Default", "default"}} << QStringList{};
    QTest::newRow("empty stem") << "a320" << QList<QStringList>{{"Default", ""}} << QStringList{};
    // Guards "$" matching before a final line feed.
    QTest::newRow("folder ending in a line feed")
        << "a320\n"
        << QList<QStringList>{{"Default", "default"}} << QStringList{};
    QTest::newRow("stem ending in a line feed")
        << "a320" << QList<QStringList>{{"Default", "default\n"}} << QStringList{};
}

void LiveryCatalogTest::rowsBecomePicturePaths()
{
    QFETCH(QString, dir);
    QFETCH(QList<QStringList>, rows);
    QFETCH(QStringList, expected);
    const QList<AircraftPhotoReference> photos = entry("Airbus A320", dir, rows).photos();
    QCOMPARE(pathsOf(photos), expected);
    for (const AircraftPhotoReference &photo : photos)
        QVERIFY(AircraftPhotoReference::isPublicAssetPath(photo.path));
}

void LiveryCatalogTest::referenceCarriesNamesAsWritten()
{
    const auto photos = entry("Boeing 787-9", "b789", {{"China Southern", "china-southern"}}).photos();
    QCOMPARE(photos.size(), 1);
    QCOMPARE(photos.first().aircraft, QString("Boeing 787-9"));
    QCOMPARE(photos.first().livery, QString("China Southern"));
}

void LiveryCatalogTest::publicAssetPaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("catalog") << "/live-map-assets/liveries/catalog.json" << true;
    QTest::newRow("jpeg picture") << "/live-map-assets/liveries/a320/default.jpeg" << true;
    QTest::newRow("webp picture") << "/live-map-assets/liveries/b77w/china-eastern.webp" << true;
    QTest::newRow("climbs with ..") << "/live-map-assets/liveries/a320/../catalog.json" << false;
    QTest::newRow(".. inside a name") << "/live-map-assets/liveries/a320/a..b.png" << false;
    QTest::newRow("upper-case folder") << "/live-map-assets/liveries/A320/default.png" << false;
    QTest::newRow("upper-case file") << "/live-map-assets/liveries/a320/Default.png" << false;
    QTest::newRow("upper-case extension") << "/live-map-assets/liveries/a320/default.PNG" << false;
    QTest::newRow("gif") << "/live-map-assets/liveries/a320/default.gif" << false;
    QTest::newRow("api") << "/api/me" << false;
    QTest::newRow("nested folder") << "/live-map-assets/liveries/a320/x/default.png" << false;
    QTest::newRow("another json") << "/live-map-assets/liveries/other.json" << false;
    QTest::newRow("query") << "/live-map-assets/liveries/a320/default.png?x=1" << false;
    QTest::newRow("encoded slash") << "/live-map-assets/liveries/a320%2Fdefault.png" << false;
    QTest::newRow("double slash") << "//live-map-assets/liveries/a320/default.png" << false;
    QTest::newRow("empty") << "" << false;
    // Guards "$" matching before a final line feed.
    QTest::newRow("trailing line feed") << "/live-map-assets/liveries/a320/default.png\n" << false;
}

void LiveryCatalogTest::publicAssetPaths()
{
    QFETCH(QString, path);
    QFETCH(bool, accepted);
    QCOMPARE(AircraftPhotoReference::isPublicAssetPath(path), accepted);
}

void LiveryCatalogTest::aircraftMatching_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expectedDir"); // empty: none

    QTest::newRow("same name") << "Airbus A320"
                               << "a320";
    QTest::newRow("same normalised name") << "airbus-a320"
                                          << "a320";
    QTest::newRow("type key when the names differ") << "Airbus A320-200"
                                                    << "a320";
    QTest::newRow("normalised name before type key") << "Airbus A320neo"
                                                     << "a320neo";
    QTest::newRow("type key, first in catalog order") << "Boeing 737-800 (WL)"
                                                      << "b738";
    QTest::newRow("unknown") << "Concorde"
                             << "";
}

void LiveryCatalogTest::aircraftMatching()
{
    QFETCH(QString, name);
    QFETCH(QString, expectedDir);
    const AircraftCatalog catalog{{
        entry("Airbus A320", "a320", {}),
        entry("Airbus A320neo", "a320neo", {}),
        entry("Boeing 737-800", "b738", {}),
        entry("737-800 BBJ", "b738-bbj", {}),
    }};
    const std::optional<CatalogAircraft> found = catalog.aircraftNamed(name);
    QCOMPARE(found ? found->dir : QString(), expectedDir);
}

void LiveryCatalogTest::liveryMatching_data()
{
    QTest::addColumn<QString>("aircraft");
    QTest::addColumn<QString>("livery");
    QTest::addColumn<QString>("expectedPath"); // empty: none

    QTest::newRow("normalised livery") << "Boeing 787-9"
                                       << "Delta Air Lines"
                                       << "/live-map-assets/liveries/b789/delta.webp";
    QTest::newRow("case and spaces") << "boeing 787-9"
                                     << "china southern"
                                     << "/live-map-assets/liveries/b789/china-southern.png";
    QTest::newRow("through the type key") << "B787-9 Dreamliner"
                                          << "China Southern"
                                          << "/live-map-assets/liveries/b789/china-southern.png";
    QTest::newRow("first matching row wins") << "Boeing 787-9"
                                             << "Duplicate"
                                             << "/live-map-assets/liveries/b789/first.webp";
    QTest::newRow("a refused row is never matched") << "Boeing 787-9"
                                                    << "Broken"
                                                    << "";
    QTest::newRow("empty livery") << "Boeing 787-9"
                                  << ""
                                  << "";
    QTest::newRow("punctuation only") << "Boeing 787-9"
                                      << " - / ."
                                      << "";
    QTest::newRow("unknown aircraft") << "Concorde"
                                      << "Delta Air Lines"
                                      << "";
    QTest::newRow("unknown livery") << "Boeing 787-9"
                                    << "Pan Am"
                                    << "";
}

void LiveryCatalogTest::liveryMatching()
{
    QFETCH(QString, aircraft);
    QFETCH(QString, livery);
    QFETCH(QString, expectedPath);
    const AircraftCatalog catalog{{entry("Boeing 787-9", "b789",
                                         {{"delta-air-lines", "delta"},
                                          {"China Southern", "china-southern", "png"},
                                          {"Broken", "Broken"},
                                          {"Duplicate", "first"},
                                          {"duplicate", "second"}})}};
    const std::optional<AircraftPhotoReference> photo = catalog.photo(aircraft, livery);
    QCOMPARE(photo ? photo->path : QString(), expectedPath);
}

void LiveryCatalogTest::catalogReading_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<int>("entries"); // -1: the file is refused

    QTest::newRow("entries in order")
        << QByteArray(R"({"aircraft":[{"name":"A","dir":"a","liveries":[["x","y"]]},
                                                     {"name":"B","dir":"b","liveries":[]}]})")
        << 2;
    QTest::newRow("unknown keys ignored") << QByteArray(R"({"version":3,"aircraft":[{"name":"A","dir":"a",
                                                          "liveries":[],"family":"x"}]})")
                                          << 1;
    QTest::newRow("empty catalog") << QByteArray(R"({"aircraft":[]})") << 0;
    QTest::newRow("aircraft missing") << QByteArray(R"({"planes":[]})") << -1;
    QTest::newRow("name missing") << QByteArray(R"({"aircraft":[{"dir":"a","liveries":[]}]})") << -1;
    QTest::newRow("dir of another type")
        << QByteArray(R"({"aircraft":[{"name":"A","dir":7,"liveries":[]}]})") << -1;
    QTest::newRow("row not a list") << QByteArray(R"({"aircraft":[{"name":"A","dir":"a","liveries":["x"]}]})")
                                    << -1;
    QTest::newRow("number in a row") << QByteArray(
        R"({"aircraft":[{"name":"A","dir":"a","liveries":[["x",1]]}]})")
                                     << -1;
    QTest::newRow("null liveries") << QByteArray(R"({"aircraft":[{"name":"A","dir":"a","liveries":null}]})")
                                   << -1;
    QTest::newRow("keys are exact: no snake case") << QByteArray(R"({"Aircraft":[]})") << -1;
    QTest::newRow("top-level null") << QByteArray("null") << -1;
    QTest::newRow("top-level list") << QByteArray("[]") << -1;
    QTest::newRow("not JSON") << QByteArray("<html>") << -1;
}

void LiveryCatalogTest::catalogReading()
{
    QFETCH(QByteArray, json);
    QFETCH(int, entries);
    try {
        const AircraftCatalog catalog = AircraftCatalog::decode(json);
        QCOMPARE(int(catalog.aircraft().size()), entries);
        if (entries == 2) {
            QCOMPARE(catalog.aircraft().at(0).name, QString("A"));
            QCOMPARE(catalog.aircraft().at(0).liveries, QList<QStringList>{QStringList({"x", "y"})});
            QCOMPARE(catalog.aircraft().at(1).id(), QString("b"));
        }
    } catch (const DecodeError &) {
        QCOMPARE(entries, -1);
    }
}

void LiveryCatalogTest::redirectGuard_data()
{
    QTest::addColumn<QUrl>("origin");
    QTest::addColumn<QUrl>("target");
    QTest::addColumn<bool>("followed");

    const QUrl site("https://vornalia.org");
    const QString picture = "/live-map-assets/liveries/a320/default.webp";
    QTest::newRow("same host, public picture") << site << QUrl("https://vornalia.org" + picture) << true;
    QTest::newRow("same host, port 443") << site << QUrl("https://vornalia.org:443" + picture) << true;
    QTest::newRow("the catalog") << site << QUrl("https://vornalia.org/live-map-assets/liveries/catalog.json")
                                 << true;
    QTest::newRow("plain http") << site << QUrl("http://vornalia.org" + picture) << false;
    QTest::newRow("port 8443") << site << QUrl("https://vornalia.org:8443" + picture) << false;
    QTest::newRow("another host") << site << QUrl("https://cdn.example.com" + picture) << false;
    QTest::newRow("a subdomain") << site << QUrl("https://live.vornalia.org" + picture) << false;
    QTest::newRow("user name") << site << QUrl("https://someone@vornalia.org" + picture) << false;
    QTest::newRow("password") << site << QUrl("https://a:b@vornalia.org" + picture) << false;
    QTest::newRow("member service path") << site << QUrl("https://vornalia.org/api/me") << false;
    QTest::newRow("climbing path") << site
                                   << QUrl("https://vornalia.org/live-map-assets/liveries/a320/../x.png")
                                   << false;
    QTest::newRow("encoded climb") << site
                                   << QUrl("https://vornalia.org/live-map-assets/liveries/a320/%2E%2E/x.png")
                                   << false;
    QTest::newRow("no URL") << site << QUrl() << false;
    QTest::newRow("relative") << site << QUrl(picture) << false;
    // The sample service (or a staging site) lives on its own port: that port is the site's.
    QTest::newRow("override origin, its port")
        << QUrl("https://127.0.0.1:8443") << QUrl("https://127.0.0.1:8443" + picture) << true;
    QTest::newRow("override origin, port 443")
        << QUrl("https://127.0.0.1:8443") << QUrl("https://127.0.0.1" + picture) << false;
    QTest::newRow("override origin, another name")
        << QUrl("https://127.0.0.1:8443") << QUrl("https://localhost:8443" + picture) << false;
}

void LiveryCatalogTest::redirectGuard()
{
    QFETCH(QUrl, origin);
    QFETCH(QUrl, target);
    QFETCH(bool, followed);
    QCOMPARE(ImageOriginGuard(origin).allows(target), followed);
}

QTEST_APPLESS_MAIN(LiveryCatalogTest)
#include "tst_livery_catalog.moc"

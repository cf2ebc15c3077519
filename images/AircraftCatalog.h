#pragma once

#include <QHashFunctions>
#include <QJsonValue>
#include <QList>
#include <QObject>
#include <QQmlEngine>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// One livery picture of the member site: the catalog's aircraft name, the livery name and the site path of
// the picture ("/live-map-assets/liveries/a320/default.webp"). Views hold one as `aircraftPhotoReference`;
// an empty path stands for "no picture chosen".
class AircraftPhotoReference
{
    Q_GADGET
    QML_VALUE_TYPE(aircraftPhotoReference)
    Q_PROPERTY(QString aircraft MEMBER aircraft)
    Q_PROPERTY(QString livery MEMBER livery)
    Q_PROPERTY(QString path MEMBER path)

public:
    // Not an aggregate: GCC 12 destroys a brace-initialised aggregate argument of a coroutine twice.
    AircraftPhotoReference() = default;
    AircraftPhotoReference(QString aircraft, QString livery, QString path)
        : aircraft(std::move(aircraft))
        , livery(std::move(livery))
        , path(std::move(path))
    {
    }

    QString aircraft;
    QString livery;
    QString path;

    bool isEmpty() const { return path.isEmpty(); }
    bool operator==(const AircraftPhotoReference &other) const = default;

    // The folder of the pictures and the catalog itself.
    static constexpr char liveriesFolder[] = "/live-map-assets/liveries/";
    static constexpr char catalogPath[] = "/live-map-assets/liveries/catalog.json";

    // Whether a site path is one of the public picture assets (or the catalog): nothing else of the member
    // site is ever fetched without the member's cookies.
    static bool isPublicAssetPath(const QString &path);
};

inline size_t qHash(const AircraftPhotoReference &reference, size_t seed = 0)
{
    return qHashMulti(seed, reference.aircraft, reference.livery, reference.path);
}

// One aircraft of the catalog: its name, its picture folder and its livery rows
// ([livery name, file stem, optional extension]).
struct CatalogAircraft
{
    QString name;
    QString dir;
    QList<QStringList> liveries;

    const QString &id() const { return dir; }
    // One reference per well-formed row, in row order; malformed rows are skipped.
    QList<AircraftPhotoReference> photos() const;

    static CatalogAircraft fromJson(const QJsonValue &value);
};

// The livery catalog "/live-map-assets/liveries/catalog.json". Its names are keyed once, when it is made:
// a lookup then costs the keying of the query alone, however long the catalog.
class AircraftCatalog
{
public:
    AircraftCatalog();
    // Not explicit: a catalog is its list of aircraft.
    AircraftCatalog(QList<CatalogAircraft> aircraft);

    const QList<CatalogAircraft> &aircraft() const { return m_aircraft; }

    // The entry for a free-text aircraft name: same normalised name first, else same type key.
    std::optional<CatalogAircraft> aircraftNamed(const QString &name) const;
    // The picture of a free-text aircraft and livery name, or none.
    std::optional<AircraftPhotoReference> photo(const QString &aircraftName, const QString &liveryName) const;

    // Keys exactly as written; a missing key or a value of another type fails the whole file (DecodeError).
    static AircraftCatalog fromJson(const QJsonValue &value);
    // The file's bytes; unreadable JSON is a DecodeError too.
    static AircraftCatalog decode(const QByteArray &bytes);

private:
    struct Index;

    std::optional<qsizetype> entryNamed(const QString &name) const;

    QList<CatalogAircraft> m_aircraft;
    // Shared by copies: every view waiting for the catalog gets its own copy.
    std::shared_ptr<const Index> m_index;
};

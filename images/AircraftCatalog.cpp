#include "AircraftCatalog.h"

#include "AircraftNaming.h"
#include "Json.h"

#include <QRegularExpression>

namespace {

// A folder or file stem: lower-case words of letters and digits joined by single hyphens.
bool isSlug(const QString &text)
{
    // Anchored: "$" alone would also match before a final line feed.
    static const QRegularExpression slug(QRegularExpression::anchoredPattern(u"[a-z0-9]+(?:-[a-z0-9]+)*"));
    return slug.match(text).hasMatch();
}

bool isPictureExtension(const QString &extension)
{
    return extension == QLatin1String("webp") || extension == QLatin1String("jpg")
           || extension == QLatin1String("jpeg") || extension == QLatin1String("png");
}

template <typename Value>
void keepFirst(QHash<QString, Value> &keys, const QString &key, const Value &value)
{
    if (!keys.contains(key))
        keys.insert(key, value);
}

} // namespace

bool AircraftPhotoReference::isPublicAssetPath(const QString &path)
{
    if (path.contains(QLatin1String("..")))
        return false;
    if (path == QLatin1String(catalogPath))
        return true;
    static const QRegularExpression picture(QRegularExpression::anchoredPattern(
        u"/live-map-assets/liveries/[a-z0-9-]+/[a-z0-9-]+[.](webp|jpg|jpeg|png)"));
    return picture.match(path).hasMatch();
}

QList<AircraftPhotoReference> CatalogAircraft::photos() const
{
    QList<AircraftPhotoReference> references;
    if (!isSlug(dir))
        return references;
    for (const QStringList &row : liveries) {
        if (row.size() < 2)
            continue;
        const QString &stem = row.at(1);
        const QString extension = row.size() > 2 ? row.at(2) : QStringLiteral("webp");
        if (!isSlug(stem) || !isPictureExtension(extension))
            continue;
        references.append({name, row.at(0),
                           QLatin1String(AircraftPhotoReference::liveriesFolder) + dir + QLatin1Char('/')
                               + stem + QLatin1Char('.') + extension});
    }
    return references;
}

CatalogAircraft CatalogAircraft::fromJson(const QJsonValue &value)
{
    const JsonFields fields(value, false);
    CatalogAircraft entry;
    entry.name = fields.string(u"name");
    entry.dir = fields.string(u"dir");
    for (const QJsonValue &row : fields.array(u"liveries")) {
        if (!row.isArray())
            throw DecodeError(QStringLiteral("a livery row is not a list"));
        QStringList items;
        for (const QJsonValue &item : row.toArray())
            items.append(JsonFields::toString(item, u"liveries"));
        entry.liveries.append(items);
    }
    return entry;
}

AircraftCatalog AircraftCatalog::fromJson(const QJsonValue &value)
{
    return {JsonFields(value, false).list<CatalogAircraft>(u"aircraft")};
}

AircraftCatalog AircraftCatalog::decode(const QByteArray &bytes) { return fromJson(Json::parse(bytes)); }

// Each key names its first entry (or picture) in catalog order, as a search from the front finds it.
struct AircraftCatalog::Index
{
    QHash<QString, qsizetype> byName;
    QHash<QString, qsizetype> byType;
    QList<QHash<QString, AircraftPhotoReference>> liveries; // per entry, by normalised livery name
};

AircraftCatalog::AircraftCatalog()
    : AircraftCatalog(QList<CatalogAircraft>())
{
}

AircraftCatalog::AircraftCatalog(QList<CatalogAircraft> aircraft)
    : m_aircraft(std::move(aircraft))
{
    auto index = std::make_shared<Index>();
    index->liveries.reserve(m_aircraft.size());
    for (qsizetype i = 0; i < m_aircraft.size(); ++i) {
        const CatalogAircraft &entry = m_aircraft.at(i);
        keepFirst(index->byName, AircraftNaming::normalised(entry.name), i);
        keepFirst(index->byType, AircraftNaming::typeKey(entry.name), i);
        QHash<QString, AircraftPhotoReference> &liveries = index->liveries.emplace_back();
        for (const AircraftPhotoReference &reference : entry.photos())
            keepFirst(liveries, AircraftNaming::normalised(reference.livery), reference);
    }
    m_index = std::move(index);
}

std::optional<qsizetype> AircraftCatalog::entryNamed(const QString &name) const
{
    for (const auto &[keys, key] : {std::pair(&m_index->byName, &AircraftNaming::normalised),
                                    std::pair(&m_index->byType, &AircraftNaming::typeKey)}) {
        if (const auto found = keys->constFind(key(name)); found != keys->constEnd())
            return *found;
    }
    return std::nullopt;
}

std::optional<CatalogAircraft> AircraftCatalog::aircraftNamed(const QString &name) const
{
    if (const std::optional<qsizetype> entry = entryNamed(name))
        return m_aircraft.at(*entry);
    return std::nullopt;
}

std::optional<AircraftPhotoReference> AircraftCatalog::photo(const QString &aircraftName,
                                                             const QString &liveryName) const
{
    const QString livery = AircraftNaming::normalised(liveryName);
    if (livery.isEmpty())
        return std::nullopt;
    const std::optional<qsizetype> entry = entryNamed(aircraftName);
    if (!entry)
        return std::nullopt;
    const QHash<QString, AircraftPhotoReference> &liveries = m_index->liveries.at(*entry);
    if (const auto found = liveries.constFind(livery); found != liveries.constEnd())
        return *found;
    return std::nullopt;
}

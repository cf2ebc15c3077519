#include "CatalogPickerModel.h"

#include "APIPath.h"
#include "FlightRecords.h"
#include "L.h"
#include "Outcome.h"
#include "Retarget.h"

#include <algorithm>

CatalogPickerModel::CatalogPickerModel(QObject *parent)
    : QObject(parent)
{
}

void CatalogPickerModel::setClient(APIClient *client)
{
    if (retarget(m_client, client, this))
        Q_EMIT clientChanged();
}

void CatalogPickerModel::setKind(Kind kind)
{
    if (m_kind == kind)
        return;
    m_kind = kind;
    Q_EMIT kindChanged();
}

void CatalogPickerModel::setAircraft(const QString &aircraft)
{
    if (m_aircraft == aircraft)
        return;
    m_aircraft = aircraft;
    Q_EMIT aircraftChanged();
}

QString CatalogPickerModel::title() const
{
    return m_kind == Aircraft ? L(QStringLiteral("选择机型")) : L(QStringLiteral("选择涂装"));
}

void CatalogPickerModel::setQuery(const QString &query)
{
    if (m_query == query)
        return;
    m_query = query;
    Q_EMIT rowsChanged();
}

QStringList CatalogPickerModel::rows() const
{
    QStringList rows;
    for (const QString &name : m_values) {
        if (matches(name, m_query))
            rows.append(name);
    }
    return rows;
}

bool CatalogPickerModel::matches(const QString &name, const QString &query)
{
    return query.isEmpty() || name.contains(query, Qt::CaseInsensitive);
}

QStringList CatalogPickerModel::distinctSorted(const QStringList &names)
{
    struct Entry
    {
        QList<uint> key; // code points of the canonical form
        QString name;
    };
    QList<Entry> entries;
    entries.reserve(names.size());
    for (const QString &name : names)
        entries.append({name.normalized(QString::NormalizationForm_C).toUcs4(), name});
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry &a, const Entry &b) { return a.key < b.key; });
    QStringList sorted;
    const QList<uint> *last = nullptr;
    for (const Entry &entry : entries) {
        if (last && *last == entry.key)
            continue;
        sorted.append(entry.name);
        last = &entry.key;
    }
    return sorted;
}

QCoro::Task<> CatalogPickerModel::run()
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    if (!m_images)
        m_images = &AircraftImageService::shared();
    m_loading = true;
    m_error.reset();
    Q_EMIT stateChanged();
    const auto finish = [this](std::optional<QStringList> names, std::optional<QString> error) {
        if (names) {
            m_values = distinctSorted(*names);
            Q_EMIT rowsChanged();
        }
        m_error = std::move(error);
        m_loading = false;
        Q_EMIT stateChanged();
    };

    const auto readCatalog = [](QPointer<AircraftImageService> images) -> QCoro::Task<AircraftCatalog> {
        if (!images)
            throw CancellationError();
        co_return co_await images->catalog();
    };
    const Outcome<AircraftCatalog> catalog = co_await attempt(readCatalog(m_images));
    if (!lifetime.alive())
        co_return;
    if (!catalog.ok()) {
        finish(std::nullopt, catalog.cancelled() ? std::nullopt : catalog.failureMessage());
        co_return;
    }

    if (m_kind == Livery) {
        QStringList liveries;
        if (const std::optional<CatalogAircraft> entry = catalog.value().aircraftNamed(m_aircraft)) {
            for (const AircraftPhotoReference &photo : entry->photos())
                liveries.append(photo.livery);
        }
        finish(liveries, std::nullopt);
        co_return;
    }

    QStringList catalogNames;
    for (const CatalogAircraft &entry : catalog.value().aircraft())
        catalogNames.append(entry.name);
    const Outcome<std::optional<AircraftNames>> simulator =
        co_await attempt(APIClient::get<AircraftNames>(m_client, APIPath::aircraftNames()));
    if (!lifetime.alive())
        co_return;
    // The simulator's own list when the service has one, even an empty one; else the catalog's names,
    // and the service's failure is not the member's concern.
    finish(simulator.ok() && simulator.value() ? simulator.value()->aircraft : catalogNames, std::nullopt);
}

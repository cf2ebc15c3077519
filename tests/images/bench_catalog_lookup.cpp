// How long the livery catalog takes to read and to answer a picture lookup, for 1,000 entries and for a
// catalog near the size limit of a JSON file. Lookups run on the window's thread, once per photo view.
//   read:   decoding the file's bytes (once per catalog fetch); its floor, Qt's parse of the same bytes.
//   lookup: one aircraft and livery name, matched through the type key to the catalog's last entry; its
//           floor, finding the same two names as they are in a hash of as many entries.
//   miss:   a name no entry has: every rule is tried.
#include "AircraftCatalog.h"
#include "AircraftImageService.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <benchmark/benchmark.h>

#include <limits>

namespace {

constexpr int rowsPerEntry = 2;

// Entries whose names no family rule knows (the slowest kind to key), each with its livery rows; the last
// one is the Boeing 787-9 that the lookups look for.
QByteArray catalogBytes(int entries, qint64 sizeLimit)
{
    QJsonArray aircraft;
    qint64 size = 0;
    const auto add = [&aircraft, &size](const QString &name, const QString &dir) {
        QJsonArray rows;
        for (int r = 0; r < rowsPerEntry; ++r)
            rows.append(QJsonArray{QStringLiteral("Vornalia Livery %1").arg(r),
                                   QStringLiteral("vornalia-livery-%1").arg(r), QStringLiteral("webp")});
        const QJsonObject entry{
            {QStringLiteral("name"), name}, {QStringLiteral("dir"), dir}, {QStringLiteral("liveries"), rows}};
        size += QJsonDocument(entry).toJson(QJsonDocument::Compact).size() + 1;
        aircraft.append(entry);
    };
    const qint64 last = 400; // room left for the last entry and the braces
    for (int i = 0; i < entries && size < sizeLimit - 2 * last; ++i)
        add(QStringLiteral("Vornalia Trainer Mk %1").arg(i), QStringLiteral("trainer-mk-%1").arg(i));
    add(QStringLiteral("Boeing 787-9 Dreamliner"), QStringLiteral("b789"));
    return QJsonDocument(QJsonObject{{QStringLiteral("aircraft"), aircraft}}).toJson(QJsonDocument::Compact);
}

// Arg 0: 1,000 entries; arg 1: as many as fit just under the limit.
const QByteArray &bytes(int which)
{
    static const QByteArray thousand = catalogBytes(1000, AircraftImageService::jsonLimit);
    static const QByteArray full =
        catalogBytes(std::numeric_limits<int>::max(), AircraftImageService::jsonLimit);
    return which == 0 ? thousand : full;
}

const AircraftCatalog &catalog(int which)
{
    static const AircraftCatalog thousand = AircraftCatalog::decode(bytes(0));
    static const AircraftCatalog full = AircraftCatalog::decode(bytes(1));
    return which == 0 ? thousand : full;
}

void label(benchmark::State &state)
{
    const int which = int(state.range(0));
    state.SetLabel(QStringLiteral("%1 entries, %2 KiB")
                       .arg(catalog(which).aircraft().size())
                       .arg(bytes(which).size() / 1024)
                       .toStdString());
}

void readCatalog(benchmark::State &state)
{
    const QByteArray &file = bytes(int(state.range(0)));
    for (auto _ : state) {
        AircraftCatalog read = AircraftCatalog::decode(file);
        benchmark::DoNotOptimize(read);
    }
    label(state);
}

void parseOnly(benchmark::State &state)
{
    const QByteArray &file = bytes(int(state.range(0)));
    for (auto _ : state) {
        QJsonDocument document = QJsonDocument::fromJson(file);
        benchmark::DoNotOptimize(document);
    }
    label(state);
}

// Two finds in hashes as large as the catalog's, of keys given ready: what a lookup cannot go below.
void hashFind(benchmark::State &state)
{
    const AircraftCatalog &entries = catalog(int(state.range(0)));
    QHash<QString, int> names;
    QHash<QString, int> liveries;
    for (int i = 0; i < entries.aircraft().size(); ++i) {
        names.insert(QStringLiteral("trainer-mk-%1").arg(i), i);
        liveries.insert(QStringLiteral("trainer-mk-%1/vornalia-livery-%2").arg(i).arg(rowsPerEntry - 1), i);
    }
    const QString aircraft = QStringLiteral("b789");
    const QString livery = QStringLiteral("b789/vornalia-livery-%1").arg(rowsPerEntry - 1);
    names.insert(aircraft, -1);
    liveries.insert(livery, -1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(names.value(aircraft));
        benchmark::DoNotOptimize(liveries.value(livery));
    }
    label(state);
}

void lookup(benchmark::State &state)
{
    const AircraftCatalog &entries = catalog(int(state.range(0)));
    const QString aircraft = QStringLiteral("B787-9");
    const QString livery = QStringLiteral("vornalia livery %1").arg(rowsPerEntry - 1);
    if (!entries.photo(aircraft, livery))
        state.SkipWithError("the lookup found no picture");
    for (auto _ : state) {
        std::optional<AircraftPhotoReference> found = entries.photo(aircraft, livery);
        benchmark::DoNotOptimize(found);
    }
    label(state);
}

void miss(benchmark::State &state)
{
    const AircraftCatalog &entries = catalog(int(state.range(0)));
    const QString aircraft = QStringLiteral("Concorde");
    const QString livery = QStringLiteral("Air France");
    for (auto _ : state) {
        std::optional<AircraftPhotoReference> found = entries.photo(aircraft, livery);
        benchmark::DoNotOptimize(found);
    }
    label(state);
}

} // namespace

BENCHMARK(parseOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(readCatalog)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(hashFind)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(lookup)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(miss)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

#pragma once

#include "Airports.h"
#include "FlightRecords.h"
#include "MapMath.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// The live map's rules that hold for any snapshot, apart from the screen that applies them: plan keys and
// requests, the airports at a plan's ends, live identification, the order the markers are stacked in,
// the zoom that sizes them and the camera a selection asks for.
namespace LiveMapRules {

using Plans = QHash<QString, PlanResponse>;

// The plan cache's key: the session id (empty when missing), ":", then the flight id, or the flight's
// own id when it has none.
QString planKey(const LiveFlight &flight);
// Whether the flight's plan can be asked for: both ids present, each a UUID in its 8-4-4-4-12 form.
bool plannable(const LiveFlight &flight);
// The plan request's path (only for a plannable flight, whose ids are UUIDs).
QString planPath(const LiveFlight &flight);
// Keeps only the plans of the snapshot's flights.
void prune(Plans &plans, const QList<LiveFlight> &flights);

// The airport a plan point names: a name of four capital letters A to Z that the airport table holds,
// the point less than 27,780 m (15 nautical miles) from that airport. Otherwise none.
std::optional<QString> endpoint(const FlightPoint &point, const Airports::Table &airports);
// The flight with its missing (or empty) end airports taken from the ends of its cached plan; unchanged
// without a cached plan of two points or more. An end that no point names becomes absent.
LiveFlight withRoute(LiveFlight flight, const Plans &plans, const Airports::Table &airports);

// A flight is live-identified when the snapshot's `liveIdentification` is exactly "connected" and the
// flight's `isLive` is true.
bool connected(const std::optional<LiveResponse> &snapshot);
bool liveIdentified(const LiveFlight &flight, bool connected);
// How many of the snapshot's flights are live-identified; 0 without a snapshot.
int liveCount(const std::optional<LiveResponse> &snapshot);

// The snapshot's flights (as indices) in the order the map adds their markers, later ones on top: the
// rest, then live-identified flights, then event flights, then the selected flight; equal ranks keep the
// snapshot's order.
QList<qsizetype> drawOrder(const LiveResponse &snapshot, const std::optional<QString> &selectedId);

// The zoom level that sizes markers: log2(W × 360 / (Δlon × 512)), Δlon at least 0.0001°.
double zoom(double mapWidth, double longitudeSpan);
// The region a selection moves the camera to: the region's spans, centred 0.12 of its latitude span south
// of the flight, so that the flight rests above the middle; the centre's latitude is kept within the
// projection's range (a flight far south under a tall region would put it below the pole).
MapRegion selectionRegion(const LiveFlight &flight, const MapRegion &region);

} // namespace LiveMapRules

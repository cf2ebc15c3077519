#pragma once

#include "Airports.h"
#include "FlightPhase.h"
#include "FlightRecords.h"

#include <QList>
#include <QString>

#include <optional>

// The rules the flight bar and the detail card share for the selected flight: the end airports, with the
// plan's end points standing in for codes the flight lacks, the route progress, and the figures' texts.
namespace SelectedFlight {

// Plan end points are an airport only within 15 nautical miles of it (exactly 27,780 m is too far).
inline constexpr double endpointReach = 27780;

// The code of a plan point that is an airport: a name of four capital letters A to Z, no trimming or case
// folding, in the airport table, and the point within `endpointReach` of that airport.
std::optional<QString> endpoint(const std::optional<FlightPoint> &point, const Airports::Table &airports);

// The flight's own code (as it comes, an empty one too), else the first (last) plan point's endpoint, else
// "—". A plan of one point never names the arrival.
QString departure(const LiveFlight &flight, const std::optional<PlanResponse> &plan,
                  const Airports::Table &airports);
QString arrival(const LiveFlight &flight, const std::optional<PlanResponse> &plan,
                const Airports::Table &airports);

// The shared estimate `progress(of:along:)` of a flight along points in flying order.
std::optional<double> progress(const LiveFlight &flight, const QList<FlightPoint> &route);

// Along the plan's points when it has two or more; else between the flight's own airports when the table
// knows both; else none. Never along the plan's end points or the flown track.
std::optional<double> routeProgress(const LiveFlight &flight, const std::optional<PlanResponse> &plan,
                                    const Airports::Table &airports);

// "35000 ft", "465 kt": cut toward zero, plain digits; "—" when missing or out of range.
QString altitudeText(std::optional<double> feet);
QString groundSpeedText(std::optional<double> knots);
// "43%": rounded half away from zero; "—" when it does not fit.
QString progressText(double progress);
// "Airbus A330-300 · China Eastern" of those present and not empty.
QString aircraftLine(const LiveFlight &flight);

// Everything the bar and the card show of one flight, derived afresh from it.
struct Facts
{
    QString callsign;              // "未知呼号" when missing
    QString accessibleLabel;       // the callsign, or "航班"
    std::optional<QString> pilot;  // present and not empty
    std::optional<QString> server; // "服务器：Expert", when the server is present and not empty
    QString departure;
    QString arrival;
    std::optional<double> progress;
    std::optional<QString> progressFigure; // "43%" with the progress
    QString altitude;
    QString groundSpeed;
    QString aircraftLine;
    QString aircraft; // for the picture: the empty text when missing
    QString livery;
    std::optional<FlightPhase> phase;

    static Facts of(const LiveFlight &flight, const std::optional<PlanResponse> &plan,
                    const Airports::Table &airports);
};

} // namespace SelectedFlight

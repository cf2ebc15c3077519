#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QMap>
#include <QString>

#include <optional>

// Infinite Flight data as the member service passes it on: the member's recent simulator flights and
// statistics, the simulator's aircraft names, the live-map snapshot and the plan of one live flight.

struct RecentFlight
{
    QString id;
    std::optional<QString> created; // ISO 8601
    std::optional<QString> origin;
    std::optional<QString> destination;
    std::optional<QString> aircraft;
    std::optional<QString> livery;
    std::optional<QString> callsign;
    std::optional<QString> server;
    std::optional<double> totalTimeMinutes;
    std::optional<qint64> landings;

    static RecentFlight fromJson(const QJsonValue &value);
    bool operator==(const RecentFlight &) const = default;
    QString identity() const { return id; }

    std::optional<QDateTime> createdAt() const;
};

struct RecentFlightsResponse
{
    QList<RecentFlight> flights;

    static constexpr bool optionalAnswer = false;
    static RecentFlightsResponse fromJson(const QJsonValue &value);
};

// Every count is a plain number here: the service passes on the simulator's values as they come.
struct IFStatistics
{
    std::optional<QString> username;
    std::optional<QString> virtualOrganization;
    std::optional<double> grade;
    std::optional<double> flightTime; // minutes
    std::optional<double> landingCount;
    std::optional<double> onlineFlights;
    std::optional<double> xp;
    std::optional<double> violations;

    static constexpr bool optionalAnswer = true;
    static IFStatistics fromJson(const QJsonValue &value);
};

struct AircraftNames
{
    QList<QString> aircraft;

    static constexpr bool optionalAnswer = true;
    static AircraftNames fromJson(const QJsonValue &value);
};

struct FlightPhaseDescription
{
    QString code;
    QMap<QString, QString> labels; // title by language code; a map, so their order never matters
    QString symbol;
    QString color;                       // six hexadecimal digits, "#" optional
    std::optional<double> verticalSpeed; // feet per minute

    static FlightPhaseDescription fromJson(const QJsonValue &value);
    QJsonObject toJson() const;
    bool operator==(const FlightPhaseDescription &) const = default;

    // The title in the app's current language, else in English, else the bare code.
    QString title() const;
    QString title(const QString &language) const;
};

struct LiveFlight
{
    QString id; // what LiveMapMember::flightIds refer to
    std::optional<QString> flightId;
    std::optional<QString> sessionId;
    std::optional<QString> server;
    std::optional<QString> pilot;
    std::optional<QString> callsign;
    std::optional<QString> aircraft;
    std::optional<QString> livery;
    double latitude = 0;
    double longitude = 0;
    std::optional<double> altitude; // feet
    std::optional<double> groundSpeed;
    std::optional<double> heading;
    std::optional<QString> departure;
    std::optional<QString> arrival;
    std::optional<QString> fleetRegistration;
    std::optional<double> verticalSpeed;
    std::optional<FlightPhaseDescription> flightPhase;
    std::optional<qint64> pilotState;
    std::optional<bool> isConnected;
    std::optional<QString> lastReport;
    std::optional<bool> eventAttending;
    std::optional<bool> isLive;

    static LiveFlight fromJson(const QJsonValue &value);
    bool operator==(const LiveFlight &) const = default;
    QString identity() const { return id; }
};

struct LiveMapMember
{
    QString username;
    QList<QString> flightIds;

    static LiveMapMember fromJson(const QJsonValue &value);
    bool operator==(const LiveMapMember &) const = default;
};

struct LiveResponse
{
    QList<LiveFlight> flights;
    std::optional<LiveFlight> ownFlight;
    std::optional<QList<LiveMapMember>> members;
    std::optional<QString> status;    // "saved", "degraded", …
    std::optional<QString> updatedAt; // ISO 8601
    std::optional<QString> liveIdentification;

    static constexpr bool optionalAnswer = true;
    static LiveResponse fromJson(const QJsonValue &value);
    // The same record read straight from the answer's bytes, several times faster than through a document:
    // what the service sends, in camel-case keys of the right types. None for anything else (snake-case
    // keys, a key twice, a missing or mistyped field, bytes Qt's parser might judge otherwise), which the
    // ordinary reading then decides. LiveSnapshotReader.cpp.
    static std::optional<LiveResponse> readDirectly(QByteArrayView json);

    std::optional<QDateTime> updated() const;
    bool operator==(const LiveResponse &) const = default;
    // The signed-in member's flights: those the member table lists under their name (in any letter case),
    // or, without an entry for them, those they flew as pilot; then `ownFlight` when it is not among them.
    // `ownFlight` first, the rest by server, callsign and id as people order names (letter case ignored,
    // digit runs by value); equals keep the snapshot's order. No user name: `ownFlight` alone, or none.
    QList<LiveFlight> ownFlights(const std::optional<QString> &username) const;
};

struct FlightPoint
{
    double latitude = 0;
    double longitude = 0;
    std::optional<QString> name;

    static FlightPoint fromJson(const QJsonValue &value);
    bool operator==(const FlightPoint &) const = default;
};

struct PlanResponse
{
    std::optional<QList<FlightPoint>> points;
    std::optional<QList<FlightPoint>> route;

    static constexpr bool optionalAnswer = true;
    static PlanResponse fromJson(const QJsonValue &value);
    bool operator==(const PlanResponse &) const = default;
};

size_t qHash(const RecentFlight &flight, size_t seed = 0) noexcept;
size_t qHash(const FlightPhaseDescription &phase, size_t seed = 0) noexcept;
size_t qHash(const LiveFlight &flight, size_t seed = 0) noexcept;

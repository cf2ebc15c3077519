// A live-map snapshot read straight from the answer's bytes (LiveResponse::readDirectly). It reads what
// the member service sends, camel-case keys of the right types, and leaves everything else to the ordinary
// reading through a QJsonDocument and JsonFields: a key in snake case, a key given twice, a required field
// missing or null, a value of another type, and whatever JsonScanner does not take. So whenever it gives a
// record, the ordinary reading gives the same one; the test of the client compares the two.
#include "FlightRecords.h"

#include "Json.h"
#include "JsonScanner.h"

#include <array>
#include <cmath>
#include <initializer_list>
#include <vector>

namespace {

// The keys of a record: the index of a camel-case key; `alias` for the snake-case form of one (left to the
// ordinary reading); `unknown` for any other, whose value is passed over.
class Keys
{
public:
    static constexpr int unknown = -1;
    static constexpr int alias = -2;

    Keys(std::initializer_list<const char *> names)
    {
        for (const char *name : names) {
            const QByteArray camel(name);
            m_keys.push_back({camel, int(m_keys.size())});
            const QByteArray snake = Json::snakeCase(QString::fromLatin1(camel)).toLatin1();
            if (snake != camel)
                m_aliases.push_back(snake);
        }
    }

    int find(QByteArrayView key) const
    {
        for (const auto &[name, index] : m_keys) {
            if (name.size() == key.size() && name == key)
                return index;
        }
        if (key.contains('_')) {
            for (const QByteArray &snake : m_aliases) {
                if (snake == key)
                    return alias;
            }
        }
        return unknown;
    }

private:
    std::vector<std::pair<QByteArray, int>> m_keys;
    std::vector<QByteArray> m_aliases;
};

// Each read returns false to leave the bytes to the ordinary reading.

bool requiredText(JsonScanner &s, QString &text)
{
    return s.peek() == JsonScanner::Kind::String && s.readString(text);
}

bool text(JsonScanner &s, std::optional<QString> &text)
{
    switch (s.peek()) {
    case JsonScanner::Kind::Null:
        return s.readNull();
    case JsonScanner::Kind::String: {
        QString read;
        if (!s.readString(read))
            return false;
        text = std::move(read);
        return true;
    }
    default:
        return false;
    }
}

bool requiredNumber(JsonScanner &s, double &number)
{
    std::optional<qint64> whole;
    return s.peek() == JsonScanner::Kind::Number && s.readNumber(number, whole);
}

bool number(JsonScanner &s, std::optional<double> &number)
{
    if (s.peek() == JsonScanner::Kind::Null)
        return s.readNull();
    double read = 0;
    if (!requiredNumber(s, read))
        return false;
    number = read;
    return true;
}

// A whole number as JsonFields::toInteger takes it: written as one, or a number without a fraction in range.
bool integer(JsonScanner &s, std::optional<qint64> &integer)
{
    if (s.peek() == JsonScanner::Kind::Null)
        return s.readNull();
    double read = 0;
    std::optional<qint64> whole;
    if (s.peek() != JsonScanner::Kind::Number || !s.readNumber(read, whole))
        return false;
    if (whole) {
        integer = whole;
        return true;
    }
    if (std::trunc(read) != read || !(std::fabs(read) < 9.2e18))
        return false;
    integer = qint64(read);
    return true;
}

bool boolean(JsonScanner &s, std::optional<bool> &value)
{
    switch (s.peek()) {
    case JsonScanner::Kind::Null:
        return s.readNull();
    case JsonScanner::Kind::True:
    case JsonScanner::Kind::False: {
        bool read = false;
        if (!s.readBool(read))
            return false;
        value = read;
        return true;
    }
    default:
        return false;
    }
}

// Reads the members of an object: `member` is called with each known key's index and reads its value;
// unknown keys are passed over; a key given twice, a snake-case alias, or a required member missing at the
// end leaves the object to the ordinary reading. `required` holds the bits of the required members.
template <typename Member>
bool readMembers(JsonScanner &s, const Keys &keys, quint32 required, Member member)
{
    if (s.peek() != JsonScanner::Kind::Object || !s.enterObject())
        return false;
    quint32 seen = 0;
    QByteArrayView key;
    while (s.nextKey(key)) {
        const int index = keys.find(key);
        if (index == Keys::alias)
            return false;
        if (index == Keys::unknown) {
            if (!s.skipValue())
                return false;
            continue;
        }
        const quint32 bit = quint32(1) << index;
        if (seen & bit)
            return false;
        seen |= bit;
        // A required member given as null is missing to JsonFields.
        if ((required & bit) && s.peek() == JsonScanner::Kind::Null)
            return false;
        if (!member(index, s))
            return false;
    }
    return !s.failed() && (seen & required) == required;
}

bool phase(JsonScanner &s, FlightPhaseDescription &phase)
{
    enum { Code, Labels, Symbol, Color, VerticalSpeed };
    static const Keys keys{"code", "labels", "symbol", "color", "verticalSpeed"};
    constexpr quint32 required = 1 << Code | 1 << Labels | 1 << Symbol | 1 << Color;
    return readMembers(s, keys, required, [&phase](int index, JsonScanner &s) {
        switch (index) {
        case Code:
            return requiredText(s, phase.code);
        case Labels: {
            if (s.peek() != JsonScanner::Kind::Object || !s.enterObject())
                return false;
            QByteArrayView key;
            while (s.nextKey(key)) {
                const QString language = QString::fromUtf8(key);
                QString label;
                if (phase.labels.contains(language) || !requiredText(s, label))
                    return false;
                phase.labels.insert(language, label);
            }
            return !s.failed();
        }
        case Symbol:
            return requiredText(s, phase.symbol);
        case Color:
            return requiredText(s, phase.color);
        case VerticalSpeed:
            return number(s, phase.verticalSpeed);
        }
        return false;
    });
}

bool flight(JsonScanner &s, LiveFlight &f)
{
    enum {
        Id,
        FlightId,
        SessionId,
        Server,
        Pilot,
        Callsign,
        Aircraft,
        Livery,
        Latitude,
        Longitude,
        Altitude,
        GroundSpeed,
        Heading,
        Departure,
        Arrival,
        FleetRegistration,
        VerticalSpeed,
        Phase,
        PilotState,
        IsConnected,
        LastReport,
        EventAttending,
        IsLive,
    };
    static const Keys keys{"id",
                           "flightId",
                           "sessionId",
                           "server",
                           "pilot",
                           "callsign",
                           "aircraft",
                           "livery",
                           "latitude",
                           "longitude",
                           "altitude",
                           "groundSpeed",
                           "heading",
                           "departure",
                           "arrival",
                           "fleetRegistration",
                           "verticalSpeed",
                           "flightPhase",
                           "pilotState",
                           "isConnected",
                           "lastReport",
                           "eventAttending",
                           "isLive"};
    constexpr quint32 required = 1 << Id | 1 << Latitude | 1 << Longitude;
    return readMembers(s, keys, required, [&f](int index, JsonScanner &s) {
        switch (index) {
        case Id:
            return requiredText(s, f.id);
        case FlightId:
            return text(s, f.flightId);
        case SessionId:
            return text(s, f.sessionId);
        case Server:
            return text(s, f.server);
        case Pilot:
            return text(s, f.pilot);
        case Callsign:
            return text(s, f.callsign);
        case Aircraft:
            return text(s, f.aircraft);
        case Livery:
            return text(s, f.livery);
        case Latitude:
            return requiredNumber(s, f.latitude);
        case Longitude:
            return requiredNumber(s, f.longitude);
        case Altitude:
            return number(s, f.altitude);
        case GroundSpeed:
            return number(s, f.groundSpeed);
        case Heading:
            return number(s, f.heading);
        case Departure:
            return text(s, f.departure);
        case Arrival:
            return text(s, f.arrival);
        case FleetRegistration:
            return text(s, f.fleetRegistration);
        case VerticalSpeed:
            return number(s, f.verticalSpeed);
        case Phase:
            if (s.peek() == JsonScanner::Kind::Null)
                return s.readNull();
            f.flightPhase.emplace();
            return phase(s, *f.flightPhase);
        case PilotState:
            return integer(s, f.pilotState);
        case IsConnected:
            return boolean(s, f.isConnected);
        case LastReport:
            return text(s, f.lastReport);
        case EventAttending:
            return boolean(s, f.eventAttending);
        case IsLive:
            return boolean(s, f.isLive);
        }
        return false;
    });
}

bool member(JsonScanner &s, LiveMapMember &m)
{
    enum { Username, FlightIds };
    static const Keys keys{"username", "flightIds"};
    return readMembers(s, keys, 1 << Username | 1 << FlightIds, [&m](int index, JsonScanner &s) {
        if (index == Username)
            return requiredText(s, m.username);
        if (s.peek() != JsonScanner::Kind::Array || !s.enterArray())
            return false;
        while (s.nextElement()) {
            QString id;
            if (!requiredText(s, id))
                return false;
            m.flightIds.append(std::move(id));
        }
        return !s.failed();
    });
}

// A list whose elements are records, each an object.
template <typename T, typename Read>
bool list(JsonScanner &s, QList<T> &items, Read read)
{
    if (s.peek() != JsonScanner::Kind::Array || !s.enterArray())
        return false;
    while (s.nextElement()) {
        items.emplaceBack();
        if (!read(s, items.last()))
            return false;
    }
    return !s.failed();
}

} // namespace

std::optional<LiveResponse> LiveResponse::readDirectly(QByteArrayView json)
{
    enum { Flights, OwnFlight, Members, Status, UpdatedAt, LiveIdentification };
    static const Keys keys{"flights", "ownFlight", "members", "status", "updatedAt", "liveIdentification"};
    JsonScanner s(json);
    LiveResponse snapshot;
    const bool read = readMembers(s, keys, 1 << Flights, [&snapshot](int index, JsonScanner &s) {
        switch (index) {
        case Flights:
            // A snapshot of thousands of flights grows its list once.
            snapshot.flights.reserve(1024);
            return list(s, snapshot.flights, flight);
        case OwnFlight:
            if (s.peek() == JsonScanner::Kind::Null)
                return s.readNull();
            snapshot.ownFlight.emplace();
            return flight(s, *snapshot.ownFlight);
        case Members:
            if (s.peek() == JsonScanner::Kind::Null)
                return s.readNull();
            snapshot.members.emplace();
            return list(s, *snapshot.members, member);
        case Status:
            return text(s, snapshot.status);
        case UpdatedAt:
            return text(s, snapshot.updatedAt);
        case LiveIdentification:
            return text(s, snapshot.liveIdentification);
        }
        return false;
    });
    if (!read || !s.atEnd())
        return std::nullopt;
    return snapshot;
}

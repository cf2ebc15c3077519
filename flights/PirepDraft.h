#pragma once

#include "AccountRecords.h"
#include "CommunityRecords.h"
#include "FlightRecords.h"

#include <QMap>
#include <QString>

#include <optional>

// The report being written: the texts as the member typed them, filled from one of their recent simulator
// flights or from an event, checked by one list of rules and turned into the upload's text fields. The
// numbers stay text until they are checked and sent.
struct PirepDraft
{
    QString departure;
    QString arrival;
    QString aircraft;
    QString livery;
    QString callsign;
    QString hours = QStringLiteral("0");
    QString minutes;
    QString landings = QStringLiteral("1");
    QString note;
    QString sourceFlightId;
    bool organizationMultiplier = false;
    bool eventMultiplier = false;

    PirepDraft() = default;
    explicit PirepDraft(const std::optional<RecentFlight> &flight);
    // The form of an event's report: its route, aircraft and livery, and the event factor asked for.
    void takeEvent(const FlightEvent &event);

    // None when the draft may be sent, else the message of the first rule it fails.
    std::optional<QString> validationMessage() const;
    // The eleven text fields of the upload, empty ones included.
    QMap<QString, QString> fields() const;
    // Whether one of the member's reports is this draft as the service keeps it once sent: the same
    // airports, aircraft, livery and flight time.
    bool describes(const Pirep &report) const;
    // "1", "1.25", "1.5" or "1.25,1.5".
    QString multiplierValue() const;
    // The factor the flags ask for: 1, 1.25, 1.5 or 1.875.
    double multiplierFactor() const;

    bool operator==(const PirepDraft &) const = default;

    static constexpr int maxNameLength = 120;
    static constexpr int maxNoteLength = 500;

    // A whole decimal number: an optional sign and ASCII digits, nothing else, within 64 bits.
    static std::optional<qint64> integer(const QString &text);
};

#pragma once

#include "FlightRecords.h"

#include <QColor>
#include <QLocale>
#include <QString>

#include <optional>

// What a view shows of a live flight's phase: a title in the interface language, the service's symbol, an
// opaque colour and the climb or descent rate. The flight bar, the detail card, the own-flights picker and
// the dashboard's latest-flight card all read the phase through this.
struct FlightPhase
{
    QString title;
    QString symbol;
    QColor color;
    std::optional<QString> rate; // "+1,500 ft/min"

    // None for a flight without a phase description; in the current language and the user's locale.
    static std::optional<FlightPhase> of(const LiveFlight &flight);
    static std::optional<FlightPhase> of(const LiveFlight &flight, const QString &language,
                                         const QLocale &locale);

    // "#1F9D57", "1f9d57": the value; anything that is not six hexadecimal digits after one optional "#"
    // gives the service's neutral 0x6F6458.
    static QRgb colorValue(const QString &color);
    // The phase's own rate (never the flight's): a "+" when climbing, the locale's grouping, " ft/min".
    static std::optional<QString> rateText(std::optional<double> verticalSpeed, const QLocale &locale);

    bool operator==(const FlightPhase &) const = default;
};

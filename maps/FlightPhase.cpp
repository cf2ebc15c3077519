#include "FlightPhase.h"

#include "AppLanguage.h"
#include "Display.h"

#include <cmath>

namespace {

constexpr QRgb neutral = 0x6F6458;

// As an unsigned 32-bit parse in base 16 reads it: hexadecimal digits after one optional "+", or "-"
// before a value of zero only.
std::optional<quint32> unsignedHex(QStringView text)
{
    bool negative = false;
    if (text.startsWith(u'+') || text.startsWith(u'-')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    quint64 value = 0;
    for (const QChar c : text) {
        const int digit = c.isDigit() && c.unicode() < 128 ? c.unicode() - '0'
                          : c >= u'a' && c <= u'f'         ? c.unicode() - 'a' + 10
                          : c >= u'A' && c <= u'F'         ? c.unicode() - 'A' + 10
                                                           : -1;
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + quint64(digit);
    }
    if (negative && value != 0)
        return std::nullopt;
    return quint32(value);
}

} // namespace

std::optional<FlightPhase> FlightPhase::of(const LiveFlight &flight)
{
    return of(flight, AppLanguage::current(), Display::locale());
}

std::optional<FlightPhase> FlightPhase::of(const LiveFlight &flight, const QString &language,
                                           const QLocale &locale)
{
    if (!flight.flightPhase)
        return std::nullopt;
    const FlightPhaseDescription &phase = *flight.flightPhase;
    return FlightPhase{phase.title(language), phase.symbol, QColor::fromRgb(colorValue(phase.color)),
                       rateText(phase.verticalSpeed, locale)};
}

QRgb FlightPhase::colorValue(const QString &color)
{
    const QStringView digits = color.startsWith(u'#') ? QStringView(color).mid(1) : QStringView(color);
    if (digits.size() != 6)
        return neutral;
    return unsignedHex(digits).value_or(neutral);
}

std::optional<QString> FlightPhase::rateText(std::optional<double> verticalSpeed, const QLocale &locale)
{
    if (!verticalSpeed || !std::isfinite(*verticalSpeed))
        return std::nullopt;
    const double rounded = std::round(*verticalSpeed); // halves away from zero
    // A signed 64-bit integer holds -2^63 up to, not including, 2^63.
    if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0))
        return std::nullopt;
    const QString sign = *verticalSpeed > 0 ? QStringLiteral("+") : QString();
    return sign + locale.toString(qint64(rounded)) + QStringLiteral(" ft/min");
}

#include "PirepDraft.h"

#include "L.h"
#include "Strings.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

PirepDraft::PirepDraft(const std::optional<RecentFlight> &flight)
{
    if (!flight)
        return;
    departure = flight->origin.value_or(QString());
    arrival = flight->destination.value_or(QString());
    aircraft = flight->aircraft.value_or(QString());
    livery = flight->livery.value_or(QString());
    callsign = flight->callsign.value_or(QString());
    sourceFlightId = flight->id;
    if (flight->totalTimeMinutes) {
        // Halves away from zero; a time beyond what a whole number of minutes can hold counts as none.
        const double rounded = std::round(*flight->totalTimeMinutes);
        const qint64 total =
            rounded > 0 && rounded < double(std::numeric_limits<qint64>::max()) ? qint64(rounded) : 0;
        hours = QString::number(total / 60);
        minutes = QString::number(total % 60);
    }
    if (flight->landings && *flight->landings >= 1)
        landings = QString::number(*flight->landings);
}

void PirepDraft::takeEvent(const FlightEvent &event)
{
    departure = event.departureCode;
    arrival = event.arrivalCode;
    aircraft = event.aircraft;
    livery = event.livery;
    eventMultiplier = true;
}

std::optional<qint64> PirepDraft::integer(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("\\A[+-]?[0-9]+\\z"));
    if (!form.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

std::optional<QString> PirepDraft::validationMessage() const
{
    static const QRegularExpression code(QStringLiteral("\\A[A-Z]{4}\\z"));
    if (!code.match(departure.toUpper()).hasMatch() || !code.match(arrival.toUpper()).hasMatch())
        return L(QStringLiteral("机场代码需为 4 位英文字母。"));
    if (Text::trimmedHorizontally(aircraft).isEmpty() || Text::trimmedHorizontally(livery).isEmpty()
        || Text::perceivedLength(aircraft) > maxNameLength || Text::perceivedLength(livery) > maxNameLength)
        return L(QStringLiteral("请填写机型和涂装，每项不超过 120 字。"));
    const std::optional<qint64> h = integer(hours), m = integer(minutes);
    if (!h || !m || *h < 0 || *h > 99 || *m < 0 || *m > 59 || *h * 60 + *m <= 0)
        return L(QStringLiteral("请填写有效飞行时间，分钟为 0–59，总时长大于零。"));
    const std::optional<qint64> count = integer(landings);
    if (!count || *count < 1 || *count > 99)
        return L(QStringLiteral("降落次数需为 1–99 的整数。"));
    if (Text::perceivedLength(note) > maxNoteLength)
        return L(QStringLiteral("补充说明最多 500 字。"));
    return std::nullopt;
}

bool PirepDraft::describes(const Pirep &report) const
{
    const std::optional<qint64> h = integer(hours), m = integer(minutes);
    return h && m && report.departureCode == departure.toUpper() && report.arrivalCode == arrival.toUpper()
           && report.aircraft.trimmed() == aircraft.trimmed() && report.livery.trimmed() == livery.trimmed()
           && report.durationMinutes == double(*h * 60 + *m);
}

QString PirepDraft::multiplierValue() const
{
    QStringList factors;
    if (organizationMultiplier)
        factors.append(QStringLiteral("1.25"));
    if (eventMultiplier)
        factors.append(QStringLiteral("1.5"));
    return factors.isEmpty() ? QStringLiteral("1") : factors.join(u',');
}

double PirepDraft::multiplierFactor() const
{
    return (organizationMultiplier ? 1.25 : 1.0) * (eventMultiplier ? 1.5 : 1.0);
}

// A number the draft checked goes out in its plain form: "+7" or "007" is sent as "7". Text that fails
// its rule never reaches the upload, which checks the draft first.
static QString canonical(const QString &text)
{
    const std::optional<qint64> value = PirepDraft::integer(text);
    return value ? QString::number(*value) : text;
}

QMap<QString, QString> PirepDraft::fields() const
{
    return {{QStringLiteral("departureCode"), departure.toUpper()},
            {QStringLiteral("arrivalCode"), arrival.toUpper()},
            {QStringLiteral("aircraft"), aircraft},
            {QStringLiteral("livery"), livery},
            {QStringLiteral("flightCallsign"), callsign},
            {QStringLiteral("hours"), canonical(hours)},
            {QStringLiteral("minutes"), canonical(minutes)},
            {QStringLiteral("landings"), canonical(landings)},
            {QStringLiteral("submitNote"), note},
            {QStringLiteral("sourceFlightId"), sourceFlightId},
            {QStringLiteral("multiplier"), multiplierValue()}};
}

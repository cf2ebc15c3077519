#include "PirepText.h"

#include "Display.h"

#include <QDateTime>

#include <cmath>

namespace PirepText {

QString factor(double percent)
{
    return QStringLiteral("×") + Display::locale().toString(percent / 100, 'g', 6);
}

std::optional<QString> multiplierChip(const Pirep &report)
{
    if (!report.multiplierPercent || *report.multiplierPercent == 100)
        return std::nullopt;
    return factor(*report.multiplierPercent);
}

std::optional<QDateTime> submittedMoment(const Pirep &report)
{
    if (!report.submittedAt || !(*report.submittedAt > 0) || !std::isfinite(*report.submittedAt))
        return std::nullopt;
    const double seconds = *report.submittedAt >= 1e12 ? *report.submittedAt / 1000 : *report.submittedAt;
    if (seconds * 1000 >= 9.0e18)
        return std::nullopt;
    const QDateTime moment = QDateTime::fromMSecsSinceEpoch(qint64(seconds * 1000));
    return moment.isValid() ? std::optional(moment) : std::nullopt;
}

std::optional<QString> submittedDay(const Pirep &report)
{
    const std::optional<QDateTime> moment = submittedMoment(report);
    if (!moment)
        return std::nullopt;
    return Display::locale().toString(moment->date(), QLocale::ShortFormat);
}

std::optional<QString> rowReason(const Pirep &report)
{
    if (report.status != QLatin1String("rejected") || !report.rejectionReason
        || report.rejectionReason->isEmpty())
        return std::nullopt;
    return report.rejectionReason;
}

} // namespace PirepText

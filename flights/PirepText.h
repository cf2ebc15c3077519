#pragma once

#include "AccountRecords.h"

#include <QDateTime>
#include <QString>

#include <optional>

// Texts of one report that its row in the logbook and its detail page both show.
namespace PirepText {

// "×1.25" for 125 percent; the factor in the locale's plain number format.
QString factor(double percent);
// The row's multiplier chip: none when the percent is absent or exactly 100.
std::optional<QString> multiplierChip(const Pirep &report);
// The moment of the submission; none when the time is absent or not above 0.
std::optional<QDateTime> submittedMoment(const Pirep &report);
// The submission day in the locale's date format; none when the time is absent or not above 0.
std::optional<QString> submittedDay(const Pirep &report);
// The rejection reason under the row: only for a rejected report, and only when it says something.
std::optional<QString> rowReason(const Pirep &report);

} // namespace PirepText

#pragma once

#include "AccountRecords.h"
#include "ReviewRecords.h"

#include <QList>
#include <QString>
#include <QVariantList>

#include <optional>

// The texts of the review page of one report: the report's lines, the system checks, the history rows, the
// decision's pickers and button, the confirmation alert and what the queue says once an action is saved.
namespace ReviewText {

// "申请人：…", with the dash for a report without its applicant.
QString applicantHeader(const Pirep &report);
// The applicant's user name, else "成员".
QString applicant(const Pirep &report);
// The aircraft and the livery, each left out when empty, joined by " · ".
QString equipment(const Pirep &report);
// The flight's duration, and the duration it counts with its multiplier.
QString flightTime(const Pirep &report);
QString countedTime(const Pirep &report);
// The landings, or the dash.
QString landings(const Pirep &report);

// How a check line is coloured.
enum class Tone { Plain, Good, Bad, Neutral, Caption };
// A check line: a verdict or caption alone, or a labelled row, its title at the leading edge and its value
// at the trailing edge.
struct Line
{
    QString text;
    Tone tone = Tone::Plain;
    QString label;
    bool operator==(const Line &) const = default;
};
// A line as a screen reader says it: a labelled row's title and value joined by the language's colon.
QString spoken(const Line &line);
// The route check's verdict and, for a matching callsign, its second line; none without a route check.
QList<Line> routeCheck(const Pirep &report);
// Whether the uploaded, simulator and site callsigns agree.
Line callsignVerdict(const CallsignReview &review);
// Why the simulator's callsign is missing.
QString missingCallsign(const std::optional<QString> &note);
// Every check line of the report: its uploaded callsign, the route check with its caption and the
// callsign review, each only when the report has it.
QList<Line> checks(const Pirep &report);

// One history row: its title, status, reason, multiplier (each empty when the entry has none) and time.
struct HistoryRow
{
    QString title;
    std::optional<QString> status;
    std::optional<QString> reason;
    std::optional<QString> multiplier;
    QString time;
};
HistoryRow historyRow(const ReviewEntry &entry);

// The decision's title: a pending report's first review, or a change to a decided one.
QString decisionTitle(const Pirep &report);
// The pickers' options, {title, value} in the order shown: the decisions (the inquiry only for a pending
// report) and the multipliers.
QVariantList decisionOptions(const Pirep &report);
QVariantList multiplierOptions();
// The save button's symbol for a decision ("approved", "inquiry" or "rejected").
QString saveSymbol(const QString &decision);

// The confirmation alert of an action: the deletion's, or any other change's.
// Whether the action deletes the report.
bool destroys(const QString &action);
QString confirmTitle(const QString &action);
QString confirmMessage(const QString &action);
QString confirmButton(const QString &action);
// What the queue says once `action` is saved.
QString saved(const QString &action);

} // namespace ReviewText

#pragma once

#include "AccountRecords.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

// The decision being written on one report: the approval, the inquiry with the note the member reads, or
// the rejection with the reason they read; and the multiplier. A value compared whole: an untouched form is
// the one the report came with, and what a session that ends during a review keeps of it is one.
struct ReviewDecision
{
    // The decisions in the picker's order, and the multipliers in theirs.
    static const QStringList decisions;
    static const QList<double> percents;
    // The longest rejection reason or inquiry note, in characters as a reader counts them.
    static constexpr int maxTextLength = 500;

    QString decision = QStringLiteral("approved");
    QString reason;
    QString note;
    double percent = 100;

    // The decision as the report came: a held report's inquiry with its note, a rejected one's rejection,
    // else the approval; the report's reason and multiplier.
    static ReviewDecision of(const Pirep &report);

    int decisionIndex() const { return int(decisions.indexOf(decision)); }
    int multiplierIndex() const { return int(percents.indexOf(percent)); }
    bool approves() const { return decision == QLatin1String("approved"); }
    // Whether it may be sent: a rejection needs its reason and an inquiry its note, each visible and within
    // the limit.
    bool complete() const;
    // The body that `action` posts on `report`; empty for an action without one.
    QJsonObject body(const QString &action, const Pirep &report) const;

    bool operator==(const ReviewDecision &) const = default;
};

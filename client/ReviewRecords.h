#pragma once

#include <QJsonValue>
#include <QList>
#include <QString>

#include <optional>

// The history of one flight report as the staff workbench shows it: one entry per step taken on it.

struct ReviewEntry
{
    std::optional<QString> kind; // worded by the service
    std::optional<double> at;    // Unix time in seconds, or milliseconds from 1e12 on
    std::optional<QString> actor;
    std::optional<QString> toStatus;
    std::optional<QString> toReason;
    std::optional<double> toPercent; // duration multiplier after the step; 100 is none

    static ReviewEntry fromJson(const QJsonValue &value);
};

struct ReviewHistory
{
    QList<ReviewEntry> entries; // in the service's order; two equal entries are still two steps

    static constexpr bool optionalAnswer = false;
    static ReviewHistory fromJson(const QJsonValue &value);
};

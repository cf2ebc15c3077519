#include "ReviewDecision.h"

#include "Strings.h"

#include <cmath>

const QStringList ReviewDecision::decisions{QStringLiteral("approved"), QStringLiteral("inquiry"),
                                            QStringLiteral("rejected")};
const QList<double> ReviewDecision::percents{100, 125, 150, 187.5};

ReviewDecision ReviewDecision::of(const Pirep &report)
{
    ReviewDecision opened;
    opened.percent = report.multiplierPercent.value_or(100);
    const bool held = report.state() == PirepState::OnHold;
    opened.decision = held                                         ? QStringLiteral("inquiry")
                      : report.status == QLatin1String("rejected") ? QStringLiteral("rejected")
                                                                   : QStringLiteral("approved");
    opened.note = held ? report.holdNote.value_or(QString()) : QString();
    opened.reason = report.rejectionReason.value_or(QString());
    return opened;
}

bool ReviewDecision::complete() const
{
    // The member reads the reason or the note in their report's history: a few lines, not a document.
    if (decision == QLatin1String("rejected"))
        return !reason.trimmed().isEmpty() && Text::perceivedLength(reason) <= maxTextLength;
    if (decision == QLatin1String("inquiry"))
        return !note.trimmed().isEmpty() && Text::perceivedLength(note) <= maxTextLength;
    return true;
}

QJsonObject ReviewDecision::body(const QString &action, const Pirep &report) const
{
    if (action == QLatin1String("review")) {
        // An approval stores no reason: a stale rejection text must not travel with it.
        QJsonObject body{{"decision", decision},
                         {"reason", approves() ? QString() : reason},
                         {"amend", !report.isPending()}};
        // The review the reviewer saw, whole seconds; a time no 64-bit integer holds is left out.
        if (const std::optional<double> &at = report.reviewedAt;
            at && std::isfinite(*at) && *at > -9223372036854775808.0 && *at < 9223372036854775808.0)
            body.insert("expectedReviewedAt", qint64(std::trunc(*at)));
        return body;
    }
    if (action == QLatin1String("hold"))
        return {{"hold", true}, {"note", note}};
    if (action == QLatin1String("release"))
        return {{"hold", false}, {"note", QString()}};
    if (action == QLatin1String("multiplier"))
        return {{"percent", percent}};
    return {};
}

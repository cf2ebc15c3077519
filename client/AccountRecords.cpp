#include "AccountRecords.h"

#include "Json.h"
#include "L.h"
#include "RecordHash.h"

#include <QHashFunctions>

#include <cmath>

User User::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.string(u"id"), f.string(u"username"), f.optionalString(u"name"), f.string(u"role")};
}

bool User::isMemberRole(const QString &role) { return role == QLatin1String("member"); }

bool User::mayUseCentre(const QString &role)
{
    return isMemberRole(role) || role == QLatin1String("admin") || role == QLatin1String("developer");
}

QJsonObject User::toJson() const
{
    return JsonWriter()
        .set(QStringLiteral("id"), id)
        .set(QStringLiteral("username"), username)
        .setOptional(QStringLiteral("name"), name)
        .set(QStringLiteral("role"), role)
        .object();
}

UserResponse UserResponse::fromJson(const QJsonValue &value)
{
    return {JsonFields(value).record<User>(u"user")};
}

LoginResponse LoginResponse::fromJson(const QJsonValue &value)
{
    return {JsonFields(value).string(u"redirect")};
}

Acknowledgement Acknowledgement::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.optionalBoolean(u"ok"), f.optionalBoolean(u"local"), f.optionalString(u"id")};
}

Profile Profile::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.string(u"wechatName"), f.optionalString(u"discordUsername"), f.string(u"callsign"),
            f.string(u"contactEmail"), f.boolean(u"hasAvatar")};
}

QJsonObject Profile::toJson() const
{
    return JsonWriter()
        .set(QStringLiteral("wechatName"), wechatName)
        .setOptional(QStringLiteral("discordUsername"), discordUsername)
        .set(QStringLiteral("callsign"), callsign)
        .set(QStringLiteral("contactEmail"), contactEmail)
        .set(QStringLiteral("hasAvatar"), hasAvatar)
        .object();
}

QString Profile::formattedCallsign() const
{
    // Only an empty callsign counts as unset: blanks are the member's own choice and are shown.
    if (callsign.isEmpty())
        return L("尚未设置呼号");
    return QStringLiteral("B-") + callsign + QStringLiteral("CA");
}

ProfileResponse ProfileResponse::fromJson(const QJsonValue &value)
{
    return {JsonFields(value).record<Profile>(u"profile")};
}

ProfileSummary ProfileSummary::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.optionalNumber(u"joinedAt"), f.optionalNumber(u"lastPirepAt"),
            f.optionalNumber(u"approvedMinutes")};
}

CallsignReview CallsignReview::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.optionalString(u"uploaded"), f.optionalString(u"actual"), f.optionalString(u"site"),
            f.optionalString(u"note")};
}

Pirep Pirep::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {
        f.string(u"id"),
        f.string(u"departureCode"),
        f.string(u"arrivalCode"),
        f.string(u"aircraft"),
        f.string(u"livery"),
        f.number(u"durationMinutes"),
        f.string(u"status"),
        f.optionalNumber(u"multiplierPercent"),
        f.optionalNumber(u"submittedAt"),
        f.optionalNumber(u"reviewedAt"),
        f.optionalString(u"reviewedByUsername"),
        f.optionalString(u"reviewerName"),
        f.optionalString(u"rejectionReason"),
        f.optionalNumber(u"heldAt"),
        f.optionalString(u"heldByUsername"),
        f.optionalString(u"heldByName"),
        f.optionalString(u"holdNote"),
        f.optionalString(u"submitNote"),
        f.optionalString(u"flightCallsign"),
        f.optionalString(u"ifRouteCheck"),
        f.optionalString(u"ifCallsignCheck"),
        f.optionalRecord<CallsignReview>(u"callsignReview"),
        f.optionalInteger(u"evidenceCount"),
        f.optionalInteger(u"landings"),
        f.optionalString(u"applicantUsername"),
    };
}

bool Pirep::isHeld() const { return heldAt && *heldAt > 0; }

double Pirep::countedMinutes() const
{
    return std::round(durationMinutes * multiplierPercent.value_or(100) / 100);
}

PirepState Pirep::state() const
{
    // A hold only matters while the report still waits for its review.
    if (isPending())
        return isHeld() ? PirepState::OnHold : PirepState::Pending;
    if (status == QLatin1String("approved"))
        return PirepState::Approved;
    if (status == QLatin1String("rejected"))
        return PirepState::Rejected;
    return PirepState::Other;
}

QString Pirep::statusTitle() const
{
    switch (state()) {
    case PirepState::OnHold:
        return L("需补充证据");
    case PirepState::Pending:
        return L("待审核");
    case PirepState::Approved:
        return L("已批准");
    case PirepState::Rejected:
        return L("未批准");
    case PirepState::Other:
        break;
    }
    return status;
}

PirepSummary PirepSummary::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.optionalInteger(u"approvedCount"), f.optionalNumber(u"approvedDurationMinutes"),
            f.optionalNumber(u"registeredAt")};
}

PirepResponse PirepResponse::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.list<Pirep>(u"pireps"), f.optionalRecord<PirepSummary>(u"summary")};
}

Evidence Evidence::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.string(u"id"), f.string(u"url"), f.optionalNumber(u"uploadedAt")};
}

EvidenceResponse EvidenceResponse::fromJson(const QJsonValue &value)
{
    return {JsonFields(value).list<Evidence>(u"files")};
}

MultiplierOption MultiplierOption::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.boolean(u"available"), f.optionalString(u"message")};
}

MultiplierOptions MultiplierOptions::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.record<MultiplierOption>(u"organization"), f.record<MultiplierOption>(u"event")};
}

size_t qHash(const CallsignReview &review, size_t seed) noexcept
{
    return Hasher(seed).add(review.uploaded, review.actual, review.site, review.note).value();
}

size_t qHash(const Pirep &p, size_t seed) noexcept
{
    return Hasher(seed)
        .add(p.id, p.departureCode, p.arrivalCode, p.aircraft, p.livery, p.durationMinutes, p.status)
        .add(p.multiplierPercent, p.submittedAt, p.reviewedAt, p.reviewedByUsername, p.reviewerName)
        .add(p.rejectionReason, p.heldAt, p.heldByUsername, p.heldByName, p.holdNote, p.submitNote)
        .add(p.flightCallsign, p.ifRouteCheck, p.ifCallsignCheck, p.callsignReview, p.evidenceCount)
        .add(p.landings, p.applicantUsername)
        .value();
}

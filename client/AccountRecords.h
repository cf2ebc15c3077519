#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>

#include <optional>

// The signed-in account, the member's profile and their flight reports (PIREPs), with the small answers
// of write calls. Every record reads its fields strictly (see JsonFields); `optionalAnswer` says whether
// the service may answer the call that returns it with a bare JSON null.

struct User
{
    QString id;
    QString username;
    std::optional<QString> name;
    QString role;

    static User fromJson(const QJsonValue &value);
    // Only the exact role "member" is a member; "admin" and "developer" are staff.
    static bool isMemberRole(const QString &role);
    // The roles that may use the member centre at all: a member or staff.
    static bool mayUseCentre(const QString &role);
    bool isMember() const { return isMemberRole(role); }
    bool mayUseCentre() const { return mayUseCentre(role); }
    // Kept inside a saved account, so it is written with the keys it is read with.
    QJsonObject toJson() const;
    bool operator==(const User &) const = default;
};

struct UserResponse
{
    User user;

    static constexpr bool optionalAnswer = false;
    static UserResponse fromJson(const QJsonValue &value);
};

struct LoginResponse
{
    QString redirect;

    static constexpr bool optionalAnswer = false;
    static LoginResponse fromJson(const QJsonValue &value);
};

// What a write call answers; each caller decides which of these it insists on.
struct Acknowledgement
{
    std::optional<bool> ok;
    std::optional<bool> local;
    std::optional<QString> id;

    static constexpr bool optionalAnswer = false;
    static Acknowledgement fromJson(const QJsonValue &value);
};

struct Profile
{
    QString wechatName;
    std::optional<QString> discordUsername;
    QString callsign; // empty when the member has none
    QString contactEmail;
    bool hasAvatar = false;

    static Profile fromJson(const QJsonValue &value);
    QJsonObject toJson() const;
    bool operator==(const Profile &) const = default;

    // "B-123CA" for the callsign "123".
    QString formattedCallsign() const;
};

struct ProfileResponse
{
    Profile profile;

    static constexpr bool optionalAnswer = false;
    static ProfileResponse fromJson(const QJsonValue &value);
};

struct ProfileSummary
{
    std::optional<double> joinedAt;
    std::optional<double> lastPirepAt;
    std::optional<double> approvedMinutes;

    static constexpr bool optionalAnswer = true;
    static ProfileSummary fromJson(const QJsonValue &value);
};

struct CallsignReview
{
    std::optional<QString> uploaded;
    std::optional<QString> actual;
    std::optional<QString> site;
    std::optional<QString> note;

    static CallsignReview fromJson(const QJsonValue &value);
    bool operator==(const CallsignReview &) const = default;
};

// Where a report stands: a pending report with a hold waits for more evidence; a status the app does not
// know stays as the service named it.
enum class PirepState {
    Pending,
    OnHold,
    Approved,
    Rejected,
    Other,
};

struct Pirep
{
    QString id;
    QString departureCode;
    QString arrivalCode;
    QString aircraft;
    QString livery;
    double durationMinutes = 0;
    QString status; // "pending", "approved", "rejected" or whatever else the service sends
    std::optional<double> multiplierPercent;
    std::optional<double> submittedAt;
    std::optional<double> reviewedAt;
    std::optional<QString> reviewedByUsername;
    std::optional<QString> reviewerName;
    std::optional<QString> rejectionReason;
    std::optional<double> heldAt; // above 0 while the report waits for more evidence
    std::optional<QString> heldByUsername;
    std::optional<QString> heldByName;
    std::optional<QString> holdNote;
    std::optional<QString> submitNote;
    std::optional<QString> flightCallsign;
    std::optional<QString> ifRouteCheck;
    std::optional<QString> ifCallsignCheck;
    std::optional<CallsignReview> callsignReview;
    std::optional<qint64> evidenceCount;
    std::optional<qint64> landings;
    std::optional<QString> applicantUsername;

    static Pirep fromJson(const QJsonValue &value);
    bool operator==(const Pirep &) const = default;
    QString identity() const { return id; }

    bool isHeld() const;
    bool isPending() const { return status == QLatin1String("pending"); }
    PirepState state() const;
    QString statusTitle() const;
    // The minutes that count towards the member's time: the flight time times the multiplier (100 when
    // absent), rounded half away from zero. Kept a double: a duration beyond a 64-bit count is
    // Display::duration's to show.
    double countedMinutes() const;
};

struct PirepSummary
{
    std::optional<qint64> approvedCount;
    std::optional<double> approvedDurationMinutes;
    std::optional<double> registeredAt;

    static PirepSummary fromJson(const QJsonValue &value);
};

struct PirepResponse
{
    QList<Pirep> pireps;
    std::optional<PirepSummary> summary;

    static constexpr bool optionalAnswer = false;
    static PirepResponse fromJson(const QJsonValue &value);
};

struct Evidence
{
    QString id;
    QString url; // a path on the member site, fetched with the session
    std::optional<double> uploadedAt;

    static Evidence fromJson(const QJsonValue &value);
    QString identity() const { return id; }
};

struct EvidenceResponse
{
    QList<Evidence> files;

    static constexpr bool optionalAnswer = false;
    static EvidenceResponse fromJson(const QJsonValue &value);
};

struct MultiplierOption
{
    bool available = false;
    std::optional<QString> message; // why it is not available

    static MultiplierOption fromJson(const QJsonValue &value);
};

struct MultiplierOptions
{
    MultiplierOption organization;
    MultiplierOption event;

    static constexpr bool optionalAnswer = true;
    static MultiplierOptions fromJson(const QJsonValue &value);
};

size_t qHash(const CallsignReview &review, size_t seed = 0) noexcept;
size_t qHash(const Pirep &pirep, size_t seed = 0) noexcept;

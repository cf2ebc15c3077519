#include "FuzzTarget.h"

#include "APIClient.h"
#include "AccountRecords.h"
#include "CommunityRecords.h"
#include "FlightRecords.h"
#include "Json.h"
#include "LiveScheduleRecords.h"
#include "LiveTabModel.h"
#include "ReviewRecords.h"

#include <QJsonDocument>

#include <array>
#include <functional>

// Every answer of the member service and of the Live schedule service, read as the client reads it. The
// first byte picks the answer; the rest is its body. Records the app writes back (the user, the profile, a
// flight's phase) must read back as the same value; an answer that may be null is no record only when it
// is JSON's null.
namespace {

// Qt's parser, which knows JSON's white space, reads the body as the one item of a list.
bool isJsonNull(const QByteArray &body)
{
    const QJsonDocument list = QJsonDocument::fromJson('[' + body + ']');
    return list.isArray() && list.array().size() == 1 && list.array().first().isNull();
}

template <typename T>
std::optional<T> read(const QByteArray &body)
{
    if constexpr (T::optionalAnswer) {
        std::optional<T> record = APIClient::readOptional<T>(body);
        if (!record)
            FUZZ_CHECK(isJsonNull(body));
        return record;
    } else {
        return T::fromJson(Json::parse(body));
    }
}

template <typename T>
void readsBack(const T &record)
{
    FUZZ_CHECK(T::fromJson(record.toJson()) == record);
}

using Reader = std::function<void(const QByteArray &)>;

template <typename T>
Reader plain()
{
    return [](const QByteArray &body) { read<T>(body); };
}

const std::array<Reader, 28> readers = {
    [](const QByteArray &body) { readsBack(read<UserResponse>(body)->user); },
    plain<LoginResponse>(),
    plain<Acknowledgement>(),
    [](const QByteArray &body) { readsBack(read<ProfileResponse>(body)->profile); },
    plain<ProfileSummary>(),
    plain<PirepResponse>(),
    plain<EvidenceResponse>(),
    plain<MultiplierOptions>(),
    plain<UpcomingResponse>(),
    plain<AttendanceResponse>(),
    plain<EventResponsesResponse>(),
    plain<LeaderboardResponse>(),
    plain<RouteResponse>(),
    plain<SiteInbox>(),
    plain<InboxWriteResult>(),
    plain<RecentFlightsResponse>(),
    plain<IFStatistics>(),
    plain<AircraftNames>(),
    [](const QByteArray &body) {
        const std::optional<LiveResponse> snapshot = read<LiveResponse>(body);
        if (!snapshot)
            return;
        for (const LiveFlight &flight : snapshot->flights) {
            if (flight.flightPhase)
                readsBack(*flight.flightPhase);
        }
        snapshot->updated();
    },
    plain<PlanResponse>(),
    plain<LiveBoard>(),
    plain<LiveApplications>(),
    plain<LiveFleetPositions>(),
    plain<LiveRoutes>(),
    plain<LiveAuthorization>(),
    plain<LiveAuthorizationStart>(),
    plain<LiveReviewResult>(),
    plain<ReviewHistory>(),
};

} // namespace

VORNA_FUZZ_TARGET(records)
{
    if (bytes.isEmpty())
        return;
    const Reader &reader = readers[quint8(bytes.front()) % readers.size()];
    try {
        reader(bytes.sliced(1));
    } catch (const DecodeError &) {
    }
}

// The live map's snapshot read straight from its bytes: whatever it reads must be exactly what the ordinary
// reading of the same bytes gives, and where the ordinary reading fails it must read nothing.
VORNA_FUZZ_TARGET(live_snapshot)
{
    const std::optional<LiveResponse> direct = LiveResponse::readDirectly(bytes);
    if (!direct)
        return;
    std::optional<LiveResponse> ordinary;
    try {
        ordinary = LiveResponse::fromJson(Json::parse(bytes));
    } catch (const DecodeError &) {
    }
    FUZZ_CHECK(ordinary.has_value());
    FUZZ_CHECK(*direct == *ordinary);
}

// Two pages of Live applications, separated by a NUL byte: the second appended to the first as the Live
// page appends a further page. What was listed stays as it was; after it come exactly the second page's
// applications whose ids the first did not list, in their order, each copy of a repeated one.
VORNA_FUZZ_TARGET(application_pages)
{
    const qsizetype split = bytes.indexOf('\0');
    if (split < 0)
        return;
    QList<LiveApplication> listed;
    QList<LiveApplication> page;
    try {
        listed = LiveApplications::fromJson(Json::parse(bytes.left(split))).applications;
        page = LiveApplications::fromJson(Json::parse(bytes.mid(split + 1))).applications;
    } catch (const DecodeError &) {
        return;
    }
    QStringList listedIds;
    for (const LiveApplication &application : listed)
        listedIds.append(application.id);
    QStringList added;
    for (const LiveApplication &application : page) {
        if (!listedIds.contains(application.id))
            added.append(application.id);
    }
    const QList<LiveApplication> appended = LiveTabModel::appendPage(listed, page);
    QStringList ids;
    for (const LiveApplication &application : appended)
        ids.append(application.id);
    FUZZ_CHECK(ids == listedIds + added);
}

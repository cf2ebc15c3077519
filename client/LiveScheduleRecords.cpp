#include "LiveScheduleRecords.h"

#include "Json.h"
#include "L.h"
#include "WireTime.h"

#include <QHash>

LiveFlying LiveFlying::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {
        f.optionalString(u"callsign"),  f.optionalString(u"pilot"),       f.optionalString(u"server"),
        f.optionalString(u"departure"), f.optionalString(u"arrival"),     f.optionalString(u"phase"),
        f.optionalNumber(u"altitude"),  f.optionalNumber(u"groundSpeed"),
    };
}

LiveAircraft LiveAircraft::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {
        f.string(u"id"),
        f.string(u"registration"),
        f.optionalString(u"aircraft"),
        f.optionalString(u"livery"),
        f.optionalBoolean(u"hangared"),
        f.optionalBoolean(u"storage"),
        f.optionalInteger(u"recordStatus"),
        f.optionalRecord<LiveFlying>(u"flying"),
    };
}

LiveCrew LiveCrew::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.optionalString(u"userId"), f.optionalString(u"username"), f.optionalInteger(u"role")};
}

LiveSchedule LiveSchedule::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {
        f.string(u"id"),
        f.string(u"aircraftId"),
        f.optionalInteger(u"status"),
        f.optionalString(u"callsign"),
        f.optionalInteger(u"flightType"),
        f.string(u"originIcao"),
        f.string(u"destinationIcao"),
        f.optionalBoolean(u"isTimeless"),
        f.optionalString(u"scheduledDepartureUtc"),
        f.optionalString(u"scheduledArrivalUtc"),
        f.optionalString(u"briefing"),
        f.optionalList<LiveCrew>(u"crew"),
        f.optionalInteger(u"sequence"),
    };
}

QString LiveSchedule::statusText() const
{
    // Code 5 has no text of its own: like any code we do not know, it shows as unknown.
    static const QHash<qint64, QString> texts{
        {1, TEXT_KEY("已排班")},     {2, TEXT_KEY("登机中")}, {3, TEXT_KEY("已登机")},
        {4, TEXT_KEY("滑行去跑道")}, {6, TEXT_KEY("飞行中")}, {7, TEXT_KEY("备降")},
        {8, TEXT_KEY("延误")},       {9, TEXT_KEY("已取消")}, {10, TEXT_KEY("滑行去停机位")},
        {11, TEXT_KEY("已到达")},
    };
    return L(texts.value(status.value_or(0), TEXT_KEY("未知")));
}

std::optional<QString> LiveSchedule::typeText() const
{
    static const QHash<qint64, QString> texts{
        {1, TEXT_KEY("客运")},      {2, TEXT_KEY("包机")},     {3, TEXT_KEY("货运")},
        {4, TEXT_KEY("训练")},      {5, TEXT_KEY("试飞")},     {6, TEXT_KEY("医疗急救")},
        {7, TEXT_KEY("军用")},      {8, TEXT_KEY("公务/VIP")}, {9, TEXT_KEY("人道救援")},
        {10, TEXT_KEY("通用航空")}, {11, TEXT_KEY("航展")},    {12, TEXT_KEY("其他")},
    };
    // 0 means the schedule has no type.
    if (!flightType || !texts.contains(*flightType))
        return std::nullopt;
    return L(texts.value(*flightType));
}

std::optional<QDateTime> LiveSchedule::scheduledDeparture() const
{
    return WireTime::parse(scheduledDepartureUtc);
}

std::optional<QDateTime> LiveSchedule::scheduledArrival() const
{
    return WireTime::parse(scheduledArrivalUtc);
}

LiveOrganization LiveOrganization::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.string(u"id"), f.string(u"name"), f.optionalInteger(u"role"), f.list<LiveAircraft>(u"aircraft"),
            f.list<LiveSchedule>(u"schedules")};
}

LiveBoard LiveBoard::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.optionalBoolean(u"canReview"), f.list<LiveOrganization>(u"organizations"),
            f.optionalString(u"liveUpdatedAt")};
}

LiveApplication LiveApplication::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {
        f.string(u"id"),           f.optionalString(u"username"), f.optionalString(u"organization"),
        f.string(u"registration"), f.string(u"departure"),        f.string(u"arrival"),
        f.string(u"status"),       f.string(u"reviewNote"),
    };
}

QString LiveApplication::statusText() const
{
    static const QHash<QString, QString> texts{
        {QStringLiteral("pending"), TEXT_KEY("待审核")},
        {QStringLiteral("processing"), TEXT_KEY("处理中")},
        {QStringLiteral("approved"), TEXT_KEY("已批准")},
        {QStringLiteral("rejected"), TEXT_KEY("未通过")},
        {QStringLiteral("needs_review"), TEXT_KEY("待人工核查，请勿重复申请")},
    };
    const auto found = texts.constFind(status);
    return found == texts.constEnd() ? status : L(*found);
}

LiveApplications LiveApplications::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.list<LiveApplication>(u"applications"), f.boolean(u"hasMore")};
}

LiveFleetPosition LiveFleetPosition::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.string(u"aircraftId"), f.optionalInteger(u"state"), f.optionalBoolean(u"available")};
}

QString LiveFleetPosition::stateText(qint64 state)
{
    static const QHash<qint64, QString> texts{
        {1, TEXT_KEY("在地面")}, {2, TEXT_KEY("飞行中")}, {3, TEXT_KEY("已取消")},
        {4, TEXT_KEY("已停止")}, {5, TEXT_KEY("维护中")},
    };
    return L(texts.value(state, TEXT_KEY("未知")));
}

LiveRecentPilot LiveRecentPilot::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.string(u"aircraftId"), f.string(u"pilot"), f.optionalString(u"seenAt")};
}

std::optional<QDateTime> LiveRecentPilot::seen() const { return WireTime::parse(seenAt); }

LiveFleetPositions LiveFleetPositions::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.optionalList<LiveFleetPosition>(u"aircraftPositions"),
            f.optionalList<LiveRecentPilot>(u"recentPilots")};
}

LiveRouteItem LiveRouteItem::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.optionalInteger(u"status"), f.optionalString(u"departure"), f.optionalString(u"arrival")};
}

LiveRouteHistory LiveRouteHistory::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.string(u"aircraftId"), f.optionalBoolean(u"available"),
            f.optionalList<LiveRouteItem>(u"items")};
}

LiveRoutes LiveRoutes::fromJson(const QJsonValue &value)
{
    return {JsonFields(value).optionalList<LiveRouteHistory>(u"aircraftRoutes")};
}

LiveAuthorization LiveAuthorization::fromJson(const QJsonValue &value)
{
    return {JsonFields(value).string(u"state")};
}

LiveAuthorizationStart LiveAuthorizationStart::fromJson(const QJsonValue &value)
{
    return {JsonFields(value).string(u"url")};
}

LiveReviewResult LiveReviewResult::fromJson(const QJsonValue &value)
{
    const JsonFields f(value);
    return {f.optionalBoolean(u"ok"), f.optionalString(u"warning")};
}

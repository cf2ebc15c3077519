#include "MapBanner.h"

#include "Display.h"
#include "L.h"
#include "Symbols.h"
#include "WireTime.h"

namespace MapBanner {

QList<Line> lines(const Status &status)
{
    QList<Line> lines;
    const bool degraded = status.hasSnapshot && status.snapshotStatus == QLatin1String("degraded");
    if (showsSavedNotice(status))
        lines.append({L(QStringLiteral("先显示上次保存的数据，正在获取最新位置…")), Tone::Muted});
    if (status.paused)
        lines.append(
            {L(QStringLiteral("15 分钟没有操作，已暂停自动刷新。移动地图或点“刷新”继续。")), Tone::Muted});
    if (degraded)
        lines.append({L(QStringLiteral("部分数据暂时不可用，位置可能延迟")), Tone::Pending});
    if (status.error)
        lines.append({*status.error, Tone::Rejected}); // the message as it came, never looked up
    if (showsEmptyNotice(status))
        lines.append({L(QStringLiteral("当前没有可显示的联盟航班。")), Tone::Muted});
    return lines;
}

bool showsSavedNotice(const Status &status)
{
    return status.hasSnapshot && status.snapshotStatus == QLatin1String("saved") && status.loading;
}

bool showsEmptyNotice(const Status &status) { return status.hasSnapshot && status.flightCount == 0; }

QString olderDataMessage()
{
    return L(QStringLiteral("暂时取不到最新数据，地图显示的是之前的数据，可以点“刷新”重试。"));
}

QString ownFlightMissingMessage()
{
    return L(QStringLiteral("暂未找到你的在线航班；检测到航班后会自动显示。"));
}

bool indicatorAnimates(const Status &status)
{
    return status.loading || (!status.hasSnapshot && !status.error);
}

QString legendText(int liveCount) { return QStringLiteral("LIVE ") + QString::number(liveCount); }

QString countText(int flightCount) { return L(QStringLiteral("%@ 架飞机"), flightCount); }

std::optional<QString> updateText(const std::optional<QString> &updatedAt, const QDateTime &now,
                                  const QLocale &locale, const QTimeZone &zone)
{
    const std::optional<QDateTime> updated = WireTime::parse(updatedAt);
    if (!updated)
        return std::nullopt;
    const QDateTime shown = updated->toTimeZone(zone);
    const QString time = Display::standardTimeFormat(locale);
    const QString format = shown.date() == now.toTimeZone(zone).date()
                               ? time
                               : Display::mediumDateFormat(locale) + QLatin1Char(' ') + time;
    return L(QStringLiteral("· 更新于 %@"), locale.toString(shown, format));
}

std::optional<QString> updateText(const std::optional<QString> &updatedAt)
{
    return updateText(updatedAt, QDateTime::currentDateTime(), Display::locale(),
                      QTimeZone::systemTimeZone());
}

QString countLine(int flightCount, const std::optional<QString> &updatedAt, const QDateTime &now,
                  const QLocale &locale, const QTimeZone &zone)
{
    const QString count = countText(flightCount);
    const std::optional<QString> updated = updateText(updatedAt, now, locale, zone);
    return updated ? count + QLatin1Char(' ') + *updated : count;
}

QString flightTitle(const LiveFlight &flight)
{
    QStringList parts;
    for (const std::optional<QString> &part : {flight.callsign, flight.aircraft}) {
        if (part && !part->isEmpty())
            parts.append(*part);
    }
    return parts.join(QStringLiteral(" · "));
}

bool hasFlights(const Status &status) { return status.hasSnapshot && status.flightCount > 0; }

QString ownFlightsText(const QList<LiveFlight> &ownFlights)
{
    if (ownFlights.size() == 1) {
        const std::optional<QString> &callsign = ownFlights.constFirst().callsign;
        return L(QStringLiteral("我的航班：%@"), callsign ? *callsign : L(QStringLiteral("在线")));
    }
    return ownFlightsCountLabel(int(ownFlights.size()));
}

QString ownFlightsSymbol(const QList<LiveFlight> &ownFlights)
{
    return ownFlights.size() == 1 ? SYMBOL("location.fill") : SYMBOL("airplane.circle");
}

QString ownFlightsCountLabel(int count) { return L(QStringLiteral("我的航班（%@）"), count); }

std::optional<LiveFlight> onlyOwnFlight(const QList<LiveFlight> &ownFlights)
{
    if (ownFlights.size() != 1)
        return std::nullopt;
    return ownFlights.constFirst();
}

} // namespace MapBanner

QHash<int, QByteArray> BannerLines::roleNames() const { return {{TextRole, "lineText"}, {ToneRole, "tone"}}; }

QVariant BannerLines::value(const MapBanner::Line &line, int role) const
{
    switch (role) {
    case TextRole:
        return line.text;
    case ToneRole:
        return int(line.tone);
    default:
        return {};
    }
}

MapBannerModel::MapBannerModel(QObject *parent)
    : QObject(parent)
{
    m_lines.setRecords(MapBanner::lines(m_status));
}

void MapBannerModel::setStatus(const MapBanner::Status &status)
{
    m_status = status;
    changed();
}

void MapBannerModel::changed()
{
    m_lines.setRecords(MapBanner::lines(m_status));
    Q_EMIT statusChanged();
}

QString MapBannerModel::styleSymbol() const
{
    // The symbol and the label name the style a click switches to.
    return m_status.satellite ? SYMBOL("map") : SYMBOL("globe.americas.fill");
}

QString MapBannerModel::styleLabel() const
{
    return m_status.satellite ? L(QStringLiteral("普通地图")) : L(QStringLiteral("卫星地图"));
}

QString MapBannerModel::demoText() const
{
    return m_status.demonstrating ? L(QStringLiteral("停止演示")) : L(QStringLiteral("演示航班"));
}

QString MapBannerModel::demoSymbol() const
{
    return m_status.demonstrating ? SYMBOL("stop.fill") : SYMBOL("play.fill");
}

LiveFlightValue MapBannerModel::onlyOwnFlight() const
{
    const std::optional<LiveFlight> only = MapBanner::onlyOwnFlight(m_status.ownFlights);
    return only ? LiveFlightValue{*only} : LiveFlightValue{};
}

#include "ReviewText.h"

#include "Display.h"
#include "L.h"

#include <QHash>
#include <QSet>
#include <QVariantMap>

#include <unicode/uchar.h>

namespace ReviewText {

namespace {

// A numeral by Unicode's numeric property: the digits and numbers of Qt's categories, and also the Han
// numerals ("一", "万"), which are letters by category.
bool isNumeral(char32_t c) { return u_getIntPropertyValue(UChar32(c), UCHAR_NUMERIC_TYPE) != U_NT_NONE; }

QString normalised(const QString &callsign)
{
    QString kept;
    for (const char32_t c : callsign.toUpper().toUcs4()) {
        const bool asciiLetter = (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
        if (asciiLetter || isNumeral(c))
            kept.append(QString::fromUcs4(&c, 1));
    }
    return kept;
}

QVariantMap option(const QString &title, int value) { return {{"title", L(title)}, {"value", value}}; }

Line labelled(const QString &label, const QString &value) { return {value, Tone::Plain, L(label)}; }

} // namespace

QString spoken(const Line &line)
{
    // The colon is the language's, full width in Chinese and ": " in English.
    return line.label.isEmpty() ? line.text : L(QStringLiteral("%@：%@"), line.label, line.text);
}

QString applicantHeader(const Pirep &report)
{
    return L(QStringLiteral("申请人：%@"), report.applicantUsername.value_or(Display::missing));
}

QString applicant(const Pirep &report)
{
    return report.applicantUsername.value_or(L(QStringLiteral("成员")));
}

QString equipment(const Pirep &report)
{
    QStringList parts;
    for (const QString &part : {report.aircraft, report.livery}) {
        if (!part.isEmpty())
            parts.append(part);
    }
    return parts.join(QStringLiteral(" · "));
}

QString flightTime(const Pirep &report) { return Display::duration(report.durationMinutes); }

QString countedTime(const Pirep &report) { return Display::duration(report.countedMinutes()); }

QString landings(const Pirep &report)
{
    return report.landings ? QString::number(*report.landings) : Display::missing;
}

QList<Line> routeCheck(const Pirep &report)
{
    if (!report.ifRouteCheck)
        return {};
    const QString &route = *report.ifRouteCheck;
    const QString callsign = report.ifCallsignCheck.value_or(QString());
    if (route == QLatin1String("found") && callsign == QLatin1String("mismatch"))
        return {{L(QStringLiteral("⚠ 最近 10 次飞行里有这条航线，但呼号与该次飞行不一致")), Tone::Bad}};
    if (route == QLatin1String("found")) {
        QList<Line> lines{{L(QStringLiteral("✓ 最近 10 次飞行里找到这条航线")), Tone::Good}};
        if (callsign == QLatin1String("match"))
            lines.append({L(QStringLiteral("呼号与该次飞行一致")), Tone::Good});
        return lines;
    }
    if (route == QLatin1String("not_found"))
        return {{L(QStringLiteral("⚠ 最近 10 次飞行里没有这条航线")), Tone::Bad}};
    return {{L(QStringLiteral("未能核对（IF 暂时不可用）")), Tone::Neutral}};
}

Line callsignVerdict(const CallsignReview &review)
{
    QSet<QString> distinct;
    int given = 0;
    for (const std::optional<QString> &callsign : {review.uploaded, review.actual, review.site}) {
        if (!callsign || callsign->isEmpty())
            continue;
        ++given;
        distinct.insert(normalised(*callsign));
    }
    if (given == 3 && distinct.size() == 1)
        return {L(QStringLiteral("✓ 呼号统一")), Tone::Good};
    if (distinct.size() >= 2)
        return {L(QStringLiteral("⚠ 呼号不统一")), Tone::Bad};
    return {L(QStringLiteral("无法确认")), Tone::Neutral};
}

QString missingCallsign(const std::optional<QString> &note)
{
    static const QHash<QString, QString> texts{
        {QStringLiteral("no_flight"), TEXT_KEY("最近 10 次飞行里找不到这条航线")},
        {QStringLiteral("no_account"), TEXT_KEY("找不到对应的 IF 账号")},
        {QStringLiteral("rate_limited"), TEXT_KEY("请求过多，稍后刷新")}};
    return L(texts.value(note.value_or(QString()), TEXT_KEY("IF 服务暂时不可用")));
}

QList<Line> checks(const Pirep &report)
{
    QList<Line> lines;
    if (report.flightCallsign)
        lines.append(labelled(TEXT_KEY("上传的呼号"), *report.flightCallsign));
    if (report.ifRouteCheck) {
        lines += routeCheck(report);
        lines.append({L(QStringLiteral("上传时自动核对的结果")), Tone::Caption});
    }
    if (const std::optional<CallsignReview> &review = report.callsignReview) {
        lines.append(callsignVerdict(*review));
        lines.append(
            labelled(TEXT_KEY("上传的呼号"), review->uploaded.value_or(L(QStringLiteral("未填写")))));
        lines.append(
            labelled(TEXT_KEY("IF 实际呼号"), review->actual.value_or(missingCallsign(review->note))));
        lines.append(
            labelled(TEXT_KEY("网站设置的呼号"), review->site.value_or(L(QStringLiteral("未设置")))));
    }
    return lines;
}

HistoryRow historyRow(const ReviewEntry &entry)
{
    static const QHash<QString, QString> statuses{{QStringLiteral("approved"), TEXT_KEY("批准")},
                                                  {QStringLiteral("rejected"), TEXT_KEY("不批准")},
                                                  {QStringLiteral("pending"), TEXT_KEY("待审核")}};
    HistoryRow row;
    row.title = L(QStringLiteral("%@ · %@"), entry.actor.value_or(Display::missing),
                  entry.kind.value_or(L(QStringLiteral("变更"))));
    if (entry.toStatus) {
        const auto found = statuses.constFind(*entry.toStatus);
        row.status = found == statuses.constEnd() ? *entry.toStatus : L(*found);
    }
    row.reason = entry.toReason;
    if (entry.toPercent)
        row.multiplier = L(QStringLiteral("×%@"), Display::locale().toString(*entry.toPercent / 100, 'g',
                                                                             QLocale::FloatingPointShortest));
    row.time = Display::dateTime(entry.at);
    return row;
}

QString decisionTitle(const Pirep &report)
{
    return report.isPending() ? L(QStringLiteral("审核结果")) : L(QStringLiteral("修改审核结果"));
}

QVariantList decisionOptions(const Pirep &report)
{
    QVariantList options{option(TEXT_KEY("批准"), 0)};
    if (report.isPending())
        options.append(option(TEXT_KEY("问询"), 1));
    options.append(option(TEXT_KEY("不批准"), 2));
    return options;
}

QVariantList multiplierOptions()
{
    return {option(TEXT_KEY("×1"), 0), option(TEXT_KEY("×1.25"), 1), option(TEXT_KEY("×1.5"), 2),
            option(TEXT_KEY("×1.875"), 3)};
}

QString saveSymbol(const QString &decision)
{
    if (decision == QLatin1String("inquiry"))
        return QStringLiteral("questionmark.bubble");
    return decision == QLatin1String("approved") ? QStringLiteral("checkmark.seal")
                                                 : QStringLiteral("xmark.seal");
}

bool destroys(const QString &action) { return action == QLatin1String("delete"); }

QString confirmTitle(const QString &action)
{
    return destroys(action) ? L(QStringLiteral("永久删除报告")) : L(QStringLiteral("保存修改"));
}

QString confirmMessage(const QString &action)
{
    return destroys(action) ? L(QStringLiteral("此操作会永久删除报告及附件，无法恢复。"))
                            : L(QStringLiteral("确认保存这项修改？"));
}

QString confirmButton(const QString &action)
{
    return destroys(action) ? L(QStringLiteral("删除")) : L(QStringLiteral("确认"));
}

QString saved(const QString &action)
{
    static const QHash<QString, QString> texts{{QStringLiteral("review"), TEXT_KEY("审核结果已保存。")},
                                               {QStringLiteral("hold"), TEXT_KEY("问询已发送给飞行员。")},
                                               {QStringLiteral("release"), TEXT_KEY("已解除问询。")},
                                               {QStringLiteral("multiplier"), TEXT_KEY("时长倍数已保存。")},
                                               {QStringLiteral("delete"), TEXT_KEY("报告已删除。")}};
    return L(texts.value(action, TEXT_KEY("修改已保存。")));
}

} // namespace ReviewText

#pragma once

#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <initializer_list>
#include <utility>

// The options of a picker as its view takes them: {title, value} in the order shown. Each value stands
// beside its label in one table, so the order of an enum and its labels cannot drift apart.
//     choices<Period>({{Total, L("全部")}, {Recent, L("最近 30 天")}})
template <typename Enum>
QVariantList choices(std::initializer_list<std::pair<Enum, QString>> table)
{
    QVariantList options;
    for (const auto &[value, title] : table)
        options.append(QVariantMap{{QStringLiteral("title"), title}, {QStringLiteral("value"), int(value)}});
    return options;
}

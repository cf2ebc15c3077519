#include "AircraftNaming.h"

#include <QRegularExpression>

#include <cstring>
#include <initializer_list>
#include <optional>
#include <utility>

namespace AircraftNaming {

namespace {

// Patterns are compiled once; matching a const expression is safe from any thread.
const QRegularExpression &pattern(const char *source)
{
    thread_local QHash<const char *, QRegularExpression> compiled;
    auto found = compiled.find(source);
    if (found == compiled.end())
        found = compiled.insert(source, QRegularExpression(QString::fromLatin1(source)));
    return *found;
}

// Most rules are plain text, and a text search costs a small part of a regular expression's match: the
// catalog keys every one of its names when it is read.
bool has(const QString &name, const char *source)
{
    if (!std::strpbrk(source, "\\^$.|?*+()[]{}"))
        return name.contains(QLatin1String(source));
    return pattern(source).match(name).hasMatch();
}

// A family's variants in the order they are tried: the first one found gives the key.
std::optional<QString> variant(const QString &name,
                               std::initializer_list<std::pair<const char *, const char *>> variants)
{
    for (const auto &[source, key] : variants) {
        if (has(name, source))
            return QString::fromLatin1(key);
    }
    return std::nullopt;
}

// The first of the digit variants found, as prefix + digits ("737-" + "800").
std::optional<QString> digits(const QString &name, const char *prefix,
                              std::initializer_list<const char *> numbers)
{
    for (const char *number : numbers) {
        if (name.contains(QLatin1String(number)))
            return QLatin1String(prefix) + QLatin1String(number);
    }
    return std::nullopt;
}

std::optional<QString> familyKey(const QString &n)
{
    const auto key = [](const char *text) { return std::optional<QString>(QString::fromLatin1(text)); };

    if (has(n, "a321"))
        return key(has(n, "neo") ? "a321neo" : "a321");
    if (has(n, "a320"))
        return key("a320");
    if (has(n, "a319"))
        return key("a319");
    if (has(n, "a318"))
        return key("a318");
    if (has(n, "a220"))
        return key("a220");
    if (has(n, "a330")) {
        if (auto found = variant(
                n, {{"900", "a339"}, {"800", "a338"}, {"300", "a333"}, {"200f", "a332f"}, {"200", "a332"}}))
            return found;
    }
    if (has(n, "a340"))
        return key("a346");
    if (has(n, "a350"))
        return key(has(n, "1000") ? "a35k" : "a359");
    if (has(n, "a380"))
        return key("a380");
    if (has(n, "737")) {
        if (has(n, "max"))
            return key("737max");
        if (auto found = digits(n, "737-", {"700", "800", "900"}))
            return found;
    }
    if (has(n, "747")) {
        if (auto found = variant(n, {{"747-?8", "748"}, {"400", "744"}, {"200", "742"}}))
            return found;
    }
    if (has(n, "757"))
        return key("757");
    if (has(n, "767"))
        return key("767");
    if (has(n, "777")) {
        if (auto found =
                variant(n, {{"200er", "772er"}, {"200lr", "772lr"}, {"300", "773"}, {"777-?f", "77f"}}))
            return found;
    }
    if (has(n, "787")) {
        if (auto found = variant(n, {{"787-?10", "78x"}, {"787-?9", "789"}, {"787-?8", "788"}}))
            return found;
    }
    // A Cessna 172 is no C-17, with a hyphen ("C-172") or a model suffix ("C172SP") too.
    if (has(n, "c-?17") && !has(n, "\\bc-?172"))
        return key("c17");
    if (has(n, "crj")) {
        if (auto found = digits(n, "crj", {"1000", "900", "700", "200"}))
            return found;
    }
    if (has(n, "dash|q400"))
        return key("q400");
    if (has(n, "e-?175|embraer 175"))
        return key("e175");
    if (has(n, "e-?190|embraer 190"))
        return key("e190");
    if (has(n, "717"))
        return key("717");
    if (has(n, "dc-?10"))
        return key(has(n, "10f") ? "dc10f" : "dc10");
    if (has(n, "md-?11"))
        return key(has(n, "11f") ? "md11f" : "md11");
    if (has(n, "c-?130")) {
        if (has(n, "j-?30"))
            return key("c130j30");
        return key(has(n, "130j") ? "c130j" : "c130h");
    }

    static const std::initializer_list<std::pair<const char *, const char *>> table = {
        {"challenger|cl-?350", "cl350"},
        {"cessna 172|\\bc-?172\\b|skyhawk", "c172"},
        {"208|caravan", "c208"},
        {"sr-?22", "sr22"},
        {"xcub", "xcub"},
        {"tbm", "tbm930"},
        {"pa-?28|cherokee", "pa28"},
        {"spitfire", "spitfire"},
        {"super hornet|f.?a-?18|f-?18", "f18"},
        {"f-?16", "f16"},
        {"f-?14", "f14"},
        {"f-?22", "f22"},
        {"p-?38", "p38"},
        {"\\ba-?10\\b", "a10"},
    };
    return variant(n, table);
}

} // namespace

QString normalised(const QString &name)
{
    const QString lower = name.toLower();
    QString kept;
    kept.reserve(lower.size());
    for (const QChar c : lower) {
        if ((c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            || (c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            kept.append(c);
    }
    return kept;
}

QString typeKey(const QString &name)
{
    if (auto key = familyKey(name.toLower()))
        return *key;
    return normalised(name);
}

} // namespace AircraftNaming

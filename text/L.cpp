#include "L.h"

#include "AppLanguage.h"
#include "ResourcePaths.h"
#include "TextLog.h"

#include <QCoreApplication>
#include <QHash>
#include <QLocale>
#include <QTranslator>

#include <algorithm>
#include <cmath>
#include <memory>

namespace Text {

namespace {

// One context holds every key.
constexpr const char *context = "Vorna";

const QTranslator *tableFor(const QString &language)
{
    static QHash<QString, std::shared_ptr<QTranslator>> tables;
    auto found = tables.constFind(language);
    if (found != tables.constEnd())
        return found->get();
    auto table = std::make_shared<QTranslator>();
    if (!table->load(ResourcePaths::stringTable(language))) {
        qCInfo(lcText, "no string table for %s: its texts stay the keys", qPrintable(language));
        table.reset();
    }
    tables.insert(language, table);
    return table.get();
}

} // namespace

QString lookup(const QString &key)
{
    const QTranslator *table = tableFor(AppLanguage::current());
    if (!table)
        return key;
    const QString text = table->translate(context, key.toUtf8().constData());
    return text.isEmpty() ? key : text;
}

QString lookup(const QString &key, qint64 count)
{
    const QTranslator *table = tableFor(AppLanguage::current());
    if (!table)
        return key;
    // A table's plural rules need a non-negative int; a count beyond that is "many" in every language.
    const int n = int(std::clamp<qint64>(count < 0 ? -count : count, 0, 1'000'000));
    const QByteArray source = key.toUtf8();
    QString text = table->translate(context, source.constData(), nullptr, n);
    if (text.isEmpty())
        text = table->translate(context, source.constData());
    return text.isEmpty() ? key : text;
}

QString substitute(const QString &format, const QStringList &arguments)
{
    QString result;
    result.reserve(format.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('%') && i + 1 < format.size()) {
            const QChar after = format.at(i + 1);
            if (after == QLatin1Char('@')) {
                if (next < arguments.size())
                    result += arguments.at(next);
                ++next;
                ++i;
                continue;
            }
            if (after == QLatin1Char('%')) {
                result += QLatin1Char('%');
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

QString describe(double value)
{
    if (std::isnan(value))
        return QStringLiteral("nan");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    const double magnitude = std::fabs(value);
    if (magnitude != 0 && (magnitude >= 1e16 || magnitude < 1e-4))
        return QString::number(value, 'e', QLocale::FloatingPointShortest);
    QString text = QString::number(value, 'f', QLocale::FloatingPointShortest);
    if (!text.contains(QLatin1Char('.')))
        text += QStringLiteral(".0");
    return text;
}

} // namespace Text

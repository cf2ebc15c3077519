#include "Strings.h"

#include <QCollator>
#include <QLocale>

#include <unicode/ubrk.h>

#include <algorithm>
#include <limits>
#include <memory>

namespace Text {

namespace {

struct CloseBreaks
{
    void operator()(UBreakIterator *iterator) const { ubrk_close(iterator); }
};

// ICU's character breaks, one iterator a thread: opening one loads its rules.
UBreakIterator *characterBreaks()
{
    thread_local const std::unique_ptr<UBreakIterator, CloseBreaks> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UBreakIterator *opened = ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &status);
        return std::unique_ptr<UBreakIterator, CloseBreaks>(U_SUCCESS(status) ? opened : nullptr);
    }();
    return iterator.get();
}

} // namespace

QString trimmedHorizontally(const QString &text)
{
    const auto blank = [](QChar c) { return c == u'\t' || c.category() == QChar::Separator_Space; };
    qsizetype start = 0, end = text.size();
    while (start < end && blank(text.at(start)))
        ++start;
    while (end > start && blank(text.at(end - 1)))
        --end;
    return text.mid(start, end - start);
}

qsizetype perceivedLength(const QString &text)
{
    // ICU's rules, not Qt's: Qt 6.4 splits a flag that follows a sequence joined by zero-width joiners.
    UBreakIterator *breaks = characterBreaks();
    // Where ICU cannot count, never fewer than there are.
    if (!breaks || text.size() > std::numeric_limits<int32_t>::max())
        return text.size();
    UErrorCode status = U_ZERO_ERROR;
    ubrk_setText(breaks, reinterpret_cast<const UChar *>(text.utf16()), int32_t(text.size()), &status);
    if (U_FAILURE(status))
        return text.size();
    qsizetype count = 0;
    while (ubrk_next(breaks) != UBRK_DONE)
        ++count;
    return count;
}

QString withMnemonic(const QString &text, QChar letter)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
    const bool latin =
        std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() >= 0x2E80; });
    if (latin) {
        for (qsizetype i = 0; i < escaped.size(); ++i) {
            if (escaped.at(i).toCaseFolded() == letter.toCaseFolded() && escaped.at(i) != QLatin1Char('&'))
                return escaped.insert(i, QLatin1Char('&'));
        }
    }
    // A trailing ellipsis stays last: "检查更新(&U)…".
    const bool ellipsis = escaped.endsWith(QChar(0x2026));
    if (ellipsis)
        escaped.chop(1);
    escaped += QStringLiteral("(&") + letter.toUpper() + QLatin1Char(')');
    if (ellipsis)
        escaped += QChar(0x2026);
    return escaped;
}

QString withoutMnemonic(const QString &text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('&')) {
            plain += c;
            continue;
        }
        if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('&')) {
            plain += c;
            ++i;
            continue;
        }
        // "(&Q)" goes whole, with the bracket already copied.
        if (plain.endsWith(QLatin1Char('(')) && i + 2 < text.size() && text.at(i + 2) == QLatin1Char(')')) {
            plain.chop(1);
            i += 2;
        }
    }
    return plain;
}

int standardCompare(const QString &a, const QString &b)
{
    // Qt's collator compares plain code points in the C locale, numeric mode and case folding included.
    thread_local const QCollator collator = [] {
        const QLocale system;
        QCollator made(system.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates)
                                                       : system);
        made.setCaseSensitivity(Qt::CaseInsensitive);
        made.setNumericMode(true);
        return made;
    }();
    return collator.compare(a, b);
}

} // namespace Text

#include "FuzzTarget.h"

#include "Display.h"
#include "L.h"
#include "ReviewText.h"
#include "WireTime.h"

#include <QStringList>

#include <unicode/uchar.h>

#include <cmath>
#include <cstring>

// Texts that reach the screen with values from outside: table entries with their arguments, the
// service's times and numbers.

// Format and arguments separated by NUL bytes. An argument is put in as written, never read as a format.
VORNA_FUZZ_TARGET(substitute)
{
    QStringList parts = QString::fromUtf8(bytes).split(QChar(0));
    const QString format = parts.takeFirst();
    const QString result = Text::substitute(format, parts);
    if (!format.contains(QLatin1Char('%')))
        FUZZ_CHECK(result == format);
    if (!parts.isEmpty()) {
        FUZZ_CHECK(Text::substitute(QStringLiteral("%@"), parts) == parts.front());
        FUZZ_CHECK(Text::substitute(QStringLiteral("<%@>"), parts)
                   == QLatin1Char('<') + parts.front() + QLatin1Char('>'));
    }
}

// The service's ISO 8601 times: a time is read only from the whole text, so text after it (a line feed
// included) makes it no time at all.
VORNA_FUZZ_TARGET(wire_time)
{
    const QString text = QString::fromUtf8(bytes);
    const std::optional<QDateTime> time = WireTime::parse(text);
    if (!time)
        return;
    FUZZ_CHECK(time->isValid());
    FUZZ_CHECK(!WireTime::parse(text + QLatin1Char('\n')));
    FUZZ_CHECK(!WireTime::parse(text + QLatin1Char(' ')));
    Display::shortDateTime(*time);
}

// Any eight bytes as a number from the service: shown without fault, and a finite one in a form that
// reads back as the same number.
VORNA_FUZZ_TARGET(numbers)
{
    if (bytes.size() < qsizetype(sizeof(double)))
        return;
    double value = 0;
    std::memcpy(&value, bytes.constData(), sizeof value);
    Display::dateTime(value);
    Display::duration(value);
    const QString described = Text::describe(value);
    if (std::isfinite(value)) {
        bool ok = false;
        const double back = described.toDouble(&ok);
        FUZZ_CHECK(ok && back == value);
    }
}

// The uploaded, the simulator's and the site's callsign, separated by NUL bytes. The verdict does not
// depend on their order, and it says they agree only when, upper-cased, they hold the same ASCII letters
// and the same numerals (by Unicode's numeric property, Han numerals included) in the same order.
VORNA_FUZZ_TARGET(callsigns)
{
    const QStringList callsigns = QString::fromUtf8(bytes).split(QChar(0));
    if (callsigns.size() != 3)
        return;
    const auto verdict = [](const QString &a, const QString &b, const QString &c) {
        return ReviewText::callsignVerdict({a, b, c, std::nullopt});
    };
    const ReviewText::Line given = verdict(callsigns[0], callsigns[1], callsigns[2]);
    FUZZ_CHECK(verdict(callsigns[2], callsigns[0], callsigns[1]) == given);
    FUZZ_CHECK(verdict(callsigns[1], callsigns[0], callsigns[2]) == given);
    if (given.tone != ReviewText::Tone::Good)
        return;
    const auto compared = [](const QString &callsign) {
        QList<char32_t> kept;
        for (const char32_t c : callsign.toUpper().toUcs4()) {
            if ((c >= U'A' && c <= U'Z')
                || u_getIntPropertyValue(UChar32(c), UCHAR_NUMERIC_TYPE) != U_NT_NONE)
                kept.append(c);
        }
        return kept;
    };
    FUZZ_CHECK(compared(callsigns[0]) == compared(callsigns[1]));
    FUZZ_CHECK(compared(callsigns[1]) == compared(callsigns[2]));
}

#include "JsonScanner.h"

#include "Strings.h"

#include <charconv>
#include <cmath>

namespace {

// Nesting deeper than this is left to Qt's parser, which has limits of its own.
constexpr std::size_t deepest = 256;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The length of the UTF-8 sequence that starts at `p` (a byte of 0x80 or more), or 0 when it is not one
// that Qt's parser surely takes: overlong forms, surrogates, code points past U+10FFFF and noncharacters are
// all left to it.
int sequenceLength(const unsigned char *p, const unsigned char *end)
{
    const unsigned lead = p[0];
    int length = 0;
    char32_t point = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        point = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        point = lead & 0x07;
    } else {
        return 0;
    }
    if (end - p < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        point = (point << 6) | (p[i] & 0x3F);
    }
    if ((length == 3 && point < 0x800) || (length == 4 && (point < 0x10000 || point > 0x10FFFF)))
        return 0;
    if ((point >= 0xD800 && point <= 0xDFFF) || (point >= 0xFDD0 && point <= 0xFDEF)
        || (point & 0xFFFE) == 0xFFFE)
        return 0;
    return length;
}

} // namespace

JsonScanner::JsonScanner(QByteArrayView json)
    : m_at(json.data())
    , m_end(json.data() + json.size())
{
}

bool JsonScanner::fail()
{
    m_failed = true;
    return false;
}

void JsonScanner::skipSpace()
{
    while (m_at < m_end && (*m_at == ' ' || *m_at == '\n' || *m_at == '\r' || *m_at == '\t'))
        ++m_at;
}

bool JsonScanner::expect(char c)
{
    if (m_failed || m_at >= m_end || *m_at != c)
        return fail();
    ++m_at;
    return true;
}

JsonScanner::Kind JsonScanner::peek()
{
    if (m_failed)
        return Kind::Invalid;
    skipSpace();
    if (m_at >= m_end)
        return Kind::Invalid;
    switch (*m_at) {
    case '{':
        return Kind::Object;
    case '[':
        return Kind::Array;
    case '"':
        return Kind::String;
    case 't':
        return Kind::True;
    case 'f':
        return Kind::False;
    case 'n':
        return Kind::Null;
    default:
        return *m_at == '-' || isDigit(*m_at) ? Kind::Number : Kind::Invalid;
    }
}

bool JsonScanner::enter(char open)
{
    skipSpace();
    if (!expect(open) || m_levels.size() >= deepest)
        return fail();
    m_levels.push_back(false);
    return true;
}

bool JsonScanner::next(char close)
{
    if (m_failed || m_levels.empty())
        return fail();
    skipSpace();
    if (m_at < m_end && *m_at == close) {
        ++m_at;
        m_levels.pop_back();
        return false;
    }
    if (m_levels.back()) {
        if (!expect(','))
            return false;
        skipSpace();
    }
    m_levels.back() = true;
    return true;
}

bool JsonScanner::passMultibyte()
{
    const int length = sequenceLength(reinterpret_cast<const unsigned char *>(m_at),
                                      reinterpret_cast<const unsigned char *>(m_end));
    if (!length)
        return fail();
    m_at += length;
    return true;
}

bool JsonScanner::enterObject() { return enter('{'); }

bool JsonScanner::nextKey(QByteArrayView &key)
{
    if (!next('}') || !expect('"'))
        return false;
    const char *start = m_at;
    while (m_at < m_end && *m_at != '"') {
        const auto c = static_cast<unsigned char>(*m_at);
        if (c == '\\' || c < 0x20)
            return fail();
        if (c < 0x80)
            ++m_at;
        else if (!passMultibyte())
            return false;
    }
    key = QByteArrayView(start, m_at - start);
    if (!expect('"'))
        return false;
    skipSpace();
    return expect(':');
}

bool JsonScanner::enterArray() { return enter('['); }

bool JsonScanner::nextElement() { return next(']'); }

bool JsonScanner::readString(QString &text)
{
    skipSpace();
    return scanString(&text);
}

bool JsonScanner::scanString(QString *text)
{
    if (!expect('"'))
        return false;
    const char *segment = m_at;
    bool ascii = true;
    bool escaped = false;
    QString built;
    const auto flush = [&](const char *until) {
        if (text)
            built += ascii ? QString::fromLatin1(segment, until - segment)
                           : QString::fromUtf8(segment, until - segment);
    };
    while (m_at < m_end) {
        const auto c = static_cast<unsigned char>(*m_at);
        if (c == '"') {
            if (text) {
                if (!escaped)
                    *text = ascii ? QString::fromLatin1(segment, m_at - segment)
                                  : QString::fromUtf8(segment, m_at - segment);
                else {
                    flush(m_at);
                    *text = std::move(built);
                }
            }
            ++m_at;
            return true;
        }
        if (c < 0x20)
            return fail();
        if (c >= 0x80) {
            ascii = false;
            if (!passMultibyte())
                return false;
            continue;
        }
        if (c != '\\') {
            ++m_at;
            continue;
        }
        // An escape: what came before it, then the character it stands for.
        flush(m_at);
        escaped = true;
        if (++m_at >= m_end)
            return fail();
        char16_t unit = 0;
        switch (*m_at) {
        case '"':
            unit = u'"';
            break;
        case '\\':
            unit = u'\\';
            break;
        case '/':
            unit = u'/';
            break;
        case 'b':
            unit = u'\b';
            break;
        case 'f':
            unit = u'\f';
            break;
        case 'n':
            unit = u'\n';
            break;
        case 'r':
            unit = u'\r';
            break;
        case 't':
            unit = u'\t';
            break;
        case 'u': {
            if (m_end - m_at < 5)
                return fail();
            int value = 0;
            for (int i = 1; i <= 4; ++i) {
                const int digit = Text::hexDigitValue(uchar(m_at[i]));
                if (digit < 0)
                    return fail();
                value = value * 16 + digit;
            }
            // Surrogates, paired or not, and the null character are Qt's to judge.
            if (value == 0 || (value >= 0xD800 && value <= 0xDFFF))
                return fail();
            unit = char16_t(value);
            m_at += 4;
            break;
        }
        default:
            return fail();
        }
        if (text)
            built += QChar(unit);
        ++m_at;
        segment = m_at;
        ascii = true;
    }
    return fail();
}

bool JsonScanner::readNumber(double &number, std::optional<qint64> &whole)
{
    skipSpace();
    if (m_failed)
        return false;
    // The grammar of a JSON number, strictly: -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
    const char *start = m_at;
    const char *p = m_at;
    if (p < m_end && *p == '-')
        ++p;
    if (p >= m_end || !isDigit(*p))
        return fail();
    if (*p == '0') {
        ++p;
    } else {
        while (p < m_end && isDigit(*p))
            ++p;
    }
    bool integral = true;
    if (p < m_end && *p == '.') {
        integral = false;
        ++p;
        if (p >= m_end || !isDigit(*p))
            return fail();
        while (p < m_end && isDigit(*p))
            ++p;
    }
    if (p < m_end && (*p == 'e' || *p == 'E')) {
        integral = false;
        ++p;
        if (p < m_end && (*p == '+' || *p == '-'))
            ++p;
        if (p >= m_end || !isDigit(*p))
            return fail();
        while (p < m_end && isDigit(*p))
            ++p;
    }
    whole.reset();
    if (integral) {
        qint64 value = 0;
        const auto [end, error] = std::from_chars(start, p, value);
        if (error == std::errc() && end == p) {
            whole = value;
            number = double(value);
            m_at = p;
            return true;
        }
    }
    const auto [end, error] = std::from_chars(start, p, number);
    if (error != std::errc() || end != p || !std::isfinite(number))
        return fail();
    m_at = p;
    return true;
}

bool JsonScanner::literal(QByteArrayView word)
{
    skipSpace();
    if (m_failed || m_end - m_at < word.size() || QByteArrayView(m_at, word.size()) != word)
        return fail();
    m_at += word.size();
    return true;
}

bool JsonScanner::readBool(bool &value)
{
    const Kind kind = peek();
    if (kind != Kind::True && kind != Kind::False)
        return fail();
    value = kind == Kind::True;
    return literal(value ? "true" : "false");
}

bool JsonScanner::readNull() { return literal("null"); }

bool JsonScanner::skipValue() { return skip(m_levels.size()); }

bool JsonScanner::skip(int depth)
{
    if (std::size_t(depth) >= deepest)
        return fail();
    switch (peek()) {
    case Kind::Object: {
        if (!enterObject())
            return false;
        QByteArrayView key;
        while (nextKey(key)) {
            if (!skip(depth + 1))
                return false;
        }
        return !m_failed;
    }
    case Kind::Array:
        if (!enterArray())
            return false;
        while (nextElement()) {
            if (!skip(depth + 1))
                return false;
        }
        return !m_failed;
    case Kind::String:
        return scanString(nullptr);
    case Kind::Number: {
        double number = 0;
        std::optional<qint64> whole;
        return readNumber(number, whole);
    }
    case Kind::True:
        return literal("true");
    case Kind::False:
        return literal("false");
    case Kind::Null:
        return literal("null");
    case Kind::Invalid:
        break;
    }
    return fail();
}

bool JsonScanner::atEnd()
{
    if (m_failed || !m_levels.empty())
        return false;
    skipSpace();
    return m_at == m_end;
}

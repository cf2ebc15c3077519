#include "SettingsFile.h"

#include "Strings.h"
#include "TextLog.h"

#include <QIODevice>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace SettingsFile {

namespace {

// ---- the old variant form: QDataStream's layout of version 4.0, as Qt writes it into the file

// Qt's numbers of the types that can hold read marks.
constexpr quint32 variantListType = 9;
constexpr quint32 textType = 10;
constexpr quint32 textListType = 11;

// Reads the stream's bytes without trusting a length or a count it declares.
class StreamReader
{
public:
    explicit StreamReader(QByteArrayView bytes)
        : m_bytes(bytes)
    {
    }

    bool atEnd() const { return m_at == m_bytes.size(); }

    std::optional<quint32> number()
    {
        if (left() < 4)
            return std::nullopt;
        const quint32 value =
            quint32(byte(0)) << 24 | quint32(byte(1)) << 16 | quint32(byte(2)) << 8 | byte(3);
        m_at += 4;
        return value;
    }

    // Its length in bytes, then UTF-16 big-endian; a length of all ones is the null text.
    std::optional<QString> text()
    {
        const std::optional<quint32> length = number();
        if (!length)
            return std::nullopt;
        if (*length == 0xffffffff)
            return QString();
        if (*length % 2 != 0 || *length > quint64(left()))
            return std::nullopt;
        QString text(qsizetype(*length / 2), Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i)
            text[i] = QChar(char16_t(byte(2 * i) << 8 | byte(2 * i + 1)));
        m_at += *length;
        return text;
    }

    // A count of items of at least `itemBytes` each, never more than the bytes left can hold.
    std::optional<quint32> count(qsizetype itemBytes)
    {
        const std::optional<quint32> count = number();
        if (!count || *count > quint64(left() / itemBytes))
            return std::nullopt;
        return count;
    }

private:
    qsizetype left() const { return m_bytes.size() - m_at; }
    uchar byte(qsizetype offset) const { return uchar(m_bytes[m_at + offset]); }

    QByteArrayView m_bytes;
    qsizetype m_at = 0;
};

// A text or a list of texts (a list of variants each of which is a text counts too, and stays a list of
// variants, as Qt reads it), or none.
std::optional<QVariant> variantValue(QByteArrayView bytes)
{
    StreamReader stream(bytes);
    const std::optional<quint32> type = stream.number();
    QVariant value;
    if (type == textType) {
        const std::optional<QString> text = stream.text();
        if (!text)
            return std::nullopt;
        value = *text;
    } else if (type == textListType || type == variantListType) {
        // Each item of a list of variants is a type number and a text.
        const bool variants = type == variantListType;
        const std::optional<quint32> count = stream.count(variants ? 8 : 4);
        if (!count)
            return std::nullopt;
        QStringList texts;
        for (quint32 i = 0; i < *count; ++i) {
            if (variants && stream.number() != textType)
                return std::nullopt;
            const std::optional<QString> text = stream.text();
            if (!text)
                return std::nullopt;
            texts.append(*text);
        }
        value = variants ? QVariant(QVariantList(texts.cbegin(), texts.cend())) : QVariant(texts);
    } else {
        return std::nullopt;
    }
    if (!stream.atEnd())
        return std::nullopt;
    return value;
}

// ---- the INI layout

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

QStringView withoutBlanks(QStringView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// A value's items: escapes undone, quotes taken off, split at the commas outside quotes (a list only then);
// blanks around an item go unless quoted or escaped, and a semicolon outside quotes starts a comment.
struct Items
{
    QStringList texts;
    bool list = false;
};

Items items(QStringView value)
{
    Items items;
    QString item;
    qsizetype kept = 0; // the item's length up to its last quoted or escaped character
    bool quoted = false;
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < value.size() && isBlank(value[i]))
            ++i;
    };
    const auto finish = [&] {
        while (item.size() > kept && isBlank(item.back()))
            item.chop(1);
        items.texts.append(item);
        item.clear();
        kept = 0;
    };
    const auto append = [&](char32_t code) {
        if (code > 0x10ffff)
            code = QChar::ReplacementCharacter;
        // Lone surrogates too: the writer escapes them this way.
        if (code <= 0xffff)
            item += QChar(char16_t(code));
        else
            item += QString::fromUcs4(&code, 1);
        kept = item.size();
    };
    // Digits of `base` from i on, as one code.
    const auto code = [&](int base) {
        char32_t code = 0;
        while (i < value.size()) {
            const int digit = Text::hexDigitValue(value[i].unicode());
            if (digit < 0 || digit >= base)
                break;
            code = code > 0x10ffff ? code : code * base + digit;
            ++i;
        }
        return code;
    };
    skipBlanks();
    while (i < value.size()) {
        const QChar c = value[i++];
        if (c == QLatin1Char('\\')) {
            if (i == value.size())
                break;
            const char16_t escaped = value[i++].unicode();
            switch (escaped) {
            case 'a':
                append(U'\a');
                break;
            case 'b':
                append(U'\b');
                break;
            case 'f':
                append(U'\f');
                break;
            case 'n':
                append(U'\n');
                break;
            case 'r':
                append(U'\r');
                break;
            case 't':
                append(U'\t');
                break;
            case 'v':
                append(U'\v');
                break;
            case '"':
            case '\'':
            case '?':
            case '\\':
                append(escaped);
                break;
            case 'x':
                if (i < value.size() && Text::hexDigitValue(value[i].unicode()) >= 0)
                    append(code(16));
                break;
            default:
                if (escaped >= '0' && escaped <= '7') {
                    --i;
                    append(code(8));
                }
                // Any other escaped character is dropped, as Qt drops it.
                break;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
            kept = item.size();
        } else if (!quoted && c == QLatin1Char(',')) {
            items.list = true;
            finish();
            skipBlanks();
        } else if (!quoted && c == QLatin1Char(';')) {
            break;
        } else {
            item += c;
            if (quoted)
                kept = item.size();
        }
    }
    finish();
    return items;
}

// One value as Qt reads it from its text, once the escapes are undone: a leading "@" marks Qt's typed
// values, so a text's own is doubled. Of the typed values, those Qt writes for texts (one holding a NUL
// character is "@String(…)"), bytes and no value are read; a variant is read only when it holds texts, and
// a rectangle, a size, a point or a time, which the app never keeps, not at all. Any other text starting
// with "@" is that text, as Qt has it.
std::optional<QVariant> typedValue(const QString &text)
{
    if (!text.startsWith(QLatin1Char('@')))
        return text;
    if (text.startsWith(QLatin1String("@@")))
        return text.mid(1);
    if (!text.endsWith(QLatin1Char(')')))
        return text;
    if (text == QLatin1String("@Invalid()"))
        return QVariant();
    const auto inside = [&text](QLatin1String opening) {
        return QStringView(text).sliced(opening.size(), text.size() - opening.size() - 1);
    };
    const QLatin1String string("@String(");
    if (text.startsWith(string))
        return inside(string).toString();
    const QLatin1String bytes("@ByteArray(");
    if (text.startsWith(bytes))
        return inside(bytes).toLatin1();
    const QLatin1String variant("@Variant(");
    if (text.startsWith(variant)) {
        // The stream's bytes, one to a character.
        const QStringView stream = inside(variant);
        for (const QChar c : stream) {
            if (c.unicode() > 0xff)
                return std::nullopt;
        }
        return variantValue(stream.toLatin1());
    }
    for (const char *opening : {"@DateTime(", "@Rect(", "@Size(", "@Point("}) {
        if (text.startsWith(QLatin1String(opening)))
            return std::nullopt;
    }
    return text;
}

std::optional<QVariant> valueOf(QStringView written)
{
    const Items parts = items(written);
    if (!parts.list)
        return typedValue(parts.texts.front());
    // A list of texts, unless an item is a typed value: then, as for Qt, a list of values.
    const auto typed = [](const QString &text) {
        return text.startsWith(QLatin1Char('@')) && !text.startsWith(QLatin1String("@@"));
    };
    if (std::none_of(parts.texts.cbegin(), parts.texts.cend(), typed)) {
        QStringList texts;
        for (const QString &part : parts.texts)
            texts.append(typedValue(part)->toString());
        return texts;
    }
    QVariantList values;
    for (const QString &part : parts.texts) {
        const std::optional<QVariant> value = typedValue(part);
        // A list inside a list (an item's variant form), which the app never keeps, is not read either.
        if (!value || value->typeId() == QMetaType::QStringList || value->typeId() == QMetaType::QVariantList)
            return std::nullopt;
        values.append(*value);
    }
    return values;
}

QString keyOf(QStringView written)
{
    QString key;
    for (qsizetype i = 0; i < written.size(); ++i) {
        const QChar c = written[i];
        const auto hexAt = [&](qsizetype from, qsizetype digits) {
            int code = 0;
            for (qsizetype d = from; d < from + digits; ++d) {
                if (d >= written.size() || Text::hexDigitValue(written[d].unicode()) < 0)
                    return -1;
                code = code * 16 + Text::hexDigitValue(written[d].unicode());
            }
            return code;
        };
        if (c == QLatin1Char('%') && i + 1 < written.size() && written[i + 1] == QLatin1Char('U')
            && hexAt(i + 2, 4) >= 0) {
            key += QChar(char16_t(hexAt(i + 2, 4)));
            i += 5;
        } else if (c == QLatin1Char('%') && hexAt(i + 1, 2) >= 0) {
            key += QChar(char16_t(hexAt(i + 1, 2)));
            i += 2;
        } else if (c == QLatin1Char('\\')) {
            key += QLatin1Char('/');
        } else {
            key += c;
        }
    }
    return key;
}

QString writtenKey(const QString &key)
{
    QString written;
    for (const QChar c : key) {
        const char16_t u = c.unicode();
        const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9')
                           || u == '-' || u == '_' || u == '.';
        if (plain)
            written += c;
        else if (u <= 0xff)
            written += QStringLiteral("%%1").arg(u, 2, 16, QLatin1Char('0')).toUpper();
        else
            written += QStringLiteral("%U%1").arg(u, 4, 16, QLatin1Char('0')).toUpper();
    }
    return written;
}

// Escapes and quotes as Qt reads them back. U+FEFF is escaped too: at a value's start Qt's reader drops it as
// a byte-order mark.
QString escaped(const QString &text)
{
    QString written;
    // A code runs on over every hex digit that follows it, so those are written as codes too.
    bool afterCode = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            written += c;
            written += text[++i];
            afterCode = false;
        } else if (c == QLatin1Char('\\') || c == QLatin1Char('"')) {
            written += QLatin1Char('\\');
            written += c;
            afterCode = false;
        } else if (c.unicode() < 0x20 || c.unicode() == 0x7f || c.isSurrogate() || c.unicode() == 0xfeff
                   || (afterCode && Text::hexDigitValue(c.unicode()) >= 0)) {
            written += QStringLiteral("\\x") + QString::number(c.unicode(), 16);
            afterCode = true;
        } else {
            written += c;
            afterCode = false;
        }
    }
    const bool quoted = written.contains(QLatin1Char(',')) || written.contains(QLatin1Char(';'))
                        || written.contains(QLatin1Char('=')) || written.startsWith(QLatin1Char(' '))
                        || written.endsWith(QLatin1Char(' '));
    return quoted ? QLatin1Char('"') + written + QLatin1Char('"') : written;
}

QString writtenText(const QString &text)
{
    return escaped(text.startsWith(QLatin1Char('@')) ? QLatin1Char('@') + text : text);
}

// One value on its own or as an item of a list: texts, bytes in Qt's form for them, no value; a flag or a
// number as the text it reads back as.
QString writtenItem(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return QStringLiteral("@Invalid()");
    case QMetaType::QByteArray:
        return escaped(QStringLiteral("@ByteArray(") + QString::fromLatin1(value.toByteArray())
                       + QLatin1Char(')'));
    default:
        return writtenText(value.toString());
    }
}

QString writtenValue(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QStringList:
    case QMetaType::QVariantList: {
        // As Qt writes a list: none reads as no value, one as that value alone.
        const QVariantList items = value.toList();
        if (items.isEmpty())
            return QStringLiteral("@Invalid()");
        QStringList written;
        for (const QVariant &item : items)
            written.append(writtenItem(item));
        return written.join(QLatin1String(", "));
    }
    default:
        return writtenItem(value);
    }
}

} // namespace

QSettings::Format format()
{
    // "conf", the name of Qt's own file for the app, so settings written before carry over.
    static const QSettings::Format registered =
        QSettings::registerFormat(QStringLiteral("conf"), &read, &write);
    return registered;
}

void install() { QSettings::setDefaultFormat(format()); }

bool read(QIODevice &device, QSettings::SettingsMap &map)
{
    const QString file = QString::fromUtf8(device.readAll());
    QString group;
    qsizetype start = 0;
    while (start < file.size()) {
        qsizetype end = start;
        while (end < file.size() && file[end] != QLatin1Char('\n') && file[end] != QLatin1Char('\r'))
            ++end;
        const QStringView line = withoutBlanks(QStringView(file).sliced(start, end - start));
        start = end + 1;
        if (line.isEmpty() || line.front() == QLatin1Char(';') || line.front() == QLatin1Char('#'))
            continue;
        if (line.front() == QLatin1Char('[')) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            const QStringView name = line.sliced(1, (close < 0 ? line.size() : close) - 1);
            // Qt's top-level keys are in "[General]"; a group of that name is written "[%General]".
            group = name == QLatin1String("General")    ? QString()
                    : name == QLatin1String("%General") ? QStringLiteral("General")
                                                        : keyOf(name);
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        const QString key = keyOf(withoutBlanks(line.first(equals)));
        if (key.isEmpty())
            continue;
        if (const std::optional<QVariant> value = valueOf(line.sliced(equals + 1)))
            map.insert(group.isEmpty() ? key : group + QLatin1Char('/') + key, *value);
        else
            qCInfo(lcText, "a value of the settings file is unreadable and left out");
    }
    return true;
}

bool write(QIODevice &device, const QSettings::SettingsMap &map)
{
    if (map.isEmpty())
        return true;
    // Every key at the top, its groups' slashes escaped with the rest.
    QString file = QStringLiteral("[General]\n");
    for (auto entry = map.cbegin(); entry != map.cend(); ++entry)
        file += writtenKey(entry.key()) + QLatin1Char('=') + writtenValue(entry.value()) + QLatin1Char('\n');
    const QByteArray bytes = file.toUtf8();
    return device.write(bytes) == bytes.size();
}

} // namespace SettingsFile

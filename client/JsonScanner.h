#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

// Reads JSON straight from its bytes, one token at a time, for the records too large to go through a
// QJsonDocument first (a live-map snapshot of thousands of flights). It takes only what Qt's parser surely
// takes the same way; at anything else (a syntax error, an escaped key, a lone surrogate, a number out of
// range, bytes that are not UTF-8, very deep nesting) it stops and says so, and the caller reads the bytes
// the ordinary way, whose answer then decides. Once it has failed, every call returns false.
class JsonScanner
{
public:
    enum class Kind { Object, Array, String, Number, True, False, Null, Invalid };

    explicit JsonScanner(QByteArrayView json);

    bool failed() const { return m_failed; }
    // What the next value is, without reading it.
    Kind peek();

    // An object: enter it, then take its keys one by one (false, having left it, after the last; a key is
    // given as its bytes, and a key with an escape fails the scan), reading or skipping each key's value.
    bool enterObject();
    bool nextKey(QByteArrayView &key);
    // An array: enter it, then ask before each element (false, having left it, after the last).
    bool enterArray();
    bool nextElement();

    bool readString(QString &text);
    // A number; `whole` holds it when it was written as an integer that fits 64 bits.
    bool readNumber(double &number, std::optional<qint64> &whole);
    bool readBool(bool &value);
    bool readNull();
    // Any value, checked as it is passed over.
    bool skipValue();
    // Only white space is left after the value read last.
    bool atEnd();

private:
    bool fail();
    // Into an object or array, and on to its next member or element (false, having left it, at its end).
    bool enter(char open);
    bool next(char close);
    // Past one multi-byte UTF-8 sequence that Qt's parser surely takes the same way.
    bool passMultibyte();
    void skipSpace();
    bool expect(char c);
    bool literal(QByteArrayView word);
    bool scanString(QString *text);
    bool skip(int depth);

    const char *m_at;
    const char *m_end;
    // For each object or array entered: whether a member or an element was read in it already (a comma
    // comes before the next one).
    std::vector<bool> m_levels;
    bool m_failed = false;
};

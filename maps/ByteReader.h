#pragma once

#include <QByteArray>
#include <QResource>
#include <QtEndian>

// Reads the little-endian fields of a bundled map file. A read past the end, or a count the bytes left
// cannot hold, ends the reading: every later read gives 0 and `ok()` false.
class ByteReader
{
public:
    explicit ByteReader(const QByteArray &bytes)
        : m_bytes(bytes)
    {
    }

    bool ok() const { return m_ok; }
    qsizetype at() const { return m_at; }
    qsizetype remaining() const { return m_bytes.size() - m_at; }
    // A count that the bytes left cannot hold, each item taking at least `bytes`, ends the reading.
    quint64 count(quint64 value, qsizetype bytes)
    {
        if (value > quint64(remaining() / bytes))
            return fail();
        return value;
    }
    quint32 u32() { return fixed<quint32>(); }
    quint16 u16() { return fixed<quint16>(); }
    quint8 u8() { return fixed<quint8>(); }
    quint64 varint()
    {
        quint64 value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            const quint8 byte = u8();
            value |= quint64(byte & 0x7F) << shift;
            if (!(byte & 0x80))
                return value;
        }
        return fail();
    }
    qint64 zigzag()
    {
        const quint64 v = varint();
        return qint64(v >> 1) ^ -qint64(v & 1);
    }
    void skip(quint64 count)
    {
        if (count > quint64(remaining()))
            fail();
        else
            m_at += qsizetype(count);
    }

private:
    template <typename T>
    T fixed()
    {
        if (remaining() < qsizetype(sizeof(T)))
            return T(fail());
        const T value = qFromLittleEndian<T>(m_bytes.constData() + m_at);
        m_at += sizeof(T);
        return value;
    }
    quint32 fail()
    {
        m_ok = false;
        m_at = m_bytes.size();
        return 0;
    }
    const QByteArray &m_bytes;
    qsizetype m_at = 0;
    bool m_ok = true;
};

// A file the app carries in its resources, read where it lies when it is stored uncompressed (the pictures
// of a raster layer are), so its bytes are not copied onto the heap. Empty when it is missing.
inline QByteArray bundledBytes(const QString &path)
{
    const QResource resource(path);
    if (!resource.isValid())
        return {};
    if (resource.compressionAlgorithm() == QResource::NoCompression)
        return QByteArray::fromRawData(reinterpret_cast<const char *>(resource.data()), resource.size());
    return resource.uncompressedData();
}

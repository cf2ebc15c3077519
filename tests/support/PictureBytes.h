#pragma once

// Picture files whose header states one size and whose pixels make another, as a damaged or hostile
// picture from outside may; and large pictures in few bytes.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QSize>

namespace TestSupport {

// A GIF of one frame at the screen's corner, every pixel black, opaque. Qt states its size from the frame
// and decodes it to the logical screen.
inline QByteArray gifBytes(QSize screen, QSize frame)
{
    QByteArray bytes("GIF89a");
    const auto word = [&bytes](int value) {
        bytes.append(char(value & 0xff));
        bytes.append(char(value >> 8 & 0xff));
    };
    word(screen.width());
    word(screen.height());
    // A global table of two colours, black and white; no background, no aspect.
    bytes.append("\x80\0\0\0\0\0\xff\xff\xff", 9);
    bytes.append(',');
    word(0);
    word(0);
    word(frame.width());
    word(frame.height());
    bytes.append('\0');
    // Codes of 3 bits from a minimum code size of 2; a clear code (4) before every two pixels keeps the
    // table from growing, so the codes stay 3 bits wide. The end is code 5.
    bytes.append(char(2));
    QByteArray data;
    quint32 bits = 0;
    int held = 0;
    const auto code = [&](quint32 value) {
        bits |= value << held;
        held += 3;
        while (held >= 8) {
            data.append(char(bits & 0xff));
            bits >>= 8;
            held -= 8;
        }
    };
    for (qint64 left = qint64(frame.width()) * frame.height(); left > 0; left -= 2) {
        code(4);
        code(0);
        if (left > 1)
            code(0);
    }
    code(5);
    if (held > 0)
        data.append(char(bits & 0xff));
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        bytes.append(char(block.size()));
        bytes.append(block);
    }
    bytes.append('\0');
    bytes.append(';');
    return bytes;
}

// An icon of one 32-bit bitmap of `bitmap`, opaque, whose directory entry states `stated` (256 is written
// as 0, as the format has it).
inline QByteArray icoBytes(QSize stated, QSize bitmap)
{
    QByteArray bytes;
    const auto little = [&bytes](quint32 value, int size) {
        for (int i = 0; i < size; ++i)
            bytes.append(char(value >> (8 * i) & 0xff));
    };
    const int maskRow = (bitmap.width() + 31) / 32 * 4;
    const int imageSize = 40 + bitmap.width() * bitmap.height() * 4 + maskRow * bitmap.height();
    little(0, 2); // reserved
    little(1, 2); // an icon
    little(1, 2); // one image
    little(stated.width() & 0xff, 1);
    little(stated.height() & 0xff, 1);
    little(0, 2); // no palette, reserved
    little(1, 2); // planes
    little(32, 2);
    little(imageSize, 4);
    little(22, 4); // the bitmap follows the directory
    // The bitmap's header: its height counts the colour rows and the mask rows.
    little(40, 4);
    little(bitmap.width(), 4);
    little(bitmap.height() * 2, 4);
    little(1, 2);
    little(32, 2);
    for (int i = 0; i < 6; ++i)
        little(0, 4);
    for (int i = 0; i < bitmap.width() * bitmap.height(); ++i)
        bytes.append("\x40\x80\xc0\xff", 4);
    bytes.append(QByteArray(maskRow * bitmap.height(), '\0'));
    return bytes;
}

// A PNG of one colour, of 8 bits a sample (decoded 4 bytes a pixel) or 16 (8 bytes a pixel): a few hundred
// KiB however many pixels. The bitmap it is made from lives only while it is written.
inline QByteArray plainPngBytes(QSize size, bool sixteenBits = false)
{
    QImage picture(size, sixteenBits ? QImage::Format_RGBX64 : QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // zlib's fastest level: twice as quick as the default on these, a few times larger.
    writer.setQuality(80);
    return writer.write(picture) ? bytes : QByteArray();
}

} // namespace TestSupport

#pragma once

#include <QHash>
#include <QImage>
#include <QString>

#include <list>
#include <optional>

// The memory cache of decoded pictures: bounded by total cost (bytes of the bitmaps) and by entry count;
// the least recently used entries go first.
class DecodedCache
{
public:
    DecodedCache(qsizetype costLimit, qsizetype countLimit);

    std::optional<QImage> find(const QString &key);
    // An entry that costs more than the whole limit is not kept.
    void insert(const QString &key, const QImage &image);
    void clear();

    qsizetype count() const { return m_entries.size(); }
    qsizetype totalCost() const { return m_totalCost; }
    bool contains(const QString &key) const { return m_entries.contains(key); }

    static qsizetype costOf(const QImage &image) { return qsizetype(image.bytesPerLine()) * image.height(); }

private:
    struct Entry
    {
        QImage image;
        qsizetype cost = 0;
        std::list<QString>::iterator use;
    };

    void remove(const QString &key);
    void trim();

    qsizetype m_costLimit;
    qsizetype m_countLimit;
    qsizetype m_totalCost = 0;
    QHash<QString, Entry> m_entries;
    std::list<QString> m_uses; // most recently used first
};

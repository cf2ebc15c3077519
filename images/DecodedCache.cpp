#include "DecodedCache.h"

DecodedCache::DecodedCache(qsizetype costLimit, qsizetype countLimit)
    : m_costLimit(costLimit)
    , m_countLimit(countLimit)
{
}

std::optional<QImage> DecodedCache::find(const QString &key)
{
    auto found = m_entries.find(key);
    if (found == m_entries.end())
        return std::nullopt;
    m_uses.splice(m_uses.begin(), m_uses, found->use);
    return found->image;
}

void DecodedCache::insert(const QString &key, const QImage &image)
{
    remove(key);
    const qsizetype cost = costOf(image);
    if (cost > m_costLimit)
        return;
    m_uses.push_front(key);
    m_entries.insert(key, {image, cost, m_uses.begin()});
    m_totalCost += cost;
    trim();
}

void DecodedCache::clear()
{
    m_entries.clear();
    m_uses.clear();
    m_totalCost = 0;
}

void DecodedCache::remove(const QString &key)
{
    auto found = m_entries.find(key);
    if (found == m_entries.end())
        return;
    m_totalCost -= found->cost;
    m_uses.erase(found->use);
    m_entries.erase(found);
}

void DecodedCache::trim()
{
    while (!m_uses.empty() && (m_totalCost > m_costLimit || m_entries.size() > m_countLimit)) {
        const QString oldest = m_uses.back();
        remove(oldest);
    }
}

#include "KeptForms.h"

void KeptForms::watch(QObject *form, QString kind, Reading read)
{
    m_open.removeIf([&](const Watched &watched) { return !watched.form || watched.form == form; });
    m_open.append({form, std::move(kind), std::move(read)});
}

void KeptForms::keepOpenForms(const QString &userId)
{
    signedIn(userId);
    for (const Watched &watched : std::as_const(m_open)) {
        if (!watched.form)
            continue;
        std::any content = watched.read();
        if (content.has_value())
            m_kept.insert(watched.kind, std::move(content));
    }
}

void KeptForms::signedIn(const QString &userId)
{
    if (m_owner == userId)
        return;
    m_kept.clear();
    m_owner = userId;
}

void KeptForms::clear()
{
    m_kept.clear();
    m_owner.clear();
}

bool KeptForms::holds(const QString &userId, const QString &kind) const
{
    return userId == m_owner && m_kept.contains(kind);
}

std::optional<std::any> KeptForms::take(const QString &userId, const QString &kind)
{
    if (!holds(userId, kind))
        return std::nullopt;
    return m_kept.take(kind);
}

#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace TestSupport {

// The language follows LANGUAGE, which Qt reads for the system's UI languages on Unix: set for the scope's
// life, the earlier value back after it.
class LanguageScope
{
public:
    explicit LanguageScope(const QByteArray &languages)
        : m_saved(qgetenv("LANGUAGE"))
    {
        qputenv("LANGUAGE", languages);
    }
    ~LanguageScope() { qputenv("LANGUAGE", m_saved); }
    LanguageScope(const LanguageScope &) = delete;
    LanguageScope &operator=(const LanguageScope &) = delete;

private:
    QByteArray m_saved;
};

} // namespace TestSupport

#pragma once

#include <QUrl>

// Decides each redirect of the picture service: only to a public picture asset of the member site itself,
// over the member site's scheme and port, without user information. Anything else is refused, and the
// redirect answer itself reaches the caller.
class ImageOriginGuard
{
public:
    // The member site's origin (https on port 443 for the real site; the sample service's own origin in
    // tests and when trying the app against it).
    explicit ImageOriginGuard(QUrl origin);

    bool allows(const QUrl &target) const;

    const QUrl &origin() const { return m_origin; }

private:
    QUrl m_origin;
};

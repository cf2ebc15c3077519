#pragma once

#include <QString>
#include <QUrl>

#include "TrustedCertificates.h"

#include <optional>

// The fixed hosts the app talks to, kept together.
namespace ServiceHosts {

// The member site: the member service under "/api/", the gate pages, the livery catalog and pictures.
inline constexpr char memberHost[] = "vornalia.org";
// The organisation's second host: the Infinite Flight Live authorisation returns to it.
inline constexpr char secondHost[] = "live.vornalia.org";
// The simulator vendor's API host, where the Live authorisation page must be.
inline constexpr char liveVendorHost[] = "api.infiniteflight.com";
// The Infinite Flight community forum, for the forum avatar.
inline constexpr char forumHost[] = "community.infiniteflight.com";

// Where the member service is reached, and which extra certificates its TLS may present.
struct MemberEndpoint
{
    QUrl origin;
    TrustedCertificates trustedCertificates;
};

// The fixed member site.
MemberEndpoint fixedMemberEndpoint();

// The override for trying the app against another member service (a staging site or the sample service):
// VORNA_MEMBER_ORIGIN names the origin, https or loopback http, with no path, query or user; VORNA_MEMBER_CA
// names a PEM file whose certificates are trusted for it. Read once, at the first call (the certificates are
// made from the file's text when the first connection needs them).
const MemberEndpoint &memberEndpoint();

// The override as read from the two values; none when the origin is not acceptable.
std::optional<MemberEndpoint> parseOverride(const QString &origin, const QString &certificateFile);

// The community forum, read without credentials for the member's forum avatar: its fixed origin, or for tests
// the override VORNA_FORUM_ORIGIN (https or loopback http, as for the member origin) with the certificates
// of VORNA_FORUM_CA. Read once, at the first call.
MemberEndpoint fixedForumEndpoint();
const MemberEndpoint &forumEndpoint();

// The simulator vendor's authorisation pages, shown in the Live authorisation browser: its fixed origin, or
// for tests and the sample service the override VORNA_LIVE_VENDOR_ORIGIN (https or loopback http, as for the
// member origin) with the certificates of VORNA_LIVE_VENDOR_CA. Read once, at the first call.
MemberEndpoint fixedLiveVendorEndpoint();
const MemberEndpoint &liveVendorEndpoint();
// Whether an authorisation page may be opened: https on the vendor's host (and port) named above.
bool isLiveVendorPage(const QUrl &url, const MemberEndpoint &vendor = liveVendorEndpoint());

} // namespace ServiceHosts

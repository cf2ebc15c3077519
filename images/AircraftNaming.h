#pragma once

#include <QString>

// Aircraft names arrive as free text ("Airbus A330-900", "A330-900neo", "a339"); a type key reduces a
// name to its family and variant so that two spellings of one type compare equal.
namespace AircraftNaming {

// Lower case, then only "a"-"z" and "0"-"9" kept: "Boeing 737-800" -> "boeing737800".
QString normalised(const QString &name);

// The family key of a name ("a339", "737-800", "c172"), or its normalised form when no family rule
// knows it. Never fails; the empty text gives the empty key.
QString typeKey(const QString &name);

} // namespace AircraftNaming

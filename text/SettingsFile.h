#pragma once

#include <QSettings>

// The app's settings file (the appearance, the read marks of earlier versions and their hand-over flags):
// the INI layout Qt writes, read and written here rather than by Qt. Qt's reader turns an "@Variant(" value
// into its record through QDataStream, which reserves whatever count the bytes declare, and it reads every
// value of a group as soon as one of them is asked for: one damaged entry had the appearance lookup at start
// ask for 48 GB. Here such a value is read by a reader that trusts no count, and values are written back
// as texts, bytes or comma-joined lists of them, never in the variant form.
namespace SettingsFile {

// The format, registered on first use.
QSettings::Format format();
// Makes it the format of every QSettings made from now on without one (the same file as Qt's own format).
void install();

// The file's keys ("group/key") and values as Qt reads them from what it writes for texts, lists, flags
// and bytes ("@String(…)", "@ByteArray(…)", "@Invalid()", "@@" texts), and lists of texts from their
// old "@Variant(" form. A value it cannot read as these is left out; the rest of the file is read all the
// same.
bool read(QIODevice &device, QSettings::SettingsMap &map);
// Texts, lists, bytes and no value as the reader reads them back; any other value as its text.
bool write(QIODevice &device, const QSettings::SettingsMap &map);

} // namespace SettingsFile

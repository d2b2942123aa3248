#pragma once

#include <QSettings>

// The settings file's format: INI as QSettings writes it, with every value
// read as plain text. QSettings' own INI reader turns values starting with
// "@Variant(", "@ByteArray(" and the like into typed data, decoding them
// from the file's bytes; a damaged or hand-edited file could so ask for
// gigabytes of memory or any type Qt can stream. The store only ever holds
// strings, so such a value is just its text.
namespace SettingsFile {

// The format to hand to QSettings; files keep the ".conf" extension.
QSettings::Format format();

// What the format's reader and writer do, for tests.
bool read(QIODevice &device, QSettings::SettingsMap &map);
bool write(QIODevice &device, const QSettings::SettingsMap &map);

} // namespace SettingsFile

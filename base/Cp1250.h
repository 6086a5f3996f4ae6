#pragma once
// Windows-1250, the code page of every file, record and serial byte of the system.
// Conversion happens only where text meets the screen, the terminal or the settings
// store. The five bytes the code page leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98)
// map to the C1 controls of the same value, so all 256 bytes survive a round trip;
// a character outside the code page becomes "?".

#include <QByteArray>
#include <QString>

namespace Cp1250 {

QString ToUnicode(const QByteArray& bytes);
QByteArray FromUnicode(const QString& text);

// UTF-8 source text (literals, terminal input) to Windows-1250 bytes and back.
QByteArray FromUtf8(const char* utf8);
QByteArray ToUtf8(const QByteArray& bytes);

}  // namespace Cp1250

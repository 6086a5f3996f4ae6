#pragma once
// Windows-1250, the code page of every file, record and serial byte of the system.
// Conversion happens only where text meets the screen, the terminal or the settings
// store, and where a list the user wrote comes in (FromListFile, FromTypedText). The
// five bytes the code page leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98) map to the
// C1 controls of the same value, so all 256 bytes survive a round trip; a character
// outside the code page becomes "?".

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

namespace Cp1250 {

QString ToUnicode(const QByteArray& bytes);
QByteArray FromUnicode(const QString& text);

// UTF-8 source text (literals, terminal input) to Windows-1250 bytes and back.
QByteArray FromUtf8(const char* utf8);
QByteArray ToUtf8(const QByteArray& bytes);

// A list the user wrote (the drawing's point list, an upload list), in Windows-1250.
struct ListText {
    // A character the code page has no byte for: its "?" in bytes, and what it was.
    struct Foreign {
        qsizetype offset = 0;
        char32_t character = 0;  // U+FFFD for bytes of a UTF-8 file that are no UTF-8
    };
    QByteArray bytes;
    QList<Foreign> foreign;  // in the order of the text
    bool fromUtf8 = false;   // the file was read as UTF-8
};

// Whether the bytes of a list file are UTF-8: they start with the UTF-8 byte-order
// mark, or they are valid UTF-8 holding at least one character beyond ASCII. Lists
// written on Linux are UTF-8; Windows-1250 text with Czech letters is never valid
// UTF-8, and pure ASCII reads the same either way.
bool IsUtf8(QByteArrayView bytes);

// A list file's text in Windows-1250: UTF-8 (see IsUtf8) converted, without its
// byte-order mark; any other text taken as Windows-1250 as it is. Line ends and
// NUL bytes stay.
ListText FromListFile(const QByteArray& bytes);

// A list file's text for an editor, by the same rule.
QString ListFileToUnicode(const QByteArray& bytes);

// Text the user typed (the upload editor) in Windows-1250.
ListText FromTypedText(QStringView text);

// A character as the user can look it up: «U+00F1».
QByteArray CharacterCode(char32_t character);

// The characters the code page lacks among text.bytes from begin to end, each once,
// as CharacterCode writes them, in the order of the text.
QList<QByteArray> ForeignCodes(const ListText& text, qsizetype begin, qsizetype end);

}  // namespace Cp1250

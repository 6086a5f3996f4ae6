#include "base/Texts.h"

#include "base/Cp1250.h"

QByteArray Text(const UserText& text) { return Cp1250::FromUtf8(text.utf8); }

QByteArray TextWith(const UserText& text, const QByteArray& argument) {
    QByteArray bytes = Text(text);
    qsizetype at = bytes.indexOf("%s");
    if (at < 0) at = bytes.indexOf("%1");
    if (at >= 0) bytes.replace(at, 2, argument);
    return bytes;
}

#pragma once
// The framing removal of an NTS-350 transfer with no check at all, written as
// plainly as it is described: STX, CR and LF go, and an ETX takes the (up to) four
// bytes written before it. What the checked removal must always produce.

#include <QByteArray>

#include <algorithm>

inline QByteArray PlainFramingRemoval(const QByteArray& transfer) {
    QByteArray text;
    text.reserve(transfer.size());
    for (const char c : transfer) {
        if (c == '\x02' || c == '\r' || c == '\n') continue;
        if (c == '\x03') {
            text.chop(std::min<qsizetype>(4, text.size()));
            continue;
        }
        text += c;
    }
    return text;
}

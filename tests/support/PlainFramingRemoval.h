#pragma once
// The framing removal of an NTS-350 transfer with no check at all, written as
// plainly as it is described: the control records (STX "F00F000" ETX, STX "GC"
// ETX, STX EOT) go whole, other STX, CR and LF go, and an ETX takes the (up to)
// four bytes written before it. What the checked removal must always produce.

#include <QByteArray>
#include <QByteArrayView>

#include <algorithm>
#include <initializer_list>

inline QByteArray PlainFramingRemoval(const QByteArray& transfer) {
    QByteArray text;
    text.reserve(transfer.size());
    for (qsizetype at = 0; at < transfer.size(); ++at) {
        const char c = transfer[at];
        if (c == '\x02') {
            const QByteArrayView rest = QByteArrayView(transfer).sliced(at + 1);
            for (const char* record : {"F00F000\x03", "GC\x03", "\x04"}) {
                if (rest.startsWith(QByteArrayView(record))) {
                    at += QByteArrayView(record).size();
                    break;
                }
            }
            continue;
        }
        if (c == '\r' || c == '\n') continue;
        if (c == '\x03') {
            text.chop(std::min<qsizetype>(4, text.size()));
            continue;
        }
        text += c;
    }
    return text;
}

#include "base/Cp1250.h"

#include <algorithm>
#include <array>

namespace {

// Unicode of the bytes 0x80..0xFF; the undefined ones keep their own value.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 0x98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // 0xA0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // 0xA8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // 0xB8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // 0xC0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // 0xC8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // 0xD0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // 0xD8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // 0xE0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // 0xE8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // 0xF0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // 0xF8
};

constexpr char32_t kFirstHigh = 0x80;
constexpr char32_t kTableEnd = 0x2200;  // every character of the high half lies below

// The byte of every character from U+0080 below kTableEnd, 0 where the code page has
// none (no character of the high half maps to byte 0).
const std::array<unsigned char, kTableEnd - kFirstHigh>& ByteTable() {
    static const auto table = [] {
        std::array<unsigned char, kTableEnd - kFirstHigh> bytes{};
        for (std::size_t i = 0; i < kHighHalf.size(); ++i)
            bytes[kHighHalf[i] - kFirstHigh] = static_cast<unsigned char>(0x80 + i);
        return bytes;
    }();
    return table;
}

// The byte of a character, or -1 when the code page has none.
int ByteOf(char32_t c) {
    if (c < kFirstHigh) return static_cast<int>(c);
    if (c >= kTableEnd) return -1;
    const unsigned char byte = ByteTable()[c - kFirstHigh];
    return byte != 0 ? byte : -1;
}

constexpr char32_t kReplacement = 0xFFFD;
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// The character of the UTF-8 sequence at p, and p past it; for a byte that starts
// no valid sequence (overlong forms, surrogates and values beyond U+10FFFF
// included) kReplacement, and p past that one byte.
char32_t NextUtf8(const char*& p, const char* end) {
    const auto lead = static_cast<unsigned char>(*p);
    if (lead < 0x80) {
        ++p;
        return lead;
    }
    int length = 0;
    char32_t c = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1Fu, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, c = lead & 0x0Fu, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07u, smallest = 0x10000;
    }
    if (length == 0 || end - p < length) {
        ++p;
        return kReplacement;
    }
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(p[i]);
        if ((next & 0xC0) != 0x80) {
            ++p;
            return kReplacement;
        }
        c = (c << 6) | (next & 0x3Fu);
    }
    if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++p;
        return kReplacement;
    }
    p += length;
    return c;
}

bool StartsWithByteOrderMark(QByteArrayView bytes) { return bytes.startsWith(QByteArrayView(kByteOrderMark)); }

// Appends the byte of c, or a "?" that the text remembers.
void Append(Cp1250::ListText& text, char32_t c) {
    const int byte = ByteOf(c);
    if (byte < 0) text.foreign.append({text.bytes.size(), c});
    text.bytes.append(byte < 0 ? '?' : static_cast<char>(byte));
}

}  // namespace

namespace Cp1250 {

QString ToUnicode(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *out++ = QChar(u < 0x80 ? char16_t(u) : kHighHalf[u - 0x80]);
    }
    return text;
}

QByteArray FromUnicode(const QString& text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (const QChar c : text) {
        const int byte = ByteOf(c.unicode());
        *out++ = byte < 0 ? '?' : static_cast<char>(byte);
    }
    return bytes;
}

QByteArray FromUtf8(const char* utf8) { return FromUnicode(QString::fromUtf8(utf8)); }

QByteArray ToUtf8(const QByteArray& bytes) { return ToUnicode(bytes).toUtf8(); }

bool IsUtf8(QByteArrayView bytes) {
    if (StartsWithByteOrderMark(bytes)) return true;
    bool beyondAscii = false;
    const char* const end = bytes.data() + bytes.size();
    for (const char* p = bytes.data(); p < end;) {
        if (static_cast<unsigned char>(*p) < 0x80) {
            ++p;
            continue;
        }
        beyondAscii = true;
        const char* const start = p;
        // A replacement character written as such is valid; one made up for a bad byte is not.
        if (NextUtf8(p, end) == kReplacement && p - start == 1) return false;
    }
    return beyondAscii;
}

ListText FromListFile(const QByteArray& bytes) {
    if (!IsUtf8(bytes)) return ListText{bytes, {}, false};
    ListText text;
    text.fromUtf8 = true;
    text.bytes.reserve(bytes.size());
    const char* p = bytes.constData() + (StartsWithByteOrderMark(bytes) ? 3 : 0);
    const char* const end = bytes.constData() + bytes.size();
    while (p < end) {
        // Runs of ASCII go across at once.
        const char* run = p;
        while (run < end && static_cast<unsigned char>(*run) < 0x80) ++run;
        text.bytes.append(p, run - p);
        p = run;
        if (p < end) Append(text, NextUtf8(p, end));
    }
    return text;
}

QString ListFileToUnicode(const QByteArray& bytes) {
    if (!IsUtf8(bytes)) return ToUnicode(bytes);
    return QString::fromUtf8(QByteArrayView(bytes).sliced(StartsWithByteOrderMark(bytes) ? 3 : 0));
}

ListText FromTypedText(QStringView typed) {
    ListText text;
    text.bytes.reserve(typed.size());
    for (qsizetype i = 0; i < typed.size(); ++i) {
        char32_t c = typed[i].unicode();
        if (typed[i].isHighSurrogate() && i + 1 < typed.size() && typed[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(typed[i], typed[i + 1]);
            ++i;
        }
        Append(text, c);
    }
    return text;
}

QByteArray CharacterCode(char32_t character) {
    return "U+" + QByteArray::number(static_cast<uint>(character), 16).toUpper().rightJustified(4, '0');
}

QList<QByteArray> ForeignCodes(const ListText& text, qsizetype begin, qsizetype end) {
    auto foreign = std::lower_bound(text.foreign.begin(), text.foreign.end(), begin,
                                    [](const ListText::Foreign& f, qsizetype offset) { return f.offset < offset; });
    QList<QByteArray> codes;
    for (; foreign != text.foreign.end() && foreign->offset < end; ++foreign) {
        const QByteArray code = CharacterCode(foreign->character);
        if (!codes.contains(code)) codes.append(code);
    }
    return codes;
}

}  // namespace Cp1250

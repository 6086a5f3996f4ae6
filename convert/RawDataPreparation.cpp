#include "convert/RawDataPreparation.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// The first position at or after from that holds one of a set of characters, or
// size when there is none. Searches start at positions that only grow while one
// text is normalised, so remembering the last answer keeps the whole pass linear
// even when a letter never comes.
class NextOf {
public:
    NextOf(const char* text, qsizetype size, char first, char second)
        : m_text(text), m_size(size), m_first(first), m_second(second) {}

    qsizetype From(qsizetype from) {
        if (from >= m_lastFrom && from <= m_lastFound) return m_lastFound;
        qsizetype at = std::max(from, qsizetype(0));
        while (at < m_size && m_text[at] != m_first && m_text[at] != m_second) ++at;
        m_lastFrom = from;
        m_lastFound = at;
        return at;
    }

private:
    const char* m_text;
    qsizetype m_size;
    char m_first;
    char m_second;
    qsizetype m_lastFrom = -1;
    qsizetype m_lastFound = -2;
};

}  // namespace

QByteArray NormaliseSigns(QByteArray bytes) {
    // In place: the text only ever loses characters, so the write index never
    // passes the read index, and the look-ahead for letters and signs only reads
    // what has not been rewritten yet.
    char* text = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype w = 0;
    NextOf unitLetter(text, n, 'm', 'f');
    NextOf angleLetter(text, n, 'g', 'd');
    // One search per place that looks for a "+": each place asks from positions
    // that only grow, which is what keeps its remembered answer useful. Shared,
    // an angles sighting's second search would send the first one back to scan
    // the same stretch again for every "<" (quadratic on a run of "<").
    NextOf slopeSightingPlus(text, n, '+', '+');
    NextOf anglesZenithPlus(text, n, '+', '+');
    NextOf anglesDirectionPlus(text, n, '+', '+');
    const auto put = [text, &w](qsizetype from, qsizetype to) {
        if (from < to) std::memmove(text + w, text + from, static_cast<std::size_t>(to - from));
        w += std::max<qsizetype>(0, to - from);
    };
    // Copies text[from, to), leaving out text[from] when it is a "+".
    const auto putUnsigned = [text, &put](qsizetype from, qsizetype to) {
        if (from < to && text[from] == '+') ++from;
        put(from, to);
    };

    qsizetype p = 0;
    while (p < n) {
        const char c = text[p];
        if (c == '?') {
            // «?+DDDDDDDDm+ZZZZZZZ+DDDDDDDg»: distance with its sign and unit
            // letter, then the zenith angle and direction without their signs.
            const qsizetype u = unitLetter.From(p + 1);
            const qsizetype s = u < n ? slopeSightingPlus.From(u + 2) : n;
            const qsizetype a = s < n ? angleLetter.From(s + 2) : n;
            if (a < n) {
                put(p, u + 1);
                putUnsigned(u + 1, s + 1);
                putUnsigned(s + 1, a);
                text[w++] = text[a];
                p = a + 1;
                continue;
            }
        } else if (c == '<') {
            // «<+ZZZZZZZ++DDDDDDD+»: both angles lose their signs.
            const qsizetype b = (p + 1 < n && text[p + 1] == '+') ? p + 2 : p + 1;
            const qsizetype s = b < n ? anglesZenithPlus.From(b) : n;
            const qsizetype e = s < n ? anglesDirectionPlus.From(s + 2) : n;
            if (e < n) {
                text[w++] = '<';
                put(b, s + 1);
                putUnsigned(s + 1, e);
                text[w++] = '+';
                p = e + 1;
                continue;
            }
        }
        text[w++] = c;
        ++p;
        if ((c == '+' || c == 'm' || c == 'f') && p < n && text[p] == '+') ++p;
    }
    bytes.truncate(w);
    return bytes;
}

TransferFindings PrepareRawData(QByteArray& bytes) {
    const TransferFindings findings = RemoveFraming(bytes);
    bytes = NormaliseSigns(std::move(bytes));
    bytes.squeeze();  // give back what the framing and signs took
    return findings;
}

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
    NextOf(const char* text, qsizetype size, char first, char second, char third = 0)
        : m_text(text), m_size(size), m_first(first), m_second(second), m_third(third ? third : second) {}

    qsizetype From(qsizetype from) {
        if (from >= m_lastFrom && from <= m_lastFound) return m_lastFound;
        qsizetype at = std::max(from, qsizetype(0));
        while (at < m_size && m_text[at] != m_first && m_text[at] != m_second && m_text[at] != m_third) ++at;
        m_lastFrom = from;
        m_lastFound = at;
        return at;
    }

private:
    const char* m_text;
    qsizetype m_size;
    char m_first;
    char m_second;
    char m_third;
    qsizetype m_lastFrom = -1;
    qsizetype m_lastFound = -2;
};

// The normalisation of n bytes at text, in place; the new length. With kMove the
// positions go along (a separate pass, so that the common one without them spends
// nothing on them).
template <bool kMove>
qsizetype Normalise(char* text, const qsizetype n, std::vector<qsizetype>* positions) {
    // In place: the text only ever loses characters, so the write index never
    // passes the read index, and the look-ahead for letters and signs only reads
    // what has not been rewritten yet.
    qsizetype w = 0;
    NextOf unitLetter(text, n, 'm', 'f');
    // A direction in mils ends in "m": a unit the conversion names, not one to
    // leave the sighting's signs in place for.
    NextOf angleLetter(text, n, 'g', 'd', 'm');
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

    // The positions to move, the next of them checked at each step: a position
    // passed by a rewritten sighting goes to where the sighting ends.
    std::size_t nextPosition = 0;
    const std::size_t positionCount = kMove ? positions->size() : 0;
    qsizetype nextAt = positionCount > 0 ? (*positions)[0] : n + 1;
    const auto movePositions = [&](qsizetype p) {
        while (nextPosition < positionCount && (*positions)[nextPosition] <= p) (*positions)[nextPosition++] = w;
        nextAt = nextPosition < positionCount ? (*positions)[nextPosition] : n + 1;
    };

    qsizetype p = 0;
    while (p < n) {
        if constexpr (kMove) {
            if (p >= nextAt) movePositions(p);
        }
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
    if constexpr (kMove) movePositions(n);
    return w;
}

}  // namespace

QByteArray NormaliseSigns(QByteArray bytes, std::vector<qsizetype>* positions) {
    const qsizetype length = positions && !positions->empty() ? Normalise<true>(bytes.data(), bytes.size(), positions)
                                                              : Normalise<false>(bytes.data(), bytes.size(), nullptr);
    bytes.truncate(length);
    return bytes;
}

TransferFindings PrepareRawData(QByteArray& bytes) {
    TransferFindings findings = RemoveFraming(bytes);
    // The findings' stretches follow their text through the normalisation.
    std::vector<qsizetype> positions;
    for (const BlockFinding& finding : findings.first) {
        positions.push_back(finding.textBegin);
        positions.push_back(finding.textEnd);
    }
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    std::vector<qsizetype> moved = positions;
    bytes = NormaliseSigns(std::move(bytes), &moved);
    const auto movedOf = [&positions, &moved](qsizetype position) {
        const auto at = std::lower_bound(positions.begin(), positions.end(), position);
        return moved[static_cast<std::size_t>(at - positions.begin())];
    };
    for (BlockFinding& finding : findings.first) {
        finding.textBegin = movedOf(finding.textBegin);
        finding.textEnd = movedOf(finding.textEnd);
    }
    bytes.squeeze();  // give back what the framing and signs took
    return findings;
}

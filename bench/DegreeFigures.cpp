// Every whole second of a full circle, 0°00′00″ to 359°59′59″, read in degrees
// as both forms write it (the NTS-350 record stream's DDDMMSS, keyword text's
// DDD.MMSS) and written as the field book writes angles, four decimals of a gon;
// each against the exact value, seconds × 10000 / 3240 rounded to the nearest
// integer with integers alone (no second lies half-way between two: 20000 ×
// seconds is never an odd multiple of 3240). Prints the seconds checked and
// those that came out wrong, the first few named; exits 1 when any did.
//   degree-figures

#include "base/FixedNumber.h"
#include "convert/Units.h"

#include <QByteArray>

#include <cstdio>
#include <optional>
#include <string_view>

namespace {

constexpr long long kCircle = 360LL * 60 * 60;
constexpr int kNamed = 5;

// The exact gon of seconds to four decimals: «115.3951».
QByteArray Exact(long long seconds) {
    const long long tenThousandths = (seconds * 10000 * 2 + 3240) / (3240 * 2);
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%04lld", tenThousandths / 10000, tenThousandths % 10000);
    return text;
}

QByteArray Written(std::optional<double> gon) {
    if (!gon) return "(no angle)";
    QByteArray out;
    FixedNumber::Append(out, *gon, 4);
    return out;
}

}  // namespace

int main() {
    long long wrong = 0;
    for (long long seconds = 0; seconds < kCircle; ++seconds) {
        const long long degrees = seconds / 3600;
        const long long minutes = seconds / 60 % 60;
        const long long rest = seconds % 60;
        char packed[16];
        char dotted[24];
        std::snprintf(packed, sizeof packed, "%03lld%02lld%02lld", degrees, minutes, rest);
        std::snprintf(dotted, sizeof dotted, "%lld.%02lld%02lld", degrees, minutes, rest);
        const QByteArray exact = Exact(seconds);
        const QByteArray fromPacked = Written(GonFromPackedDegrees(packed));
        const QByteArray fromDotted = Written(GonFromDottedDegrees(dotted));
        if (fromPacked == exact && fromDotted == exact) continue;
        if (++wrong <= kNamed)
            std::printf("  %s / %s: %s and %s, exactly %s\n", packed, dotted, fromPacked.constData(),
                        fromDotted.constData(), exact.constData());
    }
    std::printf(
        "Degrees to gon: %lld whole seconds of a full circle, each as DDDMMSS and DDD.MMSS; "
        "%lld written wrong to 0.0001 gon.\n",
        kCircle, wrong);
    return wrong == 0 ? 0 : 1;
}

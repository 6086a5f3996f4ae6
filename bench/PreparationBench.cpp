// Times the sign normalisation of NTS-350 measured data on the inputs that would
// make a search to the end for each sighting quadratic: slope sightings that never
// find their angle letter, and angles sightings that never find their closing
// "+". Prints the time at 1, 2 and 4 million sightings and how it grows when the
// input doubles: a linear pass about doubles, a quadratic one quadruples.
//   preparation-bench

#include "convert/RawDataPreparation.h"

#include <QByteArray>
#include <QElapsedTimer>

#include <cstdio>

namespace {

struct Case {
    const char* name;
    QByteArray (*input)(int sightings);
};

const Case kCases[] = {
    {"slope sightings without angle letter", [](int n) { return QByteArray("?+1m+2+").repeated(n); }},
    {"angles sightings without closing plus", [](int n) { return QByteArray("<").repeated(n) + "+"; }},
};

constexpr int kSizes[] = {1000000, 2000000, 4000000};
constexpr double kTargetMs = 2000.0;  // 1 million sightings
constexpr double kMostGrowth = 2.5;   // when the input doubles

// The best of three runs, in milliseconds.
double BestMs(const QByteArray& raw) {
    double best = 0.0;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        NormaliseSigns(raw);
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (run == 0 || ms < best) best = ms;
    }
    return best;
}

}  // namespace

int main() {
    bool met = true;
    std::printf("NormaliseSigns, best of three runs\n");
    for (const Case& bench : kCases) {
        std::printf("%s\n", bench.name);
        double previous = 0.0;
        for (const int sightings : kSizes) {
            const double ms = BestMs(bench.input(sightings));
            std::printf("  %8d sightings: %8.1f ms", sightings, ms);
            if (previous > 0.0) {
                const double growth = ms / previous;
                std::printf("  x%.2f of half", growth);
                // Times of a few milliseconds grow by noise alone.
                if (growth > kMostGrowth && ms > 50.0) met = false;
            }
            std::printf("\n");
            if (sightings == kSizes[0] && ms >= kTargetMs) met = false;
            previous = ms;
        }
    }
    std::printf("target (1 million sightings under 2 s, doubling at most x%.1f): %s\n", kMostGrowth,
                met ? "met" : "NOT met");
    return 0;
}

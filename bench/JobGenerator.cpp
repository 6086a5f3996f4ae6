#include "bench/JobGenerator.h"

#include "base/Numbers.h"
#include "upload/UploadProtocol.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <random>
#include <vector>

namespace {

constexpr double kGonPerRadian = 200.0 / std::numbers::pi;
constexpr double kEarthRadius = 6381000.0;

// The errors of a 2″/2 mm instrument and of the people around it.
constexpr double kAngleSigma = 0.00062;   // gon, a direction or zenith angle read once (2″)
constexpr double kDistanceSigma = 0.002;  // m, plus 2 ppm
constexpr double kDistancePpm = 2e-6;
constexpr double kPoleSigma = 0.003;        // m, where a pole placed anew stands, each horizontal axis
constexpr double kPoleHeightSigma = 0.001;  // m, the pole's foot on a soft point
constexpr double kCentringSigma = 0.0005;   // m, the instrument over its mark
constexpr double kHeightTapeSigma = 0.001;  // m, the instrument height as taped

class Random {
public:
    explicit Random(std::uint64_t seed) : m_engine(seed) {}
    double Uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(m_engine); }
    double Normal(double sigma) { return std::normal_distribution<double>(0.0, sigma)(m_engine); }
    bool Chance(double probability) { return Uniform(0.0, 1.0) < probability; }
    int Integer(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_engine); }
    double Sign() { return Chance(0.5) ? 1.0 : -1.0; }
    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(Integer(0, static_cast<int>(items.size()) - 1))];
    }

private:
    std::mt19937_64 m_engine;
};

struct Place {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// The pole as placed once on a point.
struct Pole {
    Place foot;
    double targetHeight = 0.0;
};

// The instrument set up on a station.
struct Instrument {
    Place axis;         // the crossing of its axes
    double zero = 0.0;  // the bearing of the circle's zero, gon
    double collimation = 0.0;
    double index = 0.0;
    double refraction = 0.13;
};

struct Reading {
    QByteArray target;
    QByteArray code;
    double targetHeight = 0.0;  // as written down
    bool orientation = false;
    bool closing = false;  // an orientation sighted again at the end
    bool withDistance = true;
    int face = 1;
    double slope = 0.0;
    double zenith = 0.0;
    double direction = 0.0;
    double horizontal = 0.0;  // the true one
    bool toStation = false;
};

struct StationWork {
    QByteArray name;
    double instrumentHeight = 0.0;  // as written down
    Place coordinates;              // its coordinate line
    QByteArray backsight;
    Place backsightCoordinates;
    double backsightBearing = 0.0;
    std::vector<Reading> readings;
};

double Bearing(const Place& from, const Place& to) {
    double bearing = std::atan2(to.y - from.y, to.x - from.x) * kGonPerRadian;
    return bearing < 0.0 ? bearing + 400.0 : bearing;
}

Reading Measure(Random& random, const Instrument& instrument, const Pole& pole, int face, bool withDistance) {
    const double dx = pole.foot.x - instrument.axis.x;
    const double dy = pole.foot.y - instrument.axis.y;
    const double horizontal = std::hypot(dx, dy);
    // The line of sight bends with refraction and the Earth falls away under it.
    const double rise = pole.foot.z + pole.targetHeight - instrument.axis.z -
                        (1.0 - instrument.refraction) * horizontal * horizontal / (2.0 * kEarthRadius);
    const double zenith = std::atan2(horizontal, rise) * kGonPerRadian;
    const double turn = instrument.collimation / std::sin(zenith / kGonPerRadian);
    Reading reading;
    reading.face = face;
    reading.withDistance = withDistance;
    reading.horizontal = horizontal;
    reading.targetHeight = pole.targetHeight;
    double direction = Bearing(instrument.axis, pole.foot) - instrument.zero + random.Normal(kAngleSigma);
    direction += face == 1 ? turn : 200.0 - turn;
    reading.direction = std::fmod(direction + 800.0, 400.0);
    reading.zenith = (face == 1 ? zenith : 400.0 - zenith) + instrument.index + random.Normal(kAngleSigma);
    const double slope = std::hypot(horizontal, rise);
    reading.slope = withDistance ? slope + random.Normal(kDistanceSigma + kDistancePpm * slope) : 0.0;
    return reading;
}

Pole PlacePole(Random& random, const Place& point, double targetHeight) {
    return {{point.x + random.Normal(kPoleSigma), point.y + random.Normal(kPoleSigma),
             point.z + random.Normal(kPoleHeightSigma)},
            targetHeight};
}

double TargetHeight(Random& random) {
    static const std::vector<double> heights{1.5, 1.6, 1.8, 2.0};
    return random.Pick(heights);
}

// The job as measured, before a blunder and before it is written.
struct Job {
    std::vector<StationWork> stations;
};

Job Survey(Random& random, Random& instrumentRandom, const QByteArray& prefix) {
    Job job;
    const int stationCount = random.Integer(3, 7);
    std::vector<Place> marks;
    Place mark{1043000.0 + random.Uniform(0, 5000), 742000.0 + random.Uniform(0, 5000), random.Uniform(200, 500)};
    double heading = random.Uniform(0, 400);
    const auto next = [&random, &heading](const Place& from) {
        heading += random.Uniform(-70, 70);
        const double length = random.Uniform(60, 250);
        return Place{from.x + length * std::cos(heading / kGonPerRadian),
                     from.y + length * std::sin(heading / kGonPerRadian),
                     from.z + random.Uniform(-0.05, 0.05) * length};
    };
    const Place control = next(mark);  // the first station's orientation, a control point
    for (int i = 0; i < stationCount; ++i) {
        marks.push_back(mark);
        mark = next(mark);
    }
    const double collimation = instrumentRandom.Uniform(-0.005, 0.005);
    const double index = instrumentRandom.Uniform(-0.003, 0.003);
    const double refraction = random.Uniform(0.08, 0.20);
    static const std::vector<QByteArray> codes{"PLOT", "ZED", "ROH", "STROM", "OBRUBA"};
    int pointNumber = 100;

    for (int k = 0; k < stationCount; ++k) {
        StationWork station;
        station.name = prefix + "S" + QByteArray::number(k + 1);
        const double height = random.Uniform(1.4, 1.7);
        station.instrumentHeight = std::round((height + random.Normal(kHeightTapeSigma)) * 1000.0) / 1000.0;
        const Place& here = marks[static_cast<std::size_t>(k)];
        station.coordinates = here;
        Instrument instrument;
        instrument.axis = {here.x + random.Normal(kCentringSigma), here.y + random.Normal(kCentringSigma),
                           here.z + height};
        instrument.zero = random.Uniform(0, 400);
        instrument.collimation = collimation;
        instrument.index = index;
        instrument.refraction = refraction;

        const Place& back = k == 0 ? control : marks[static_cast<std::size_t>(k - 1)];
        station.backsight = k == 0 ? prefix + "K1" : prefix + "S" + QByteArray::number(k);
        station.backsightCoordinates = back;
        station.backsightBearing = Bearing(here, back);
        const auto add = [&station](Reading reading, const QByteArray& target, const QByteArray& code) {
            reading.target = target;
            reading.code = code;
            station.readings.push_back(reading);
        };

        // Orientation, in both faces now and then.
        const Pole backPole = PlacePole(random, back, 1.8);
        Reading orientation = Measure(random, instrument, backPole, 1, true);
        orientation.orientation = true;
        orientation.toStation = k > 0;
        add(orientation, station.backsight, "#");
        if (random.Chance(0.3)) {
            Reading second = Measure(random, instrument, backPole, 2, true);
            second.orientation = true;
            second.toStation = k > 0;
            add(second, station.backsight, "#");
        }
        // Foresight to the next station, often in both faces.
        if (k + 1 < stationCount) {
            const QByteArray forward = prefix + "S" + QByteArray::number(k + 2);
            const Pole forePole = PlacePole(random, marks[static_cast<std::size_t>(k + 1)], TargetHeight(random));
            Reading fore = Measure(random, instrument, forePole, 1, true);
            fore.toStation = true;
            add(fore, forward, "ST");
            if (random.Chance(0.5)) {
                Reading second = Measure(random, instrument, forePole, 2, true);
                second.toStation = true;
                add(second, forward, "ST");
            }
        }
        // Detail points; some sighted again.
        struct Later {
            Place point;
            QByteArray name;
            QByteArray code;
            double targetHeight;
        };
        std::vector<Later> again;
        const int details = random.Integer(12, 35);
        const double slope = random.Uniform(-0.05, 0.05);
        for (int d = 0; d < details; ++d) {
            const double distance = std::exp(random.Uniform(std::log(3.0), std::log(150.0)));
            const double bearing = random.Uniform(0, 400) / kGonPerRadian;
            const Place point{here.x + distance * std::cos(bearing), here.y + distance * std::sin(bearing),
                              here.z + slope * distance + random.Normal(1.0)};
            const QByteArray name = prefix + QByteArray::number(++pointNumber);
            const QByteArray& code = random.Pick(codes);
            const bool anglesOnly = random.Chance(0.08);
            const double targetHeight = anglesOnly ? 0.0 : TargetHeight(random);
            const Pole pole = PlacePole(random, point, targetHeight);
            add(Measure(random, instrument, pole, 1, !anglesOnly), name, code);
            if (anglesOnly) continue;
            if (random.Chance(0.08)) add(Measure(random, instrument, pole, 2, true), name, code);
            if (random.Chance(0.04)) add(Measure(random, instrument, pole, 1, false), name, code);
            if (random.Chance(0.12)) again.push_back({point, name, code, targetHeight});
        }
        // The points sighted again, the pole placed anew, its height sometimes changed.
        for (const Later& later : again) {
            const double targetHeight = random.Chance(0.3) ? TargetHeight(random) : later.targetHeight;
            add(Measure(random, instrument, PlacePole(random, later.point, targetHeight), 1, true), later.name,
                later.code);
        }
        // The orientation sighted again at the end.
        if (random.Chance(0.6)) {
            Reading closing = Measure(random, instrument, PlacePole(random, back, 1.8), 1, true);
            closing.orientation = true;
            closing.closing = true;
            closing.toStation = k > 0;
            add(closing, station.backsight, "#");
        }
        job.stations.push_back(std::move(station));
    }
    return job;
}

// ---- Blunders.

struct Candidate {
    std::size_t station;
    std::size_t reading;
};

// How often each target is sighted at its station, in all and with distance.
struct TargetCount {
    int all = 0;
    int withDistance = 0;
    int orientations = 0;
};

std::map<QByteArray, TargetCount> CountTargets(const StationWork& station) {
    std::map<QByteArray, TargetCount> counts;
    for (const Reading& reading : station.readings) {
        TargetCount& count = counts[reading.target];
        ++count.all;
        count.withDistance += reading.withDistance;
        count.orientations += reading.orientation;
    }
    return counts;
}

// Whether the line from this station to the reading's target is also measured back.
bool MeasuredBack(const Job& job, std::size_t station, const Reading& reading) {
    if (!reading.toStation) return false;
    for (const StationWork& other : job.stations) {
        if (other.name != reading.target) continue;
        for (const Reading& back : other.readings) {
            if (back.target == job.stations[station].name && back.withDistance) return true;
        }
    }
    return false;
}

void Move(Random& random, Reading& reading, Blunder kind) {
    switch (kind) {
        case Blunder::Distance:
            reading.slope += random.Sign() * random.Uniform(0.05, 0.30);
            break;
        case Blunder::Direction:
            reading.direction = std::fmod(reading.direction + random.Sign() * random.Uniform(0.1, 0.5) + 400.0, 400.0);
            break;
        case Blunder::TargetHeight: {
            const double change = random.Uniform(0.3, 1.0);
            reading.targetHeight += reading.targetHeight - change < 0.0 || random.Chance(0.5) ? change : -change;
            break;
        }
        case Blunder::SecondFaceZenith:
            reading.zenith += random.Sign() * random.Uniform(0.1, 0.5);
            break;
        default:
            break;
    }
}

bool PlaceBlunder(Random& random, Job& job, Blunder blunder, GeneratedJob& out) {
    std::vector<Candidate> candidates;
    for (std::size_t s = 0; s < job.stations.size(); ++s) {
        const StationWork& station = job.stations[s];
        const auto counts = CountTargets(station);
        for (std::size_t r = 0; r < station.readings.size(); ++r) {
            const Reading& reading = station.readings[r];
            const TargetCount& count = counts.at(reading.target);
            const bool repeated = count.all >= 2 && count.withDistance >= 1;
            const bool back = reading.withDistance && MeasuredBack(job, s, reading);
            bool fits = false;
            switch (blunder) {
                case Blunder::Distance:
                    fits = reading.withDistance && (count.withDistance >= 2 || back);
                    break;
                case Blunder::Direction:
                    fits = repeated && reading.horizontal >= 50.0;
                    break;
                case Blunder::TargetHeight:
                    fits = repeated || back;
                    break;
                case Blunder::SwappedNames:
                    fits = repeated && !reading.toStation && !reading.orientation;
                    break;
                case Blunder::SecondFaceZenith:
                    fits = reading.face == 2;
                    break;
                case Blunder::LineEnd:
                    fits = back && count.all == 1;
                    break;
                case Blunder::RepeatedBacksight:
                    fits = reading.orientation && count.orientations >= 2;
                    break;
                case Blunder::SharedCoordinates:
                    fits = s >= 1 && r == 0;
                    break;
                case Blunder::None:
                    break;
            }
            if (fits) candidates.push_back({s, r});
        }
    }
    if (candidates.empty()) return false;
    const Candidate chosen = random.Pick(candidates);
    StationWork& station = job.stations[chosen.station];
    Reading& reading = station.readings[chosen.reading];
    out.station = station.name;
    out.points = {reading.target};
    // Records in the order written: each station, then its readings.
    qsizetype stationRecord = 0;
    for (std::size_t s = 0; s < chosen.station; ++s)
        stationRecord += 1 + static_cast<qsizetype>(job.stations[s].readings.size());
    const auto recordOf = [stationRecord](std::size_t r) { return stationRecord + 1 + static_cast<qsizetype>(r); };
    out.blunderRecords = {recordOf(chosen.reading)};
    switch (blunder) {
        case Blunder::Distance:
        case Blunder::Direction:
        case Blunder::TargetHeight:
        case Blunder::SecondFaceZenith:
            Move(random, reading, blunder);
            break;
        case Blunder::LineEnd:
            Move(random, reading, random.Chance(0.5) ? Blunder::Distance : Blunder::TargetHeight);
            break;
        case Blunder::RepeatedBacksight: {
            static const std::vector<Blunder> kinds{Blunder::Distance, Blunder::Direction, Blunder::TargetHeight};
            Move(random, reading, random.Pick(kinds));
            break;
        }
        case Blunder::SwappedNames: {
            std::vector<std::size_t> others;
            for (std::size_t r = 0; r < station.readings.size(); ++r) {
                const Reading& other = station.readings[r];
                if (other.target != reading.target && !other.toStation && !other.orientation && other.withDistance)
                    others.push_back(r);
            }
            if (others.empty()) return false;
            const std::size_t swapped = random.Pick(others);
            Reading& other = station.readings[swapped];
            std::swap(reading.target, other.target);
            out.points.push_back(reading.target);
            out.blunderRecords.push_back(recordOf(swapped));
            break;
        }
        case Blunder::SharedCoordinates:
            station.coordinates = job.stations[chosen.station - 1].coordinates;
            out.points = {job.stations[chosen.station - 1].name};
            out.blunderRecords = {stationRecord};
            break;
        case Blunder::None:
            break;
    }
    return true;
}

// ---- The two forms.

// Angles to 1/10000 gon in [0, 400): 399.99996 is written 0.0000, never 400.0000.
qint64 TenThousandths(double gon, bool wrap) {
    qint64 value = std::llround(gon * 10000.0);
    if (wrap) value = ((value % 4000000) + 4000000) % 4000000;
    return value;
}

QByteArray Stream(const Job& job) {
    QByteArray stream;
    for (const StationWork& station : job.stations) {
        Numbers::AppendFormat(stream, "_'%s_(ST_)%.3f_\r\n", station.name.constData(), station.instrumentHeight);
        for (const Reading& reading : station.readings) {
            const qint64 zenith = TenThousandths(reading.zenith, false);
            const qint64 direction = TenThousandths(reading.direction, true);
            if (reading.withDistance) {
                const qint64 slope = std::llround(reading.slope * 1000.0);
                const qint64 horizontal =
                    std::llround(reading.slope * std::sin(reading.zenith / kGonPerRadian) * 1000.0);
                Numbers::AppendFormat(stream, "_+%s_ ?+%08lldm+%07lld+%+08lldg+%08lldt00+00000_*%s_,%.3f_\r\n",
                                      reading.target.constData(), slope, zenith, direction, horizontal,
                                      reading.code.constData(), reading.targetHeight);
            } else {
                Numbers::AppendFormat(stream, "_+%s_ <+%07lld+%+08lld+00000_*%s_,%.3f_\r\n", reading.target.constData(),
                                      zenith, direction, reading.code.constData(), reading.targetHeight);
            }
        }
    }
    QByteArray framed;
    unsigned counter = 0;
    for (qsizetype at = 0; at < stream.size(); at += kBlockPayload)
        framed += BuildBlock(QByteArrayView(stream).sliced(at, std::min<qsizetype>(kBlockPayload, stream.size() - at)),
                             counter++);
    return framed;
}

QByteArray Keywords(const Job& job) {
    QByteArray text = "JOB     CHECK\r\nUNITS   M,G\r\n";
    const auto xyz = [&text](const Place& place) {
        Numbers::AppendFormat(text, "XYZ     %.3f,%.3f,%.3f\r\n", place.x, place.y, place.z);
    };
    for (const StationWork& station : job.stations) {
        Numbers::AppendFormat(text, "STN     %s,%.3f,ST\r\n", station.name.constData(), station.instrumentHeight);
        xyz(station.coordinates);
        Numbers::AppendFormat(text, "BKB     %s,%.4f\r\n", station.backsight.constData(), station.backsightBearing);
        xyz(station.backsightCoordinates);
        for (const Reading& reading : station.readings) {
            const bool backsight = reading.orientation && !reading.closing;
            Numbers::AppendFormat(text, "%s      %s,%.3f,%s\r\n", backsight ? "BS" : "SS", reading.target.constData(),
                                  reading.targetHeight, backsight ? "" : reading.code.constData());
            const double direction = static_cast<double>(TenThousandths(reading.direction, true)) / 10000.0;
            const double zenith = static_cast<double>(TenThousandths(reading.zenith, false)) / 10000.0;
            if (reading.withDistance)
                Numbers::AppendFormat(text, "SD      %.4f,%.4f,%.3f\r\n", direction, zenith, reading.slope);
            else
                Numbers::AppendFormat(text, "HV      %.4f,%.4f\r\n", direction, zenith);
        }
    }
    return text;
}

}  // namespace

GeneratedJob GenerateJob(std::uint64_t seed, Blunder blunder, const QByteArray& prefix, std::uint64_t instrumentSeed) {
    Random random(seed);
    Random instrumentRandom(instrumentSeed != 0 ? instrumentSeed : seed ^ 0x9E3779B97F4A7C15ull);
    Job job = Survey(random, instrumentRandom, prefix);
    GeneratedJob out;
    out.blunder = blunder;
    out.placed = blunder == Blunder::None || PlaceBlunder(random, job, blunder, out);
    for (const StationWork& station : job.stations) out.records += 1 + static_cast<int>(station.readings.size());
    out.stream = Stream(job);
    out.keywords = Keywords(job);
    return out;
}

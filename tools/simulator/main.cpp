// tarvo-sim: a simulated NTS-350/NTS-660 on a pseudo-terminal, for trying the
// reception and the upload without an instrument. It prints the device to give
// the program as its port and runs until Ctrl+C or SIGTERM; then a sending
// instrument stops at once and tells what it sent and what of it the program left
// unread ("Odesláno bajtů: N." and "Nepřečteno programem bajtů: M.", lines the
// fault runs read). The count is true only once the program has closed the port.

#include "base/Cp1250.h"
#include "base/InputFile.h"
#include "tools/simulator/InstrumentSimulator.h"

#include <QCoreApplication>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <poll.h>
#include <unistd.h>

namespace {

const char kUsage[] =
    "Použití:\n"
    "  tarvo-sim [--model 350|660] [--bps RYCHLOST] [--pause MS] [--delay S] [--hang-up-after N]\n"
    "            [--preambles] [--end-pause MS] send SOUBOR\n"
    "      Vysílá soubor měřených dat jako přístroj: po každém Enter (nebo jednou za S sekund\n"
    "      po spuštění s --delay). NTS-350 posílá bloky po 136 bytech s pauzou MS (100 ms),\n"
    "      rychlostí RYCHLOST bit/s (4800; 0 = bez omezení). S --preambles (jen NTS-350)\n"
    "      přenos otevře úvodními záznamy a uzavře koncovým záznamem, každým s pauzou jako\n"
    "      po bloku (co už soubor má, nepřidá); s --end-pause čeká MS ms před koncovým\n"
    "      záznamem. S --hang-up-after po N bytech (i řídicích záznamů), až je program\n"
    "      přečte, linku přeruší jako vytažený kabel.\n"
    "      Po Ctrl+C (SIGTERM) hned přestane vysílat a vypíše i počet bajtů, které program\n"
    "      z linky nepřečetl (Nepřečteno programem bajtů: M.); ten platí, jen když program\n"
    "      port už zavřel: ukončete nejdřív program, pak simulátor.\n"
    "  tarvo-sim receive\n"
    "      Přijímá nahrávání bodů a kódů, kontroluje bloky a vypíše, co přišlo.\n"
    "Program vypíše zařízení (/dev/pts/N), které se zadá jako port, a běží do Ctrl+C.\n";

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) { g_stop = 1; }

void Say(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), stdout);
    std::fflush(stdout);
}

// Waits up to timeoutMs for a line on standard input; false at its end.
bool LineTyped(bool& endOfInput, int timeoutMs) {
    if (endOfInput) {
        usleep(static_cast<useconds_t>(timeoutMs) * 1000);
        return false;
    }
    pollfd input{STDIN_FILENO, POLLIN, 0};
    if (::poll(&input, 1, timeoutMs) <= 0) return false;
    char line[256];
    if (!std::fgets(line, sizeof line, stdin)) {
        endOfInput = true;
        return false;
    }
    return true;
}

int Send(InstrumentSimulator& instrument, const QByteArray& bytes, const InstrumentSimulator::SendPlan& plan,
         int delaySeconds) {
    Say(delaySeconds >= 0 ? QStringLiteral("Vysílám za %1 s, znovu po Enter.\n").arg(delaySeconds)
                          : QStringLiteral("Enter vyšle data.\n"));
    bool endOfInput = false;
    qint64 waitedMs = 0;
    bool sendNow = false;
    bool sent = false;
    while (!g_stop) {
        if (delaySeconds >= 0 && waitedMs >= delaySeconds * 1000LL) {
            sendNow = true;
            delaySeconds = -1;
        }
        if (LineTyped(endOfInput, 100)) sendNow = true;
        waitedMs += 100;
        if (!sendNow) continue;
        sendNow = false;
        instrument.StartSending(bytes, plan);
        sent = true;
        while (!g_stop && !instrument.WaitSent(200))
            Say(QStringLiteral("\rOdesláno bajtů: %1").arg(instrument.BytesSent()));
        if (g_stop) instrument.Stop();
        Say(QStringLiteral("\rOdesláno bajtů: %1.\n").arg(instrument.BytesSent()));
    }
    instrument.Stop();
    if (!sent) Say(QStringLiteral("Odesláno bajtů: 0.\n"));
    Say(QStringLiteral("Nepřečteno programem bajtů: %1.\n").arg(instrument.DrainUnread()));
    return 0;
}

int Receive(InstrumentSimulator& instrument) {
    Say(QStringLiteral("Čekám na data z počítače ...\n"));
    instrument.StartReceivingUpload();
    while (!g_stop) {
        if (!instrument.UploadDone()) {
            usleep(100000);
            continue;
        }
        Say(instrument.WaitUpload(0).Describe());
        instrument.StartReceivingUpload();
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    bool nts660 = false;
    qint32 bitsPerSecond = 4800;
    int pauseMs = InstrumentSimulator::kNts350PauseMs;
    int delaySeconds = -1;
    qint64 hangUpAfter = -1;
    bool preambles = false;
    int endPauseMs = -1;
    QStringList rest;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == QLatin1String("--model") && hasValue)
            nts660 = arguments[++i] == QLatin1String("660");
        else if (argument == QLatin1String("--bps") && hasValue)
            bitsPerSecond = arguments[++i].toInt();
        else if (argument == QLatin1String("--pause") && hasValue)
            pauseMs = arguments[++i].toInt();
        else if (argument == QLatin1String("--delay") && hasValue)
            delaySeconds = arguments[++i].toInt();
        else if (argument == QLatin1String("--hang-up-after") && hasValue)
            hangUpAfter = arguments[++i].toLongLong();
        else if (argument == QLatin1String("--preambles"))
            preambles = true;
        else if (argument == QLatin1String("--end-pause") && hasValue)
            endPauseMs = arguments[++i].toInt();
        else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            Say(QString::fromUtf8(kUsage));
            return 0;
        } else
            rest << argument;
    }
    const bool send = rest.size() == 2 && rest[0] == QLatin1String("send");
    const bool receive = rest.size() == 1 && rest[0] == QLatin1String("receive");
    // The NTS-660 sends a plain stream, without control records.
    if ((!send && !receive) || (nts660 && (preambles || endPauseMs >= 0))) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    QByteArray bytes;
    if (send) {
        if (const FileError error = ReadWholeFile(rest[1], bytes)) {
            const QByteArray text = Cp1250::ToUtf8(FileErrorText(error));
            std::fprintf(stderr, "%s\n", text.constData());
            return 1;
        }
        if (!nts660) bytes = InstrumentSimulator::FrameAsNts350(bytes);
        if (preambles) bytes = InstrumentSimulator::WithControlRecords(bytes);
        if (endPauseMs >= 0 && !InstrumentSimulator::EndsWithEndRecord(bytes)) {
            std::fputs("--end-pause: přenos nekončí koncovým záznamem (přidá ho --preambles).\n", stderr);
            return 2;
        }
    }

    InstrumentSimulator instrument;
    QString error;
    if (!instrument.Open(error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    Say(QStringLiteral("Simulovaný přístroj %1 na zařízení %2\n")
            .arg(nts660 ? QStringLiteral("NTS-660") : QStringLiteral("NTS-350"), instrument.DevicePath()));
    if (receive) return Receive(instrument);

    InstrumentSimulator::SendPlan plan;
    if (nts660) {
        plan.bitsPerSecond = bitsPerSecond;
    } else {
        plan = InstrumentSimulator::Nts350Plan(bitsPerSecond);
        plan.pauseMs = pauseMs;
        plan.endPauseMs = endPauseMs;
    }
    plan.hangUpAfter = hangUpAfter;
    return Send(instrument, bytes, plan, delaySeconds);
}

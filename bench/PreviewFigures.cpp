// The drawing preview of a large job, timed as a surveyor meets it (make
// preview-figures, under the offscreen platform): how long after the export's end
// the whole drawing is painted, how long a wheel step and a pan take to repaint
// at once and until they are sharp again, and the memory of the process before,
// while and after the preview is open.
//   preview-figures [POINTS]   (100000 when not given)

#include "base/ConversionSettings.h"
#include "base/SurveyRecord.h"
#include "gui/preview/DrawingPreviewWindow.h"
#include "gui/preview/DrawingView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QWheelEvent>

#include <cstdio>
#include <cstdlib>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// The resident memory of the process in MB (Linux: "VmRSS" now, "VmHWM" its
// highest so far), -1 where it cannot be read.
double ResidentMb(const char* key = "VmRSS:") {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key)) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

// Points in a grid of a job 1.25 m by 0.75 m apart, with codes of fifteen kinds.
SurveyRecordList Job(int points) {
    static const char* const kCodes[] = {"mezník", "hydrant", "plot",  "strom", "roh budovy",
                                         "zeď",    "šachta",  "sloup", "lampa", "obrubník",
                                         "vpust",  "keř",     "schod", "hrana", ""};
    SurveyRecordList records;
    records.reserve(static_cast<std::size_t>(points));
    for (int i = 0; i < points; ++i) {
        SurveyRecord record;
        record.name = "P" + QByteArray::number(i);
        record.y = 700000 + (i % 1000) * 1.25;
        record.x = 1050000 + (i / 1000) * 0.75;
        record.z = 250 + (i % 97) * 0.01;
        record.codeText = kCodes[i % std::size(kCodes)];
        record.kind = Coordinates;
        records.push_back(record);
    }
    return records;
}

// Milliseconds until the view is sharp again, or -1 when it is not within 20 s.
double UntilSharp(DrawingView& view, QElapsedTimer& clock) {
    QSignalSpy rendered(&view, &DrawingView::Rendered);
    while (!view.Sharp()) {
        if (clock.elapsed() > 20000) return -1;
        rendered.wait(50);
    }
    return clock.nsecsElapsed() / 1e6;
}

// Milliseconds of the repaint that follows an input event at once.
double Repaint(DrawingView& view, QElapsedTimer& clock) {
    view.repaint();
    return clock.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const int points = argc > 1 ? std::atoi(argv[1]) : 100000;
    ConversionSettings settings;
    settings.dxfLayers = true;
    settings.dxfRatio = 4;
    SurveyRecordList records = Job(points);
    const double before = ResidentMb();
    double peak = before;
    std::printf("Náhled výkresu, %d bodů (offscreen)\n", points);

    // Opened twice: the second opening shows whether a closed preview leaves
    // anything behind (what stays after the first is the window library's caches).
    double afterFirst = 0;
    for (int opening = 0; opening < 2; ++opening) {
        QElapsedTimer clock;
        clock.start();
        auto* window = new DrawingPreviewWindow(records, settings, QStringLiteral("bench.dxf"));
        window->resize(1000, 700);
        window->show();
        DrawingView& view = *window->View();
        const double made = clock.nsecsElapsed() / 1e6;
        const double shown = UntilSharp(view, clock);
        peak = std::max(peak, ResidentMb());
        std::printf("  okno hotové za            %8.1f ms\n", made);
        std::printf("  celý výkres vykreslen za  %8.1f ms   (cíl < 1000 ms)\n", shown);

        double worstRepaint = 0, worstSharp = 0;
        const QPointF middle(view.width() / 2.0, view.height() / 2.0);
        for (int step = 0; step < 6; ++step) {
            // Zoom in three notches, then out again, around points off the middle.
            const int notch = step < 3 ? 120 : -120;
            const QPointF at = middle + QPointF(40.0 * step, -25.0 * step);
            QWheelEvent wheel(at, view.mapToGlobal(at), QPoint(), QPoint(0, notch), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            clock.restart();
            QApplication::sendEvent(&view, &wheel);
            worstRepaint = std::max(worstRepaint, Repaint(view, clock));
            worstSharp = std::max(worstSharp, UntilSharp(view, clock));
            peak = std::max(peak, ResidentMb());
        }
        std::printf("  krok kolečka: překreslení %8.1f ms   (cíl < 50 ms), ostrý obraz %8.1f ms\n", worstRepaint,
                    worstSharp);

        worstRepaint = worstSharp = 0;
        QMouseEvent press(QEvent::MouseButtonPress, middle, view.mapToGlobal(middle), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&view, &press);
        for (int step = 1; step <= 6; ++step) {
            const QPointF at = middle + QPointF(30.0 * step, 20.0 * step);
            QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            clock.restart();
            QApplication::sendEvent(&view, &move);
            worstRepaint = std::max(worstRepaint, Repaint(view, clock));
            worstSharp = std::max(worstSharp, UntilSharp(view, clock));
            peak = std::max(peak, ResidentMb());
        }
        std::printf("  posun:        překreslení %8.1f ms   (cíl < 50 ms), ostrý obraz %8.1f ms\n", worstRepaint,
                    worstSharp);

        window->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
#ifdef __GLIBC__
        // What the allocator keeps for later goes back to the system, as a long
        // day's process would see it after a while.
        malloc_trim(0);
#endif
        if (opening == 0) afterFirst = ResidentMb();
    }
    const double after = ResidentMb();
    peak = std::max(peak, ResidentMb("VmHWM:"));
    std::printf("  paměť: před %6.1f MB, nejvíc %6.1f MB (cíl < 300 MB), po zavření %6.1f MB, po druhém %6.1f MB\n",
                before, peak, afterFirst, after);
    return 0;
}

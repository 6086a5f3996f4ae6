// render-icon: draws the application's SVG icon into the PNG sizes of the
// desktop's icon theme, OUTDIR/hicolor/NxN/apps/NAME.png. Qt Gui and Svg only;
// run it with QT_QPA_PLATFORM=offscreen.
//
//   render-icon ICON.svg OUTDIR NAME SIZE...
//
// Exit status 0 on success, 1 when the SVG does not read or a PNG cannot be written.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() < 5) {
        std::fputs("usage: render-icon ICON.svg OUTDIR NAME SIZE...\n", stderr);
        return 1;
    }
    QSvgRenderer renderer(arguments[1]);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render-icon: cannot read %s\n", qPrintable(arguments[1]));
        return 1;
    }
    for (qsizetype i = 4; i < arguments.size(); ++i) {
        bool isNumber = false;
        const int size = arguments[i].toInt(&isNumber);
        if (!isNumber || size <= 0 || size > 1024) {
            std::fprintf(stderr, "render-icon: bad size %s\n", qPrintable(arguments[i]));
            return 1;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, size, size));
        painter.end();

        const QString directory = QStringLiteral("%1/hicolor/%2x%2/apps").arg(arguments[2]).arg(size);
        const QString path = directory + QLatin1Char('/') + arguments[3] + QStringLiteral(".png");
        if (!QDir().mkpath(directory) || !image.save(path, "PNG")) {
            std::fprintf(stderr, "render-icon: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}

// render-icon: draws the application's SVG icon into the PNG sizes of the
// desktop's icon theme, OUTDIR/hicolor/NxN/apps/NAME.png, and with --ico also
// into one Windows icon file holding every size up to 256 as PNG. Qt Gui and Svg
// only; run it with QT_QPA_PLATFORM=offscreen.
//
//   render-icon [--ico FILE.ico] ICON.svg OUTDIR NAME SIZE...
//
// Exit status 0 on success, 1 when the SVG does not read or a file cannot be written.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

#include <cstdio>

namespace {

void AppendLittleEndian16(QByteArray& out, quint16 value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void AppendLittleEndian32(QByteArray& out, quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

// A Windows icon file: a 6-byte header, a 16-byte entry per image (width and
// height 0 meaning 256, 32 bits per pixel, size and offset of the data), then
// each image as a whole PNG file.
QByteArray IconFile(const QList<QPair<int, QByteArray>>& pngs) {
    QByteArray out;
    AppendLittleEndian16(out, 0);
    AppendLittleEndian16(out, 1);
    AppendLittleEndian16(out, static_cast<quint16>(pngs.size()));
    quint32 offset = 6 + 16 * static_cast<quint32>(pngs.size());
    for (const auto& [size, png] : pngs) {
        out.append(static_cast<char>(size >= 256 ? 0 : size));
        out.append(static_cast<char>(size >= 256 ? 0 : size));
        out.append(2, '\0');
        AppendLittleEndian16(out, 1);
        AppendLittleEndian16(out, 32);
        AppendLittleEndian32(out, static_cast<quint32>(png.size()));
        AppendLittleEndian32(out, offset);
        offset += static_cast<quint32>(png.size());
    }
    for (const auto& entry : pngs) out.append(entry.second);
    return out;
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    QStringList arguments = application.arguments();
    QString iconFile;
    const qsizetype icoOption = arguments.indexOf(QStringLiteral("--ico"));
    if (icoOption > 0 && icoOption + 1 < arguments.size()) {
        iconFile = arguments[icoOption + 1];
        arguments.remove(icoOption, 2);
    }
    if (arguments.size() < 5) {
        std::fputs("usage: render-icon [--ico FILE.ico] ICON.svg OUTDIR NAME SIZE...\n", stderr);
        return 1;
    }
    QSvgRenderer renderer(arguments[1]);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render-icon: cannot read %s\n", qPrintable(arguments[1]));
        return 1;
    }
    QList<QPair<int, QByteArray>> pngs;
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
        if (size <= 256) {
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
            pngs.append({size, png});
        }
    }
    if (!iconFile.isEmpty()) {
        QFile file(iconFile);
        const QByteArray icon = IconFile(pngs);
        if (!file.open(QIODevice::WriteOnly) || file.write(icon) != icon.size() || !file.flush()) {
            std::fprintf(stderr, "render-icon: cannot write %s\n", qPrintable(iconFile));
            return 1;
        }
    }
    return 0;
}

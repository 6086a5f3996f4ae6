#include "gui/common/Artwork.h"

#include <QFile>
#include <QTest>

Q_DECLARE_METATYPE(Artwork::Toolbar)

namespace {

bool InSixteenColours(QRgb pixel) {
    static const QList<QRgb> kStandard = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    if (qAlpha(pixel) == 0) return true;
    return qAlpha(pixel) == 255 && kStandard.contains(pixel | 0xFF000000u);
}

}  // namespace

class ArtworkTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Both toolbars come from the SVG resources the same way: every image drawn,
    // and the 16-colour set holds the standard colours and full transparency only.
    void toolbarSets_data() {
        QTest::addColumn<Artwork::Toolbar>("toolbar");
        QTest::addColumn<QSize>("stripSize");
        QTest::newRow("main window: seven 45 × 48") << Artwork::Toolbar::Main << QSize(315, 48);
        QTest::newRow("upload window: five 32 × 32") << Artwork::Toolbar::Upload << QSize(160, 32);
    }
    void toolbarSets() {
        QFETCH(Artwork::Toolbar, toolbar);
        QFETCH(QSize, stripSize);
        const QImage strip = Artwork::ToolbarStrip(toolbar, true).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(strip.size(), stripSize);
        for (int y = 0; y < strip.height(); ++y) {
            for (int x = 0; x < strip.width(); ++x) {
                const QRgb pixel = strip.pixel(x, y);
                if (!InSixteenColours(pixel))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3").arg(x).arg(y).arg(pixel, 8, 16)));
            }
        }
        const QList<QPixmap> images = Artwork::ToolbarImages(toolbar, true);
        QCOMPARE(images.size() * Artwork::ToolbarImageSize(toolbar).width(), stripSize.width());
        for (qsizetype i = 0; i < images.size(); ++i) {
            const QImage image = images[i].toImage().convertToFormat(QImage::Format_ARGB32);
            int painted = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) painted += qAlpha(image.pixel(x, y)) != 0;
            }
            QVERIFY2(painted > 200, qPrintable(QStringLiteral("image %1 is nearly empty").arg(i)));
        }
        QVERIFY(Artwork::ToolbarStrip(toolbar, false) != Artwork::ToolbarStrip(toolbar, true));
    }

    void bannerAndWindowIcon() {
        QCOMPARE(Artwork::Banner().size(), QSize(500, 200));
        QVERIFY(QFile::exists(QStringLiteral(":/images/tarvo.svg")));
    }
};

QTEST_MAIN(ArtworkTest)
#include "ArtworkTest.moc"

// The preview of a drawing, offscreen: north up whatever the drawing's axes, each
// mark as drawn, the drawing fitted to the window, the layer list hiding layers,
// and where the window opens.

#include "gui/preview/DrawingPreviewWindow.h"

#include "base/Cp1250.h"
#include "gui/preview/DrawingPicture.h"
#include "gui/preview/DrawingView.h"
#include "tests/gui/NamedWidget.h"
#include "tests/support/PointYXZ.h"

#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

namespace {

// N lies 100 m north of S, W west of both (Y grows to the west, X to the south).
const SurveyRecordList kPoints = {PointYXZ("N", 742000, 1043000, 250.5, Cp1250::FromUtf8("mezník")),
                                  PointYXZ("S", 742000, 1043100, 250.5),
                                  PointYXZ("W", 742100, 1043050, 250.5, {}, Coordinates | NoHeight)};

QStringList Sorted(QStringList texts) {
    texts.sort();
    return texts;
}

// Where a text hangs in the picture (its alignment point).
QPointF Where(const DrawingPicture& picture, const QString& text) {
    for (const DrawingPicture::Label& label : picture.Labels())
        if (picture.TextOf(label) == text) return QPointF(label.x, label.y);
    return {};
}

}  // namespace

class DrawingPreviewWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void northUpInEveryAxes_data() {
        QTest::addColumn<quint16>("flag");
        QTest::addColumn<bool>("epsg");
        QTest::newRow("x = Y, y = X: a CAD program shows north down") << quint16(0) << false;
        QTest::newRow("X/Y swapped: a CAD program shows it mirrored") << FLAG_SWAP_XY << false;
        QTest::newRow("EPSG:5514: north up as drawn") << quint16(0) << true;
    }
    void northUpInEveryAxes() {
        QFETCH(quint16, flag);
        ConversionSettings settings;
        settings.flag = flag;
        QFETCH(bool, epsg);
        settings.dxfEpsgAxes = epsg;
        DrawingPreviewWindow window(kPoints, settings, QStringLiteral("job.dxf"));
        QSignalSpy rendered(window.View(), &DrawingView::Rendered);
        window.show();
        const DrawingView& view = *window.View();
        const DrawingPicture& picture = view.Picture();
        QCOMPARE(Sorted(view.VisibleTexts()), QStringList({"250.500", "250.500", "N", "S", "W", "mezník"}));
        QVERIFY(Where(picture, "N").y() < Where(picture, "S").y());
        QVERIFY(Where(picture, "W").x() < Where(picture, "N").x());
        // The mark as drawn: the name above, the code to the lower right.
        QVERIFY(Where(picture, "N").y() < Where(picture, "mezník").y());
        QVERIFY(Where(picture, "N").x() < Where(picture, "mezník").x());

        // The whole drawing fills the window, and is painted there.
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRectF drawing = view.ViewRect(picture.Bounds());
        const QRectF inside = QRectF(view.rect());
        QVERIFY(inside.contains(drawing));
        QVERIFY(drawing.width() > inside.width() / 2 || drawing.height() > inside.height() / 2);
        QTRY_VERIFY(view.Sharp());
        QVERIFY(!rendered.isEmpty());
    }

    void layerTogglesHideTheirPoints() {
        ConversionSettings settings;
        settings.dxfLayers = true;
        DrawingPreviewWindow window(kPoints, settings, QStringLiteral("job.dxf"));
        window.show();
        auto* layers = Widget<QListWidget>(window, "layerList");
        const DrawingView& view = *window.View();
        QCOMPARE(layers->count(), 2);
        QCOMPARE(layers->item(0)->text() + ' ' + layers->item(1)->text(), QStringLiteral("MEZNIK BEZ_KODU"));
        layers->item(0)->setCheckState(Qt::Unchecked);
        QCOMPARE(Sorted(view.VisibleTexts()), QStringList({"250.500", "S", "W"}));
        layers->item(1)->setCheckState(Qt::Unchecked);
        QVERIFY(view.VisibleTexts().isEmpty());
        layers->item(0)->setCheckState(Qt::Checked);
        QCOMPARE(Sorted(view.VisibleTexts()), QStringList({"250.500", "N", "mezník"}));
    }

    // The preview opens where it was last closed, or beside the main window, never
    // over it at the screen's corner.
    void opensBesideTheMainWindowOrWhereItWas_data() {
        QTest::addColumn<QRect>("owner");
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QRect>("place");
        QTest::newRow("first time: right of the main window")
            << QRect(700, 400, 510, 305) << QRect() << QRect(1210, 400, 600, 400);
        QTest::newRow("no room on the right: left of it")
            << QRect(1300, 400, 510, 305) << QRect() << QRect(700, 400, 600, 400);
        QTest::newRow("no room on either side: centred on it")
            << QRect(500, 400, 900, 305) << QRect() << QRect(650, 353, 600, 400);
        QTest::newRow("where the user left it")
            << QRect(700, 400, 510, 305) << QRect(40, 60, 800, 500) << QRect(40, 60, 800, 500);
        QTest::newRow("a stored place off every screen is not used")
            << QRect(700, 400, 510, 305) << QRect(3000, 60, 800, 500) << QRect(1210, 400, 600, 400);
    }
    void opensBesideTheMainWindowOrWhereItWas() {
        QFETCH(QRect, owner);
        QFETCH(QRect, stored);
        QFETCH(QRect, place);
        QCOMPARE(DrawingPreviewWindow::Place(QSize(600, 400), owner, {QRect(0, 0, 1920, 1080)}, stored), place);
    }
};

QTEST_MAIN(DrawingPreviewWindowTest)
#include "DrawingPreviewWindowTest.moc"

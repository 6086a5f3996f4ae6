// The preview of a drawing, offscreen: north up whatever the drawing's axes, the
// points' names, heights and codes as texts, the drawing fitted to the window, and
// the layer list's check boxes hiding their layers.

#include "gui/preview/DrawingPreviewWindow.h"

#include "base/Cp1250.h"
#include "gui/preview/DrawingScene.h"
#include "gui/preview/DrawingView.h"

#include <QApplication>
#include <QGraphicsSimpleTextItem>
#include <QListWidget>
#include <QTest>
#include <QWheelEvent>

namespace {

SurveyRecord Point(const char* name, double y, double x, const char* code, double z = 0, quint16 kind = Coordinates) {
    SurveyRecord record;
    record.name = name;
    record.y = y;
    record.x = x;
    record.z = z;
    record.codeText = Cp1250::FromUtf8(code);
    record.kind = kind;
    return record;
}

// N lies 100 m north of S, W 100 m west of both (Y grows to the west, X to the south).
const SurveyRecordList kPoints = {Point("N", 742000, 1043000, "mezník", 250.5), Point("S", 742000, 1043100, ""),
                                  Point("W", 742100, 1043050, "", 0, Coordinates | NoHeight)};

// The texts in the picture, only those shown when visibleOnly.
QStringList Texts(const DrawingScene& scene, bool visibleOnly) {
    QStringList texts;
    for (QGraphicsItem* item : scene.items()) {
        auto* text = dynamic_cast<QGraphicsSimpleTextItem*>(item);
        if (text && (!visibleOnly || text->isVisible())) texts << text->text();
    }
    texts.sort();
    return texts;
}

QPointF Where(const DrawingScene& scene, const QString& text) {
    for (QGraphicsItem* item : scene.items()) {
        auto* label = dynamic_cast<QGraphicsSimpleTextItem*>(item);
        if (label && label->text() == text) return label->sceneBoundingRect().center();
    }
    qFatal("no text %s", qPrintable(text));
}

}  // namespace

class DrawingPreviewWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void northUpInEveryAxes_data() {
        QTest::addColumn<quint16>("flag");
        QTest::addColumn<bool>("epsg");
        QTest::newRow("x = Y, y = X: the CAD program shows north down") << quint16(0) << false;
        QTest::newRow("X/Y swapped: the CAD program shows it mirrored") << FLAG_SWAP_XY << false;
        QTest::newRow("EPSG:5514: north up as drawn") << quint16(0) << true;
    }
    void northUpInEveryAxes() {
        QFETCH(quint16, flag);
        QFETCH(bool, epsg);
        ConversionSettings settings;
        settings.flag = flag;
        settings.dxfEpsgAxes = epsg;
        DrawingPreviewWindow window(kPoints, settings, QStringLiteral("job.dxf"));
        window.show();
        const DrawingScene& scene = *window.Scene();
        QCOMPARE(Texts(scene, true), QStringList({"0.000", "250.500", "N", "S", "W", "mezník"}));
        QVERIFY(Where(scene, "N").y() < Where(scene, "S").y());
        QVERIFY(Where(scene, "W").x() < Where(scene, "N").x());
        // Each mark as in the drawing: the name above the point, the height to its
        // upper right, the code to its lower right.
        QVERIFY(Where(scene, "N").y() < Where(scene, "250.500").y());
        QVERIFY(Where(scene, "250.500").y() < Where(scene, "mezník").y());
        QVERIFY(Where(scene, "N").x() < Where(scene, "mezník").x());
        QVERIFY(window.windowTitle().endsWith(QStringLiteral("job.dxf")));
    }

    void fittedThenZoomed() {
        DrawingPreviewWindow window(kPoints, ConversionSettings(), QStringLiteral("job.dxf"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        DrawingView* view = window.View();
        const QRect drawing = view->mapFromScene(window.Scene()->DrawingRect()).boundingRect();
        QVERIFY2(view->viewport()->rect().contains(drawing), "the whole drawing is in the window");
        QVERIFY(drawing.width() > view->viewport()->width() / 2 || drawing.height() > view->viewport()->height() / 2);
        const double before = view->transform().m11();
        const QPoint middle = view->viewport()->rect().center();
        QWheelEvent wheel(middle, view->viewport()->mapToGlobal(middle), {}, QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &wheel);
        QVERIFY(view->transform().m11() > 1.2 * before);
    }

    void layerTogglesHideTheirPoints() {
        ConversionSettings settings;
        settings.dxfLayers = true;
        DrawingPreviewWindow window(kPoints, settings, QStringLiteral("job.dxf"));
        window.show();
        QListWidget* layers = window.LayerList();
        QCOMPARE(layers->count(), 2);
        QCOMPARE(layers->item(0)->text(), QStringLiteral("MEZNIK"));
        QCOMPARE(layers->item(1)->text(), QStringLiteral("BEZ_KODU"));
        layers->item(0)->setCheckState(Qt::Unchecked);
        QCOMPARE(Texts(*window.Scene(), true), QStringList({"0.000", "S", "W"}));
        QVERIFY(!window.Scene()->LayerItem(0)->isVisible());
        layers->item(1)->setCheckState(Qt::Unchecked);
        QVERIFY(Texts(*window.Scene(), true).isEmpty());
        layers->item(0)->setCheckState(Qt::Checked);
        QCOMPARE(Texts(*window.Scene(), true), QStringList({"250.500", "N", "mezník"}));
    }
};

QTEST_MAIN(DrawingPreviewWindowTest)
#include "DrawingPreviewWindowTest.moc"

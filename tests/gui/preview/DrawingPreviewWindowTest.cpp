// The preview of a drawing, offscreen: north up whatever the drawing's axes, each
// mark as drawn, the drawing fitted to the window, and the layer list hiding layers.

#include "gui/preview/DrawingPreviewWindow.h"

#include "base/Cp1250.h"
#include "gui/preview/DrawingScene.h"
#include "gui/preview/DrawingView.h"
#include "tests/gui/NamedWidget.h"
#include "tests/support/PointYXZ.h"

#include <QGraphicsSimpleTextItem>
#include <QListWidget>
#include <QTest>

namespace {

// N lies 100 m north of S, W west of both (Y grows to the west, X to the south).
const SurveyRecordList kPoints = {PointYXZ("N", 742000, 1043000, 250.5, Cp1250::FromUtf8("mezník")),
                                  PointYXZ("S", 742000, 1043100, 250.5),
                                  PointYXZ("W", 742100, 1043050, 250.5, {}, Coordinates | NoHeight)};

// The texts shown, sorted, and where one of them is.
QStringList Shown(const DrawingScene& scene) {
    QStringList texts;
    for (QGraphicsItem* item : scene.items())
        if (auto* text = dynamic_cast<QGraphicsSimpleTextItem*>(item); text && text->isVisible()) texts << text->text();
    texts.sort();
    return texts;
}
QPointF Where(const DrawingScene& scene, const QString& text) {
    for (QGraphicsItem* item : scene.items())
        if (auto* label = dynamic_cast<QGraphicsSimpleTextItem*>(item); label && label->text() == text)
            return label->sceneBoundingRect().center();
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
        window.show();
        const DrawingScene& scene = *Widget<DrawingScene>(window, "drawingScene");
        QCOMPARE(Shown(scene), QStringList({"250.500", "250.500", "N", "S", "W", "mezník"}));
        QVERIFY(Where(scene, "N").y() < Where(scene, "S").y());
        QVERIFY(Where(scene, "W").x() < Where(scene, "N").x());
        // The mark as drawn: the name above, the code to the lower right.
        QVERIFY(Where(scene, "N").y() < Where(scene, "mezník").y());
        QVERIFY(Where(scene, "N").x() < Where(scene, "mezník").x());

        // The whole drawing fills the window.
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto* view = Widget<DrawingView>(window, "drawingView");
        const QRect drawing = view->mapFromScene(scene.DrawingRect()).boundingRect();
        const QRect viewport = view->viewport()->rect();
        QVERIFY(viewport.contains(drawing));
        QVERIFY(drawing.width() > viewport.width() / 2 || drawing.height() > viewport.height() / 2);
    }

    void layerTogglesHideTheirPoints() {
        ConversionSettings settings;
        settings.dxfLayers = true;
        DrawingPreviewWindow window(kPoints, settings, QStringLiteral("job.dxf"));
        window.show();
        auto* layers = Widget<QListWidget>(window, "layerList");
        const DrawingScene& scene = *Widget<DrawingScene>(window, "drawingScene");
        QCOMPARE(layers->count(), 2);
        QCOMPARE(layers->item(0)->text() + ' ' + layers->item(1)->text(), QStringLiteral("MEZNIK BEZ_KODU"));
        layers->item(0)->setCheckState(Qt::Unchecked);
        QCOMPARE(Shown(scene), QStringList({"250.500", "S", "W"}));
        layers->item(1)->setCheckState(Qt::Unchecked);
        QVERIFY(Shown(scene).isEmpty());
        layers->item(0)->setCheckState(Qt::Checked);
        QCOMPARE(Shown(scene), QStringList({"250.500", "N", "mezník"}));
    }
};

QTEST_MAIN(DrawingPreviewWindowTest)
#include "DrawingPreviewWindowTest.moc"

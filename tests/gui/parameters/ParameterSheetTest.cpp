#include "gui/parameters/ParameterSheet.h"

#include "base/Cp1250.h"
#include "gui/parameters/ConversionPage.h"
#include "gui/parameters/HeaderPage.h"
#include "gui/parameters/ReductionPage.h"
#include "tests/gui/NamedWidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace {

ConversionSettings Stored() {
    ConversionSettings settings;
    settings.flag = 0x0C1E;
    settings.jobAverageXMetres = 1001000.6;
    settings.jobAverageYMetres = 680000.4;
    settings.jobAverageHeightMetres = 320.2;
    settings.head = Cp1250::FromUtf8("Měřeno\r\nZakázka: Žďár");
    settings.orMarker = "#";
    settings.deviceType = DeviceType::Nts350;
    settings.dxfRatio = 4;
    return settings;
}

}  // namespace

class ParameterSheetTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void okAtOnceKeepsAllButTheRoundedAveragesAndTheEmptyBits() {
        ConversionSettings settings = Stored();
        ParameterSheet sheet(settings);
        sheet.show();
        QVERIFY(!Widget<QPushButton>(sheet, "applyButton")->isEnabled());
        Widget<QPushButton>(sheet, "okButton")->click();
        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        ApplySheetResult(sheet, settings);
        QCOMPARE(settings.flag, quint16(0x001E));  // 0x400 and 0x800 cleared
        QCOMPARE(settings.jobAverageXMetres, 1001001.0);
        QCOMPARE(settings.jobAverageYMetres, 680000.0);
        QCOMPARE(settings.jobAverageHeightMetres, 320.0);
        QCOMPARE(settings.head, Stored().head);
        QCOMPARE(settings.orMarker, QByteArray("#"));
        QCOMPARE(settings.deviceType, DeviceType::Nts350);
        QCOMPARE(settings.dxfRatio, quint8(4));
    }

    // "Použít" puts the values into use at once and leaves the sheet open; a later
    // Storno keeps them.
    void applyPutsTheValuesIntoUse() {
        ConversionSettings settings = Stored();
        ParameterSheet sheet(settings);
        sheet.show();
        auto* apply = Widget<QPushButton>(sheet, "applyButton");
        Widget<QTabWidget>(sheet, "sheetTabs")->setCurrentIndex(2);
        auto* marker = Widget<QLineEdit>(sheet, "markerEdit");
        marker->selectAll();
        QTest::keyClicks(marker, QStringLiteral("*"));
        QTest::mouseClick(Widget<QCheckBox>(sheet, "swapXyCheck"), Qt::LeftButton);
        QVERIFY(apply->isEnabled());
        apply->click();
        QVERIFY(sheet.isVisible());
        QVERIFY(!apply->isEnabled());
        QCOMPARE(settings.orMarker, QByteArray("*"));
        QCOMPARE(settings.flag, quint16(0x001E | FLAG_SWAP_XY));
        sheet.reject();
        QCOMPARE(settings.orMarker, QByteArray("*"));
    }

    void headerTickIsKeptAcrossTabs() {
        ConversionSettings settings = Stored();
        settings.flag = FLAG_DEFAULT | FLAG_USE_CURRENT;
        ParameterSheet sheet(settings);
        sheet.show();
        Widget<QTabWidget>(sheet, "sheetTabs")->setCurrentIndex(1);
        Widget<QCheckBox>(sheet, "useHeaderCheck")->setChecked(true);
        Widget<QPlainTextEdit>(sheet, "headerEdit")->setPlainText(QStringLiteral("Hlavička\nŘádek 2"));
        Widget<QTabWidget>(sheet, "sheetTabs")->setCurrentIndex(2);
        Widget<QCheckBox>(sheet, "swapXyCheck")->setChecked(true);
        Widget<QLineEdit>(sheet, "markerEdit")->setText(QStringLiteral("*"));
        sheet.accept();
        ApplySheetResult(sheet, settings);
        QCOMPARE(settings.flag, quint16(FLAG_DEFAULT | FLAG_USE_CURRENT | FLAG_USE_HEADER | FLAG_SWAP_XY));
        QCOMPARE(settings.head, Cp1250::FromUtf8("Hlavička\r\nŘádek 2"));
        QCOMPARE(settings.orMarker, QByteArray("*"));
    }

    void instrumentTypeStaysAfterCancelWhileTheTicksGo() {
        ConversionSettings settings = Stored();
        ParameterSheet sheet(settings);
        sheet.show();
        Widget<QTabWidget>(sheet, "sheetTabs")->setCurrentIndex(2);
        Widget<QComboBox>(sheet, "deviceTypeCombo")->setCurrentIndex(1);
        Widget<QComboBox>(sheet, "dxfRatioCombo")->setCurrentIndex(8);
        Widget<QComboBox>(sheet, "dxfAxesCombo")->setCurrentIndex(1);
        Widget<QCheckBox>(sheet, "dxfLayersCheck")->setChecked(true);
        Widget<QCheckBox>(sheet, "showOutputCheck")->setChecked(false);
        Widget<QTabWidget>(sheet, "sheetTabs")->setCurrentIndex(0);
        sheet.reject();
        QCOMPARE(settings.deviceType, DeviceType::Nts660);
        QCOMPARE(settings.dxfRatio, quint8(8));
        // The drawing's values go with its scale.
        QVERIFY(settings.dxfEpsgAxes && settings.dxfLayers && !settings.dxf3d);
        QCOMPARE(settings.flag, Stored().flag);
    }

    void aListWithoutSelectionKeepsThePreviousValue() {
        ConversionSettings settings = Stored();
        settings.deviceType = static_cast<DeviceType>(5);
        settings.dxfRatio = 200;
        ParameterSheet sheet(settings);
        sheet.show();
        Widget<QTabWidget>(sheet, "sheetTabs")->setCurrentIndex(2);
        QCOMPARE(Widget<QComboBox>(sheet, "deviceTypeCombo")->currentIndex(), -1);
        QCOMPARE(Widget<QComboBox>(sheet, "dxfRatioCombo")->currentIndex(), -1);
        sheet.accept();
        QCOMPARE(settings.deviceType, static_cast<DeviceType>(5));
        QCOMPARE(settings.dxfRatio, quint8(200));
    }

    void pagesShowTheirCopies() {
        ConversionSettings settings = Stored();
        settings.flag = 0x3FF & ~FLAG_USE_HEADER;
        settings.dxfRatio = 6;
        settings.dxfEpsgAxes = settings.dxf3d = true;
        ParameterSheet sheet(settings);
        sheet.show();
        Widget<QTabWidget>(sheet, "sheetTabs")->setCurrentIndex(1);
        QCOMPARE(Widget<QPlainTextEdit>(sheet, "headerEdit")->toPlainText(), QStringLiteral("Měřeno\nZakázka: Žďár"));
        QVERIFY(!Widget<QCheckBox>(sheet, "useHeaderCheck")->isChecked());
        Widget<QTabWidget>(sheet, "sheetTabs")->setCurrentIndex(2);
        for (const char* name : {"swapAnglesCheck", "warnUnitsCheck", "warnHeightsCheck", "showOutputCheck",
                                 "askOverwriteCheck", "keep200Check", "swapXyCheck", "sixteenColourCheck"}) {
            QVERIFY2(Widget<QCheckBox>(sheet, name)->isChecked(), name);
        }
        QCOMPARE(Widget<QComboBox>(sheet, "dxfRatioCombo")->currentText(), QStringLiteral("1:5"));
        QCOMPARE(Widget<QComboBox>(sheet, "dxfAxesCombo")->currentIndex(), 1);
        QVERIFY(!Widget<QCheckBox>(sheet, "dxfLayersCheck")->isChecked());
        QVERIFY(Widget<QCheckBox>(sheet, "dxf3dCheck")->isChecked());
    }

    // The page "Kontrola": what is typed into a box becomes the limit after OK,
    // unless it is no number or a negative one; the defaults button refills all.
    void checkLimitsTyped_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("defaults");  // "Výchozí meze" pressed after typing
        QTest::addColumn<double>("height");  // CHK_HeightWrong after OK
        QTest::newRow("decimal comma") << "0,12" << false << 0.12;
        QTest::newRow("blanks around") << " 0.1 " << false << 0.1;
        QTest::newRow("negative keeps the stored") << "-0.1" << false << 0.2;
        QTest::newRow("text keeps the stored") << "abc" << false << 0.2;
        QTest::newRow("defaults button") << "0.5" << true << 0.08;
    }
    void checkLimitsTyped() {
        QFETCH(QString, typed);
        QFETCH(bool, defaults);
        ConversionSettings settings = Stored();
        settings.checkTolerances.height.wrong = 0.2;
        ParameterSheet sheet(settings);
        sheet.show();
        Widget<QTabWidget>(sheet, "sheetTabs")->setCurrentIndex(3);
        Widget<QLineEdit>(sheet, "CHK_HeightWrongEdit")->setText(typed);
        if (defaults) Widget<QPushButton>(sheet, "defaultLimitsButton")->click();
        Widget<QPushButton>(sheet, "okButton")->click();
        ApplySheetResult(sheet, settings);
        QTEST(settings.checkTolerances.height.wrong, "height");
        QCOMPARE(settings.checkTolerances.range, CheckTolerances{}.range);
    }

    // OK takes a number as a Czech user writes it and refuses one outside its
    // setting's range with a message naming the box; the sheet then stays open.
    void okRefusesAveragesOutsideTheirRange_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("stored");  // NaN: refused
        QTest::addColumn<QString>("message");
        const double refused = qQNaN();
        QTest::newRow("Y with its digits grouped") << "yEdit"
                                                   << "745 000" << 745000.0 << "";
        QTest::newRow("Y with a decimal comma") << "yEdit"
                                                << "745000,5" << 745000.5 << "";
        QTest::newRow("X grouped by no-break spaces")
            << "xEdit" << QStringLiteral("1\u00A0045\u00A0000") << 1045000.0 << "";
        QTest::newRow("X of 0 turns the reduction off") << "xEdit"
                                                        << "0" << 0.0 << "";
        QTest::newRow("X outside S-JTSK")
            << "xEdit"
            << "12" << refused
            << QStringLiteral("Hodnota 12 v poli Souřadnice X [m] leží mimo rozsah 0 nebo 890000 až 1380000.");
        QTest::newRow("a height above any place on Earth")
            << "hEdit"
            << "1e15" << refused << QStringLiteral("Hodnota 1e15 v poli Nadm. výška [m] leží mimo");
        QTest::newRow("a height that is no number") << "hEdit"
                                                    << "320 m" << refused << QStringLiteral("Hodnota „320 m“ v poli");
    }
    void okRefusesAveragesOutsideTheirRange() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(double, stored);
        QFETCH(QString, message);
        ConversionSettings settings = Stored();
        ParameterSheet sheet(settings);
        sheet.show();
        Widget<QLineEdit>(sheet, qPrintable(box))->setText(typed);
        QString shown;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] {
            if (auto* warning = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = warning->text();
                warning->accept();
            }
        });
        closer.start(5);
        Widget<QPushButton>(sheet, "okButton")->click();
        if (qIsNaN(stored)) {
            QVERIFY2(shown.startsWith(message), qPrintable(shown));
            QVERIFY(sheet.isVisible());
            return;
        }
        QVERIFY2(shown.isEmpty(), qPrintable(shown));
        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        ApplySheetResult(sheet, settings);
        const double read = box == "xEdit"   ? settings.jobAverageXMetres
                            : box == "yEdit" ? settings.jobAverageYMetres
                                             : settings.jobAverageHeightMetres;
        QCOMPARE(read, stored);
    }

    void readingRule_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("reads");
        QTest::addColumn<double>("value");
        QTest::newRow("comma as the decimal point") << "1001000,5" << true << 1001000.5;
        QTest::newRow("only the first comma") << "1,5,2" << false << 0.0;
        QTest::newRow("trailing space") << "320 " << false << 0.0;
        QTest::newRow("leading space") << " 320" << true << 320.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("not a number") << "abc" << false << 0.0;
        QTest::newRow("exponent") << "1e3" << true << 1000.0;
        QTest::newRow("too large to be finite") << "1e400" << false << 0.0;
        QTest::newRow("first 14 characters of 20") << "12345678901234567890" << true << 12345678901234.0;
        QTest::newRow("cut before a bad tail") << "12345678901234xyz" << true << 12345678901234.0;
    }
    void readingRule() {
        QFETCH(QString, text);
        QFETCH(bool, reads);
        QFETCH(double, value);
        double read = -1.0;
        QCOMPARE(ReductionPage::ReadInput(text, read), reads);
        QCOMPARE(read, reads ? value : -1.0);
    }

    void workedExamples_data() {
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("y");
        QTest::addColumn<QString>("h");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("defaults") << "1001000"
                                  << "680000"
                                  << "320" << QStringList{"-2,8 mm/km", "-50,2 mm/km", "-52,9 mm/km", "0,9999471"};
        QTest::newRow("no height") << "1100000"
                                   << "700000"
                                   << "0" << QStringList{"-99,6 mm/km", "0,0 mm/km", "-99,6 mm/km", "0,9999004"};
        QTest::newRow("outside the area") << "1380000.001"
                                          << "700000"
                                          << "0" << QStringList{"0,0 mm/km", "0,0 mm/km", "0,0 mm/km", "1,0000000"};
        QTest::newRow("height without a finite reduction")
            << "1100000"
            << "700000"
            << "-4000000" << QStringList{"-99,6 mm/km", "---", "---", "---"};
    }
    void workedExamples() {
        QFETCH(QString, x);
        QFETCH(QString, y);
        QFETCH(QString, h);
        QFETCH(QStringList, shown);
        ConversionSettings settings;
        ReductionPage page(settings);
        page.Open();
        Widget<QLineEdit>(page, "xEdit")->setText(x);
        Widget<QLineEdit>(page, "yEdit")->setText(y);
        Widget<QLineEdit>(page, "hEdit")->setText(h);
        QCOMPARE(Widget<QLineEdit>(page, "projectionEdit")->text(), shown[0]);
        QCOMPARE(Widget<QLineEdit>(page, "heightEdit")->text(), shown[1]);
        QCOMPARE(Widget<QLineEdit>(page, "totalEdit")->text(), shown[2]);
        QCOMPARE(Widget<QLineEdit>(page, "factorEdit")->text(), shown[3]);
    }

    void anUnreadableXHoldsBackY() {
        ConversionSettings settings;
        ReductionPage page(settings);
        page.Open();
        QCOMPARE(Widget<QLineEdit>(page, "factorEdit")->text(), QStringLiteral("0,9999471"));
        Widget<QLineEdit>(page, "xEdit")->setText(QStringLiteral("abc"));
        QCOMPARE(Widget<QLineEdit>(page, "projectionEdit")->text(), QStringLiteral("0,0 mm/km"));
        QCOMPARE(Widget<QLineEdit>(page, "totalEdit")->text(), QStringLiteral("-50,2 mm/km"));
        Widget<QLineEdit>(page, "yEdit")->setText(QStringLiteral("700000"));
        QCOMPARE(page.Y(), 680000.0);
        QCOMPARE(page.X(), 1001000.0);
        Widget<QLineEdit>(page, "factorEdit")->setText(QStringLiteral("typed"));
        Widget<QLineEdit>(page, "xEdit")->setText(QStringLiteral("1100000"));
        QCOMPARE(page.X(), 1100000.0);
        QCOMPARE(page.Y(), 700000.0);
        QCOMPARE(Widget<QLineEdit>(page, "factorEdit")->text(), QStringLiteral("0,9998502"));
    }
};

QTEST_MAIN(ParameterSheetTest)
#include "ParameterSheetTest.moc"

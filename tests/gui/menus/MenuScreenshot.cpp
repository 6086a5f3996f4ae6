// Draws the main window's menu open in the flat look, into a PNG for a person to
// look at: "&Menu" with "Konverzní nástroje" selected and its sub-menu open,
// "Použít aktuální" checked and selected, the tools and "Export souřadnic" disabled.
// Usage: MenuScreenshot OUTPUT.png (run with QT_QPA_PLATFORM=offscreen).

#include "gui/menus/FlatMenuStyle.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QTest>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: MenuScreenshot OUTPUT.png\n");
        return 2;
    }

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tarvo"));
    window.setCentralWidget(new QLabel(QString()));
    window.resize(560, 360);
    QMenu* menu = window.menuBar()->addMenu(QStringLiteral("&Menu"));
    menu->addAction(QStringLiteral("Konverze p\u0159ijat\u00FDch dat\tF1"));
    menu->addAction(QStringLiteral("Export sou\u0159adnic\tF2"))->setEnabled(false);
    menu->addAction(QStringLiteral("Konverze souboru\tF3"));
    menu->addSeparator();
    QMenu* tools = menu->addMenu(QStringLiteral("Konverzn\u00ED n\u00E1stroje"));
    tools->addAction(QStringLiteral("Hlavi\u010Dky"))->setEnabled(false);
    tools->addAction(QStringLiteral("Vodorovn\u00E9 d\u00E9lky"))->setEnabled(false);
    tools->addAction(QStringLiteral("Export XYZ bod\u016F do dxf"))->setEnabled(false);
    tools->addSeparator();
    QAction* useCurrent = tools->addAction(QStringLiteral("Pou\u017E\u00EDt aktu\u00E1ln\u00ED"));
    useCurrent->setCheckable(true);
    useCurrent->setChecked(true);
    menu->addSeparator();
    menu->addAction(QStringLiteral("Parametry konverze"));
    menu->addAction(QStringLiteral("Parametry komunikace"));
    menu->addSeparator();
    menu->addAction(QStringLiteral("N\u00E1pov\u011Bda"));
    menu->addSeparator();
    menu->addAction(QStringLiteral("Konec"));
    InstallFlatMenus(menu);

    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;

    // The pop-ups are windows of their own; each is drawn where it would open.
    const QRect entry = window.menuBar()->actionGeometry(menu->menuAction());
    const QPoint menuAt = window.menuBar()->mapTo(&window, entry.bottomLeft() + QPoint(0, 1));
    menu->popup(window.mapToGlobal(menuAt));
    if (!QTest::qWaitForWindowExposed(menu)) return 1;
    menu->setActiveAction(tools->menuAction());
    const QRect toolsItem = menu->actionGeometry(tools->menuAction());
    const QPoint toolsAt = menuAt + QPoint(menu->width() - 3, toolsItem.top() - 1);
    tools->popup(window.mapToGlobal(toolsAt));
    if (!QTest::qWaitForWindowExposed(tools)) return 1;
    tools->setActiveAction(useCurrent);
    menu->setActiveAction(tools->menuAction());

    QImage image(window.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    painter.drawPixmap(0, 0, window.grab());
    painter.drawPixmap(menuAt, menu->grab());
    painter.drawPixmap(toolsAt, tools->grab());
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

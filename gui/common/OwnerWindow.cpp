#include "gui/common/OwnerWindow.h"

#include <QApplication>
#include <QWidget>

QWidget* OwnerWindow(QWidget* mainWindow) {
    if (!mainWindow) return nullptr;
    QWidget* modal = QApplication::activeModalWidget();
    for (const QWidget* window = modal; window; window = window->parentWidget()) {
        if (window == mainWindow) return modal;
    }
    return mainWindow;
}

#include "app/CMFrame.h"

CMFrame::CMFrame(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Tarvo v" TARVO_VERSION));
}

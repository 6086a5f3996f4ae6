// The window program. It takes no command-line arguments of its own.

#include "app/CMFrame.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    CMFrame frame;
    frame.show();
    return application.exec();
}

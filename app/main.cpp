// The window program. It takes no command-line arguments of its own.
//
// Start-up order: "Flag" is loaded before any window exists (the toolbar's image
// set depends on it); the controller is made, then the main window with its banner;
// the controller then loads the other settings, the banner attaches its links, and
// the window is shown; once it is on the screen, the profile values the load did
// not use are told. The settings are saved whenever a command changes them (the
// values in use then replace those refused); at the end the window goes first
// (with every window it owns) and the controller, as it is destroyed, saves what
// is left.

#include "base/SettingsStore.h"
#include "gui/commands/CommandController.h"
#include "gui/commands/DialogPrompter.h"
#include "gui/common/DialogFileChooser.h"
#include "gui/common/QtTexts.h"
#include "gui/common/UiText.h"
#include "gui/common/WindowTexts.h"
#include "gui/mainwindow/BannerView.h"
#include "gui/mainwindow/MainWindow.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(UiText(WindowTexts::kApplicationTitle));
    QApplication::setApplicationVersion(QStringLiteral(TARVO_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/tarvo.svg")));
    // The desktop's own dialogs (file choosers, message box buttons) in Czech.
    InstallCzechQtTexts();

    SettingsStore store;
    ConversionSettings startupSettings;
    const RefusedValues startupRefused = LoadStartupFlag(store, startupSettings);

    DialogPrompter prompter;
    DialogFileChooser chooser;
    CommandController controller(store, startupSettings, prompter, chooser, RealCoreOperations());
    // The main window makes itself the owner of the controller's windows; the
    // messages and file dialogs belong to it too.
    MainWindow frame(controller);
    prompter.SetParentWindow(&frame);
    chooser.SetParentWindow(&frame);
    controller.LoadSettings(startupRefused);
    frame.Banner()->AttachLinks();
    frame.UpdateCommandStates();
    frame.show();
    QTimer::singleShot(0, &controller, &CommandController::TellRefusedSettings);
    return application.exec();
}

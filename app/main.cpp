// The window program. It takes no command-line arguments of its own.
//
// Start-up order: "Flag" is loaded before any window exists (the toolbar's image
// set depends on it); the document is made, then the main window with its view;
// the document then loads the other settings, the view attaches its links, and
// the window is shown. At the end the window goes first and the document, as it
// is destroyed, saves the settings.

#include "app/CMFrame.h"
#include "app/CTDoc.h"
#include "app/CTView.h"
#include "app/DialogPrompter.h"
#include "base/SettingsStore.h"
#include "base/Texts.h"
#include "base/UiText.h"
#include "ui/common/DialogFileChooser.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(UiText(Texts::kApplicationTitle));
    QApplication::setApplicationVersion(QStringLiteral(TARVO_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/tarvo.svg")));
    // The desktop's own dialogs (file choosers) in Czech where the translation is
    // installed, or where the program carries it (Windows).
    QTranslator qtTexts;
    const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    if (qtTexts.load(czech, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        qtTexts.load(czech, QStringLiteral("qtbase"), QStringLiteral("_"), QStringLiteral(":/i18n"))) {
        QApplication::installTranslator(&qtTexts);
    }

    SettingsStore store;
    ConversionSettings startupSettings;
    LoadStartupFlag(store, startupSettings);

    DialogPrompter prompter;
    DialogFileChooser chooser;
    CTDoc document(store, startupSettings, prompter, chooser, RealCoreOperations());
    CMFrame frame(document);
    prompter.SetParentWindow(&frame);
    chooser.SetParentWindow(&frame);
    if (!document.OnNewDocument()) return 1;
    frame.View()->OnInitialUpdate();
    frame.UpdateCommandStates();
    frame.show();
    return application.exec();
}

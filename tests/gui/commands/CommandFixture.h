#pragma once
// The window program's commands as a user meets them: the controller with the real
// cores and the program's own dialogs, a profile of its own in a folder that is
// emptied after each test, files picked by a ScriptedChooser.

#include "base/ConversionSettings.h"
#include "base/SettingsStore.h"
#include "gui/commands/CommandController.h"
#include "gui/commands/DialogPrompter.h"
#include "tests/gui/commands/ScriptedUser.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

class CommandFixture {
protected:
    QTemporaryDir m_dir;
    std::unique_ptr<SettingsStore> m_store;
    DialogPrompter m_prompter;
    ScriptedChooser m_chooser;
    std::unique_ptr<CommandController> m_controller;

    CommandController& MakeController(quint16 flag) {
        m_store = std::make_unique<SettingsStore>(m_dir.filePath(QStringLiteral("profile.ini")));
        m_controller = std::make_unique<CommandController>(*m_store, ConversionSettings(), m_prompter, m_chooser,
                                                           RealCoreOperations());
        m_controller->LoadSettings();
        m_controller->Settings().flag = flag;
        return *m_controller;
    }

    // After each test: no controller, no profile, an empty folder, no answers left.
    void Reset() {
        m_controller.reset();
        m_store.reset();
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        m_chooser = ScriptedChooser();
    }

    // The conversion tests' golden file of the NTS-350 job with that extension.
    static QByteArray Golden(const char* extension) {
        return TestFiles::Read(TestFiles::DataDir("convert") + QStringLiteral("/nts350-job") +
                               QLatin1String(extension));
    }
};

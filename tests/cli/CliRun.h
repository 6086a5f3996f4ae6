#pragma once
// tarvo-cli as a user runs it: a profile of its own (empty until the run writes
// one), nothing on its standard input, what it says read as UTF-8. Set a working
// folder, output files or a child step on process before Start.

#include <QProcess>
#include <QTemporaryDir>

struct CliRun {
    QTemporaryDir home;
    QProcess process;

    void Start(const QStringList& arguments) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.path());
        environment.insert("XDG_CONFIG_HOME", home.path());
        process.setProcessEnvironment(environment);
        process.setStandardInputFile(QProcess::nullDevice());
        process.start(QStringLiteral(TARVO_CLI), arguments);
    }
    // Starts it and waits for its end; false when it did not end in time.
    bool Run(const QStringList& arguments, int timeoutMs = 30000) {
        Start(arguments);
        return process.waitForFinished(timeoutMs);
    }
    QString Output() { return QString::fromUtf8(process.readAllStandardOutput()); }
    QString Errors() { return QString::fromUtf8(process.readAllStandardError()); }
};

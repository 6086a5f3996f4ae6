#pragma once
// Scripted users for tests of the window program: one who picks files from a
// list, one who answers every message box and closes every output window.

#include "base/FileChooser.h"
#include "gui/commands/OutputWindow.h"
#include "tests/gui/NamedWidget.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStringList>
#include <QList>
#include <QTimer>

// Answers the file dialogs in order; an empty answer (or none left) cancels.
class ScriptedChooser : public FileChooser {
public:
    QList<QString> answers;
    QList<FileDialogRequest> requests;
    QString Choose(const FileDialogRequest& request) override {
        requests.append(request);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

// Answers every message box with Yes (or OK) and closes every output window,
// remembering what each showed. Polls for the modal window every 5 ms.
class ModalCloser : public QObject {
public:
    QStringList messages;
    QStringList outputTitles;
    QStringList outputTexts;

    ModalCloser() {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, &ModalCloser::Close);
        m_timer.start();
    }

private:
    void Close() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            messages.append(box->text());
            QAbstractButton* yes = box->button(QMessageBox::Yes);
            (yes ? yes : box->button(QMessageBox::Ok))->click();
        } else if (auto* output = qobject_cast<OutputWindow*>(modal)) {
            outputTitles.append(output->windowTitle());
            outputTexts.append(Widget<QPlainTextEdit>(output, "outputEditor")->toPlainText());
            output->accept();
        }
    }

    QTimer m_timer;
};

#include "gui/common/BackgroundStep.h"

#include "base/Prompter.h"
#include "gui/common/UiText.h"
#include "gui/common/WindowTexts.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <memory>

namespace {

int g_running = 0;

// The prompter as the step sees it: each call is made on the window thread, and
// the step waits for it there.
class WindowThreadPrompter : public Prompter {
public:
    WindowThreadPrompter(Prompter& target, QObject& windowThread) : m_target(target), m_windowThread(windowThread) {}

    Answer Ask(Topic topic, const QByteArray& text, MessageButtons buttons, MessageIcon icon) override {
        Answer answer = Answer::Cancel;
        OnWindowThread([&] { answer = m_target.Ask(topic, text, buttons, icon); });
        return answer;
    }
    void ReportFileError(const FileError& error, const QByteArray& consequence) override {
        OnWindowThread([&] { m_target.ReportFileError(error, consequence); });
    }
    void ShowOutputFile(const QString& path, const QByteArray& titleSuffix) override {
        OnWindowThread([&] { m_target.ShowOutputFile(path, titleSuffix); });
    }
    bool RunParameterSheet(ConversionSettings& settings) override {
        bool confirmed = false;
        OnWindowThread([&] { confirmed = m_target.RunParameterSheet(settings); });
        return confirmed;
    }

private:
    void OnWindowThread(const std::function<void()>& call) {
        if (QThread::currentThread() == m_windowThread.thread())
            call();
        else
            QMetaObject::invokeMethod(&m_windowThread, call, Qt::BlockingQueuedConnection);
    }

    Prompter& m_target;
    QObject& m_windowThread;
};

}  // namespace

namespace BackgroundStep {

bool Running() { return g_running > 0; }

void Run(QWidget* owner, const QString& text, Prompter& prompter, const std::function<void(Prompter&)>& step) {
    ++g_running;
    QObject windowThread;
    WindowThreadPrompter stepPrompter(prompter, windowThread);
    std::unique_ptr<QThread> thread(QThread::create([&] { step(stepPrompter); }));
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);

    // The step's name, once it takes long enough to be worth one; only where there
    // are windows at all.
    QPointer<QProgressDialog> progress;
    QTimer showProgress;
    showProgress.setSingleShot(true);
    if (!text.isEmpty() && qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QObject::connect(&showProgress, &QTimer::timeout, &loop, [&] {
            progress = new QProgressDialog(text, QString(), 0, 0, owner);
            progress->setWindowTitle(UiText(WindowTexts::kApplicationTitle));
            progress->setWindowModality(Qt::WindowModal);
            progress->setCancelButton(nullptr);
            progress->setMinimumDuration(0);
            progress->setAttribute(Qt::WA_DeleteOnClose);
            progress->show();
        });
        showProgress.start(kShownAfterMs);
    }

    thread->start();
    // Events that came before the loop runs are not lost: finished is queued here.
    if (!thread->isFinished()) loop.exec();
    thread->wait();
    showProgress.stop();
    if (progress) progress->close();
    --g_running;
}

}  // namespace BackgroundStep

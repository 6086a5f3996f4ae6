#include "gui/serial/ReceptionWindow.h"

#include "base/Cp1250.h"
#include "base/Prompter.h"
#include "base/Texts.h"
#include "gui/common/DialogUnits.h"
#include "gui/common/UiText.h"
#include "gui/common/WindowTexts.h"
#include "gui/serial/ReceptionAnimation.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <qdrawutil.h>

// The reception's prompter, through the window: each message finds the window
// stopped first.
class ReceptionWindow::Messages : public Prompter {
public:
    Messages(ReceptionWindow& window, Prompter& prompter) : m_window(window), m_prompter(prompter) {}

    Answer Ask(Topic topic, const QByteArray& text, MessageButtons buttons, MessageIcon icon) override {
        m_window.BeforeMessage();
        return m_prompter.Ask(topic, text, buttons, icon);
    }
    void ReportFileError(const FileError& error, const QByteArray& consequence) override {
        m_window.BeforeMessage();
        m_prompter.ReportFileError(error, consequence);
    }

private:
    ReceptionWindow& m_window;
    Prompter& m_prompter;
};

ReceptionWindow::ReceptionWindow(SerialLink& link, Prompter& prompter, const QString& targetPath, QWidget* parent,
                                 Reception::Clock clock)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      m_messages(std::make_unique<Messages>(*this, prompter)),
      m_reception(link, *m_messages, std::move(clock)),
      m_targetPath(targetPath),
      m_status(new QLabel(this)),
      m_animation(new ReceptionAnimation(this)),
      m_cancel(new QPushButton(UiText(WindowTexts::kStorno), this)) {
    setModal(true);
    const DialogUnits units(font());

    m_status->setObjectName(QStringLiteral("statusLabel"));
    m_status->setText(UiText(Texts::kWaitingForData));
    m_animation->setObjectName(QStringLiteral("receptionAnimation"));
    // The picture grows with the text: at 150 % it is half as large again.
    m_animation->setFixedSize(ReceptionAnimation::SizeFor(units.CharHeight()));
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setDefault(true);
    m_cancel->setMinimumWidth(units.X(50));
    connect(m_cancel, &QPushButton::clicked, this, &ReceptionWindow::reject);

    // The text, the picture below it, Storno below both: nothing overlaps.
    auto* button = new QHBoxLayout;
    button->addStretch();
    button->addWidget(m_cancel);
    button->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(units.X(4), units.Y(3), units.X(4), units.Y(4));
    layout->setSpacing(units.Y(2));
    layout->addWidget(m_status);
    layout->addWidget(m_animation, 0, Qt::AlignHCenter);
    layout->addLayout(button);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_status->setMinimumWidth(units.X(179));

    connect(&m_reception, &Reception::StatusChanged, this,
            [this](const QByteArray& text) { m_status->setText(Cp1250::ToUnicode(text)); });
    connect(&m_reception, &Reception::Finished, this, &ReceptionWindow::OnFinished);
}

ReceptionWindow::~ReceptionWindow() { m_animation->Stop(); }

bool ReceptionWindow::Run() {
    // The start reports its own failures: the file error or the settings message.
    if (!m_reception.Start(m_targetPath)) return false;
    m_animation->Play();
    return exec() == QDialog::Accepted;
}

void ReceptionWindow::BeforeMessage() {
    m_animation->Stop();
    // The reader's last report may lag behind what reached the file.
    if (m_reception.StoredBytes() > 0) m_status->setText(Cp1250::ToUnicode(ReceivingStatus(m_reception.StoredBytes())));
}

void ReceptionWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred over the main window, or over the screen without one.
    const QWidget* over = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect area = over ? over->frameGeometry() : (screen() ? screen()->availableGeometry() : QRect());
    if (area.isValid()) move(area.center() - rect().center());
}

void ReceptionWindow::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // A raised panel takes the place of the missing caption's frame.
    QPainter painter(this);
    qDrawWinPanel(&painter, rect(), palette(), false);
}

void ReceptionWindow::reject() {
    // Storno ends a running reception; its end closes the window.
    if (m_reception.IsRunning()) {
        m_reception.Cancel();
        return;
    }
    QDialog::reject();
}

void ReceptionWindow::OnFinished() {
    m_animation->Stop();
    done(m_reception.Left() != ReceivedData::None ? QDialog::Accepted : QDialog::Rejected);
}

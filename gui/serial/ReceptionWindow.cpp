#include "gui/serial/ReceptionWindow.h"

#include "base/Cp1250.h"
#include "base/Texts.h"
#include "gui/common/DialogUnits.h"
#include "gui/common/UiText.h"
#include "gui/common/WindowTexts.h"
#include "gui/serial/ReceptionAnimation.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <qdrawutil.h>

namespace {

// The animation's place in the window, in pixels.
const QRect kAnimationRect(QPoint(5, 25), QPoint(275, 85));

}  // namespace

ReceptionWindow::ReceptionWindow(SerialLink& link, Prompter& prompter, const QString& targetPath, QWidget* parent,
                                 Reception::Clock clock)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      m_reception(link, prompter, std::move(clock)),
      m_targetPath(targetPath),
      m_status(new QLabel(this)),
      m_animation(new ReceptionAnimation(this)),
      m_cancel(new QPushButton(UiText(WindowTexts::kStorno), this)) {
    setModal(true);
    const QSize size = DialogUnits(font()).Size(187, 75).expandedTo(QSize(kAnimationRect.right() + 6, 0));
    setFixedSize(size);

    m_status->setObjectName(QStringLiteral("statusLabel"));
    m_status->setGeometry(8, 6, size.width() - 16, 18);
    m_status->setText(UiText(Texts::kWaitingForData));
    m_animation->setObjectName(QStringLiteral("receptionAnimation"));
    m_animation->setGeometry(kAnimationRect.adjusted(0, 0, 1, 1));
    const QSize button = m_cancel->sizeHint().expandedTo(QSize(80, 0));
    m_cancel->setGeometry((size.width() - button.width()) / 2, size.height() - button.height() - 6, button.width(),
                          button.height());
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setDefault(true);
    connect(m_cancel, &QPushButton::clicked, this, &ReceptionWindow::reject);

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

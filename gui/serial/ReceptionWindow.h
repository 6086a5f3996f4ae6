#pragma once
// The small window of a reception: no caption, the status text ("Čekám na data
// ..." and then the running byte count), the looping animation and "Storno". It
// starts the reception when it runs and closes by itself when the reception ends.
// Run() is true when the target file holds what was received: the transfer ended
// by itself, or the line was lost after some data had come (the user was told).
// It is false after Storno, Esc, or a start that failed; an existing target file
// is then left as it was. A message of the reception (the line lost, errors seen)
// finds the window stopped and showing the count of bytes in the file.
//
// Laid out in the units of its font, so that at any text size (150 % and more)
// the animation, the text and Storno keep apart.

#include "serial/Reception.h"

#include <QDialog>
#include <QString>

#include <memory>

class Prompter;
class QLabel;
class QPushButton;
class ReceptionAnimation;
class SerialLink;

class ReceptionWindow : public QDialog {
    Q_OBJECT
public:
    ReceptionWindow(SerialLink& link, Prompter& prompter, const QString& targetPath, QWidget* parent = nullptr,
                    Reception::Clock clock = {});
    ~ReceptionWindow() override;

    // Starts the reception and shows the window modally until it ends.
    bool Run();

    Reception& GetReception() { return m_reception; }
    QLabel* StatusLabel() const { return m_status; }
    ReceptionAnimation* Animation() const { return m_animation; }

    // Esc: the same as Storno.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    class Messages;
    // Before the reception tells the user anything: the animation stops and the
    // count is that of the file.
    void BeforeMessage();
    void OnFinished();

    std::unique_ptr<Messages> m_messages;
    Reception m_reception;
    QString m_targetPath;
    QLabel* m_status;
    ReceptionAnimation* m_animation;
    QPushButton* m_cancel;
};

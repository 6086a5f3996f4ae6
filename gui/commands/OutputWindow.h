#pragma once
// The modal window that shows a file a conversion has just written: the bytes up
// to the first zero byte, read as Windows-1250, in a fixed-width font. Edits are
// possible and are thrown away; Enter, Esc or the close box end the window.

#include <QByteArray>
#include <QDialog>

class QPlainTextEdit;

class OutputWindow : public QDialog {
    Q_OBJECT
public:
    // titleSuffix is the file title with its extension («job.zap»), Windows-1250.
    OutputWindow(const QByteArray& text, const QByteArray& titleSuffix, QWidget* parent = nullptr);

    // What the editor shows of a file's bytes.
    static QString DisplayText(const QByteArray& bytes);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* m_editor;
};

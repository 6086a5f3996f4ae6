#include "gui/commands/OutputWindow.h"

#include "base/Cp1250.h"
#include "base/Texts.h"
#include "gui/common/DialogUnits.h"
#include "gui/common/WindowTexts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

constexpr int kWidthUnits = 374;
constexpr int kHeightUnits = 193;

// "Courier" 9 pt where the desktop has a fixed-width face of that name, else its
// own fixed-width font at 9 pt.
QFont OutputFont() {
    QFont font(QStringLiteral("Courier"), 9);
    font.setStyleHint(QFont::TypeWriter);
    if (QFontInfo(font).fixedPitch()) return font;
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(9);
    return fixed;
}

}  // namespace

QString OutputWindow::DisplayText(const QByteArray& bytes) {
    const qsizetype zero = bytes.indexOf('\0');
    QString text = Cp1250::ToUnicode(zero >= 0 ? bytes.left(zero) : bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

OutputWindow::OutputWindow(const QByteArray& text, const QByteArray& titleSuffix, QWidget* parent)
    : QDialog(parent), m_editor(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("outputWindow"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    setWindowTitle(Cp1250::ToUnicode(Text(WindowTexts::kOutputCaption) + titleSuffix));

    m_editor->setObjectName(QStringLiteral("outputEditor"));
    m_editor->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_editor->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_editor->setTabChangesFocus(false);
    m_editor->setFont(OutputFont());
    m_editor->setPlainText(DisplayText(text));
    m_editor->installEventFilter(this);

    // The editor fills the whole window, also after the user resizes it.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_editor);

    resize(DialogUnits(font()).Size(kWidthUnits, kHeightUnits));
}

bool OutputWindow::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the editor presses the window's invisible default button.
    if (watched == m_editor && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

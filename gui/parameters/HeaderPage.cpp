#include "gui/parameters/HeaderPage.h"

#include "base/Cp1250.h"
#include "gui/common/DialogUnits.h"
#include "gui/common/UiText.h"
#include "gui/common/WindowTexts.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

HeaderPage::HeaderPage(const ConversionSettings& settings, QWidget* parent)
    : SheetPage(parent),
      m_text(settings.head),
      m_flag(settings.flag),
      m_textEdit(new QPlainTextEdit(this)),
      m_useHeaderCheck(new QCheckBox(UiText(WindowTexts::kUseHeaderCheck), this)) {
    setObjectName(QStringLiteral("headerPage"));
    const DialogUnits units(font());
    setMinimumSize(units.Size(311, 111));

    m_textEdit->setObjectName(QStringLiteral("headerEdit"));
    m_textEdit->setMinimumSize(units.Size(297, 89));
    m_textEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_textEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_textEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_textEdit->setTabChangesFocus(true);

    m_useHeaderCheck->setObjectName(QStringLiteral("useHeaderCheck"));

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(units.X(7), units.Y(7), units.X(7), units.Y(4));
    page->addWidget(m_textEdit, 1);
    page->addWidget(m_useHeaderCheck);
}

void HeaderPage::OnOpen() {
    QString text = Cp1250::ToUnicode(m_text);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_textEdit->setPlainText(text);
    m_useHeaderCheck->setChecked((m_flag & FLAG_USE_HEADER) != 0);
}

void HeaderPage::OnLeave() {
    m_flag = static_cast<quint16>(m_flag & ~FLAG_USE_HEADER);
    if (m_useHeaderCheck->isChecked()) m_flag |= FLAG_USE_HEADER;
    QString text = m_textEdit->toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    m_text = Cp1250::FromUnicode(text);
}

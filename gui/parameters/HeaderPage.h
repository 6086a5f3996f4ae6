#pragma once
// The page "Hlavička souboru": the user's header text for the output files (lines
// separated by CR LF, Windows-1250) and the option "Použít hlavičku souboru"
// (FLAG_USE_HEADER). Any text is accepted, an empty one too.

#include "base/ConversionSettings.h"
#include "gui/parameters/SheetPage.h"

#include <QByteArray>

class QCheckBox;
class QPlainTextEdit;

class HeaderPage : public SheetPage {
    Q_OBJECT
public:
    explicit HeaderPage(const ConversionSettings& settings, QWidget* parent = nullptr);

    const QByteArray& HeaderText() const { return m_text; }
    quint16 Flag() const { return m_flag; }

protected:
    void OnOpen() override;
    void OnLeave() override;

private:
    QByteArray m_text;
    quint16 m_flag;
    QPlainTextEdit* m_textEdit;
    QCheckBox* m_useHeaderCheck;
};

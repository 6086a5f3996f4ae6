#include "gui/parameters/ParameterSheet.h"

#include "gui/common/UiText.h"
#include "gui/common/WindowTexts.h"
#include "gui/parameters/CheckPage.h"
#include "gui/parameters/ConversionPage.h"
#include "gui/parameters/HeaderPage.h"
#include "gui/parameters/ReductionPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

ParameterSheet::ParameterSheet(ConversionSettings& settings, QWidget* parent)
    : QDialog(parent),
      m_settings(settings),
      m_reductionPage(new ReductionPage(settings)),
      m_headerPage(new HeaderPage(settings)),
      m_conversionPage(new ConversionPage(settings)),
      m_checkPage(new CheckPage(settings)),
      m_tabs(new QTabWidget(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this)) {
    setObjectName(QStringLiteral("parameterSheet"));
    setWindowTitle(UiText(WindowTexts::kSheetCaption));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    m_tabs->setObjectName(QStringLiteral("sheetTabs"));
    m_tabs->addTab(m_reductionPage, UiText(WindowTexts::kReductionTab));
    m_tabs->addTab(m_headerPage, UiText(WindowTexts::kHeaderTab));
    m_tabs->addTab(m_conversionPage, UiText(WindowTexts::kConversionTab));
    m_tabs->addTab(m_checkPage, UiText(WindowTexts::kCheckTab));
    m_tabs->setCurrentIndex(0);

    m_buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    m_buttons->button(QDialogButtonBox::Ok)->setText(UiText(WindowTexts::kSheetOk));
    m_buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(UiText(WindowTexts::kStorno));
    // "Použít" puts what the pages show into use without closing the sheet; it is
    // offered once the user has changed something since.
    QPushButton* apply = m_buttons->button(QDialogButtonBox::Apply);
    apply->setObjectName(QStringLiteral("applyButton"));
    apply->setText(UiText(WindowTexts::kSheetApply));
    apply->setEnabled(false);
    connect(apply, &QPushButton::clicked, this, &ParameterSheet::Apply);
    const auto changed = [apply] { apply->setEnabled(true); };
    for (QLineEdit* edit : findChildren<QLineEdit*>()) connect(edit, &QLineEdit::textEdited, this, changed);
    for (QPlainTextEdit* edit : findChildren<QPlainTextEdit*>())
        connect(edit, &QPlainTextEdit::textChanged, this, [edit, changed] {
            if (edit->hasFocus()) changed();
        });
    for (QCheckBox* box : findChildren<QCheckBox*>()) connect(box, &QCheckBox::clicked, this, changed);
    for (QComboBox* list : findChildren<QComboBox*>()) connect(list, &QComboBox::activated, this, changed);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &ParameterSheet::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &ParameterSheet::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_tabs, &QTabWidget::currentChanged, this, &ParameterSheet::OnTabChanged);
}

SheetPage* ParameterSheet::PageAt(int index) const {
    switch (index) {
        case 0:
            return m_reductionPage;
        case 1:
            return m_headerPage;
        case 2:
            return m_conversionPage;
        case 3:
            return m_checkPage;
        default:
            return nullptr;
    }
}

void ParameterSheet::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shownIndex < 0) OnTabChanged(m_tabs->currentIndex());
}

void ParameterSheet::OnTabChanged(int index) {
    if (SheetPage* left = PageAt(m_shownIndex); left && m_shownIndex != index) left->Leave();
    m_shownIndex = index;
    if (SheetPage* shown = PageAt(index)) shown->Open();
}

void ParameterSheet::Apply() {
    if (!ReductionAccepted()) return;
    // The shown page is left and entered again, as a change of tab would.
    if (SheetPage* shown = PageAt(m_shownIndex)) shown->Leave();
    ApplySheetResult(*this, m_settings);
    m_buttons->button(QDialogButtonBox::Apply)->setEnabled(false);
}

bool ParameterSheet::ReductionAccepted() {
    if (Reduction().InputAccepted()) return true;
    m_tabs->setCurrentWidget(&Reduction());
    return false;
}

void ParameterSheet::accept() {
    if (!ReductionAccepted()) return;
    if (SheetPage* shown = PageAt(m_shownIndex)) shown->Leave();
    QDialog::accept();
}

void ApplySheetResult(const ParameterSheet& sheet, ConversionSettings& settings) {
    settings.jobAverageXMetres = sheet.Reduction().X();
    settings.jobAverageYMetres = sheet.Reduction().Y();
    settings.jobAverageHeightMetres = sheet.Reduction().H();
    settings.head = sheet.Header().HeaderText();
    settings.orMarker = sheet.Conversion().Marker();
    settings.checkTolerances = sheet.Check().Tolerances();
    settings.flag = static_cast<quint16>((sheet.Header().Flag() & FLAG_USE_HEADER) |
                                         (sheet.Conversion().Flag() & FLAG_MEANINGFUL_BITS & ~FLAG_USE_HEADER));
}

#include "gui/parameters/ReductionPage.h"

#include "base/Cp1250.h"
#include "base/Numbers.h"
#include "base/SettingRanges.h"
#include "base/Texts.h"
#include "convert/Reduction.h"
#include "gui/common/DialogUnits.h"
#include "gui/common/UiText.h"
#include "gui/common/WindowTexts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

#include <cmath>

namespace {

constexpr qsizetype kReadLength = 14;

// A reduction as the boxes show it, with the Czech decimal comma («-52,9 mm/km»);
// a height at or below about -3 188 698 m has no finite reduction, and the box
// then says so instead of «inf» or «nan».
QString FormatReduction(const char* format, double value) {
    if (!std::isfinite(value)) return QStringLiteral("---");
    return QString::fromLatin1(Numbers::Format(format, value)).replace(QLatin1Char('.'), QLatin1Char(','));
}

QLineEdit* AddEdit(QWidget* parent, const DialogUnits& units, const char* name, int width) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setFixedWidth(units.X(width));
    return edit;
}

QLineEdit* AddResultBox(QWidget* parent, const DialogUnits& units, const char* name) {
    QLineEdit* edit = AddEdit(parent, units, name, 54);
    edit->setAlignment(Qt::AlignCenter);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

QLabel* Label(const UserText& text) { return new QLabel(UiText(text)); }

}  // namespace

ReductionPage::ReductionPage(const ConversionSettings& settings, QWidget* parent)
    : SheetPage(parent),
      m_x(settings.jobAverageXMetres),
      m_y(settings.jobAverageYMetres),
      m_h(settings.jobAverageHeightMetres) {
    setObjectName(QStringLiteral("reductionPage"));
    const DialogUnits units(font());
    setMinimumSize(units.Size(311, 111));

    // Laid out by the layouts, so that no text is cut whatever the desktop's font;
    // the page keeps at least its size in dialog units.
    auto* inputs = new QGroupBox(UiText(WindowTexts::kAveragesGroup), this);
    auto* inputsGrid = new QGridLayout(inputs);
    m_xEdit = AddEdit(inputs, units, "xEdit", 52);
    m_yEdit = AddEdit(inputs, units, "yEdit", 52);
    m_hEdit = AddEdit(inputs, units, "hEdit", 52);
    inputsGrid->addWidget(Label(WindowTexts::kAverageXLabel), 0, 0);
    inputsGrid->addWidget(m_xEdit, 0, 1);
    inputsGrid->addWidget(Label(WindowTexts::kAverageYLabel), 1, 0);
    inputsGrid->addWidget(m_yEdit, 1, 1);
    inputsGrid->addWidget(Label(WindowTexts::kAverageHeightLabel), 2, 0);
    inputsGrid->addWidget(m_hEdit, 2, 1);

    auto* results = new QGroupBox(UiText(WindowTexts::kCorrectionsGroup), this);
    auto* resultsGrid = new QGridLayout(results);
    m_projectionEdit = AddResultBox(results, units, "projectionEdit");
    m_heightEdit = AddResultBox(results, units, "heightEdit");
    m_totalEdit = AddResultBox(results, units, "totalEdit");
    resultsGrid->addWidget(Label(WindowTexts::kProjectionReductionLabel), 0, 0);
    resultsGrid->addWidget(m_projectionEdit, 0, 1);
    resultsGrid->addWidget(Label(WindowTexts::kHeightReductionLabel), 1, 0);
    resultsGrid->addWidget(m_heightEdit, 1, 1);
    resultsGrid->addWidget(Label(WindowTexts::kTotalReductionLabel), 2, 0);
    resultsGrid->addWidget(m_totalEdit, 2, 1);

    // The factor box can be typed into, but what is typed is never read: the next
    // change of an input overwrites it.
    m_factorEdit = AddEdit(this, units, "factorEdit", 54);
    m_factorEdit->setAlignment(Qt::AlignCenter);
    m_factorEdit->setFocusPolicy(Qt::ClickFocus);
    QPalette blue = m_factorEdit->palette();
    blue.setColor(QPalette::Text, QColor(0, 0, 255));
    m_factorEdit->setPalette(blue);
    auto* factorRow = new QHBoxLayout;
    factorRow->setContentsMargins(resultsGrid->contentsMargins().left() + 2, 0,
                                  resultsGrid->contentsMargins().right() + 2, 0);
    factorRow->addWidget(Label(WindowTexts::kScaleFactorLabel));
    factorRow->addStretch();
    factorRow->addWidget(m_factorEdit);

    auto* page = new QGridLayout(this);
    page->setContentsMargins(units.X(7), units.Y(7), units.X(7), units.Y(7));
    page->addWidget(inputs, 0, 0, Qt::AlignTop);
    page->addWidget(results, 0, 1, Qt::AlignTop);
    page->addLayout(factorRow, 1, 1);
    page->setRowStretch(2, 1);

    connect(m_xEdit, &QLineEdit::textChanged, this, &ReductionPage::OnPositionChanged);
    connect(m_yEdit, &QLineEdit::textChanged, this, &ReductionPage::OnPositionChanged);
    connect(m_hEdit, &QLineEdit::textChanged, this, &ReductionPage::OnHeightChanged);
}

namespace {

bool IsGroupingSpace(QChar c) {
    return c == QLatin1Char(' ') || c == QChar(0x00A0) || c == QChar(0x2009) || c == QChar(0x202F);
}

// «745 000,5» as a Czech user groups the digits: the spaces between two digits go.
QString WithoutDigitGrouping(const QString& text) {
    QString digits;
    digits.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool grouping =
            IsGroupingSpace(text[i]) && i > 0 && text[i - 1].isDigit() && i + 1 < text.size() && text[i + 1].isDigit();
        if (!grouping) digits += text[i];
    }
    return digits;
}

}  // namespace

bool ReductionPage::ReadInput(const QString& text, double& value) {
    const QString number = WithoutDigitGrouping(text).left(kReadLength);
    const std::optional<double> read = Numbers::ParseDecimal(Cp1250::FromUnicode(number));
    if (read) value = *read;
    return read.has_value();
}

void ReductionPage::OnOpen() {
    // Each write is a change of its box, so the results fill in at once, and the
    // page's copies become whole metres.
    m_xEdit->setText(QString::fromLatin1(Numbers::Format("%.0f", m_x)));
    m_yEdit->setText(QString::fromLatin1(Numbers::Format("%.0f", m_y)));
    m_hEdit->setText(QString::fromLatin1(Numbers::Format("%.0f", m_h)));
}

void ReductionPage::OnPositionChanged() {
    // Y is read only when X reads.
    const bool read = ReadInput(m_xEdit->text(), m_x) && ReadInput(m_yEdit->text(), m_y);
    m_projectionReduction = read ? ProjectionReduction(m_x, m_y) : 0.0;
    m_projectionEdit->setText(FormatReduction("%.1f mm/km", m_projectionReduction));
    UpdateTotal();
}

void ReductionPage::OnHeightChanged() {
    m_heightReduction = ReadInput(m_hEdit->text(), m_h) ? HeightReduction(m_h) : 0.0;
    m_heightEdit->setText(FormatReduction("%.1f mm/km", m_heightReduction));
    UpdateTotal();
}

void ReductionPage::UpdateTotal() {
    const double total = m_projectionReduction + m_heightReduction;
    m_totalEdit->setText(FormatReduction("%.1f mm/km", total));
    m_factorEdit->setText(FormatReduction("%.7f", ScaleFactor(total)));
}

bool ReductionPage::InputAccepted() {
    struct Input {
        QLineEdit* edit;
        const char* setting;
        const UserText& label;
    };
    const Input inputs[] = {{m_xEdit, "JX", WindowTexts::kAverageXLabel},
                            {m_yEdit, "JY", WindowTexts::kAverageYLabel},
                            {m_hEdit, "JH", WindowTexts::kAverageHeightLabel}};
    for (const Input& input : inputs) {
        double value = 0.0;
        const QString typed = input.edit->text();
        const QByteArray label = Text(input.label).chopped(1);  // without its colon
        QByteArray refusal;
        if (!ReadInput(typed, value)) {
            refusal = TextFilled(WindowTexts::kSheetNotNumber, {Cp1250::FromUnicode(typed), label});
        } else if (const SettingRange* range = RangeOf(QLatin1String(input.setting));
                   range && !InRange(*range, value)) {
            refusal = TextFilled(WindowTexts::kSheetOutOfRange, {Cp1250::FromUnicode(typed), label, RangeText(*range)});
        }
        if (refusal.isEmpty()) continue;
        QMessageBox::warning(this, UiText(WindowTexts::kApplicationTitle), Cp1250::ToUnicode(refusal));
        input.edit->setFocus();
        input.edit->selectAll();
        return false;
    }
    return true;
}

#include "gui/parameters/CheckPage.h"

#include "base/Cp1250.h"
#include "base/Numbers.h"
#include "gui/common/DialogUnits.h"
#include "gui/common/UiText.h"
#include "gui/common/WindowTexts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CheckPage::CheckPage(const ConversionSettings& settings, QWidget* parent)
    : SheetPage(parent), m_tolerances(settings.checkTolerances) {
    setObjectName(QStringLiteral("checkPage"));
    const DialogUnits units(font());
    setMinimumSize(units.Size(311, 111));

    auto* limits = new QGroupBox(UiText(WindowTexts::kCheckLimitsGroup));
    auto* grid = new QGridLayout(limits);
    grid->setVerticalSpacing(units.Y(2));
    grid->addWidget(new QLabel(UiText(WindowTexts::kCheckSuspiciousColumn)), 0, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(UiText(WindowTexts::kCheckWrongColumn)), 0, 2, Qt::AlignCenter);
    // A row per comparison, the suspicious level then the wrong one; the range
    // alone on the last row.
    const UserText* rows[] = {&WindowTexts::kCheckPositionLabel, &WindowTexts::kCheckHeightLabel,
                              &WindowTexts::kCheckLineLabel,     &WindowTexts::kCheckLineHeightLabel,
                              &WindowTexts::kCheckFacesLabel,    &WindowTexts::kCheckRangeLabel};
    for (std::size_t i = 0; i < m_edits.size(); ++i) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QLatin1String(kToleranceNames[i]) + QLatin1String("Edit"));
        edit->setFixedWidth(units.X(40));
        edit->setAlignment(Qt::AlignRight);
        m_edits[i] = edit;
        const int row = static_cast<int>(i / 2) + 1;
        if (i % 2 == 0) grid->addWidget(new QLabel(UiText(*rows[i / 2])), row, 0);
        grid->addWidget(edit, row, static_cast<int>(i % 2) + 1);
    }

    auto* defaults = new QPushButton(UiText(WindowTexts::kCheckDefaultsButton));
    defaults->setObjectName(QStringLiteral("defaultLimitsButton"));
    connect(defaults, &QPushButton::clicked, this, [this] { Fill(CheckTolerances{}); });
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(defaults);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(units.X(7), units.Y(7), units.X(7), units.Y(4));
    page->addWidget(limits);
    page->addLayout(buttonRow);
    page->addStretch();
}

void CheckPage::Fill(const CheckTolerances& tolerances) {
    CheckTolerances shown = tolerances;
    for (std::size_t i = 0; i < m_edits.size(); ++i)
        m_edits[i]->setText(QString::fromLatin1(Numbers::Format("%.9g", *ToleranceNamed(shown, kToleranceNames[i]))));
}

void CheckPage::OnOpen() { Fill(m_tolerances); }

void CheckPage::OnLeave() {
    for (std::size_t i = 0; i < m_edits.size(); ++i) {
        const std::optional<double> read = Numbers::ParseDecimal(Cp1250::FromUnicode(m_edits[i]->text().trimmed()));
        if (read && ToleranceUsable(*read)) *ToleranceNamed(m_tolerances, kToleranceNames[i]) = *read;
    }
}

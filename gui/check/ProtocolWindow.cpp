#include "gui/check/ProtocolWindow.h"

#include "base/Cp1250.h"
#include "base/Numbers.h"
#include "check/CheckProtocol.h"
#include "gui/common/DialogUnits.h"
#include "gui/common/UiText.h"
#include "gui/common/WindowTexts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

// The colours of the levels, as the main window's receipt line shows them.
const QColor kWrongBackground(255, 205, 205);
const QColor kSuspiciousBackground(255, 228, 160);

QTreeWidget* AddList(const UserText& columns, const char* name) {
    auto* list = new QTreeWidget;
    list->setObjectName(QLatin1String(name));
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setHeaderLabels(UiText(columns).split(QLatin1Char('|')));
    list->header()->setStretchLastSection(false);
    return list;
}

QWidget* Titled(const UserText& title, QWidget* content) {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(UiText(title)));
    layout->addWidget(content, 1);
    return box;
}

QString Number(double value, int decimals) {
    return std::isfinite(value) ? QString::fromLatin1(Numbers::FormatFixed(value, decimals)) : QString();
}

const UserText& KindOf(const SurveyRecord& record) {
    if (record.Is(Station)) return WindowTexts::kObservationStation;
    if (record.Is(Backsight)) return WindowTexts::kObservationBacksight;
    if (record.Is(Measurement)) return WindowTexts::kObservationSighting;
    if (record.Is(Angles)) return WindowTexts::kObservationAngles;
    return WindowTexts::kObservationOther;
}

}  // namespace

ProtocolWindow::ProtocolWindow(std::shared_ptr<const JobCheck> check, const QString& notes, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_check(std::move(check)),
      m_findings(AddList(WindowTexts::kFindingColumns, "findingList")),
      m_observations(AddList(WindowTexts::kObservationColumns, "observationList")) {
    setObjectName(QStringLiteral("protocolWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(UiText(WindowTexts::kProtocolCaption) + QStringLiteral(" – ") + m_check->fileName);
    const QString protocol = Cp1250::ToUnicode(m_check->protocol);

    // The protocol's first line is its summary.
    auto* summary = new QLabel(protocol.section(QStringLiteral("\r\n"), 0, 0));
    summary->setObjectName(QStringLiteral("summaryLabel"));
    QFont bold = summary->font();
    bold.setBold(true);
    summary->setFont(bold);
    auto* notesLabel = new QLabel(notes);
    notesLabel->setObjectName(QStringLiteral("notesLabel"));
    notesLabel->setWordWrap(true);
    notesLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    notesLabel->setVisible(!notes.isEmpty());

    const std::vector<Finding>& findings = m_check->report.findings;
    for (const Finding& finding : findings) {
        const FindingFields fields = FieldsOf(finding, ", ");
        const QString unit = QString::fromLatin1(fields.unit);
        const auto withUnit = [&unit](const QByteArray& number) {
            return number.isEmpty() ? QString() : QString::fromLatin1(number) + QLatin1Char(' ') + unit;
        };
        auto* item = new QTreeWidgetItem(m_findings,
                                         QStringList{Cp1250::ToUnicode(fields.level), Cp1250::ToUnicode(fields.station),
                                                     Cp1250::ToUnicode(fields.points), Cp1250::ToUnicode(fields.check),
                                                     withUnit(fields.value), withUnit(fields.limit)});
        const QColor background = finding.level == FindingLevel::Wrong ? kWrongBackground : kSuspiciousBackground;
        for (int column = 0; column < item->columnCount(); ++column) item->setBackground(column, background);
        item->setTextAlignment(4, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(5, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int column = 0; column < m_findings->columnCount(); ++column) m_findings->resizeColumnToContents(column);
    connect(m_findings, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { ShowObservations(m_findings->indexOfTopLevelItem(item)); });

    auto* text = new QPlainTextEdit(protocol);
    text->setObjectName(QStringLiteral("protocolText"));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto* parts = new QSplitter(Qt::Vertical);
    parts->setChildrenCollapsible(false);
    if (!findings.empty()) {
        parts->addWidget(Titled(WindowTexts::kProtocolFindings, m_findings));
        parts->addWidget(Titled(WindowTexts::kProtocolObservations, m_observations));
    }
    parts->addWidget(Titled(WindowTexts::kProtocolText, text));

    auto* close = new QPushButton(UiText(WindowTexts::kProtocolClose));
    close->setObjectName(QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(notesLabel);
    layout->addWidget(parts, 1);
    layout->addLayout(buttons);
    const DialogUnits units(font());
    resize(units.Size(470, 330));

    if (!findings.empty()) m_findings->setCurrentItem(m_findings->topLevelItem(0));
}

void ProtocolWindow::ShowObservations(int finding) {
    m_observations->clear();
    const std::vector<Finding>& findings = m_check->report.findings;
    if (finding < 0 || static_cast<std::size_t>(finding) >= findings.size()) return;
    const SurveyRecordList& records = m_check->records;
    for (const qsizetype index : findings[static_cast<std::size_t>(finding)].records) {
        if (index < 0 || static_cast<std::size_t>(index) >= records.size()) continue;
        const SurveyRecord& record = records[static_cast<std::size_t>(index)];
        const bool sighting = record.Is(Measurement) || record.Is(Angles);
        new QTreeWidgetItem(m_observations,
                            QStringList{QString::number(index + 1), Cp1250::ToUnicode(record.name.ToByteArray()),
                                        UiText(KindOf(record)), sighting ? Number(record.direction, 4) : QString(),
                                        sighting ? Number(record.zenithAngle, 4) : QString(),
                                        record.Is(Measurement) ? Number(record.slopeDistance, 3) : QString(),
                                        Number(record.height, 3), Cp1250::ToUnicode(record.codeText.ToByteArray())});
    }
    for (int column = 0; column < m_observations->columnCount(); ++column)
        m_observations->resizeColumnToContents(column);
}

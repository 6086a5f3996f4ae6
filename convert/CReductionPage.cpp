#include "convert/CReductionPage.h"

#include "app/Cp1250.h"
#include "app/DialogUnits.h"
#include "app/Numbers.h"
#include "convert/Reduction.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <cmath>

namespace {

constexpr qsizetype kReadLength = 14;

// A reduction as the boxes show it; a height at or below about -3 188 698 m has no
// finite reduction, and the box then says so instead of «inf» or «nan».
QString FormatReduction(const char* format, double value) {
    if (!std::isfinite(value)) return QStringLiteral("---");
    return QString::fromLatin1(Numbers::Format(format, value));
}

QLineEdit* AddEdit(QWidget* parent, const DialogUnits& units, const char* name, int x, int y, int width) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(units.Rect(x, y, width, 12));
    return edit;
}

void AddLabel(QWidget* parent, const DialogUnits& units, const char* text, int x, int y, int width) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setGeometry(units.Rect(x, y, width, 10));
}

QLineEdit* AddResultBox(QWidget* parent, const DialogUnits& units, const char* name, int x, int y, int width) {
    QLineEdit* edit = AddEdit(parent, units, name, x, y, width);
    edit->setAlignment(Qt::AlignCenter);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

}  // namespace

CReductionPage::CReductionPage(const ConversionSettings& settings, QWidget* parent)
    : SheetPage(parent), m_x(settings.jx), m_y(settings.jy), m_h(settings.jh) {
    setObjectName(QStringLiteral("reductionPage"));
    const DialogUnits units(font());
    setMinimumSize(units.Size(311, 111));

    auto* inputs = new QGroupBox(QStringLiteral("Průměrné hodnoty"), this);
    inputs->setGeometry(units.Rect(7, 7, 132, 64));
    AddLabel(this, units, "Souřadnice X [m]:", 14, 22, 66);
    AddLabel(this, units, "Souřadnice Y [m]:", 14, 38, 66);
    AddLabel(this, units, "Nadm. výška [m]:", 14, 54, 66);
    m_xEdit = AddEdit(this, units, "xEdit", 82, 20, 50);
    m_yEdit = AddEdit(this, units, "yEdit", 82, 36, 50);
    m_hEdit = AddEdit(this, units, "hEdit", 82, 52, 50);

    auto* results = new QGroupBox(QStringLiteral("Korekce délek"), this);
    results->setGeometry(units.Rect(146, 7, 158, 64));
    AddLabel(this, units, "Redukce zobrazení S-JTSK:", 153, 22, 92);
    AddLabel(this, units, "Redukce na nulový horizont:", 153, 38, 92);
    AddLabel(this, units, "Celková redukce délek:", 153, 54, 92);
    m_projectionEdit = AddResultBox(this, units, "projectionEdit", 246, 20, 52);
    m_heightEdit = AddResultBox(this, units, "heightEdit", 246, 36, 52);
    m_totalEdit = AddResultBox(this, units, "totalEdit", 246, 52, 52);

    // The factor box can be typed into, but what is typed is never read: the next
    // change of an input overwrites it.
    AddLabel(this, units, "Měřítkový faktor:", 153, 82, 92);
    m_factorEdit = AddEdit(this, units, "factorEdit", 246, 80, 52);
    m_factorEdit->setAlignment(Qt::AlignCenter);
    m_factorEdit->setFocusPolicy(Qt::ClickFocus);
    QPalette blue = m_factorEdit->palette();
    blue.setColor(QPalette::Text, QColor(0, 0, 255));
    m_factorEdit->setPalette(blue);

    connect(m_xEdit, &QLineEdit::textChanged, this, &CReductionPage::OnPositionChanged);
    connect(m_yEdit, &QLineEdit::textChanged, this, &CReductionPage::OnPositionChanged);
    connect(m_hEdit, &QLineEdit::textChanged, this, &CReductionPage::OnHeightChanged);
}

bool CReductionPage::ReadInput(const QString& text, double& value) {
    QByteArray bytes = Cp1250::FromUnicode(text.left(kReadLength));
    if (bytes.isEmpty()) return false;
    const qsizetype comma = bytes.indexOf(',');
    if (comma >= 0) bytes[comma] = '.';
    const Numbers::ParsedDouble parsed =
        Numbers::ParseDouble(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (parsed.length == 0 || parsed.length != static_cast<std::size_t>(bytes.size())) return false;
    value = parsed.value;
    return true;
}

void CReductionPage::OnOpen() {
    // Each write is a change of its box, so the results fill in at once, and the
    // page's copies become whole metres.
    m_xEdit->setText(QString::fromLatin1(Numbers::Format("%.0f", m_x)));
    m_yEdit->setText(QString::fromLatin1(Numbers::Format("%.0f", m_y)));
    m_hEdit->setText(QString::fromLatin1(Numbers::Format("%.0f", m_h)));
}

void CReductionPage::OnPositionChanged() {
    // Y is read only when X reads.
    const bool read = ReadInput(m_xEdit->text(), m_x) && ReadInput(m_yEdit->text(), m_y);
    m_projectionReduction = read ? ProjectionReduction(m_x, m_y) : 0.0;
    m_projectionEdit->setText(FormatReduction("%.1f mm/km", m_projectionReduction));
    UpdateTotal();
}

void CReductionPage::OnHeightChanged() {
    m_heightReduction = ReadInput(m_hEdit->text(), m_h) ? HeightReduction(m_h) : 0.0;
    m_heightEdit->setText(FormatReduction("%.1f mm/km", m_heightReduction));
    UpdateTotal();
}

void CReductionPage::UpdateTotal() {
    const double total = m_projectionReduction + m_heightReduction;
    m_totalEdit->setText(FormatReduction("%.1f mm/km", total));
    m_factorEdit->setText(FormatReduction("%.7f", ScaleFactor(total)));
}

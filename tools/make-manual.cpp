// make-manual: typesets the user manual from its HTML source into an A4 PDF with
// a table of contents, page numbers and a running footer. Qt Gui only, so the
// build needs no typesetting toolchain; run it with QT_QPA_PLATFORM=offscreen.
//
//   make-manual SOURCE.html OUTPUT.pdf [--version TEXT] [--image NAME=FILE]...
//
// "@VERSION@" in the source becomes the version text; a paragraph holding only
// "@OBSAH@" becomes the table of contents (every <h1> and <h2> with its page).
// Each <h1> starts a new page; a heading that would stand alone at the foot of a
// page moves to the next one with its text. Preformatted lines are set as
// written: break a long command in the source. Exit status 0 on success, 1 on
// any failure.

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QStringList>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextDocument>
#include <QTextFrame>
#include <QUrl>

#include <QAbstractTextDocumentLayout>

#include <algorithm>
#include <cstdio>
#include <set>
#include <vector>

namespace {

constexpr int kResolutionDpi = 300;
constexpr double kMarginMm = 20.0;
constexpr double kBottomMarginMm = 25.0;
constexpr char kTocMarker[] = "@OBSAH@";
constexpr char kVersionMarker[] = "@VERSION@";

struct Heading {
    int level = 0;
    QString text;
    int page = 0;  // from 1
};

struct Options {
    QString source;
    QString output;
    QString version;
    QList<QPair<QString, QString>> images;  // resource name, file
};

// Lengths on the device (painting, page size) count in dots; lengths in text
// formats (the page margins of the root frame) in 1/96 inch, which the layout scales.
qreal MmToDots(double mm) { return mm / 25.4 * kResolutionDpi; }
qreal MmToFormat(double mm) { return mm / 25.4 * 96; }

void Fail(const QString& message) { std::fprintf(stderr, "make-manual: %s\n", message.toUtf8().constData()); }

bool ParseOptions(const QStringList& arguments, Options& options) {
    QStringList positional;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--version") && i + 1 < arguments.size()) {
            options.version = arguments[++i];
        } else if (argument == QLatin1String("--image") && i + 1 < arguments.size()) {
            const QString image = arguments[++i];
            const qsizetype equals = image.indexOf(QLatin1Char('='));
            if (equals <= 0) return false;
            options.images.append({image.left(equals), image.mid(equals + 1)});
        } else if (argument.startsWith(QLatin1String("--"))) {
            return false;
        } else {
            positional.append(argument);
        }
    }
    if (positional.size() != 2) return false;
    options.source = positional[0];
    options.output = positional[1];
    return true;
}

// The look of the manual; Qt's rich text understands this subset of CSS.
const char kStyleSheet[] =
    "body { font-family: 'DejaVu Sans'; font-size: 10pt; }"
    "h1 { font-size: 18pt; font-weight: bold; color: #1d4e74; margin-top: 0px; margin-bottom: 14px;"
    "     page-break-before: always; }"
    "h2 { font-size: 13pt; font-weight: bold; color: #1d4e74; margin-top: 16px; margin-bottom: 6px; }"
    "h3 { font-size: 11pt; font-weight: bold; margin-top: 12px; margin-bottom: 4px; }"
    "p { margin-top: 0px; margin-bottom: 7px; }"
    "li { margin-bottom: 3px; }"
    "pre { font-family: 'DejaVu Sans Mono'; font-size: 8.5pt; background-color: #f0f0f0;"
    "      margin-top: 4px; margin-bottom: 9px; }"
    "code, kbd { font-family: 'DejaVu Sans Mono'; font-size: 9pt; }"
    "table { border-collapse: collapse; margin-top: 4px; margin-bottom: 10px; }"
    "th { background-color: #dde7f0; font-weight: bold; text-align: left; }"
    "th, td { border: 1px solid #8a9aa8; padding: 3px; }"
    "p.note { background-color: #fff6d8; }"
    "p.title { font-size: 28pt; font-weight: bold; color: #1d4e74; text-align: center; }"
    "p.subtitle { font-size: 14pt; text-align: center; }"
    "p.center { text-align: center; }"
    "table.toc { border-style: none; }"
    "td.toc1 { border-style: none; font-weight: bold; padding: 0px; padding-top: 4px; }"
    "td.toc2 { border-style: none; padding: 0px; padding-top: 1px; padding-left: 18px; }";

// The table of contents as a borderless two-column table: titles, then pages.
QString ContentsTable(const std::vector<Heading>& contents) {
    QString table = QStringLiteral("<table class=\"toc\" width=\"100%\" cellspacing=\"0\" cellpadding=\"0\">");
    for (const Heading& heading : contents) {
        const QString cellClass = heading.level == 1 ? QStringLiteral("toc1") : QStringLiteral("toc2");
        table += QStringLiteral("<tr><td class=\"%1\">%2</td><td class=\"%1\" align=\"right\">%3</td></tr>")
                     .arg(cellClass, heading.text.toHtmlEscaped())
                     .arg(heading.page);
    }
    return table + QStringLiteral("</table>");
}

// What one typesetting pass takes from the one before: the headings with their
// pages, and the headings (counted in document order) that start a new page so as
// not to stand alone at the foot of the one before.
struct Placement {
    std::vector<Heading> contents;
    std::set<int> headingsOnNewPage;
};

// The source with a page break before each heading of the set, counted in
// document order. The break goes into the source: the layout keeps it only there.
QString WithPageBreaks(QString html, const std::set<int>& headings) {
    static const QRegularExpression tag(QStringLiteral("<h([1-6])([^>]*)>"));
    int index = 0;
    qsizetype from = 0;
    for (QRegularExpressionMatch match = tag.match(html); match.hasMatch(); match = tag.match(html, from)) {
        from = match.capturedEnd();
        if (headings.count(index++) == 0) continue;
        const QString broken =
            QStringLiteral("<h%1%2 style=\"page-break-before: always\">").arg(match.captured(1), match.captured(2));
        html.replace(match.capturedStart(), match.capturedLength(), broken);
        from = match.capturedStart() + broken.size();
    }
    return html;
}

// Loads the source afresh, with the table of contents filled from the headings
// and the page breaks of the placement.
bool BuildDocument(QTextDocument& document, const QString& html, const Options& options, const Placement& placement) {
    const std::vector<Heading>& contents = placement.contents;
    document.clear();
    document.setDefaultStyleSheet(QString::fromLatin1(kStyleSheet));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10);
    document.setDefaultFont(font);
    for (const auto& [name, file] : options.images) {
        QImage image(file);
        if (image.isNull()) {
            Fail(QStringLiteral("cannot read image %1").arg(file));
            return false;
        }
        document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    }
    QString text = WithPageBreaks(html, placement.headingsOnNewPage);
    text.replace(QLatin1String(kVersionMarker), options.version);
    text.replace(QStringLiteral("<p>%1</p>").arg(QLatin1String(kTocMarker)), ContentsTable(contents));
    document.setHtml(text);
    QTextFrameFormat page = document.rootFrame()->frameFormat();
    page.setMargin(0);
    page.setTopMargin(MmToFormat(kMarginMm));
    page.setBottomMargin(MmToFormat(kBottomMarginMm));
    page.setLeftMargin(MmToFormat(kMarginMm));
    page.setRightMargin(MmToFormat(kMarginMm));
    document.rootFrame()->setFrameFormat(page);
    return true;
}

// The page (from 0) on which a line of a block lands.
int PageOfLine(QTextDocument& document, const QTextBlock& block, int line) {
    qreal y = document.documentLayout()->blockBoundingRect(block).top();
    const QTextLayout* text = block.layout();
    if (text && text->lineCount() > 0) {
        const QTextLine placed = text->lineAt(std::min(line, text->lineCount() - 1));
        y += placed.y() + placed.height() / 2;
    }
    return static_cast<int>(y / document.pageSize().height());
}

// Headings, counted in document order, whose text would begin (its first two
// lines) on a later page than the heading itself.
std::set<int> LonelyHeadings(QTextDocument& document) {
    std::set<int> lonely;
    int heading = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0) continue;
        const int index = heading++;
        const QTextBlock text = block.next();
        if (text.isValid() && PageOfLine(document, text, 1) != PageOfLine(document, block, 0)) lonely.insert(index);
    }
    return lonely;
}

// Every <h1> and <h2> with the page it lands on in the current layout.
std::vector<Heading> CollectHeadings(QTextDocument& document) {
    std::vector<Heading> headings;
    const qreal pageHeight = document.pageSize().height();
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level < 1 || level > 2) continue;
        const qreal top = layout->blockBoundingRect(block).top();
        headings.push_back({level, block.text().simplified(), static_cast<int>(top / pageHeight) + 1});
    }
    return headings;
}

bool SamePages(const std::vector<Heading>& a, const std::vector<Heading>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].page != b[i].page || a[i].text != b[i].text) return false;
    }
    return true;
}

// Draws the pages one by one: the body clipped to its page, then a footer with
// the manual's name and the page number (not on the title page).
bool Print(QTextDocument& document, QPdfWriter& writer, const QString& footerText) {
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    const QSizeF page = document.pageSize();
    const int pageCount = document.pageCount();
    QFont footerFont(QStringLiteral("DejaVu Sans"));
    footerFont.setPointSizeF(8);
    const qreal left = MmToDots(kMarginMm);
    const qreal width = page.width() - 2 * left;
    const qreal footerTop = page.height() - MmToDots(kBottomMarginMm) + MmToDots(5);
    const qreal footerHeight = MmToDots(6);

    for (int i = 0; i < pageCount; ++i) {
        if (i > 0 && !writer.newPage()) return false;
        painter.save();
        painter.translate(0, -i * page.height());
        const QRectF visible(0, i * page.height(), page.width(), page.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = visible;
        painter.setClipRect(visible);
        document.documentLayout()->draw(&painter, context);
        painter.restore();

        if (i == 0) continue;
        painter.setFont(footerFont);
        painter.setPen(QPen(QColor(0x8a, 0x9a, 0xa8), kResolutionDpi / 150.0));
        painter.drawLine(QPointF(left, footerTop), QPointF(left + width, footerTop));
        painter.setPen(QColor(0x40, 0x40, 0x40));
        const QRectF footer(left, footerTop + MmToDots(1), width, footerHeight);
        painter.drawText(footer, Qt::AlignLeft | Qt::AlignTop, footerText);
        painter.drawText(footer, Qt::AlignRight | Qt::AlignTop, QString::number(i + 1));
    }
    return painter.end();
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    Options options;
    if (!ParseOptions(application.arguments().mid(1), options)) {
        std::fputs("usage: make-manual SOURCE.html OUTPUT.pdf [--version TEXT] [--image NAME=FILE]...\n", stderr);
        return 1;
    }
    QFile source(options.source);
    if (!source.open(QIODevice::ReadOnly)) {
        Fail(QStringLiteral("cannot read %1: %2").arg(options.source, source.errorString()));
        return 1;
    }
    const QString html = QString::fromUtf8(source.readAll());

    // The writer paints on the whole sheet; the margins belong to the document,
    // whose layout keeps them on every page and leaves the footer its room.
    QPdfWriter writer(options.output);
    writer.setResolution(kResolutionDpi);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    writer.setCreator(QStringLiteral("Tarvo make-manual"));

    QTextDocument document;
    document.documentLayout()->setPaintDevice(&writer);
    document.setPageSize(QSizeF(writer.width(), writer.height()));

    // The table of contents and the moved headings shift what follows them, so
    // typeset until the pages the contents name are the pages the headings land
    // on and no heading is left alone. A heading once moved stays moved, so the
    // passes settle.
    Placement placement;
    if (!BuildDocument(document, html, options, placement)) return 1;
    placement.contents = CollectHeadings(document);
    for (int pass = 0; pass < 12; ++pass) {
        if (!BuildDocument(document, html, options, placement)) return 1;
        const std::vector<Heading> placed = CollectHeadings(document);
        const std::set<int> lonely = LonelyHeadings(document);
        bool settled = SamePages(placed, placement.contents);
        for (int heading : lonely) {
            if (placement.headingsOnNewPage.insert(heading).second) settled = false;
        }
        placement.contents = placed;
        if (settled) break;
    }
    if (!BuildDocument(document, html, options, placement)) return 1;

    const QString title = document.metaInformation(QTextDocument::DocumentTitle);
    writer.setTitle(title);
    if (!Print(document, writer, title)) {
        Fail(QStringLiteral("cannot write %1").arg(options.output));
        return 1;
    }
    return 0;
}

// Renders the windows of the program to PNG files for a person to look at:
// tarvo-screenshots DIRECTORY. Run it with QT_QPA_PLATFORM=offscreen (under Wine
// on the windows platform). It works on a profile of its own in DIRECTORY and
// never touches the user's; on Windows the communication dialog finds COM1 alone.

#include "base/Cp1250.h"
#include "base/FileChooser.h"
#include "base/Prompter.h"
#include "base/SettingsStore.h"
#include "base/Texts.h"
#include "gui/mainwindow/BannerView.h"
#include "gui/mainwindow/CommandController.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/mainwindow/OutputWindow.h"
#include "gui/mainwindow/ParameterSheet.h"
#include "gui/preview/DrawingPreviewWindow.h"
#include "gui/serial/CommunicationDialog.h"
#include "gui/serial/ReceptionAnimation.h"
#include "gui/serial/ReceptionWindow.h"
#include "gui/upload/UploadWindow.h"
#include "serial/PortNames.h"
#include "serial/SerialLink.h"
#include "upload/UploadPort.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QTabWidget>
#include <QTextStream>

#include <cstdio>

namespace {

class SilentPrompter : public Prompter {
public:
    Answer Ask(Topic, const QByteArray&, MessageButtons, MessageIcon) override { return Answer::Cancel; }
};

class NoFiles : public FileChooser {
public:
    QString Choose(const FileDialogRequest&) override { return {}; }
};

// A port that takes everything and sends nowhere.
class NoLine : public UploadPort {
public:
    bool IsOpen() const override { return false; }
    bool OpenWithoutReader() override { return false; }
    bool Write(const QByteArray&, QByteArray&) override { return false; }
    void Close() override {}
};

QString g_directory;

void Save(QWidget& widget, const char* name) {
    widget.show();
    QApplication::processEvents();
    const QString path = QDir(g_directory).filePath(QLatin1String(name));
    if (!widget.grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::printf("%s\n", qPrintable(path));
}

void SaveMainWindow(quint16 flag, const char* name, bool withToolsMenu, const char* receipt = nullptr) {
    SettingsStore store(QDir(g_directory).filePath(QStringLiteral("profile.ini")));
    ConversionSettings startup;
    startup.flag = flag;
    SilentPrompter prompter;
    NoFiles chooser;
    CommandController controller(store, startup, prompter, chooser, CoreOperations{});
    MainWindow frame(controller);
    controller.LoadSettings();
    controller.Settings().flag = flag;
    frame.Banner()->AttachLinks();
    frame.UpdateCommandStates();
    if (receipt) Q_EMIT controller.ConversionReported(Cp1250::FromUtf8(receipt));
    if (!withToolsMenu) {
        Save(frame, name);
        return;
    }
    // The window with its tools pop-up open beside the tools button.
    frame.show();
    QApplication::processEvents();
    frame.OnTools();
    QApplication::processEvents();
    QMenu* menu = frame.ToolsMenu();
    const QPoint at = menu->pos() - frame.pos();
    QImage image(std::max(frame.width(), at.x() + menu->width()), std::max(frame.height(), at.y() + menu->height()),
                 QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawPixmap(0, 0, frame.grab());
    painter.drawPixmap(at, menu->grab());
    painter.end();
    menu->hide();
    const QString path = QDir(g_directory).filePath(QLatin1String(name));
    image.save(path);
    std::printf("%s\n", qPrintable(path));
}

// A parcel's corners, a house, a fence and two trees: name, Y, X, height, code.
void SaveDrawingPreview(const char* name) {
    struct Sample {
        const char* name;
        double y, x, z;
        const char* code;
    };
    const Sample samples[] = {
        {"101", 742888.12, 1043086.45, 250.52, "mezník"},     {"102", 742861.40, 1043090.02, 250.31, "mezník"},
        {"103", 742858.77, 1043121.66, 249.87, "mezník"},     {"104", 742886.05, 1043118.30, 250.05, "mezník"},
        {"105", 742880.10, 1043095.20, 250.60, "roh budovy"}, {"106", 742868.30, 1043096.70, 250.58, "roh budovy"},
        {"107", 742869.55, 1043106.90, 250.61, "roh budovy"}, {"108", 742881.40, 1043105.35, 250.63, "roh budovy"},
        {"109", 742874.20, 1043088.10, 250.40, "plot"},       {"110", 742860.10, 1043105.80, 250.12, "plot"},
        {"111", 742876.90, 1043114.60, 250.20, "strom"},      {"112", 742866.30, 1043116.90, 249.95, ""},
    };
    SurveyRecordList records;
    for (const Sample& sample : samples) {
        SurveyRecord record;
        record.name = sample.name;
        record.y = sample.y;
        record.x = sample.x;
        record.z = sample.z;
        record.codeText = Cp1250::FromUtf8(sample.code);
        record.kind = Coordinates;
        records.push_back(record);
    }
    ConversionSettings settings;
    settings.dxfRatio = 5;  // 1:2, marks large enough to read in the manual
    settings.dxfEpsgAxes = true;
    settings.dxfLayers = true;
    DrawingPreviewWindow preview(records, settings, QStringLiteral("zakazka.dxf"));
    preview.resize(600, 400);
    Save(preview, name);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvo"));
    const QStringList arguments = QApplication::arguments();
    g_directory = arguments.size() > 1 ? arguments[1] : QStringLiteral("screenshots");
    QDir().mkpath(g_directory);
    QFile::remove(QDir(g_directory).filePath(QStringLiteral("profile.ini")));

    SaveMainWindow(kDefaultFlag, "main-window.png", false);
    SaveMainWindow(kDefaultFlag | FLAG_16_COLOUR_TOOLBAR, "main-window-16-colours.png", false);
    SaveMainWindow(kDefaultFlag | FLAG_USE_CURRENT, "tools-popup.png", true);
    SaveMainWindow(kDefaultFlag, "main-window-receipt.png", false,
                   "Rozpoznáno: stanoviska 2, orientace 3, záměry s délkou 5, záměry jen úhly 1, body se "
                   "souřadnicemi 3, kódy 4. Přeskočeno: bajty mimo záznamy 0, nedokončené záznamy 0. Zapsáno: "
                   "zakazka.zap, zakazka.asc, zakazka.cod.");

    ConversionSettings settings;
    settings.flag = kDefaultFlag | FLAG_USE_HEADER;
    settings.deviceType = 1;
    settings.dxfRatio = 6;
    const char* pages[] = {"sheet-reduction.png", "sheet-header.png", "sheet-conversion.png"};
    for (int page = 0; page < 3; ++page) {
        ParameterSheet sheet(settings);
        sheet.show();
        sheet.Tabs()->setCurrentIndex(page);
        Save(sheet, pages[page]);
    }

    const QByteArray fieldBook = Cp1250::FromUtf8(
        "9999\r\n999999999\r\n0\r\n1\r\n3\r\n0\r\n2\r\n\r\n"
        "Měřeno přístrojem SOUTH NTS-350\r\nZakázka: Žďár nad Sázavou, Měřil: Šťastný, Datum: 7.12.2026\r\n"
        "\r\nKorekce: -52.9 mm/km\r\n"
        "1 4001 0.000 0.000 1.550\r\n"
        "2 5001 0.0000 100.0000 123.456 1.600 obrubník, velmi dlouhý popis bodu, který se v okně zalomí na další "
        "řádek\r\n");
    OutputWindow output(fieldBook, "zakázka.zap");
    Save(output, "output-window.png");

    // The upload window halfway through a transmission, in both toolbar colour sets.
    SilentPrompter silent;
    NoLine noLine;
    const QByteArray pointList = Cp1250::FromUtf8(
        "4001 680000.12 1045000.50 245.70\r\n"
        "4002;680012,34;1045010,20;246,10\r\n"
        "OBRUBNIK_ZAHRADA\t680020.00\t1045020.00\t247.00 a dlouhý řádek, který se na kraji okna zalomí\r\n");
    const char* uploads[] = {"upload-window.png", "upload-window-16-colours.png"};
    for (int sixteen = 0; sixteen < 2; ++sixteen) {
        UploadWindow upload(sixteen ? kDefaultFlag | FLAG_16_COLOUR_TOOLBAR : kDefaultFlag, noLine, silent);
        upload.SetEditorText(pointList);
        upload.show();
        upload.Show(6);
        upload.SetPosition(3);
        Save(upload, uploads[sixteen]);
    }

    // The reception window while data comes in, and the communication dialog.
    SerialLink link;
    link.SetPortResolver([](int port) { return PortNames::DefaultDevice(port); });
    ReceptionWindow reception(link, silent, QDir(g_directory).filePath(QStringLiteral("job.sdt")));
    QByteArray status = Text(Texts::kReceivingData);
    status.replace("%u", "4352");
    reception.StatusLabel()->setText(Cp1250::ToUnicode(status));
    for (int frame = 0; frame < 5; ++frame) reception.Animation()->Advance();
    Save(reception, "reception-window.png");

    SettingsStore store(QDir(g_directory).filePath(QStringLiteral("profile.ini")));
    CommunicationDialog communication(link, store, silent, [] { return QList<int>{1}; });
    Save(communication, "communication-dialog.png");

    // The preview of a small job in Prague drawn in EPSG:5514 axes on layers by code.
    SaveDrawingPreview("drawing-preview.png");
    return 0;
}

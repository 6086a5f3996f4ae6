// Renders the windows of the program to PNG files for a person to look at:
// tarvo-screenshots DIRECTORY. Run it with QT_QPA_PLATFORM=offscreen (under Wine
// on the windows platform). It works on a profile of its own in DIRECTORY and
// never touches the user's; on Windows the communication dialog finds COM1 alone.

#include "base/Cp1250.h"
#include "base/CurrentFile.h"
#include "base/FileChooser.h"
#include "base/Prompter.h"
#include "base/SettingsStore.h"
#include "base/Texts.h"
#include "check/JobCheck.h"
#include "gui/check/ProtocolWindow.h"
#include "gui/commands/CommandController.h"
#include "gui/commands/OutputWindow.h"
#include "gui/common/QtTexts.h"
#include "gui/mainwindow/BannerView.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/parameters/ParameterSheet.h"
#include "gui/preview/DrawingPreviewWindow.h"
#include "gui/preview/DrawingView.h"
#include "gui/serial/CommunicationDialog.h"
#include "gui/serial/ReceptionAnimation.h"
#include "gui/serial/ReceptionWindow.h"
#include "gui/upload/UploadWindow.h"
#include "serial/PortNames.h"
#include "serial/SerialLink.h"
#include "upload/UploadListParser.h"
#include "upload/UploadPort.h"
#include "upload/UploadTransmission.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QTabWidget>
#include <QTextStream>
#include <QTreeWidget>

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

void SaveMainWindow(quint16 flag, const char* name, bool withToolsMenu, const char* receipt = nullptr,
                    const char* findings = "") {
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
    if (receipt) Q_EMIT controller.ConversionReported(Cp1250::FromUtf8(receipt), Cp1250::FromUtf8(findings));
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
    preview.show();
    // The drawing is painted on a thread of its own: the picture waits for it.
    QElapsedTimer waited;
    waited.start();
    while (!preview.View()->Sharp() && waited.elapsed() < 10000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    Save(preview, name);
}

// The protocol window of a job with a backsight measured twice 32 mm apart and a
// point sighted three times, once at another zenith angle; the wrong finding
// chosen.
void SaveProtocolWindow(const char* name) {
    const QString path = QDir(g_directory).filePath(QStringLiteral("zakazka.sdt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(
        "JOB     ZAKAZKA\r\nUNITS   M,G\r\nSTN     S2,1.520,ST\r\n"
        "BS      S1,1.800,\r\nSD      0.0000,96.9854,58.876\r\n"
        "BS      S1,1.800,\r\nSD      399.9998,96.9854,58.908\r\n"
        "SS      S3,1.800,\r\nHV      120.4512,114.1796\r\n"
        "SS      S3,1.800,\r\nSD      120.4510,105.6898,13.301\r\n"
        "SS      S3,1.800,\r\nSD      120.4515,105.6873,13.301\r\n"
        "SS      101,1.800,PLOT\r\nSD      45.1200,99.8020,21.452\r\n");
    file.close();
    ConversionSettings settings;
    settings.deviceType = DeviceType::Nts660;
    SilentPrompter silent;
    CurrentFile current;
    ConversionContext context{settings, current, silent};
    const FileCheck checked = CheckMeasuredDataFile(path, context);
    QFile::remove(path);
    if (!checked.check) return;
    ProtocolWindow window(checked.check, Cp1250::ToUnicode(ReadingText(checked.read)));
    window.show();
    auto* findings = window.findChild<QTreeWidget*>(QStringLiteral("findingList"));
    if (findings && findings->topLevelItemCount() > 1) findings->setCurrentItem(findings->topLevelItem(1));
    window.resize(760, 560);
    Save(window, name);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvo"));
    InstallCzechQtTexts();
    const QStringList arguments = QApplication::arguments();
    g_directory = arguments.size() > 1 ? arguments[1] : QStringLiteral("screenshots");
    QDir().mkpath(g_directory);
    QFile::remove(QDir(g_directory).filePath(QStringLiteral("profile.ini")));

    SaveMainWindow(FLAG_DEFAULT, "main-window.png", false);
    SaveMainWindow(FLAG_DEFAULT | FLAG_16_COLOUR_TOOLBAR, "main-window-16-colours.png", false);
    SaveMainWindow(FLAG_DEFAULT | FLAG_USE_CURRENT, "tools-popup.png", true);
    // The receipts of examples/nts350-job.sdt: as it is, and with one byte of its
    // second block damaged.
    SaveMainWindow(FLAG_DEFAULT, "main-window-receipt.png", false,
                   "Rozpoznáno: stanoviska 2, orientace 3, záměry s délkou 5, záměry jen úhly 1, body se "
                   "souřadnicemi 3, kódy 4. Přeskočeno: bajty mimo záznamy 0, nedokončené záznamy 0. Zapsáno: "
                   "nts350-job.zap, nts350-job.asc, nts350-job.cod.");
    SaveMainWindow(FLAG_DEFAULT, "main-window-findings.png", false,
                   "Rozpoznáno: stanoviska 2, orientace 3, záměry s délkou 5, záměry jen úhly 1, body se "
                   "souřadnicemi 3, kódy 4. Přeskočeno: bajty mimo záznamy 0, nedokončené záznamy 0. Kontrola "
                   "bloků: 1 chyba. Zapsáno: nts350-job.zap, nts350-job.asc, nts350-job.cod.",
                   "Upozornění!\nPřenos dat z přístroje neprošel kontrolou bloků:\n• blok 2 (bajty 136–269): "
                   "nesouhlasí kontrolní součet");

    // The sheet as a new profile has it, which the manual's tables list.
    ConversionSettings settings;
    const char* pages[] = {"sheet-reduction.png", "sheet-header.png", "sheet-conversion.png", "sheet-check.png"};
    for (int page = 0; page < 4; ++page) {
        ParameterSheet sheet(settings);
        sheet.show();
        sheet.Tabs()->setCurrentIndex(page);
        Save(sheet, pages[page]);
    }

    // The field book of examples/nts350-job.sdt with its header filled in.
    const QByteArray fieldBook = Cp1250::FromUtf8(
        "Měřeno přístrojem SOUTH NTS-350\r\nZakázka: Horní Újezd 12, Měřil: Novák, Datum: 7.12.2026\r\n"
        "Korekce: -52.9 mm/km\r\n"
        "9999\r\n999999999\r\n0\r\n1\r\n3\r\n0\r\n2\r\n\r\n"
        "1 4001  1.562 *ST\r\n"
        "4002  187.402 1.600 0.0000 100.1232\r\n"
        "4003  143.069 1.600 112.4821 99.8710\r\n"
        "-1\r\n"
        "101  23.480 1.600 35.0412 101.2541 *PLOT\r\n"
        "102  27.934 1.600 48.7788 100.9874 *PLOT\r\n"
        "103  0.000 0.000 61.2040 98.5512 *STROM\r\n"
        "104  41.204 1.350 122.5478 99.1207 *ROH DOMU\r\n"
        "/\r\n"
        "1 4002  1.498 *ST\r\n"
        "4001  187.395 1.600 200.0000 99.8771\r\n"
        "-1\r\n"
        "105  18.771 1.600 265.1187 102.4410 *ZED\r\n"
        "106  22.103 1.600 301.4566 201.3320 *ZED\r\n"
        "/\r\n-2\r\n");
    OutputWindow output(fieldBook, "nts350-job.zap");
    Save(output, "output-window.png");

    // The upload window halfway through sending the points of examples/nts350-job,
    // in both toolbar colour sets, and afterwards with the sent-data log.
    SilentPrompter silent;
    NoLine noLine;
    const QByteArray pointList = Cp1250::FromUtf8(
        "4001 742118.903 1043512.345 312.455\r\n"
        "4002 742105.877 1043699.118 312.207\r\n"
        "4003;741977,650;1043570,004;313.020\r\n"
        "101\t742131.42\t1043498.77\t311.96\r\n");
    const char* uploads[] = {"upload-window.png", "upload-window-16-colours.png"};
    for (int sixteen = 0; sixteen < 2; ++sixteen) {
        UploadWindow upload(sixteen ? FLAG_DEFAULT | FLAG_16_COLOUR_TOOLBAR : FLAG_DEFAULT, noLine, silent);
        upload.SetEditorText(pointList);
        upload.show();
        upload.Show(6);
        upload.SetPosition(3);
        Save(upload, uploads[sixteen]);
    }
    UploadWindow sent(FLAG_DEFAULT, noLine, silent);
    sent.SetEditorText(pointList);
    sent.ShowLog(SentDataLog(pointList, UploadKind::Points, FLAG_DEFAULT));
    Save(sent, "upload-window-log.png");

    // The reception window while data comes in, and the communication dialog.
    SerialLink link;
    link.SetPortResolver([](int port) { return PortNames::DefaultDevice(port); });
    ReceptionWindow reception(link, silent, QDir(g_directory).filePath(QStringLiteral("job.sdt")));
    reception.StatusLabel()->setText(Cp1250::ToUnicode(ReceivingStatus(4352)));
    for (int frame = 0; frame < 5; ++frame) reception.Animation()->Advance();
    Save(reception, "reception-window.png");

    SettingsStore store(QDir(g_directory).filePath(QStringLiteral("profile.ini")));
    CommunicationDialog communication(link, store, silent, [] { return QList<int>{1}; });
    Save(communication, "communication-dialog.png");

    // The preview of a small job in Prague drawn in EPSG:5514 axes on layers by code.
    SaveDrawingPreview("drawing-preview.png");
    SaveProtocolWindow("protocol-window.png");
    return 0;
}

#include "gui/upload/UploadWindow.h"

#include "base/ConversionSettings.h"
#include "base/Cp1250.h"
#include "tests/gui/NamedWidget.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A port that keeps every write; the window must not care what is behind it.
class RecordingPort : public UploadPort {
public:
    bool open = false;
    int opens = 0;
    QList<QByteArray> writes;
    bool IsOpen() const override { return open; }
    bool OpenWithoutReader() override {
        ++opens;
        return open = true;
    }
    bool Write(const QByteArray& bytes, QByteArray&) override {
        writes.append(bytes);
        return true;
    }
    void Close() override { open = false; }
};

struct Fixture {
    RecordingPort port;
    ScriptedPrompter prompter;
    UploadWindow window;

    explicit Fixture(quint16 flag = FLAG_DEFAULT) : window(flag, port, prompter) {
        window.SetPause([](int) {});
        window.show();
    }
};

}  // namespace

class UploadWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadedFileGivesItsOwnLines_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<QByteArray>>("lines");
        QTest::newRow("CR LF") << QByteArray("P1 1 2\r\nP2 3 4\r\n") << QList<QByteArray>{"P1 1 2", "P2 3 4", ""};
        QTest::newRow("LF only") << QByteArray("P1 1 2\nP2 3 4") << QList<QByteArray>{"P1 1 2", "P2 3 4"};
        QTest::newRow("CR only") << QByteArray("P1 1 2\rP2 3 4") << QList<QByteArray>{"P1 1 2", "P2 3 4"};
        QTest::newRow("NUL stays for the check, the lines after it come too")
            << QByteArray("P1 1 2\r\nP2\0 3 4\r\nP3 5 6", 23)
            << QList<QByteArray>{"P1 1 2", QByteArray("P2\0 3 4", 7), "P3 5 6"};
        QTest::newRow("UTF-8 comes as Windows-1250") << QByteArray("\u017Dlu\u0165ou\u010Dk\u00FD 1 2")
                                                     << QList<QByteArray>{"\x8e\x6c\x75\x9d\x6f\x75\xe8\x6b\xfd 1 2"};
        QTest::newRow("Windows-1250 bytes come back unchanged")
            << QByteArray("\x8e\x6c\x75\x9d\x6f\x75\xe8\x6b\xfd\xa0\x6b\xf9\xf2 1 2\tx")
            << QList<QByteArray>{QByteArray("\x8e\x6c\x75\x9d\x6f\x75\xe8\x6b\xfd\xa0\x6b\xf9\xf2 1 2\tx")};
    }
    void loadedFileGivesItsOwnLines() {
        QFETCH(QByteArray, file);
        QTemporaryDir directory;
        const QString path = directory.filePath(QStringLiteral("seznam.txt"));
        TestFiles::Write(path, file);
        Fixture fixture;
        fixture.window.SetFileChooser([&] { return path; });
        Widget<QAction>(fixture.window, "openFileAction")->trigger();
        QTEST(fixture.window.EditorLines(), "lines");
    }

    void wrappedLineIsStillOneLine() {
        // Far wider than the editor: it wraps on screen, yet it is one point.
        const QByteArray line = "BOD_S_VELMI_DLOUHYM_NAZVEM" + QByteArray(120, ' ') + "680000.12 1045000.5 245.7";
        Fixture fixture;
        fixture.window.SetEditorText(line);
        QTRY_VERIFY(Widget<QPlainTextEdit>(fixture.window, "listEditor")
                        ->document()
                        ->documentLayout()
                        ->documentSize()
                        .height() > 1.5);
        QCOMPARE(fixture.window.EditorLines(), QList<QByteArray>{line});
        fixture.window.resize(2000, 400);
        QCOMPARE(fixture.window.EditorLines(), QList<QByteArray>{line});

        Widget<QAction>(fixture.window, "sendPointsAction")->trigger();
        QCOMPARE(fixture.prompter.Count(Topic::Summary), 1);
        QCOMPARE(fixture.port.writes[2].mid(1, 51), QByteArray("_+HYM_NAZVEM_ x+045000500_ y+680000120_ z+000245700"));
    }

    void emptyListKeepsTheEditor_data() {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("points") << QByteArray("sendPointsAction")
                                << Cp1250::FromUtf8("Nebyly nalezeny žádné platné body!");
        QTest::newRow("codes") << QByteArray("sendCodesAction")
                               << Cp1250::FromUtf8("Nebyly nalezeny žádné platné kódy!");
    }
    void emptyListKeepsTheEditor() {
        QFETCH(QByteArray, command);
        Fixture fixture;
        fixture.window.SetEditorText("jen text\r\n0,NULA");
        Widget<QAction>(fixture.window, command.constData())->trigger();
        QCOMPARE(fixture.prompter.messages.size(), 1);
        QTEST(fixture.prompter.messages.first().text, "message");
        QCOMPARE(fixture.port.opens, 0);
        QCOMPARE(fixture.window.EditorLines(), (QList<QByteArray>{"jen text", "0,NULA"}));
    }

    void checkAsksBeforeSending_data() {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<bool>("asked");
        QTest::newRow("names made one: No sends nothing")
            << QByteArray("S1_HRANA_001 744120.35 1045230.12\r\nS2_HRANA_001 744131.20 1045218.77") << true;
        QTest::newRow("clean list goes without a question") << QByteArray("4001 744120.35 1045230.12 312.45") << false;
    }
    void checkAsksBeforeSending() {
        QFETCH(QByteArray, list);
        QFETCH(bool, asked);
        Fixture fixture;
        fixture.prompter.defaultAnswer = Answer::No;
        fixture.window.SetEditorText(list);
        const QList<QByteArray> before = fixture.window.EditorLines();
        Widget<QAction>(fixture.window, "sendPointsAction")->trigger();

        const QList<ScriptedPrompter::Message> questions = fixture.prompter.Of(Topic::UploadFindings);
        QCOMPARE(questions.size(), asked ? 1 : 0);
        if (!asked) {
            QCOMPARE(fixture.prompter.Count(Topic::Summary), 1);
            return;
        }
        QCOMPARE(questions.first().buttons, MessageButtons::YesNo);
        QVERIFY(questions.first().text.contains(Cp1250::FromUtf8("stejný název _HRANA_001")));
        QVERIFY(questions.first().text.endsWith(Cp1250::FromUtf8("\n\nOdeslat přesto?")));
        QCOMPARE(fixture.prompter.messages.size(), 1);
        QCOMPARE(fixture.port.opens, 0);
        QVERIFY(fixture.port.writes.isEmpty());
        QCOMPARE(fixture.window.EditorLines(), before);
    }

    void unreadableFileKeepsTheEditor() {
        Fixture fixture;
        fixture.window.SetEditorText("P1 1 2");
        fixture.window.SetFileChooser([] { return QStringLiteral("/nonexistent/seznam.txt"); });
        fixture.window.OpenFile();
        QCOMPARE(fixture.prompter.fileErrors.size(), 1);
        QCOMPARE(fixture.prompter.fileErrors.first().kind, FileErrorKind::NotFound);
        QCOMPARE(fixture.window.EditorLines(), QList<QByteArray>{"P1 1 2"});

        fixture.window.SetFileChooser([] { return QString(); });
        fixture.window.OpenFile();
        QCOMPARE(fixture.prompter.fileErrors.size(), 1);
        QCOMPARE(fixture.window.EditorLines(), QList<QByteArray>{"P1 1 2"});
    }

    void helpChangesNothing() {
        Fixture fixture;
        fixture.window.SetEditorText("5,STROM");
        Widget<QAction>(fixture.window, "helpAction")->trigger();
        QCOMPARE(fixture.prompter.messages.size(), 1);
        QCOMPARE(fixture.prompter.messages.first().icon, MessageIcon::Information);
        QVERIFY(fixture.prompter.messages.first().text.startsWith(Cp1250::FromUtf8("Formát dat přenosu souřadnic")));
        QCOMPARE(fixture.window.EditorLines(), QList<QByteArray>{"5,STROM"});
        QCOMPARE(fixture.port.opens, 0);
    }

    void ctrlTabTypesATab() {
        Fixture fixture;
        auto* editor = Widget<QPlainTextEdit>(fixture.window, "listEditor");
        editor->setFocus();
        QTest::keyClicks(editor, "P1");
        QTest::keyClick(editor, Qt::Key_Tab, Qt::ControlModifier);
        QTest::keyClicks(editor, "1 2");
        QCOMPARE(fixture.window.EditorLines(), QList<QByteArray>{"P1\t1 2"});
        QVERIFY(fixture.window.isVisible());
    }
};

QTEST_MAIN(UploadWindowTest)
#include "UploadWindowTest.moc"

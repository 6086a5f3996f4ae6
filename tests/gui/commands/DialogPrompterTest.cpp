#include "gui/commands/DialogPrompter.h"

#include "base/Cp1250.h"
#include "gui/commands/OutputWindow.h"
#include "tests/gui/NamedWidget.h"

#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

Q_DECLARE_METATYPE(Topic)
Q_DECLARE_METATYPE(MessageButtons)
Q_DECLARE_METATYPE(Answer)

class DialogPrompterTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void outputWindowShowsTheFileUpToItsFirstZeroByte() {
        OutputWindow window(Cp1250::FromUtf8("Bod č. 1\r\nŘádek 2\0za nulou"), Cp1250::FromUtf8("žižkov.zap"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Výstupní soubor konverze žižkov.zap"));
        auto* editor = Widget<QPlainTextEdit>(window, "outputEditor");
        QCOMPARE(editor->toPlainText(), QStringLiteral("Bod č. 1\nŘádek 2"));
        QVERIFY(editor->font().fixedPitch() || QFontInfo(editor->font()).fixedPitch());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.resize(700, 420);
        QApplication::processEvents();
        QCOMPARE(editor->geometry(), window.rect());
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QVERIFY(!window.isVisible());

        OutputWindow empty(QByteArray(), "prazdny.asc");
        QVERIFY(Widget<QPlainTextEdit>(empty, "outputEditor")->toPlainText().isEmpty());
    }

    // Enter presses the safe button: it never sends a list the check found fault with.
    void enterPressesTheDefaultButton_data() {
        QTest::addColumn<Topic>("topic");
        QTest::addColumn<MessageButtons>("buttons");
        QTest::addColumn<Answer>("answer");
        QTest::newRow("Odeslat přesto? Enter sends nothing")
            << Topic::UploadFindings << MessageButtons::YesNo << Answer::No;
        QTest::newRow("overwrite question: Enter agrees") << Topic::Overwrite << MessageButtons::YesNo << Answer::Yes;
        QTest::newRow("notice: Enter closes it") << Topic::Notice << MessageButtons::Ok << Answer::Ok;
    }
    void enterPressesTheDefaultButton() {
        QFETCH(Topic, topic);
        QFETCH(MessageButtons, buttons);
        QFETCH(Answer, answer);
        DialogPrompter prompter;
        QTimer::singleShot(0, [] {
            if (QWidget* box = QApplication::activeModalWidget()) QTest::keyClick(box, Qt::Key_Return);
        });
        QCOMPARE(prompter.Ask(topic, "Odeslat přesto?", buttons, MessageIcon::Question), answer);
    }

    void anUnreadableOutputFileIsReportedAndTheRunGoesOn() {
        DialogPrompter prompter;
        QString shown;
        bool outputWindowOpened = false;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                shown = box->windowTitle() + QLatin1Char('|') + box->text();
                box->accept();
            } else if (modal) {
                outputWindowOpened = true;
                modal->close();
            }
        });
        prompter.ShowOutputFile(m_dir.filePath(QStringLiteral("missing.zap")), "missing.zap");
        QVERIFY(!outputWindowOpened);
        QVERIFY2(shown.startsWith(QStringLiteral("Tarvo|")), qPrintable(shown));
        QVERIFY(shown.contains(QStringLiteral("missing.zap")));
    }
};

QTEST_MAIN(DialogPrompterTest)
#include "DialogPrompterTest.moc"

#include "gui/common/DialogFileChooser.h"

#include "base/Cp1250.h"
#include "tests/support/TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

class DialogFileChooserTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void fileDialogFilters() {
        QCOMPARE(DialogFileChooser::NameFilters(
                     Cp1250::FromUtf8("Soubor měřených dat (*.sdt)|*.sdt|Všechny soubory (*.*)|*.*||")),
                 (QStringList{QStringLiteral("Soubor měřených dat (*.sdt)"), QStringLiteral("Všechny soubory (*)")}));
        const QString existing = m_dir.filePath(QStringLiteral("job"));
        TestFiles::Write(existing, "x");
        QCOMPARE(DialogFileChooser::WithDefaultExtension(QStringLiteral("/d/job"), QStringLiteral("sdt"), true),
                 QStringLiteral("/d/job.sdt"));
        QCOMPARE(DialogFileChooser::WithDefaultExtension(existing, QStringLiteral("sdt"), true), existing);
        QCOMPARE(DialogFileChooser::WithDefaultExtension(QStringLiteral("/d/job.txt"), QStringLiteral("sdt"), true),
                 QStringLiteral("/d/job.txt"));
        QCOMPARE(DialogFileChooser::WithDefaultExtension(QStringLiteral("/d.v2/job"), QString(), true),
                 QStringLiteral("/d.v2/job"));
    }
};

QTEST_MAIN(DialogFileChooserTest)
#include "DialogFileChooserTest.moc"

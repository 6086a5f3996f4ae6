#include "base/OutputFile.h"

#include <QFile>
#include <QTest>

class OutputFileTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fullDiskIsReportedNotSwallowed() {
        if (!QFile::exists("/dev/full")) QSKIP("no /dev/full here");
        OutputFile file;
        QVERIFY(!file.Create("/dev/full"));
        file.Write(QByteArray(100000, 'x'));
        const FileError error = file.Close();
        QVERIFY(error);
        QCOMPARE(error.kind, FileErrorKind::DiskFull);
    }

    void createInMissingDirectoryFails() {
        OutputFile file;
        const FileError error = file.Create("/nonexistent/dir/out.zap");
        QVERIFY(error);
        QVERIFY(!file.IsOpen());
        QCOMPARE(error.kind, FileErrorKind::NotFound);
    }
};

QTEST_GUILESS_MAIN(OutputFileTest)
#include "OutputFileTest.moc"

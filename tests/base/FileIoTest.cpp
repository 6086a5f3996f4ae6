#include "base/FileIo.h"

#include "base/Cp1250.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class FileIoTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsWholeFilesByteForByte() {
        QTemporaryDir dir;
        const QString path = dir.filePath("data.sdt");
        QByteArray bytes;
        for (int i = 0; i < 200000; ++i) bytes.append(static_cast<char>(i * 7));
        QVERIFY(!WriteWholeFile(path, bytes));
        QByteArray read;
        QVERIFY(!ReadWholeFile(path, read));
        QCOMPARE(read, bytes);
    }

    void missingFileIsNotFoundNamingIt() {
        QByteArray read;
        const FileError error = ReadWholeFile("/nonexistent/dir/job.sdt", read);
        QCOMPARE(error.kind, FileErrorKind::NotFound);
        QVERIFY(FileErrorText(error).contains(DisplayPath("/nonexistent/dir/job.sdt")));
    }

    void directoryCannotBeRead() {
        QTemporaryDir dir;
        QByteArray read;
        QVERIFY(ReadWholeFile(dir.path(), read));
    }

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

    void errorTextsAreCzech() {
        const FileError error{FileErrorKind::AccessDenied, "/x/ž.zap", 13};
        // The path in the system's own separators: «\x\ž.zap» on Windows.
        QCOMPARE(Cp1250::ToUnicode(FileErrorText(error)),
                 QStringLiteral("Přístup k souboru %1 byl odepřen.").arg(QDir::toNativeSeparators("/x/ž.zap")));
    }
};

QTEST_GUILESS_MAIN(FileIoTest)
#include "FileIoTest.moc"

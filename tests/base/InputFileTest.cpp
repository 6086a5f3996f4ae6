#include "base/InputFile.h"

#include "base/ReplacementFile.h"

#include <QTemporaryDir>
#include <QTest>

class InputFileTest : public QObject {
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
};

QTEST_GUILESS_MAIN(InputFileTest)
#include "InputFileTest.moc"

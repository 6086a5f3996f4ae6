#include "base/ReplacementFile.h"

#include "base/InputFile.h"
#include "base/OutputFile.h"
#ifndef _WIN32
#include "tests/support/FileSizeLimit.h"
#endif

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#ifndef _WIN32
#include <sys/stat.h>
#endif

class ReplacementFileTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A new version replaces its file only whole; until then, and after a write
    // the system refused half way (a file size limit below the file layer), the
    // old file keeps every byte and no temporary stays beside it.
    void replacementKeepsTheOldFileUntilWhole_data() {
        QTest::addColumn<bool>("throughLink");
        QTest::addColumn<int>("sizeLimit");  // bytes a file may have, -1: none
        QTest::addColumn<bool>("replaced");
        QTest::newRow("whole file replaces the target, its permissions kept") << false << -1 << true;
        QTest::newRow("a link stays a link, its file replaced") << true << -1 << true;
        QTest::newRow("a write refused half way keeps the old file") << false << 100 << false;
        QTest::newRow("refused through a link, the linked file kept") << true << 100 << false;
    }
    void replacementKeepsTheOldFileUntilWhole() {
#ifdef _WIN32
        QSKIP("file size limits and links are the Linux side's");
#else
        QFETCH(bool, throughLink);
        QFETCH(int, sizeLimit);
        QFETCH(bool, replaced);
        QTemporaryDir dir;
        const QString file = dir.filePath("job.zap");
        const QByteArray old = "the surveyor's earlier field book\r\n";
        QVERIFY(!WriteWholeFile(file, old));
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        const QString target = throughLink ? dir.filePath("link.zap") : file;
        if (throughLink) QVERIFY(QFile::link(file, target));
        const QStringList before = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);

        QByteArray fresh;
        for (int i = 0; i < 5000; ++i) fresh.append(static_cast<char>('0' + i % 10));
        const FileError error = [&] {
            const FileSizeLimit limit(sizeLimit >= 0 ? rlim_t(sizeLimit) : RLIM_INFINITY);
            return WriteWholeFile(target, fresh);
        }();

        QCOMPARE(!error, replaced);
        if (error) QCOMPARE(error.path, target);
        QByteArray now;
        QVERIFY(!ReadWholeFile(file, now));
        QCOMPARE(now, replaced ? fresh : old);
        QCOMPARE(QFileInfo(target).isSymLink(), throughLink);
        struct stat info {};
        QCOMPARE(stat(QFile::encodeName(file).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0640u);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System), before);
#endif
    }

    // Whatever name a target has, its temporaries' names fit the file system.
    void longTargetNamesAreWritten_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("241 bytes") << QString(237, QLatin1Char('a')) + ".zap";
        QTest::newRow("255 bytes, the longest") << QString(251, QLatin1Char('a')) + ".zap";
        QTest::newRow("255 bytes of two-byte letters and a dot") << QString(127, QChar(0x0161)) + ".";
    }
    void longTargetNamesAreWritten() {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString target = dir.filePath(name);
        QVERIFY(!WriteWholeFile(target, "first"));
        QVERIFY(!WriteWholeFile(target, "second"));
        QByteArray now;
        QVERIFY(!ReadWholeFile(target, now));
        QCOMPARE(now, QByteArray("second"));
        for (const TemporaryName naming : {TemporaryName::Hidden, TemporaryName::Part}) {
            const QString temporary = QFileInfo(TemporaryNameBeside(target, naming)).fileName();
            QVERIFY(QFile::encodeName(temporary).size() <= 255);
            QVERIFY(IsTemporaryName(temporary, naming));
            OutputFile file;
            QString path;
            QVERIFY(!file.CreateBeside(target, naming, path));
            QVERIFY(!file.Close());
            QVERIFY(QFile::remove(path));
        }
    }
};

QTEST_GUILESS_MAIN(ReplacementFileTest)
#include "ReplacementFileTest.moc"

#include "base/CurrentFile.h"

#include <QTest>

class CurrentFileTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void remembersTheChosenFile_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("basePath");
        QTest::addColumn<QString>("fileTitle");
        QTest::newRow("measured data") << "/data/job.sdt"
                                       << "/data/job"
                                       << "job";
        QTest::newRow("other extension") << "D:\\data\\job.txt"
                                         << "D:\\data\\job"
                                         << "job";
        QTest::newRow("several dots") << "/data/job.2026.sdt"
                                      << "/data/job.2026"
                                      << "job.2026";
        QTest::newRow("no extension in a dotted folder stays in the folder") << "D:\\data.v2\\job"
                                                                             << "D:\\data.v2\\job"
                                                                             << "job";
        QTest::newRow("no extension, POSIX") << "/home/a.b/job"
                                             << "/home/a.b/job"
                                             << "job";
    }
    void remembersTheChosenFile() {
        QFETCH(QString, path);
        QFETCH(QString, basePath);
        QFETCH(QString, fileTitle);
        CurrentFile state;
        state.RememberChosenFile(path);
        QCOMPARE(state.basePath, basePath);
        QCOMPARE(state.fileTitle, fileTitle);
    }

    void extensionIsCaseKept() {
        QCOMPARE(CurrentFile::ExtensionOf("/x/body.TXT"), QStringLiteral("TXT"));
        QCOMPARE(CurrentFile::ExtensionOf("/x.y/body"), QString());
    }
};

QTEST_GUILESS_MAIN(CurrentFileTest)
#include "CurrentFileTest.moc"

#include "base/FileError.h"

#include "base/Cp1250.h"

#include <QDir>
#include <QTest>

class FileErrorTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void errorTextsAreCzech() {
        const FileError error{FileErrorKind::AccessDenied, "/x/ž.zap", 13};
        // The path in the system's own separators: «\x\ž.zap» on Windows.
        QCOMPARE(Cp1250::ToUnicode(FileErrorText(error)),
                 QStringLiteral("Přístup k souboru %1 byl odepřen.").arg(QDir::toNativeSeparators("/x/ž.zap")));
    }
};

QTEST_GUILESS_MAIN(FileErrorTest)
#include "FileErrorTest.moc"

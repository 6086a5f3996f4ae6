#include "base/SettingsStore.h"

#include "base/Cp1250.h"
#include "base/FileError.h"
#include "tests/support/TestFiles.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

class SettingsStoreTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_case = 0;
    // A new file for every case: QSettings takes a file of the same size and time
    // for the one it has already read.
    QString IniPath() const { return m_dir.filePath(QStringLiteral("Tarvo%1.conf").arg(m_case)); }

    void Store(const char* name, const QVariant& value) {
        QSettings raw(IniPath(), QSettings::IniFormat);
        raw.setValue(QStringLiteral("Settings/") + QLatin1String(name), value);
    }

    // A profile as the user edits it by hand: lines of the section "Settings", UTF-8.
    void WriteProfile(const QByteArray& lines) {
        QFile file(IniPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Settings]\n" + lines + "\n");
    }

    struct Loaded {
        ConversionSettings settings;
        SerialSettings serial;
    };
    Loaded Load() {
        Loaded loaded;
        const SettingsStore store(IniPath());
        LoadStartupFlag(store, loaded.settings);
        LoadRemainingSettings(store, loaded.settings, loaded.serial);
        return loaded;
    }

private Q_SLOTS:
    void init() { ++m_case; }

    void emptyProfileGivesDefaults() {
        const Loaded loaded = Load();
        QCOMPARE(loaded.settings.flag, quint16(30));
        QCOMPARE(loaded.settings.deviceType, DeviceType::Nts350);
        QCOMPARE(loaded.settings.dxfRatio, quint8(4));
        QCOMPARE(loaded.settings.jobAverageXMetres, 1001000.0);
        QCOMPARE(loaded.settings.jobAverageYMetres, 680000.0);
        QCOMPARE(loaded.settings.jobAverageHeightMetres, 320.0);
        QCOMPARE(loaded.settings.orMarker, QByteArray("#"));
        QCOMPARE(loaded.serial.commPort, quint8(1));
        QCOMPARE(loaded.serial.baudRate, quint8(5));
        QCOMPARE(loaded.serial.byteSize, quint8(8));
        QCOMPARE(loaded.serial.parity, quint8(0));
        QCOMPARE(loaded.serial.stopBits, quint8(0));
        // Two lines, 87 characters, no line end after the last.
        const QByteArray head = loaded.settings.head;
        QCOMPARE(head.size(), 87);
        QCOMPARE(head, Cp1250::FromUtf8("Měřeno přístrojem SOUTH NTS-350\r\nZakázka:             ,  Měřil:"
                                        "                 ,Datum:"));
    }

    // A value outside its setting's range, judged as stored (before narrowing to its
    // width), is not used: the setting takes its default and the load names it.
    void valuesOutsideTheirRangeAreRefused_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("used");     // as the save writes the value in use
        QTest::addColumn<QByteArray>("told");  // after "v profilu je mimo rozsah "; empty: not refused
        const QByteArray flag = "0 až 65535; platí výchozí 30.";
        const QByteArray zeroOrOne = "0 až 1; platí výchozí 0.";
        QTest::newRow("Flag 70000 does not keep its low 16 bits")
            << QByteArray("Flag") << QVariant(70000) << "30" << flag;
        QTest::newRow("stored as text") << QByteArray("Flag") << QVariant("70000") << "30" << flag;
        QTest::newRow("beyond 32 bits refused, not wrapped")
            << QByteArray("Flag") << QVariant("99999999999") << "30" << flag;
        QTest::newRow("negative") << QByteArray("Flag") << QVariant(-1) << "30" << flag;
        QTest::newRow("not a number gives the default without a word")
            << QByteArray("Flag") << QVariant("abc") << "30" << QByteArray();
        QTest::newRow("DXF_Ratio 260 is no scale")
            << QByteArray("DXF_Ratio") << QVariant(260) << "4" << QByteArray("0 až 8; platí výchozí 4.");
        QTest::newRow("BaudRate beyond a byte")
            << QByteArray("BaudRate") << QVariant(0x1FF) << "5" << QByteArray("0 až 255; platí výchozí 5.");
        QTest::newRow("DeviceType of no instrument") << QByteArray("DeviceType") << QVariant(7) << "0" << zeroOrOne;
        QTest::newRow("drawing option 257: off as ever, now told")
            << QByteArray("DXF_Axes") << QVariant(257) << "0" << zeroOrOne;
        QTest::newRow("average X the old sheet made of 745 000")
            << QByteArray("JX") << QVariant("745") << "1001000.000"
            << QByteArray("0 nebo 890000 až 1380000; platí výchozí 1001000.");
        QTest::newRow("average height that is no number")
            << QByteArray("JH") << QVariant("abc") << "320.000" << QByteArray("-2000 až 9000; platí výchozí 320.");
    }
    void valuesOutsideTheirRangeAreRefused() {
        QFETCH(QByteArray, name);
        QFETCH(QVariant, stored);
        QFETCH(QByteArray, told);
        Store(name.constData(), stored);
        Loaded loaded;
        const SettingsStore store(IniPath());
        RefusedValues refused = LoadStartupFlag(store, loaded.settings);
        for (const RefusedValue& value : LoadRemainingSettings(store, loaded.settings, loaded.serial))
            refused.push_back(value);
        SettingsStore saved(IniPath() + ".saved");
        SaveShutdownSettings(saved, loaded.settings);
        SaveSerialSettings(saved, loaded.serial);
        const QSettings written(IniPath() + ".saved", QSettings::IniFormat);
        QTEST(written.value("Settings/" + QString::fromLatin1(name)).toString(), "used");
        QCOMPARE(refused.size(), told.isEmpty() ? 0u : 1u);
        if (!told.isEmpty())
            QCOMPARE(Cp1250::ToUtf8(RefusedValueText(refused.front())),
                     "Hodnota " + stored.toString().toUtf8() + " pro " + name + " v profilu je mimo rozsah " + told);
    }

    void textNumbersReadAsStrtod_data() {
        QTest::addColumn<QByteArray>("stored");  // as in the profile file
        QTest::addColumn<double>("value");
        QTest::newRow("comma ends the number") << QByteArray("\"1001000,5\"") << 1001000.0;
        QTest::newRow("hand-edited, unquoted comma ends the number") << QByteArray("1001000,5") << 1001000.0;
        // Read as 0 it would turn the projection's reduction off without a word.
        QTest::newRow("not a number gives the default, not 0") << QByteArray("abc") << 1001000.0;
        QTest::newRow("decimal point") << QByteArray("1001000.250") << 1001000.25;
        QTest::newRow("leading space") << QByteArray("\"  1100000\"") << 1100000.0;
    }
    void textNumbersReadAsStrtod() {
        QFETCH(QByteArray, stored);
        QFETCH(double, value);
        WriteProfile("JX=" + stored);
        QCOMPARE(Load().settings.jobAverageXMetres, value);
    }

    // A limit of the field-book check that is no usable number keeps its default:
    // read as 0 it would report every sighting, as NaN none.
    void checkLimitsRead_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<double>("height");  // the suspicious height limit loaded
        QTest::newRow("decimal point") << QByteArray("CHK_Height=0.045") << 0.045;
        QTest::newRow("decimal comma, hand-edited") << QByteArray("CHK_Height=0,045") << 0.045;
        QTest::newRow("zero is a limit") << QByteArray("CHK_Height=0") << 0.0;
        QTest::newRow("not a number") << QByteArray("CHK_Height=abc") << 0.030;
        QTest::newRow("negative") << QByteArray("CHK_Height=-0.01") << 0.030;
        QTest::newRow("not finite") << QByteArray("CHK_Height=nan") << 0.030;
        QTest::newRow("text after the number") << QByteArray("CHK_Height=0.05m") << 0.030;
        QTest::newRow("missing") << QByteArray("JX=1") << 0.030;
    }
    void checkLimitsRead() {
        QFETCH(QByteArray, line);
        WriteProfile(line);
        QTEST(Load().settings.checkTolerances.height.suspicious, "height");
    }

    void handEditedTextComesBackAsWritten_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("text");  // UTF-8
        QTest::newRow("comma, not a list of two") << QByteArray("Head=a,b") << QByteArray("Head") << QByteArray("a,b");
        QTest::newRow("blanks beside commas stay")
            << QByteArray("Head=Zakázka: 12 , Měřil: ŘŽ ,Datum:") << QByteArray("Head")
            << QByteArray("Zakázka: 12 , Měřil: ŘŽ ,Datum:");
        QTest::newRow("marker with a comma") << QByteArray("OR=#,*") << QByteArray("OR") << QByteArray("#,*");
        QTest::newRow("number text keeps its comma")
            << QByteArray("JX=1001000,5") << QByteArray("JX") << QByteArray("1001000,5");
        QTest::newRow("blanks at the ends go, as without a comma")
            << QByteArray("Head=  a,b \t") << QByteArray("Head") << QByteArray("a,b");
        QTest::newRow("quotes and escapes as the store writes them")
            << QByteArray("Head=\"x, \\\"y\\\"\"\\r\\nz,w") << QByteArray("Head") << QByteArray("x, \"y\"\r\nz,w");
        QTest::newRow("comment after the value")
            << QByteArray("OR=#,* ; marker") << QByteArray("OR") << QByteArray("#,*");
        QTest::newRow("the last of two lines counts") << QByteArray("Head=a,b\n[Ports]\nCOM1=x\n[Settings]\nHead = c,d")
                                                      << QByteArray("Head") << QByteArray("c,d");
    }
    void handEditedTextComesBackAsWritten() {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, name);
        WriteProfile(line);
        const SettingsStore store(IniPath());
        QTEST(Cp1250::ToUtf8(store.ReadText(name.constData(), "default")), "text");
    }

    void shutdownSaveRewritesEverythingButSerial() {
        ConversionSettings settings;
        SettingsStore store(IniPath());
        SaveShutdownSettings(store, settings);
        QSettings raw(IniPath(), QSettings::IniFormat);
        QCOMPARE(raw.value("Settings/JX").toString(), QStringLiteral("1001000.000"));
        QCOMPARE(raw.value("Settings/JY").toString(), QStringLiteral("680000.000"));
        QCOMPARE(raw.value("Settings/JH").toString(), QStringLiteral("320.000"));
        QCOMPARE(raw.value("Settings/Flag").toInt(), 30);
        QCOMPARE(raw.value("Settings/DXF_Ratio").toInt(), 4);
        QCOMPARE(raw.value("Settings/OR").toString(), QStringLiteral("#"));
        QVERIFY(!raw.contains("Settings/CommPort"));
    }

    // The first load completes a profile with the values it lacks and leaves the
    // stored ones as they are, however they are written.
    void loadCompletesTheProfileWithoutRewritingIt() {
        WriteProfile("JX=1001000.5\nFlag=512");
        const Loaded loaded = Load();
        {
            SettingsStore store(IniPath());
            QVERIFY(CompleteProfile(store, loaded.settings));
        }
        QSettings raw(IniPath(), QSettings::IniFormat);
        QCOMPARE(raw.value("Settings/JX").toString(), QStringLiteral("1001000.5"));
        QCOMPARE(raw.value("Settings/Flag").toInt(), 512);
        QCOMPARE(raw.value("Settings/JY").toString(), QStringLiteral("680000.000"));
        QCOMPARE(raw.value("Settings/DXF_Ratio").toInt(), 4);
        QCOMPARE(raw.value("Settings/CHK_Range").toString(), QStringLiteral("5000"));
        QVERIFY(!raw.contains("Settings/CommPort"));
    }

    void multiLineHeaderKeepsItsLineEnds() {
        ConversionSettings settings;
        settings.head = Cp1250::FromUtf8("Řádek 1\r\nŘádek 2\r\n\r\nkonec, s čárkou");
        {
            SettingsStore store(IniPath());
            SaveShutdownSettings(store, settings);
        }
        QCOMPARE(Load().settings.head, settings.head);
    }

    void serialSaveReachesTheProfileAtOnce() {
        SerialSettings serial;
        serial.commPort = 3;
        serial.baudRate = 12;
        serial.byteSize = 7;
        serial.parity = 2;
        serial.stopBits = 2;
        SettingsStore store(IniPath());
        SaveSerialSettings(store, serial);
        // Read by another object while the first still lives: it was synced.
        const Loaded loaded = Load();
        QCOMPARE(loaded.serial.commPort, quint8(3));
        QCOMPARE(loaded.serial.baudRate, quint8(12));
        QCOMPARE(loaded.serial.byteSize, quint8(7));
        QCOMPARE(loaded.serial.parity, quint8(2));
        QCOMPARE(loaded.serial.stopBits, quint8(2));
    }

    void unwritableProfileFailsTheSave_data() {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("saved");
        QTest::newRow("writable") << QString() << false << true;
        QTest::newRow("read-only file") << QString() << true << false;
        // Its folder is a file: nobody can write there, not even root.
        QTest::newRow("folder cannot be made") << QStringLiteral("blocked/Tarvo.conf") << false << false;
    }
    void unwritableProfileFailsTheSave() {
        QFETCH(QString, profile);
        QFETCH(bool, readOnly);
        QFETCH(bool, saved);
#ifndef Q_OS_WIN
        if (readOnly && geteuid() == 0) QSKIP("root writes a read-only file");
#endif
        TestFiles::Write(m_dir.filePath(QStringLiteral("blocked")), {});
        const QString path = profile.isEmpty() ? IniPath() : m_dir.filePath(profile);
        WriteProfile("Head=earlier");
        if (readOnly) QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        {
            SettingsStore store(path);
            QCOMPARE(SaveShutdownSettings(store, ConversionSettings()), saved);
            QCOMPARE(SaveSerialSettings(store, SerialSettings()), saved);
            QVERIFY(UnsavedSettingsText(store).contains(DisplayPath(path)));
        }
        if (readOnly) QCOMPARE(TestFiles::Read(path), QByteArray("[Settings]\nHead=earlier\n"));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }

    void roundTripOfEveryValue() {
        ConversionSettings settings;
        settings.flag = 0x3FF;
        settings.deviceType = DeviceType::Nts660;
        settings.dxfRatio = 8;
        settings.dxfEpsgAxes = settings.dxfLayers = settings.dxf3d = true;
        settings.jobAverageXMetres = 1100000.1234;
        settings.jobAverageYMetres = 700000.5;
        settings.jobAverageHeightMetres = -12.25;
        settings.orMarker = Cp1250::FromUtf8("Ö, \"x\" ;=");
        settings.head = Cp1250::FromUtf8(" a,b , \\c@ ");
        settings.checkTolerances.lineHeight.wrong = 0.123456789;
        settings.checkTolerances.range = 12345.5;
        {
            SettingsStore store(IniPath());
            SaveShutdownSettings(store, settings);
        }
        const Loaded loaded = Load();
        QCOMPARE(loaded.settings.flag, quint16(0x3FF));
        QCOMPARE(loaded.settings.deviceType, DeviceType::Nts660);
        QCOMPARE(loaded.settings.dxfRatio, quint8(8));
        QVERIFY(loaded.settings.dxfEpsgAxes && loaded.settings.dxfLayers && loaded.settings.dxf3d);
        QCOMPARE(loaded.settings.jobAverageXMetres, 1100000.123);  // stored with three decimals
        QCOMPARE(loaded.settings.jobAverageYMetres, 700000.5);
        QCOMPARE(loaded.settings.jobAverageHeightMetres, -12.25);
        QCOMPARE(loaded.settings.orMarker, settings.orMarker);
        QCOMPARE(loaded.settings.head, settings.head);
        QCOMPARE(loaded.settings.checkTolerances.lineHeight.wrong, 0.123456789);
        QCOMPARE(loaded.settings.checkTolerances.range, 12345.5);
    }
};

QTEST_GUILESS_MAIN(SettingsStoreTest)
#include "SettingsStoreTest.moc"

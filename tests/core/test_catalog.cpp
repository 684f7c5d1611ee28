// INI access, start-up values, the model catalog and the start-up both executables share.

#include "catalog/IniFile.h"
#include "catalog/ModelCatalog.h"
#include "catalog/ProgramSetup.h"
#include "catalog/StartupConfig.h"
#include "common/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace orv;

namespace {
const NumberFormat Fmt;
}

namespace {

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    if (!orv::test::putFile(path, bytes))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

const auto readFile = orv::test::fileBytes;

// XDG_CONFIG_HOME pointed at a folder for the life of the object, so that the user's
// configuration folder is a scratch one.
class ScratchConfigHome {
public:
    explicit ScratchConfigHome(const QString& folder) : m_old(qgetenv("XDG_CONFIG_HOME")) {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder));
    }
    ~ScratchConfigHome() {
        if (m_old.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", m_old);
    }

private:
    QByteArray m_old;
};

} // namespace

class TestCatalog : public QObject {
    Q_OBJECT
private slots:
    void readString() {
        QTemporaryDir dir;
        // CRLF line ends, a byte-order mark, a key repeated in a second block of the section.
        const IniFile ini(writeFile(dir, "read.ini",
            "\xEF\xBB\xBF; comment\r\n[Const String]\r\n"
            "  Padded  =  \tspaced value\t \r\nQuoted=\" keep \"\r\nSingle='s'\r\nHalf=\"open\r\n"
            "Empty=\r\nDup=first\r\nDUP=second\r\n; Semi=comment\r\n"
            "Utf=\xC3\x9Cn\r\nLatin=caf\xE9\r\n"
            "[radio list]\r\nDup=other\r\n[CONST STRING]\r\nDup=third\r\nLate=2nd block\r\n"));
        QCOMPARE(ini.readString("const string", "PADDED", "d"), QString("spaced value"));
        QCOMPARE(ini.readString("Const String", "Quoted", "d"), QString(" keep "));
        QCOMPARE(ini.readString("Const String", "Single", "d"), QString("s"));
        QCOMPARE(ini.readString("Const String", "Half", "d"), QString("\"open"));
        QCOMPARE(ini.readString("Const String", "Empty", "d"), QString(""));
        QCOMPARE(ini.readString("Const String", "Nope", " d\t"), QString("d"));
        QCOMPARE(ini.readString("Nope", "Padded", "d"), QString("d"));
        QCOMPARE(ini.readString("Const String", "Dup", "d"), QString("first"));
        QCOMPARE(ini.readString("Const String", "Late", "d"), QString("2nd block"));
        QCOMPARE(ini.readString("Radio List", "Dup", "d"), QString("other"));
        QCOMPARE(ini.readString("Const String", "; Semi", "d"), QString("d"));
        QCOMPARE(ini.readString("Const String", "Utf", "d"), QString::fromUtf8("Ün"));
        QCOMPARE(ini.readString("Const String", "Latin", "d"), QString::fromUtf8("café"));
        QVERIFY(!IniFile(dir.filePath("none.ini")).exists());
    }

    // Each write changes exactly one line (or adds one), and reads back as written.
    void writeString_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("replace keeps spacing") << QByteArray("; c\n[S]\nKey = old\nOther=1\n")
            << "s" << "KEY" << "new" << QByteArray("; c\n[S]\nKey = new\nOther=1\n");
        QTest::newRow("insert after last key")
            << QByteArray("[A]\nk1=1\njunk\n\n; about B\n[B]\nx=1\n; end\n") << "A" << "k2" << "2"
            << QByteArray("[A]\nk1=1\nk2=2\njunk\n\n; about B\n[B]\nx=1\n; end\n");
        QTest::newRow("new section") << QByteArray("[A]\nk=1") << "B" << "x" << "y"
            << QByteArray("[A]\nk=1\n\n[B]\nx=y\n");
        QTest::newRow("first duplicate") << QByteArray("[S]\nk=1\n[T]\n[s]\nK=2\n") << "S" << "k"
            << "9" << QByteArray("[S]\nk=9\n[T]\n[s]\nK=2\n");
        QTest::newRow("crlf and bom") << QByteArray("\xEF\xBB\xBF[S]\r\nA=1\r\n") << "S" << "B"
            << "2" << QByteArray("\xEF\xBB\xBF[S]\r\nA=1\r\nB=2\r\n");
        QTest::newRow("blanks quoted") << QByteArray() << "S" << "k" << " x "
            << QByteArray("[S]\nk=\" x \"\n");
        QTest::newRow("utf-8 path") << QByteArray() << "Recent Files" << "File1"
            << QString::fromUtf8("/home/jürgen/a.kvd")
            << QByteArray("[Recent Files]\nFile1=/home/j\xC3\xBCrgen/a.kvd\n");
    }

    void writeString() {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString path = writeFile(dir, "w.ini", before);
        IniFile ini(path);
        QVERIFY(ini.writeString(section, key, value));
        QCOMPARE(readFile(path), after);
        QCOMPARE(ini.readString(section, key, "missing"), value);
        QCOMPARE(IniFile(path).readString(section, key, "missing"), value);
    }

    void writeString_createsFolderAndRefusesBadInput() {
        QTemporaryDir dir;
        const QString path = dir.filePath("config/orvante/ORVANTE.ini");
        IniFile ini(path);
        QVERIFY(ini.writeString("Comm Port", "COM1", "/dev/ttyUSB0"));
        QCOMPARE(readFile(path), QByteArray("[Comm Port]\nCOM1=/dev/ttyUSB0\n"));

        QVERIFY(!ini.writeString("Comm Port", "COM1", "x\nInjected=1"));
        QVERIFY(!ini.writeString("Comm Port", "COM1", "x\r[Other]"));
        QVERIFY(!ini.writeString("Comm Port", "a=b", "x"));
        QVERIFY(!ini.writeString("", "COM1", "x"));
        QCOMPARE(readFile(path), QByteArray("[Comm Port]\nCOM1=/dev/ttyUSB0\n"));
        // A folder that cannot be made: its parent is a file.
        QVERIFY(!IniFile(path + "/x.ini").writeString("S", "k", "1"));
    }

    // Only a regular file of at most 1 MiB is read: a FIFO (which would block), a device
    // that never ends and a huge file read as empty and are never replaced.
    void specialAndHugeFilesReadAsEmpty() {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("pipe.ini");
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        const QString huge = writeFile(dir, "huge.ini", "[S]\nk=1\n" + QByteArray(1024 * 1024, ';'));
        const QString limit = writeFile(dir, "limit.ini", "[S]\nk=1\n" + QByteArray(1024 * 1024 - 8, ';'));
        for (const QString& path : {fifo, QStringLiteral("/dev/zero"), huge}) {
            IniFile ini(path);
            QCOMPARE(ini.readString("S", "k", "default"), QStringLiteral("default"));
            QVERIFY(!ini.writeString("S", "k", "2"));
        }
        QCOMPARE(QFileInfo(huge).size(), 1024 * 1024 + 8);
        QCOMPARE(IniFile(limit).readString("S", "k", "default"), QStringLiteral("1"));
    }

    // A NUL byte reads as a blank, and a line that opens a section without closing it is
    // skipped: the keys after them are found, in the section they are in, a write lands where
    // a read finds it, and the bytes of the other lines stay as they were.
    void brokenLinesAreSkippedAlikeByReadAndWrite() {
        QTemporaryDir dir;
        const QByteArray before("[A]\nk=1\0x\n[Comm\0Port]\nCOM1=a\n[Broken\nCOM2=b\n[S]\nv=2\n", 52);
        const QString path = writeFile(dir, "broken.ini", before);
        IniFile ini(path);
        QCOMPARE(ini.readString("S", "v", "default"), QStringLiteral("2"));
        QCOMPARE(ini.readString("A", "k", "default"), QStringLiteral("1 x"));
        QCOMPARE(ini.readString("Comm Port", "COM2", "default"), QStringLiteral("b"));
        QVERIFY(ini.writeString("Comm Port", "Common Port", "5"));
        QCOMPARE(IniFile(path).readString("Comm Port", "Common Port", "default"), QStringLiteral("5"));
        QCOMPARE(IniFile(path).readString("Comm Port", "COM1", "default"), QStringLiteral("a"));
        QCOMPARE(readFile(path), before.left(44) + "Common Port=5\n" + before.mid(44));
    }

    void startupValues_defaultsAndEmptyValues() {
        QTemporaryDir dir;
        // Unlike the catalog keys, these take their default when present but empty.
        const QString empty = writeFile(dir, "empty.ini",
            "[Const String]\nSoftware Title=\nSoftware ini File=\nSoftware help File=\n");
        for (const QString& path : {dir.filePath("none.ini"), empty}) {
            const StartupValues v = readStartupValues(IniFile(path), "/opt/orv");
            QCOMPARE(v.title, QString("ORVANTE Programming Software"));
            QCOMPARE(v.productIniPath, QString("/opt/orv/ORVANTE.ini"));
            QCOMPARE(v.helpFilePath, QString("/opt/orv/ORVANTE.hlp"));
            QCOMPARE(v.modelCount, 2);
        }
    }

    void modelCount_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("expected");
        QTest::newRow("missing") << QByteArray() << 2;
        QTest::newRow("empty") << QByteArray("Sum of Radios=") << 2;
        QTest::newRow("zero") << QByteArray("Sum of Radios=0") << 0;
        QTest::newRow("negative") << QByteArray("Sum of Radios=-3") << 0;
        QTest::newRow("huge") << QByteArray("Sum of Radios=1e300") << MaxCatalogModels;
        QTest::newRow("text") << QByteArray("Sum of Radios=abc") << 0;
        QTest::newRow("leading number") << QByteArray("Sum of Radios=5 models") << 5;
        QTest::newRow("half to even") << QByteArray("Sum of Radios=2.5") << 2;
    }

    // A catalog that claims more models than it lists is filled with defaults, never past
    // MaxCatalogModels.
    void modelCount() {
        QFETCH(QByteArray, line);
        QFETCH(int, expected);
        QTemporaryDir dir;
        const IniFile ini(writeFile(dir, "c.ini", "[Radio List]\nRadioName1=Only\n" + line + "\n"));
        const ModelCatalog catalog = ModelCatalog::read(ini, readStartupValues(ini, "").modelCount);
        QCOMPARE(catalog.size(), expected);
        QVERIFY(!catalog.at(expected) && !catalog.at(-1));
        if (expected > 1)
            QCOMPARE(catalog.at(expected - 1)->name, QString("QEL-07(%1)").arg(expected - 1));
    }

    void catalog_missingFileGivesTwoDefaults() {
        QTemporaryDir dir;
        const IniFile ini(dir.filePath("vuxPC.ini"));
        const ModelCatalog catalog = ModelCatalog::read(ini, readStartupValues(ini, "").modelCount);
        QCOMPARE(catalog.names(), QStringList({"QEL-07(0)", "QEL-07(1)"}));
        QCOMPARE(catalog.at(0)->value, 0);
        QCOMPARE(catalog.at(1)->value, 1);
        QCOMPARE(bandText(*catalog.at(0), Fmt), QString("000.00000~000.00000 MHz"));
        QCOMPARE(bandText(*catalog.at(1), Fmt), QString("000.00001~000.00001 MHz"));
        QCOMPARE(catalog.at(1)->extHigh, 0.00001);
    }

    void catalog_keyNumberingAndEmptyValues() {
        QTemporaryDir dir;
        const IniFile ini(writeFile(dir, "k.ini",
            "[Radio List]\nRadioName0=Wrong\nRadioName1=  First  \nRadioValue1=7.5\n"
            "StdFreqRange0=13600000\nEndFreqRange0=17400000\nEndFreqExtend0=17600000\n"
            "RadioName2=\nRadioValue2=\nStdFreqRange1=\nRadioValue3=6.5\n"));
        const ModelCatalog catalog = ModelCatalog::read(ini, 3);
        QCOMPARE(catalog.at(0)->name, QString("First"));
        QCOMPARE(catalog.at(0)->value, 8);
        QCOMPARE(bandText(*catalog.at(0), Fmt), QString("136.00000~174.00000 MHz"));
        QCOMPARE(catalog.at(0)->extHigh, 176.0);
        // Present but empty gives "" and 0; missing gives the position's default.
        QCOMPARE(catalog.at(1)->name, QString());
        QCOMPARE(catalog.at(1)->value, 0);
        QCOMPARE(catalog.at(1)->stdLow, 0.0);
        QCOMPARE(catalog.at(1)->stdHigh, 0.00001);
        QCOMPARE(catalog.at(2)->name, QString("QEL-07(2)"));
        QCOMPARE(catalog.at(2)->value, 6);
    }

    void catalog_findByValue() {
        QTemporaryDir dir;
        const IniFile ini(writeFile(dir, "f.ini",
            "[Radio List]\nRadioValue1=300\nRadioValue2=44\nRadioValue3=9\nRadioValue4=44\n"));
        const ModelCatalog catalog = ModelCatalog::read(ini, 4);
        QCOMPARE(catalog.findByValue(44), 1); // the first of two; 300 is not 44 as a byte
        QCOMPARE(catalog.findByValue(300), -1);
        QCOMPARE(catalog.findByValue(7), -1);
    }

    // The program's INI stays beside the program only when that folder can be written; the
    // folder asked about is the INI's own, made absolute.
    void programIniPath_besideOrInTheConfigFolder() {
        QStringList asked;
        const auto writable = [&asked](bool answer) {
            return [&asked, answer](const QString& folder) {
                asked << folder;
                return answer;
            };
        };
        QCOMPARE(programIniPath("/opt/orv/ORVANTE.ini", "/home/u/.config/orvante", writable(true)),
                 QString("/opt/orv/ORVANTE.ini"));
        QCOMPARE(programIniPath("/opt/orv/ORVANTE.ini", "/home/u/.config/orvante", writable(false)),
                 QString("/home/u/.config/orvante/ORVANTE.ini"));
        QCOMPARE(asked, QStringList({"/opt/orv", "/opt/orv"}));
        asked.clear();
        QCOMPARE(programIniPath("Custom.ini", "/cfg", writable(false)), QString("/cfg/Custom.ini"));
        QCOMPARE(asked, QStringList{QDir::currentPath()});

        // The real folder test.
        QTemporaryDir dir;
        const QString beside = dir.filePath("ORVANTE.ini");
        QCOMPARE(programIniPath(beside), beside);
        QCOMPARE(programIniPath("/nonexistent-folder/ORVANTE.ini"),
                 QDir(userConfigFolder()).filePath("ORVANTE.ini"));
    }

    // The user's folder is the same for every executable, whatever its application name.
    void userConfigFolder_followsTheConfigHome() {
        QTemporaryDir dir;
        const ScratchConfigHome home(dir.path());
        QCOMPARE(userConfigFolder(), dir.filePath("orvante"));
    }

    // A program folder that cannot be written: the INI, the stored port and the port mapping
    // come from the user's configuration folder, not from a stale INI beside the program.
    void loadProgramSetup_programFolderReadOnly() {
        QTemporaryDir dir;
        const ScratchConfigHome home(dir.filePath("config"));
        const QString program = dir.filePath("program");
        QVERIFY(QDir().mkpath(program) && QDir().mkpath(dir.filePath("config/orvante")));
        const QString catalog = writeFile(dir, "vuxPC.ini",
            "[Const String]\nSoftware Title=Shop Title\nSoftware ini File=Shop.ini\n"
            "[Radio List]\nSum of Radios=1\nRadioName1=Seven\nRadioValue1=7\n");
        writeFile(dir, "program/Shop.ini", "[Comm Port]\nCommon Port=5\n");
        writeFile(dir, "config/orvante/Shop.ini", "[Comm Port]\nCommon Port=3\nCOM3=/dev/pts/77\n");

        QStringList asked;
        const ProgramSetup setup = loadProgramSetup(catalog, program, [&asked](const QString& folder) {
            asked << folder;
            return false;
        });
        QCOMPARE(asked, QStringList{program});
        QCOMPARE(setup.catalogPath, catalog);
        QCOMPARE(setup.startup.title, QString("Shop Title"));
        QCOMPARE(setup.startup.productIniPath, dir.filePath("config/orvante/Shop.ini"));
        // Only the INI moves: the manual is still looked for beside the program.
        QCOMPARE(setup.startup.helpFilePath, program + "/ORVANTE.hlp");
        QCOMPARE(setup.catalog.size(), 1);
        QCOMPARE(setup.catalog.at(0)->value, 7);
        QCOMPARE(setup.comPort, 3);
        QCOMPARE(deviceForPort(setup.comPort, setup.startup.productIniPath, {}), QString("/dev/pts/77"));

        // The same folder writable: the INI beside the program counts.
        const ProgramSetup beside = loadProgramSetup(catalog, program, [](const QString&) { return true; });
        QCOMPARE(beside.startup.productIniPath, program + "/Shop.ini");
        QCOMPARE(beside.comPort, 5);
    }

    // Nothing stored yet and no catalog: the built-in defaults and COM1.
    void loadProgramSetup_nothingStored() {
        QTemporaryDir dir;
        const ScratchConfigHome home(dir.filePath("config"));
        const ProgramSetup setup = loadProgramSetup(dir.filePath("none.ini"), dir.path(), folderIsWritable);
        QCOMPARE(setup.startup.productIniPath, dir.filePath("ORVANTE.ini"));
        QCOMPARE(setup.startup.title, QString("ORVANTE Programming Software"));
        QCOMPARE(setup.catalog.size(), 2);
        QCOMPARE(setup.comPort, MinPort);
        QVERIFY(!QFile::exists(setup.startup.productIniPath)); // reading creates nothing
    }

    void shippedCatalog() {
        const QString source = qEnvironmentVariable("ORVANTE_SOURCE_DIR");
        if (source.isEmpty())
            QSKIP("ORVANTE_SOURCE_DIR is not set (CTest sets it)");
        const IniFile ini(source + "/data/vuxPC.ini");
        QVERIFY(ini.exists());
        const StartupValues sv = readStartupValues(ini, "/p");
        QCOMPARE(sv.title, QString("ORVANTE Programming Software"));
        // Positions and bands of models 7 and 32 are pinned by the command-line tests.
        const ModelCatalog catalog = ModelCatalog::read(ini, sv.modelCount);
        QVERIFY(catalog.size() >= 6);
        QSet<int> values;
        for (int p = 0; p < catalog.size(); ++p) {
            const ModelInfo& m = *catalog.at(p);
            QVERIFY2(!m.name.startsWith("QEL-07(") && m.value <= 255, qPrintable(m.name));
            QVERIFY(m.extLow <= m.stdLow && m.stdLow < m.stdHigh && m.stdHigh <= m.extHigh);
            values.insert(m.value);
        }
        QCOMPARE(values.size(), catalog.size());
    }
};

QTEST_GUILESS_MAIN(TestCatalog)
#include "test_catalog.moc"

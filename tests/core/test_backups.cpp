// The data folder and its settings, the names a radio ID gives, and the automatic backups:
// what a backup holds, that no radio ID leads outside the backup folder, two backups in one
// second, and pruning that keeps each radio's 10 newest and touches nothing else.

#include "common/DataFolderEnvironment.h"
#include "common/TestFiles.h"
#include "files/DataFile.h"
#include "history/BackupStore.h"
#include "history/DataFolder.h"
#include "history/RadioIdNames.h"
#include "sim/VirtualRadio.h"

#include <QDir>
#include <QDirIterator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace orv;
using orv::test::fileBytes;
using orv::test::putFile;

namespace {

QString raw16(const QByteArray& bytes) {
    QString id;
    for (int i = 0; i < 16; ++i)
        id.append(QChar(char16_t(i < bytes.size() ? std::uint8_t(bytes[i]) : 0)));
    return id;
}

// Every file under `folder`, relative to it.
QStringList filesUnder(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

} // namespace

class TestBackups : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

  private slots:
    // ORVANTE_DATA_DIR, then the INI's "Data Folder" (relative to the INI), then one folder
    // that the window and the command line tool share whatever the executable is called.
    void dataFolderAndItsSettings() {
        const QString ini = m_dir.filePath("ORVANTE.ini");
        {
            test::DataFolderEnvironment unset{QByteArray()};
            const QString shared = defaultDataFolder();
            QVERIFY(shared.endsWith("/orvante"));
            const QString app = QCoreApplication::applicationName();
            QCoreApplication::setApplicationName("orvante-cli");
            QCOMPARE(defaultDataFolder(), shared);
            QCoreApplication::setApplicationName(app);
            QCOMPARE(dataFolder(ini), shared);
            QCOMPARE(dataFolder(QString()), shared);

            QVERIFY(setDataFolder(ini, "radio data"));
            QCOMPARE(dataFolder(ini), m_dir.filePath("radio data"));
            QVERIFY(setDataFolder(ini, "/srv/orvante"));
            QCOMPARE(dataFolder(ini), QStringLiteral("/srv/orvante"));
        }
        {
            test::DataFolderEnvironment set{m_dir.filePath("portable/../env").toUtf8()};
            QCOMPARE(dataFolder(ini), m_dir.filePath("env"));
        }

        QVERIFY(keepBackups(ini));
        QVERIFY(setKeepBackups(ini, false));
        QVERIFY(!keepBackups(ini));
        QVERIFY(fileBytes(ini).contains("[Options]"));
        QVERIFY(setKeepBackups(ini, true));
        QVERIFY(keepBackups(ini));
        for (const char* off : {"off", "No", "FALSE"}) {
            QVERIFY(putFile(ini, QByteArray("[Options]\nKeep Backups=") + off + "\n"));
            QVERIFY2(!keepBackups(ini), off);
        }
        QVERIFY(keepBackups(m_dir.filePath("missing.ini")));
    }

    void radioIdNames_data() {
        QTest::addColumn<QByteArray>("id");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("folder");
        QTest::newRow("plain") << QByteArray("ORV-0042") << "ORV-0042"
                               << "ORV-0042";
        QTest::newRow("padded") << QByteArray("  AB 12   ") << "AB 12"
                                << "AB_12";
        QTest::newRow("empty") << QByteArray() << ""
                               << "no-id";
        QTest::newRow("erased") << QByteArray(16, char(0xFF)) << ""
                                << "no-id";
        QTest::newRow("unprintable") << QByteArray("\x01\x02\x1B\x7F") << ""
                                     << "no-id";
        QTest::newRow("unprintable inside") << QByteArray("A\x01"
                                                          "B")
                                            << "A\u00B7B"
                                            << "A_B";
        QTest::newRow("parent") << QByteArray("../x") << "../x"
                                << "___x";
        QTest::newRow("dots only") << QByteArray("..") << ".."
                                   << "no-id";
        QTest::newRow("absolute") << QByteArray("/etc/passwd") << "/etc/passwd"
                                  << "_etc_passwd";
        QTest::newRow("windows path") << QByteArray("C:\\x") << "C:\\x"
                                      << "C__x";
        QTest::newRow("device name") << QByteArray("com1") << "com1"
                                     << "com1_";
        QTest::newRow("latin-1") << QByteArray("R\xE9"
                                               "seau")
                                 << "R\u00E9seau"
                                 << "R_seau";
    }
    void radioIdNames() {
        QFETCH(QByteArray, id);
        QFETCH(QString, label);
        QFETCH(QString, folder);
        QCOMPARE(radioIdLabel(raw16(id)), label);
        QCOMPARE(radioIdFolderName(raw16(id)), folder);
    }

    // A backup is the memory read as a current-format data file, in its radio's folder inside
    // the backup folder whatever the radio ID; a second read in the same second keeps both.
    void backupsStayInsideAndKeepTheRead() {
        QTemporaryDir data;
        const BackupStore store(data.path());
        RadioData memory = sim::demoRadioImage();
        memory.spare[3] = 0x5A;
        const QDateTime when(QDate(2025, 3, 1), QTime(10, 0, 5));
        for (const QByteArray& id : {QByteArray("../x"), QByteArray("../../etc"), QByteArray("/abs"),
                                     QByteArray(), QByteArray("\x01\x02"), QByteArray("RADIO-7")}) {
            QString error;
            const std::optional<QString> path = store.keep(memory, raw16(id), when, &error);
            QVERIFY2(path, qPrintable(error));
            QVERIFY2(
                QFileInfo(*path).canonicalFilePath().startsWith(QDir(store.root()).canonicalPath() + "/"),
                qPrintable(*path));
            QVERIFY(QFileInfo(*path).fileName().startsWith("20250301-100005-read"));
            QCOMPARE(fileBytes(*path), serializeDataFile(memory, false));
            QCOMPARE(fileBytes(*path).size(), DataFileSize);
        }
        const std::optional<QString> again = store.keep(memory, raw16("RADIO-7"), when);
        QVERIFY(again);
        QCOMPARE(QFileInfo(*again).fileName(), QStringLiteral("20250301-100005-read-2.kvd"));
        const LoadOutcome back = readDataFile(*again, RadioData{});
        QCOMPARE(int(back.status), int(LoadStatus::Ok));
        QCOMPARE(back.data, memory);
        // Nothing outside the backup folder, no half-written file left.
        const QStringList files = filesUnder(data.path());
        QCOMPARE(files.size(), 7);
        for (const QString& f : files)
            QVERIFY2(f.startsWith("backups/") && f.endsWith(".kvd"), qPrintable(f));
        QVERIFY(
            files.contains("backups/no-id/20250301-100005-read-2.kvd")); // the empty and the unprintable ID
    }

    // A backup folder that cannot be made: no backup, the reason, nothing written.
    void backupThatCannotBeWritten() {
        QTemporaryDir data;
        QVERIFY(putFile(data.filePath("backups"), "a file where the folder should be"));
        QString error;
        QVERIFY(
            !BackupStore(data.path()).keep(RadioData{}, raw16("R"), QDateTime::currentDateTime(), &error));
        QVERIFY2(error.contains("cannot be made"), qPrintable(error));
        QCOMPARE(filesUnder(data.path()), QStringList{"backups"});
    }

    // Backups older than 365 days go, except each radio's 10 newest; other files, folders and
    // look-alike names stay.
    void pruningKeepsTheTenNewest() {
        QTemporaryDir data;
        const BackupStore store(data.path());
        const QDateTime now(QDate(2025, 6, 1), QTime(12, 0, 0));
        const RadioData memory = sim::demoRadioImage();
        auto keepAt = [&](const char* id, int daysAgo, int times = 1) {
            for (int i = 0; i < times; ++i)
                QVERIFY(store.keep(memory, raw16(id), now.addDays(-daysAgo)));
        };
        for (int d = 0; d < 15; ++d)
            keepAt("OLD", 400 + d); // all old: the 10 newest stay
        for (int d = 0; d < 3; ++d)
            keepAt("MIXED", d); // 3 recent + 12 old: 7 old ones stay
        for (int d = 0; d < 12; ++d)
            keepAt("MIXED", 366 + d);
        keepAt("RECENT", 10, 12); // 12 in one second, all recent: all stay
        const QStringList others{"notes.txt", "OLD/readme.txt", "OLD/20000101-000000-read.kvd.bak",
                                 "OLD/my-old-read.kvd", "OLD/sub/20000101-000000-read.kvd"};
        for (const QString& f : others) {
            QVERIFY(QDir().mkpath(QFileInfo(QDir(store.root()).filePath(f)).path()));
            QVERIFY(putFile(QDir(store.root()).filePath(f), "mine"));
        }

        QCOMPARE(store.prune(now), 5 + 5);
        auto backupsOf = [&](const QString& radio) {
            QStringList names =
                QDir(QDir(store.root()).filePath(radio)).entryList({"2*-read*.kvd"}, QDir::Files);
            names.sort();
            return names;
        };
        const QStringList old = backupsOf("OLD");
        QCOMPARE(old.size(), 10);
        QCOMPARE(old.first(), now.addDays(-409).toString("yyyyMMdd-HHmmss") + "-read.kvd");
        QCOMPARE(backupsOf("MIXED").size(), 10);
        QCOMPARE(backupsOf("MIXED").first(), now.addDays(-372).toString("yyyyMMdd-HHmmss") + "-read.kvd");
        QCOMPARE(backupsOf("RECENT").size(), 12);
        for (const QString& f : others)
            QCOMPARE(fileBytes(QDir(store.root()).filePath(f)), QByteArray("mine"));
        QCOMPARE(store.prune(now), 0);
    }
};

QTEST_GUILESS_MAIN(TestBackups)
#include "test_backups.moc"

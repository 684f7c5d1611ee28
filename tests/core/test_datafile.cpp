// Data files: layout, both formats, rejection of bad files without touching the data held,
// and saving that never leaves a damaged file behind.
#include "files/DataFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include "common/TestFiles.h"

#include <QtTest>

#include <sys/stat.h>

using namespace orv;

using orv::test::fileBytes;
using orv::test::putFile;

namespace {

// Where each slot record starts in a well-formed file; the last entry is the file's end.
constexpr int SlotOffset[16] = {0x02E, 0x142, 0x1A6, 0x26A, 0x2CE, 0x392, 0x3AE, 0x3CA,
                                0x3E6, 0x402, 0x41E, 0x4EA, 0x506, 0x522, 0x53E, 0x55A};
constexpr int SettingsByteOffset = 0x39E;

RadioData sample() {
    RadioData d;
    for (int i = 0; i < addr::ImageSize; ++i)
        d.image[size_t(i)] = std::uint8_t(i * 7 + 3);
    for (int i = 0; i < addr::SpareSize; ++i)
        d.spare[size_t(i)] = std::uint8_t(0xA0 + i);
    d.functionSettings()[0] = 0x7D;
    return d;
}

RadioData held() {
    RadioData d;
    d.image.fill(0x55);
    d.spare.fill(0x66);
    return d;
}

QByteArray le32(quint32 v) {
    QByteArray b;
    for (int i = 0; i < 4; ++i)
        b.append(char(v >> (8 * i)));
    return b;
}

// A byte array record: dims bound pairs (count, lower bound) followed by `elements` bytes.
QByteArray arrayRecord(QList<QPair<quint32, qint32>> bounds, int elements, quint16 type = 0x2011) {
    QByteArray b;
    b.append(char(type & 0xFF)).append(char(type >> 8));
    b.append(char(bounds.size())).append('\0');
    for (const auto& [count, lower] : bounds)
        b.append(le32(count)).append(le32(quint32(lower)));
    return b.append(QByteArray(elements, '\x11'));
}

QByteArray withSlot(QByteArray file, int slot, const QByteArray& record) {
    return file.replace(SlotOffset[slot], SlotOffset[slot + 1] - SlotOffset[slot], record);
}

// The image (or spare) bytes a slot covers, for comparing what a load kept.
QByteArray slotContents(const RadioData& d, int slot) {
    if (slot == 1)
        return QByteArray(reinterpret_cast<const char*>(d.spare.data()), addr::SpareSize);
    static constexpr int Bounds[16] = {0x000, 0x100, 0x100, 0x1B0, 0x200, 0x2B0, 0x2C0, 0x2D0,
                                       0x2E0, 0x2F0, 0x300, 0x3C0, 0x3D0, 0x3E0, 0x3F0, 0x400};
    const int end = Bounds[slot + 1];
    return QByteArray(reinterpret_cast<const char*>(d.image.data()) + Bounds[slot], end - Bounds[slot]);
}

} // namespace

class TestDatafile : public QObject {
    Q_OBJECT
  private slots:
    void roundTrip_data() {
        QTest::addColumn<bool>("old");
        QTest::newRow("kvd") << false;
        QTest::newRow("pvlt") << true;
    }
    void roundTrip() {
        QFETCH(bool, old);
        const QByteArray file = serializeDataFile(sample(), old);
        QCOMPARE(file.size(), DataFileSize);
        const LoadOutcome out = parseDataFile(file, held());
        QCOMPARE(out.status, LoadStatus::Ok);
        QVERIFY(out.data == sample());
        QCOMPARE(out.dataVersion, old ? 0 : 2);
        QCOMPARE(serializeDataFile(out.data, old), file);
    }

    void layout() {
        const RadioData d = sample();
        const QByteArray file = serializeDataFile(d, false);
        QVERIFY(file.startsWith(QByteArray("\x08\x00\x19\x00KESTOV Radio PC Software.", 29)));
        QCOMPARE(file.mid(0x1D, 17), QByteArray("\x08\x00\x0D\x00Version = 2.0", 17));
        for (int slot = 0; slot < 15; ++slot) {
            const bool twoDim = slot < 5;
            QCOMPARE(file.mid(SlotOffset[slot], 4),
                     QByteArray(twoDim ? "\x11\x20\x02\x00" : "\x11\x20\x01\x00", 4));
        }
        QCOMPARE(file.mid(0x1A6 + 12, 4), le32(11)); // row count of the test-channel table
        QCOMPARE(file.mid(0x41E + 4, 4), le32(192));
        // Column by column: byte b of channel n at 0x042 + 16 b + n; spare (r, c) at 0x156 + 5 c + r.
        QCOMPARE(quint8(file[0x042 + 1]), d.channel(1)[0]);
        QCOMPARE(quint8(file[0x042 + 16 * 3 + 2]), d.channel(2)[3]);
        QCOMPARE(quint8(file[0x156 + 5 * 7 + 4]), d.spare[4 * 16 + 7]);
        QCOMPARE(quint8(file[0x54A + 15]), d.image[0x3FF]);
    }

    void oldFormatSettingsByte() {
        const QByteArray current = serializeDataFile(sample(), false);
        const QByteArray old = serializeDataFile(sample(), true);
        QList<int> differing;
        for (int i = 0; i < DataFileSize; ++i)
            if (current[i] != old[i])
                differing << i;
        // "2.0" -> "1.1" and the settings byte 0x7D -> 0xF5, nothing else.
        QCOMPARE(differing, (QList<int>{0x02B, 0x02D, SettingsByteOffset}));
        QCOMPARE(quint8(old[SettingsByteOffset]), quint8(0xF5));

        QByteArray file = old;
        file[SettingsByteOffset] = char(0x08); // only the bit the current layout lacks
        QCOMPARE(parseDataFile(file, held()).data.functionSettings()[0], quint8(0x00));
        // A settings table kept from the data held is already in the current layout.
        file = withSlot(old, 5, arrayRecord({{8, 0}}, 8));
        QCOMPARE(parseDataFile(file, held()).data.functionSettings()[0], quint8(0x55));

        QVERIFY(isOldFormatName("a/b.pvlt"));
        QVERIFY(!isOldFormatName("a/b.PVLT"));
        QVERIFY(!isOldFormatName("b.pvlt.kvd"));
        QVERIFY(!isOldFormatName("pvlt"));
    }

    void rejected_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<LoadStatus>("status");
        const QByteArray good = serializeDataFile(sample(), false);
        QByteArray caseDiffers = good;
        caseDiffers[4 + 13] = 's'; // "PC software."
        QByteArray newVersion = good;
        newVersion[0x02B] = '3';
        QByteArray versionNotText = good;
        versionNotText[0x01D] = 0x11;

        QTest::newRow("empty") << QByteArray() << LoadStatus::WrongHeader;
        QTest::newRow("header case") << caseDiffers << LoadStatus::WrongHeader;
        QTest::newRow("header cut") << good.left(20) << LoadStatus::WrongHeader;
        QTest::newRow("header not text")
            << QByteArray(good).replace(0, 2, "\x11\x20") << LoadStatus::WrongHeader;
        QTest::newRow("version 3.0") << newVersion << LoadStatus::UnsupportedVersion;
        QTest::newRow("version cut") << good.left(0x25) << LoadStatus::Damaged;
        QTest::newRow("version not text") << versionNotText << LoadStatus::Damaged;
        QTest::newRow("cut in slot 7 data") << good.left(SlotOffset[7] + 20) << LoadStatus::Damaged;
        QTest::newRow("cut before slot 14") << good.left(SlotOffset[14]) << LoadStatus::Damaged;
        QTest::newRow("slot 3 not an array")
            << withSlot(good, 3, arrayRecord({{16, 0}, {5, 0}}, 80, 0x0011)) << LoadStatus::Damaged;
        QTest::newRow("slot 0 one-dimensional")
            << withSlot(good, 0, arrayRecord({{256, 0}}, 256)) << LoadStatus::Damaged;
        QTest::newRow("slot 5 two-dimensional")
            << withSlot(good, 5, arrayRecord({{16, 0}, {1, 0}}, 16)) << LoadStatus::Damaged;
        QTest::newRow("three dimensions")
            << withSlot(good, 6, arrayRecord({{16, 0}, {1, 0}, {1, 0}}, 16)) << LoadStatus::Damaged;
        QTest::newRow("negative count")
            << withSlot(good, 0, arrayRecord({{0xFFFFFFF0u, 0}, {0, 0}}, 0)) << LoadStatus::Damaged;
        QTest::newRow("huge product")
            << withSlot(good, 0, arrayRecord({{0x7FFFFFFF, 0}, {0x7FFFFFFF, 0}}, 256)) << LoadStatus::Damaged;
        QTest::newRow("count past end")
            << withSlot(good, 14, arrayRecord({{17, 0}}, 16)) << LoadStatus::Damaged;
    }
    void rejected() {
        QFETCH(QByteArray, bytes);
        QFETCH(LoadStatus, status);
        const LoadOutcome out = parseDataFile(bytes, held());
        QCOMPARE(out.status, status);
        QVERIFY(out.data == held()); // not even the slots read before the fault
    }

    void messagesAsShown() {
        struct Expected {
            LoadStatus status;
            const char* text;
            const char* title;
        };
        const Expected table[] = {
            {LoadStatus::NotFound, "The file isnot exit. Please confirm it.", "File Error"},
            {LoadStatus::WrongHeader, "The file is not PALUVIN data file!", "Error File"},
            {LoadStatus::UnsupportedVersion, "New data file. Please update program software.", "Error"},
            {LoadStatus::Damaged, "The file is damaged! Please confirm it.", "Error File"},
        };
        for (const Expected& e : table) {
            const UserMessage m = loadFailureMessage(e.status);
            QCOMPARE(m.text, QString::fromLatin1(e.text));
            QCOMPARE(m.title, QString::fromLatin1(e.title));
            QCOMPARE(m.icon, Icon::Information);
        }
        const UserMessage save = saveFailureMessage();
        QCOMPARE(save.text, QStringLiteral("Save File Error!"));
        QCOMPARE(save.title, QStringLiteral("File Error"));
        QCOMPARE(save.icon, Icon::Exclamation);
    }

    void otherShapeKeepsSlot_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("slot 4 with 10 rows") << 4 << arrayRecord({{16, 0}, {10, 0}}, 160);
        QTest::newRow("slot 2 rows first") << 2 << arrayRecord({{11, 0}, {16, 0}}, 176);
        QTest::newRow("slot 6 upper bound 15 from 1") << 6 << arrayRecord({{15, 1}}, 15);
        QTest::newRow("slot 10 longer") << 10 << arrayRecord({{300, 0}}, 300);
        QTest::newRow("slot 0 negative lower bound") << 0 << arrayRecord({{16, -1}, {16, 0}}, 256);
    }
    void otherShapeKeepsSlot() {
        QFETCH(int, slot);
        QFETCH(QByteArray, record);
        const QByteArray file = withSlot(serializeDataFile(sample(), false), slot, record) + "trailing bytes";
        const LoadOutcome out = parseDataFile(file, held());
        QCOMPARE(out.status, LoadStatus::Ok);
        for (int s = 0; s < 15; ++s)
            QCOMPARE(slotContents(out.data, s), slotContents(s == slot ? held() : sample(), s));
    }

    void saveAndLoadFiles() {
        QTemporaryDir dir;
        QCOMPARE(readDataFile(dir.filePath("none.kvd"), held()).status, LoadStatus::NotFound);
        QCOMPARE(readDataFile(dir.path(), held()).status, LoadStatus::Damaged);

        const QString kvd = dir.filePath("radio.kvd");
        QVERIFY(putFile(kvd, QByteArray(2000, 'x'))); // a longer file is replaced whole
        int version = -1;
        QCOMPARE(writeDataFile(kvd, sample(), &version), SaveStatus::Ok);
        QCOMPARE(version, 2);
        QCOMPARE(fileBytes(kvd), serializeDataFile(sample(), false));
        QVERIFY(readDataFile(kvd, held()).data == sample());
        QCOMPARE(writeDataFile(dir.filePath("radio.pvlt"), sample(), &version), SaveStatus::Ok);
        QCOMPARE(version, 0);
        QCOMPARE(writeDataFile(dir.filePath("radio.PVLT"), sample(), &version), SaveStatus::Ok);
        QCOMPARE(version, 2);
        QCOMPARE(fileBytes(dir.filePath("radio.PVLT")), fileBytes(kvd));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 3); // no temporary files left
    }

    // Special files are refused without being read: a FIFO with no writer (which would block),
    // a device that never ends. A long regular file is read only as far as a reader can need.
    void specialFilesAreRefusedAtOnce() {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("pipe.kvd"));
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QCOMPARE(readDataFile(fifo, held()).status, LoadStatus::Damaged);
        QCOMPARE(readDataFile(QStringLiteral("/dev/zero"), held()).status, LoadStatus::Damaged);
        QVERIFY(readDataFile(QStringLiteral("/dev/zero"), held()).data == held());
        const QString longer = dir.filePath(QStringLiteral("long.kvd"));
        QVERIFY(putFile(longer, serializeDataFile(sample(), false) + QByteArray(3 * 1024 * 1024, '\0')));
        QVERIFY(readDataFile(longer, held()).data == sample());
    }

    void failedSaveLeavesDisk() {
        QTemporaryDir dir;
        int version = -1;
        QCOMPARE(writeDataFile(dir.filePath("missing/radio.kvd"), sample(), &version),
                 SaveStatus::OpenFailed);
        QVERIFY(putFile(dir.filePath("plain"), ""));
        QCOMPARE(writeDataFile(dir.filePath("plain/radio.kvd"), sample()), SaveStatus::OpenFailed);
        QCOMPARE(writeDataFile(QString(), sample()), SaveStatus::OpenFailed);
        // No temporary name fits beside a name this long: the save fails, the old file stays.
        const QString longName = dir.filePath(QString(250, 'a') + ".kvd");
        QVERIFY(putFile(longName, "old contents"));
        QVERIFY(writeDataFile(longName, sample(), &version) != SaveStatus::Ok);
        QCOMPARE(version, -1);
        QCOMPARE(fileBytes(longName), QByteArray("old contents"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    }

    void readOnlyFolder() {
        QTemporaryDir dir;
        const QString path = dir.filePath("radio.kvd");
        QVERIFY(putFile(path, "old contents"));
        const auto writable = [&](bool on) {
            QFileDevice::Permissions p = QFile::ReadOwner | QFile::ExeOwner;
            QFile::setPermissions(dir.path(), on ? p | QFile::WriteOwner : p);
        };
        writable(false);
        const bool bypassed = QFile(dir.filePath("probe")).open(QIODevice::WriteOnly);
        const SaveStatus status = writeDataFile(path, sample());
        writable(true);
        if (bypassed)
            QSKIP("folder permissions do not apply to this user");
        QCOMPARE(status, SaveStatus::OpenFailed);
        QCOMPARE(fileBytes(path), QByteArray("old contents"));
    }
};

QTEST_GUILESS_MAIN(TestDatafile)
#include "test_datafile.moc"

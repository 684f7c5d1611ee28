// The virtual radio: its command parsing, its tune mode, its faults, the wire timing of the
// in-memory link, the built-in memory images, and the simulator executable's refusals.
#include "image/ChannelCodec.h"
#include "image/RadioInfoText.h"
#include "link/AccessCodes.h"
#include "sim/MemoryLink.h"
#include "sim/VirtualRadio.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace orv;

namespace {
const NumberFormat Fmt;
}
using namespace orv::sim;

namespace {

const QByteArray Ack(1, '\x06');
const QByteArray Nak(1, '\x15');

QByteArray readRequest(int address) {
    return QByteArray("R") + char(address >> 8) + char(address & 0xFF) + '\x08';
}
QByteArray writeRequest(int address, const QByteArray& data) {
    return QByteArray("W") + char(address >> 8) + char(address & 0xFF) + '\x08' + data;
}

// Memory whose byte at address a is a & 0xFF, so a reply shows where its bytes came from.
RadioData patternMemory() {
    RadioData d;
    for (int a = 0; a < addr::ImageSize; ++a)
        d.image[size_t(a)] = std::uint8_t(a);
    return d;
}
QByteArray patternBytes(int address) {
    QByteArray b;
    for (int k = 0; k < 8; ++k)
        b.append(char(address + k));
    return b;
}
QByteArray patternReply(int address) {
    return QByteArray("W") + char(address >> 8) + char(address & 0xFF) + '\x08' + patternBytes(address);
}

QByteArray handshake(VirtualRadio& radio) {
    QByteArray answers = radio.receive(access::openingCode());
    answers += radio.receive('\x02');
    return answers + radio.receive('\x06');
}

// Handshake, a test-channel and a tune-value read, the program's 0x06 and the tune-mode code.
bool enterTune(VirtualRadio& radio) {
    return handshake(radio) == Ack + radio.identityReply() + Ack &&
           radio.receive(readRequest(0x100) + readRequest(0x2F0)) == patternReply(0x100) + patternReply(0x2F0) &&
           radio.receive(Ack) == Ack && radio.receive(access::tuneCode()) == Ack;
}

QByteArray probe(int low) { return QByteArray("R\x02", 2) + char(low) + '\x08'; }

RadioFaults faults(const QString& text) {
    RadioFaults f;
    if (!RadioFaults::parse(text, f))
        qFatal("bad fault text %s", qPrintable(text));
    return f;
}

// A link to a radio on a virtual clock; counts() moves the clock to `ms` and gives the
// (out, in) buffer counts there.
struct Wire {
    VirtualClock& clock;
    MemoryLink link;
    Wire(VirtualRadio& radio, VirtualClock& c) : clock(c), link(radio, c) {}
    QPair<int, int> counts(std::int64_t ms) {
        clock.advance(ms - clock.nowMs());
        return {link.outBufferCount(), link.inBufferCount()};
    }
};

} // namespace

class TestSim : public QObject {
    Q_OBJECT
  private slots:
    void commandsAmongNoise() {
        VirtualRadio radio(patternMemory());
        // The opening code is found however much noise comes before it.
        QCOMPARE(radio.receive(QByteArray("\x00\x02zz", 4) + access::openingCode()), Ack);
        QCOMPARE(radio.receive('\x02'), QByteArray("RZ4K8\x07\x02", 7) + char(0xD0));
        QCOMPARE(radio.receive('\x06'), Ack);
        // Noise between commands and a command with a wrong count are passed over.
        QCOMPARE(radio.receive(QByteArray("\x05Q\x00", 3) + QByteArray("R\x00\x10\x07", 4) + readRequest(0x3F8)),
                 patternReply(0x3F8));
        QCOMPARE(radio.log().blocksRead, QList<int>{127});
        QVERIFY(radio.receive("EN").isEmpty() && radio.inProgrammingMode());
        QVERIFY(radio.receive("D").isEmpty());
        QCOMPARE(radio.mode(), VirtualRadio::Mode::Idle);
        QVERIFY(radio.receive(readRequest(0)).isEmpty());
        QCOMPARE(radio.log().handshakes, 1);
    }

    void addressesOutsideTheMemory() {
        VirtualRadio radio(patternMemory());
        handshake(radio);
        for (int address : {0x400, 0x3FC, 0xFFF8}) {
            QVERIFY(radio.receive(readRequest(address)).isEmpty());
            QVERIFY(radio.receive(writeRequest(address, "12345678")).isEmpty());
        }
        QCOMPARE(radio.memory(), patternMemory());
        QCOMPARE(radio.receive(readRequest(0x3F8)), patternReply(0x3F8)); // still in step
    }

    void openingCodeRestartsAnySession() {
        VirtualRadio radio(patternMemory());
        handshake(radio);
        // A write cut short, a pause, then a new handshake: the half command is forgotten.
        QVERIFY(radio.receive(QByteArray("W\x00\x00\x08", 4) + "AB").isEmpty());
        radio.lineQuiet();
        QCOMPARE(handshake(radio), Ack + radio.identityReply() + Ack);
        QCOMPARE(radio.memory(), patternMemory());
        QCOMPARE(radio.log().openingCodes, 2);
        radio.lineLost();
        QCOMPARE(radio.mode(), VirtualRadio::Mode::Idle);
    }

    // Faults whose effect the exchanges tests do not already pin through the protocol.
    void blockFaults_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("silentAfter");
        const QByteArray normal = patternReply(0x18);
        QTest::newRow("extra") << "extra-byte-at-block:3" << readRequest(0x18) << normal + '\x00' << false;
        QTest::newRow("address beyond memory")
            << "wrong-address-at-block:3:4096" << readRequest(0x18) << QByteArray("W\x10\x00\x08", 4) + QByteArray(8, 0)
            << false;
        QTest::newRow("nak, then silent") << "nak-at-block:3" << writeRequest(0x18, "ABCDEFGH") << QByteArray(1, '\x15')
                                          << true;
        QTest::newRow("stop after write") << "stop-after-block:3" << writeRequest(0x18, patternBytes(0x18)) << Ack
                                          << true;
        QTest::newRow("other block unaffected") << "short-reply-at-block:4" << readRequest(0x18) << normal << false;
    }
    void blockFaults() {
        QFETCH(QString, fault);
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, reply);
        QFETCH(bool, silentAfter);
        VirtualRadio radio(patternMemory());
        radio.setFaults(faults(fault));
        handshake(radio);
        QCOMPARE(radio.receive(request), reply);
        QCOMPARE(radio.memory(), patternMemory()); // a refused write stores nothing
        QCOMPARE(radio.receive(readRequest(0x40)), silentAfter ? QByteArray() : patternReply(0x40));
        QCOMPARE(radio.receive(access::openingCode()).isEmpty(), silentAfter); // silent for good
    }

    void tuneModeEntryAndExit() {
        VirtualRadio radio(patternMemory());
        QVERIFY(enterTune(radio));
        QCOMPARE(radio.mode(), VirtualRadio::Mode::Tune);
        QCOMPARE(radio.log().tuneEntries, 1);
        QCOMPARE(radio.receive(QByteArray("C\x00", 2) + "C\x0C" + "C\x0B"), Nak + Nak + Ack);
        QCOMPARE(radio.tuneState().channel, 11);

        // Only a 0x06 right after a probe ends tune mode; the program pauses in between. Stray
        // bytes and a half command cut by a quiet line get no answer.
        QCOMPARE(radio.receive(probe(0xF0) + "n" + Ack), patternReply(0x2F0) + Ack + Ack);
        QVERIFY(radio.receive(QByteArray("R\x01\xF0\x08Xz", 6) + "S\x20").isEmpty());
        radio.lineQuiet();
        QVERIFY(radio.receive("\x12\x34").isEmpty());
        QCOMPARE(radio.receive(probe(0xF8)), patternReply(0x2F8));
        radio.lineQuiet();
        QCOMPARE(radio.receive(Ack), Ack);
        QCOMPARE(radio.mode(), VirtualRadio::Mode::Idle);
        QCOMPARE(radio.log().tuneExits, 1);
        QCOMPARE(radio.log().tuneCommands, QByteArrayList({QByteArray("C\x00", 2), "C\x0C", "C\x0B", probe(0xF0), "n",
                                                          Ack, probe(0xF8), Ack}));
        QCOMPARE(radio.log().blocksRead.size(), 2); // probes are not block reads
    }

    void tuneItems_data() {
        QTest::addColumn<QByteArrayList>("prepare");
        QTest::addColumn<QByteArray>("letter");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("wideCode"); // once a channel is selected again
        QTest::addColumn<QByteArray>("confirm");
        const QByteArrayList channel{QByteArray("C\x04")};
        const QByteArrayList signalling = channel + QByteArrayList{QByteArray("S\x20\x12\x34")};
        const QByteArrayList narrow = signalling + QByteArrayList{"n"};
        const QByteArray squelch("G\x00\x06", 3);
        QTest::newRow("Battery") << channel << QByteArray("B") << 0 << 0 << QByteArray("bN\x06");
        QTest::newRow("SqlTight") << channel << QByteArray("M") << 1 << 1 << squelch;
        QTest::newRow("SqlOpen") << channel << QByteArray("m") << 2 << 2 << squelch;
        QTest::newRow("CTCDevW") << signalling << QByteArray("Q") << 3 << 3 << Ack;
        QTest::newRow("DCSDevW") << signalling << QByteArray("D") << 4 << 4 << Ack;
        QTest::newRow("CTCDevN") << narrow << QByteArray("Q") << 5 << 3 << Ack;
        QTest::newRow("DCSDevN") << narrow << QByteArray("D") << 6 << 4 << Ack;
    }
    void tuneItems() {
        QFETCH(QByteArrayList, prepare);
        QFETCH(QByteArray, letter);
        QFETCH(int, code);
        QFETCH(int, wideCode);
        QFETCH(QByteArray, confirm);
        VirtualRadio radio(patternMemory());
        QVERIFY(enterTune(radio));
        QCOMPARE(radio.receive(prepare.join()), QByteArray(prepare.size(), '\x06'));

        // Live values leave the memory alone; storing writes 0x2F0 + item code only.
        QCOMPARE(radio.receive(letter + "\x5A\x01" + letter + "\x5B\x01"), confirm + confirm);
        QCOMPARE(QList<int>({radio.tuneLiveItem(), radio.tuneLiveValue()}), QList<int>({code, 0x5B}));
        QCOMPARE(radio.memory(), patternMemory());
        QCOMPARE(radio.receive(letter + "\x33\x02"), confirm);
        RadioData stored = patternMemory();
        stored.image[size_t(0x2F0 + code)] = 0x33;
        QCOMPARE(radio.memory(), stored);
        QCOMPARE(radio.receive(letter + "\x44\x03"), Nak);
        QCOMPARE(radio.memory(), stored);

        QCOMPARE(radio.receive("C\x01" + letter + "\x10\x01"), Ack + confirm);
        QCOMPARE(radio.tuneLiveItem(), wideCode);
        QCOMPARE(radio.log().tuneCommands.mid(0, prepare.size()), prepare);
    }

    // From tune mode the program writes the test channels: handshake, block writes, tune code.
    // The opening code's letters must not run tune commands (no 0x15 on the wire).
    void testChannelWriteFromTuneMode() {
        VirtualRadio radio(patternMemory());
        QVERIFY(enterTune(radio));
        QCOMPARE(radio.receive(access::openingCode()), Ack);
        QCOMPARE(radio.receive('\x02'), radio.identityReply());
        QCOMPARE(radio.receive(Ack), Ack);
        QCOMPARE(radio.receive(writeRequest(0x100, "ABCDEFGH") + access::tuneCode() + "C\x03"), Ack + Ack + Ack);
        QVERIFY(radio.inTuneMode());
        QCOMPARE(radio.log().blocksWritten, QList<int>{0x100 / 8});
        QCOMPARE(radio.log().tuneEntries, 2);
        radio.lineLost();
        QVERIFY(radio.receive("C\x03").isEmpty());
    }

    // Each row: the fault, what the program sends after the handshake, what comes back.
    void tuneFaults_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<VirtualRadio::Mode>("mode");
        using Mode = VirtualRadio::Mode;
        const QByteArray tune = access::tuneCode();
        QTest::newRow("refuse m") << "tune-refuse:m" << tune + "m\x10\x01M\x10\x01"
                                  << Ack + Nak + QByteArray("G\x00\x06", 3) << Mode::Tune;
        QTest::newRow("bare ack") << "tune-bare-ack" << tune + "B\x10\x01" << Ack + Ack << Mode::Tune;
        QTest::newRow("long reply") << "tune-long-reply" << tune + "B\x10\x01" + "Q\x10\x01"
                                    << Ack + QByteArray("bN\x06\x00", 4) + QByteArray("\x06\x00", 2) << Mode::Tune;
        // The code's letters leave nothing half received: the next read is served.
        QTest::newRow("no tune ack") << "no-tune-ack" << tune + readRequest(0x2F0) << patternReply(0x2F0)
                                     << Mode::Programming;
        QTest::newRow("silent after 2") << "tune-silent-after:2" << tune + "C\x01" + "n" + "C\x01" << Ack + Ack + Ack
                                        << Mode::Silent;
        QTest::newRow("silent at once") << "tune-silent-after:0" << tune + "C\x01" << Ack << Mode::Silent;
        // Block faults hit the reads of programming mode, not the probe.
        QTest::newRow("short read, whole probe")
            << "short-reply-at-block:94" << readRequest(0x2F0) + Ack + tune + probe(0xF0)
            << patternReply(0x2F0).left(6) + Ack + Ack + patternReply(0x2F0) << Mode::Tune;
    }
    void tuneFaults() {
        QFETCH(QString, fault);
        QFETCH(QByteArray, sent);
        QFETCH(QByteArray, answer);
        QFETCH(VirtualRadio::Mode, mode);
        VirtualRadio radio(patternMemory());
        radio.setFaults(faults(fault));
        handshake(radio);
        QCOMPARE(radio.receive(sent), answer);
        QCOMPARE(radio.mode(), mode);
        QCOMPARE(radio.log().tuneCodes, 1);
    }

    void faultTexts() {
        RadioFaults f;
        for (const char* text : {"silent", "answer-attempt:2", "no-final-ack", "short-reply-at-block:1",
                                 "extra-byte-at-block:2", "bad-header-at-block:0x7F", "wrong-address-at-block:4:0x208",
                                 "nak-at-block:86", "stop-after-block:40", "slow:700", "tune-refuse:m", "tune-refuse: D",
                                 "no-tune-ack", "tune-bare-ack", "tune-long-reply", "tune-silent-after:0x10"})
            QVERIFY2(RadioFaults::parse(QLatin1String(text), f), text);
        QVERIFY(f.silent && f.noFinalAck);
        QCOMPARE(QList<int>({f.answerAttempt, f.shortReplyAtBlock, f.extraByteAtBlock, f.badHeaderAtBlock,
                             f.wrongAddressAtBlock, f.wrongAddress, f.nakAtBlock, f.stopAfterBlock, f.slowMs}),
                 QList<int>({2, 1, 2, 127, 4, 0x208, 86, 40, 700}));
        QVERIFY(f.noTuneAck && f.tuneBareAck && f.tuneLongReply);
        QCOMPARE(f.tuneRefuse, QByteArray("mD"));
        QCOMPARE(f.tuneSilentAfter, 16);

        for (const char* text : {"bogus", "slow", "slow:-5", "short-reply-at-block:128", "wrong-address-at-block:3",
                                 "silent:1", "answer-attempt:0", "nak-at-block:x", "", "tune-refuse", "tune-refuse:x",
                                 "tune-refuse:BM", "tune-refuse:b", "tune-bare-ack:1", "tune-silent-after:-1"}) {
            RadioFaults g;
            QString error;
            QVERIFY2(!RadioFaults::parse(QLatin1String(text), g, &error), text);
            QVERIFY(!error.isEmpty());
            QVERIFY(g.slowMs == 0 && g.answerAttempt == 1 && g.tuneRefuse.isEmpty() && !g.tuneBareAck);
        }
    }

    // 11 bits a byte at 9600 baud: 1.1458 ms, both ways, every byte.
    void wireTiming() {
        VirtualClock clock;
        VirtualRadio radio(patternMemory());
        Wire w(radio, clock);
        QVERIFY(w.link.setSettings(QStringLiteral("9600,N,8,2")));
        QVERIFY(w.link.open());
        using Counts = QPair<int, int>;

        QVERIFY(w.link.send(access::openingCode())); // 9.17 ms on the wire, the 0x06 1.15 ms more
        QCOMPARE(w.link.outBufferCount(), 8);
        QCOMPARE(w.counts(9), Counts(1, 0));
        QCOMPARE(w.counts(10), Counts(0, 0));
        QCOMPARE(w.counts(11), Counts(0, 1));
        QCOMPARE(w.link.takeAll(), Ack);

        w.link.send(QByteArray(1, '\x02')); // reaches the radio at 12.15; 8 bytes back by 21.3
        QCOMPARE(w.counts(21), Counts(0, 7));
        QCOMPARE(w.counts(22), Counts(0, 8));
        w.link.takeAll();
        w.link.send(Ack);
        w.counts(25);
        QCOMPARE(w.link.takeAll(), Ack);

        w.link.send(readRequest(0x100)); // on the wire until 29.58, reply complete at 43.33
        QCOMPARE(w.counts(29), Counts(1, 0));
        QCOMPARE(w.counts(30), Counts(0, 0));
        QCOMPARE(w.counts(43), Counts(0, 11));
        QCOMPARE(w.counts(44), Counts(0, 12));
        QCOMPARE(w.link.takeAll(), patternReply(0x100));

        // Bytes queued while others are on the wire follow them back to back.
        w.counts(100);
        w.link.send(QByteArray("R\x00", 2));
        w.counts(101);
        w.link.send(QByteArray("\x00\x08", 2));
        QCOMPARE(w.counts(104).first, 1);
        QCOMPARE(w.counts(105).first, 0);
    }

    void discardsLateRepliesAndSettings() {
        VirtualClock clock;
        VirtualRadio radio(patternMemory());
        Wire w(radio, clock);
        w.link.open();
        handshake(radio);

        // A reply half arrived when the input is discarded: the rest still comes.
        w.link.send(readRequest(0));
        QCOMPARE(w.counts(10).second, 4);
        QVERIFY(w.link.discardInput());
        w.counts(20);
        QCOMPARE(w.link.takeAll(), patternBytes(0));

        // Discarding output keeps the byte on the wire and drops those not started.
        w.counts(100);
        w.link.send(writeRequest(0, "ABCDEFGH"));
        w.counts(102);
        QVERIFY(w.link.discardOutput());
        QCOMPARE(w.link.outBufferCount(), 1);
        QCOMPARE(w.counts(150).second, 0);
        QCOMPARE(radio.memory(), patternMemory());

        // A slow radio answers late.
        VirtualRadio slow(patternMemory());
        slow.setFaults(faults(QStringLiteral("slow:50")));
        Wire slowWire(slow, clock);
        slowWire.link.open();
        handshake(slow);
        slowWire.counts(200);
        slowWire.link.send(readRequest(0)); // request over at 204.58, first byte 50 ms + 1.15 ms later
        QCOMPARE(slowWire.counts(255).second, 0);
        QCOMPARE(slowWire.counts(256).second, 1);

        // At other line settings the radio hears nothing it understands.
        VirtualRadio fresh;
        Wire probe(fresh, clock);
        QVERIFY(probe.link.setSettings(QStringLiteral("9600,O,8,2")));
        probe.link.open();
        probe.link.send(access::openingCode());
        QCOMPARE(probe.counts(400).second, 0);
        QCOMPARE(fresh.log().openingCodes, 0);
    }

    void closeAndCut() {
        VirtualClock clock;
        VirtualRadio radio(patternMemory());
        Wire w(radio, clock);
        MemoryLink& link = w.link;
        QCOMPARE(link.inBufferCount(), -1); // not open yet
        QVERIFY(link.open());

        // Closing in the middle of a write drops the rest; the radio, still on its cable, stays
        // in programming mode, and drops the half write when the next handshake comes.
        handshake(radio);
        link.send(writeRequest(0, "ABCDEFGH"));
        w.counts(5);
        link.close();
        QVERIFY(radio.inProgrammingMode());
        QVERIFY(link.open());
        w.counts(100);
        link.send(access::openingCode());
        w.counts(120);
        QCOMPARE(link.takeAll(), Ack);
        QCOMPARE(radio.memory(), patternMemory());

        link.cut();
        QVERIFY(radio.mode() == VirtualRadio::Mode::Idle);
        QCOMPARE(w.counts(130), qMakePair(-1, -1));
        QVERIFY(!link.send(access::openingCode()));
        QVERIFY(!link.discardInput() && !link.discardOutput());
        QVERIFY(link.takeAll().isEmpty());
        link.close();
        QVERIFY(!link.open());
        QCOMPARE(radio.log().openingCodes, 2);
    }

    // The demo radio comes from the built-in file (not the fallback); the fresh memory is a
    // new image for model 7 with the simulator's ID and no date stamp.
    void memoryImages() {
        const RadioData demo = demoRadioImage();
        QCOMPARE(radioIdText(demo), QStringLiteral("ORV-DEMO-0000042"));
        QCOMPARE(dateStampText(demo), QStringLiteral("2024-03-15, 10:30:00"));

        const RadioData fresh = defaultRadioMemory();
        QCOMPARE(radioIdText(fresh), QStringLiteral("ORV-SIM-00000001"));
        QCOMPARE(fresh.dateStamp()[0], std::uint8_t(0));
        QCOMPARE(decodeFrequency(fresh.channel(0)[0], fresh.channel(0)[1], fresh.channel(0)[2], Fmt),
                 QStringLiteral("136.00000"));
        QCOMPARE(VirtualRadio().identityReply(), QByteArray("RZ4K8\x07\x02\x00", 8));
    }

    // The tool's refusals; its service on a pseudo-terminal is driven by the end-to-end tests.
    void simulatorRefusesBadArguments() {
        const QString program = qEnvironmentVariable("ORVANTE_BIN_DIR") + QStringLiteral("/orvante-radio-sim");
        if (!QFile::exists(program))
            QSKIP("orvante-radio-sim is not built");
        QTemporaryDir dir;
        const auto exitCode = [&](const QStringList& arguments) {
            QProcess p;
            p.start(program, arguments);
            return p.waitForFinished(5000) ? p.exitCode() : -1;
        };
        QCOMPARE(exitCode({QStringLiteral("--fault"), QStringLiteral("bogus")}), 2);
        QCOMPARE(exitCode({QStringLiteral("--image"), dir.filePath(QStringLiteral("none.kvd"))}), 1);
    }
};

QTEST_GUILESS_MAIN(TestSim)
#include "test_sim.moc"

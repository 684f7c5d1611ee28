// The virtual radio: its answers byte for byte, its faults, the wire timing of the in-memory
// link, the built-in demo radio, and the simulator executable on a pseudo-terminal.
#include "files/DataFile.h"
#include "image/ChannelCodec.h"
#include "image/RadioInfoText.h"
#include "link/AccessCodes.h"
#include "sim/MemoryLink.h"
#include "link/Trace.h"
#include "sim/VirtualRadio.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace orv;
using namespace orv::sim;

namespace {

const QByteArray Ack(1, '\x06');

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

void at(VirtualClock& clock, std::int64_t ms) { clock.advance(ms - clock.nowMs()); }

// Writes `out` to the terminal, then reads until `want` bytes came or the time ran out.
QByteArray exchange(int fd, const QByteArray& out, int want, int timeoutMs = 1000) {
    if (::write(fd, out.constData(), size_t(out.size())) != out.size())
        return {};
    QByteArray in;
    QElapsedTimer timer;
    timer.start();
    while (in.size() < want && timer.elapsed() < timeoutMs) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20) > 0) {
            char buffer[64];
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0)
                in.append(buffer, qsizetype(n));
        }
    }
    return in;
}

} // namespace

class TestSim : public QObject {
    Q_OBJECT
  private slots:
    void handshakeAndBlocks() {
        VirtualRadio radio(patternMemory());
        // The opening code is found however much noise comes before it.
        QCOMPARE(radio.receive(QByteArray("\x00\x02zz", 4) + access::openingCode()), Ack);
        QCOMPARE(radio.receive('\x02'), QByteArray("RZ4K8\x07\x02", 7) + char(0xD0));
        QCOMPARE(radio.receive('\x06'), Ack);
        QVERIFY(radio.inProgrammingMode());

        QCOMPARE(radio.receive(readRequest(0x2A8)), patternReply(0x2A8));
        QCOMPARE(radio.receive(writeRequest(0x008, "ABCDEFGH")), Ack);
        QCOMPARE(radio.receive(readRequest(0x008)), QByteArray("W\x00\x08\x08", 4) + "ABCDEFGH");
        // Noise between commands and a command with a wrong count are passed over.
        QCOMPARE(radio.receive(QByteArray("\x06Q\x00", 3) + QByteArray("R\x00\x10\x07", 4) + readRequest(0x3F8)),
                 patternReply(0x3F8));
        QCOMPARE(radio.log().blocksRead, (QList<int>{85, 1, 127}));
        QCOMPARE(radio.log().blocksWritten, QList<int>{1});

        QVERIFY(radio.receive("END").isEmpty());
        QCOMPARE(radio.mode(), VirtualRadio::Mode::Idle);
        QVERIFY(radio.log().endedWithEnd);
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
        QCOMPARE(radio.receive(access::openingCode()), Ack);
        QCOMPARE(radio.mode(), VirtualRadio::Mode::AwaitIdentityRequest);
        QCOMPARE(radio.receive('\x02').size(), 8);
        QCOMPARE(radio.receive('\x06'), Ack);
        QCOMPARE(radio.memory(), patternMemory());
        QCOMPARE(radio.log().openingCodes, 2);
        radio.lineLost();
        QCOMPARE(radio.mode(), VirtualRadio::Mode::Idle);
    }

    void handshakeFaults() {
        RadioFaults f;
        VirtualRadio silent;
        QVERIFY(RadioFaults::parse(QStringLiteral("silent"), f));
        silent.setFaults(f);
        QVERIFY(handshake(silent).isEmpty());
        QCOMPARE(silent.log().openingCodes, 1);

        VirtualRadio third;
        f = {};
        QVERIFY(RadioFaults::parse(QStringLiteral("answer-attempt:3"), f));
        third.setFaults(f);
        QVERIFY(third.receive(access::openingCode() + access::openingCode() + '\x02').isEmpty());
        QCOMPARE(third.receive(access::openingCode()), Ack);

        VirtualRadio noAck;
        f = {};
        QVERIFY(RadioFaults::parse(QStringLiteral("no-final-ack"), f));
        noAck.setFaults(f);
        QCOMPARE(handshake(noAck).size(), 1 + 8); // acknowledges the code, sends the identity, no more
        QVERIFY(noAck.inProgrammingMode());

        VirtualRadio longId;
        longId.setIdentity("RZ4K8X");
        QCOMPARE(handshake(longId).left(10), Ack + "RZ4K8X\x07\x02" + char(0x00));
    }

    void blockFaults_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("silentAfter");
        const QByteArray normal = patternReply(0x18);
        QTest::newRow("short") << "short-reply-at-block:3" << readRequest(0x18) << normal.left(6) << false;
        QTest::newRow("extra") << "extra-byte-at-block:3" << readRequest(0x18) << normal + '\x00' << false;
        QTest::newRow("bad header") << "bad-header-at-block:3" << readRequest(0x18) << "X" + normal.mid(1) << false;
        QTest::newRow("wrong address") << "wrong-address-at-block:3:0x90" << readRequest(0x18) << patternReply(0x90)
                                       << false;
        QTest::newRow("address beyond memory")
            << "wrong-address-at-block:3:4096" << readRequest(0x18) << QByteArray("W\x10\x00\x08", 4) + QByteArray(8, 0)
            << false;
        QTest::newRow("nak") << "nak-at-block:3" << writeRequest(0x18, "ABCDEFGH") << QByteArray(1, '\x15') << true;
        QTest::newRow("stop after read") << "stop-after-block:3" << readRequest(0x18) << normal << true;
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
        RadioFaults f;
        QVERIFY(RadioFaults::parse(fault, f));
        radio.setFaults(f);
        handshake(radio);
        QCOMPARE(radio.receive(request), reply);
        QCOMPARE(radio.memory(), patternMemory()); // a refused write stores nothing
        QCOMPARE(radio.receive(readRequest(0x40)), silentAfter ? QByteArray() : patternReply(0x40));
        QCOMPARE(radio.receive(access::openingCode()).isEmpty(), silentAfter); // silent for good
    }

    void faultTexts() {
        RadioFaults f;
        for (const char* text : {"silent", "answer-attempt:2", "no-final-ack", "short-reply-at-block:1",
                                 "extra-byte-at-block:2", "bad-header-at-block:0x7F", "wrong-address-at-block:4:0x208",
                                 "nak-at-block:86", "stop-after-block:40", "slow:700"})
            QVERIFY2(RadioFaults::parse(QLatin1String(text), f), text);
        QVERIFY(f.silent && f.noFinalAck);
        QCOMPARE(f.answerAttempt, 2);
        QCOMPARE(f.badHeaderAtBlock, 127);
        QCOMPARE(f.wrongAddressAtBlock, 4);
        QCOMPARE(f.wrongAddress, 0x208);
        QCOMPARE(f.nakAtBlock, 86);
        QCOMPARE(f.stopAfterBlock, 40);
        QCOMPARE(f.slowMs, 700);

        for (const char* text : {"bogus", "slow", "slow:-5", "short-reply-at-block:128", "wrong-address-at-block:3",
                                 "silent:1", "answer-attempt:0", "nak-at-block:x", ""}) {
            RadioFaults g;
            QString error;
            QVERIFY2(!RadioFaults::parse(QLatin1String(text), g, &error), text);
            QVERIFY(!error.isEmpty());
            QCOMPARE(g.slowMs, 0);
            QCOMPARE(g.answerAttempt, 1);
        }
    }

    // 11 bits a byte at 9600 baud: 1.1458 ms, both ways, every byte.
    void wireTiming() {
        VirtualClock clock;
        VirtualRadio radio(patternMemory());
        MemoryLink link(radio, clock);
        QVERIFY(link.setSettings(QStringLiteral("9600,N,8,2")));
        QVERIFY(link.open());

        QVERIFY(link.send(access::openingCode())); // 9.17 ms on the wire, the 0x06 1.15 ms more
        QCOMPARE(link.outBufferCount(), 8);
        at(clock, 9);
        QCOMPARE(link.outBufferCount(), 1);
        at(clock, 10);
        QCOMPARE(link.outBufferCount(), 0);
        QCOMPARE(link.inBufferCount(), 0);
        at(clock, 11);
        QCOMPARE(link.takeAll(), Ack);

        link.send(QByteArray(1, '\x02')); // reaches the radio at 12.15; 8 bytes back by 21.3
        at(clock, 21);
        QCOMPARE(link.inBufferCount(), 7);
        at(clock, 22);
        QCOMPARE(link.takeAll().size(), 8);
        link.send(Ack);
        at(clock, 25);
        QCOMPARE(link.takeAll(), Ack);

        link.send(readRequest(0x100)); // on the wire until 29.58, reply complete at 43.33
        at(clock, 29);
        QCOMPARE(link.outBufferCount(), 1);
        at(clock, 30);
        QCOMPARE(link.outBufferCount(), 0);
        at(clock, 43);
        QCOMPARE(link.inBufferCount(), 11);
        at(clock, 44);
        QCOMPARE(link.takeAll(), patternReply(0x100));

        // Bytes queued while others are on the wire follow them back to back.
        at(clock, 100);
        link.send(QByteArray("R\x00", 2));
        at(clock, 101);
        link.send(QByteArray("\x00\x08", 2));
        at(clock, 104);
        QCOMPARE(link.outBufferCount(), 1);
        at(clock, 105);
        QCOMPARE(link.outBufferCount(), 0);
    }

    void discardsLateRepliesAndSettings() {
        VirtualClock clock;
        VirtualRadio radio(patternMemory());
        MemoryLink link(radio, clock);
        link.open();
        handshake(radio);

        // A reply half arrived when the input is discarded: the rest still comes.
        link.send(readRequest(0));
        at(clock, 10);
        QCOMPARE(link.inBufferCount(), 4);
        QVERIFY(link.discardInput());
        at(clock, 20);
        QCOMPARE(link.takeAll(), patternBytes(0));

        // Discarding output keeps the byte on the wire and drops those not started.
        at(clock, 100);
        link.send(writeRequest(0, "ABCDEFGH"));
        at(clock, 102);
        QVERIFY(link.discardOutput());
        QCOMPARE(link.outBufferCount(), 1);
        at(clock, 150);
        QCOMPARE(link.inBufferCount(), 0);
        QCOMPARE(radio.memory(), patternMemory());

        // A slow radio answers late.
        VirtualRadio slow(patternMemory());
        RadioFaults f;
        RadioFaults::parse(QStringLiteral("slow:50"), f);
        slow.setFaults(f);
        MemoryLink slowLink(slow, clock);
        slowLink.open();
        handshake(slow);
        at(clock, 200);
        slowLink.send(readRequest(0)); // request over at 204.58, first byte 50 ms + 1.15 ms later
        at(clock, 255);
        QCOMPARE(slowLink.inBufferCount(), 0);
        at(clock, 256);
        QCOMPARE(slowLink.inBufferCount(), 1);

        // At other line settings the radio hears nothing it understands.
        QVERIFY(!link.setSettings(QStringLiteral("9600,X,8,2")));
        QVERIFY(!link.setSettings(QStringLiteral("9600,N,8")));
        QVERIFY(link.setSettings(QStringLiteral("9600,O,8,2")));
        VirtualRadio fresh;
        MemoryLink probe(fresh, clock);
        probe.setSettings(QStringLiteral("9600,O,8,2"));
        probe.open();
        probe.send(access::openingCode());
        at(clock, 400);
        QCOMPARE(probe.inBufferCount(), 0);
        QCOMPARE(fresh.log().openingCodes, 0);
    }

    void closeAndCut() {
        VirtualClock clock;
        VirtualRadio radio(patternMemory());
        MemoryLink link(radio, clock);
        QCOMPARE(link.inBufferCount(), -1); // not open yet
        link.setOpenFailure(QStringLiteral("device busy"));
        QVERIFY(!link.open());
        QCOMPARE(link.openError(), QStringLiteral("device busy"));
        link.setOpenFailure({});
        QVERIFY(link.open());

        // Closing in the middle of a write drops the rest; the radio, still on its cable, stays
        // in programming mode, and drops the half write when the next handshake comes.
        handshake(radio);
        link.send(writeRequest(0, "ABCDEFGH"));
        at(clock, 5);
        link.close();
        QVERIFY(radio.inProgrammingMode());
        QVERIFY(link.open());
        at(clock, 100);
        link.send(access::openingCode());
        at(clock, 120);
        QCOMPARE(link.takeAll(), Ack);
        QCOMPARE(radio.memory(), patternMemory());

        link.cut();
        QVERIFY(radio.mode() == VirtualRadio::Mode::Idle);
        QCOMPARE(link.inBufferCount(), -1);
        QCOMPARE(link.outBufferCount(), -1);
        QVERIFY(!link.send(access::openingCode()));
        QVERIFY(!link.discardInput() && !link.discardOutput());
        QVERIFY(link.takeAll().isEmpty());
        link.close();
        QVERIFY(!link.open());
        QCOMPARE(radio.log().openingCodes, 2);
    }

    void memoryImages() {
        const RadioData demo = demoRadioImage();
        QVERIFY(infoTextFromImage(demo).startsWith(QStringLiteral("ORVANTE demo radio")));
        QCOMPARE(radioIdText(demo), QStringLiteral("ORV-DEMO-0000042"));
        QCOMPARE(dateStampText(demo), QStringLiteral("2024-03-15, 10:30:00"));
        QCOMPARE(demo.modelByte(), std::uint8_t(7));
        const ConstRecord ch1 = demo.channel(0);
        QCOMPARE(decodeFrequency(ch1[0], ch1[1], ch1[2]), QStringLiteral("146.52000"));
        QCOMPARE(signallingToText(ch1[2], ch1[3], ch1[4]), QStringLiteral("CTC 88.5"));
        QCOMPARE(demo.channel(6)[7] & 0x08, 0); // receive only
        QCOMPARE(demo.channel(15)[2] & 0x08, 0); // not in use

        const RadioData fresh = defaultRadioMemory();
        QCOMPARE(radioIdText(fresh), QStringLiteral("ORV-SIM-00000001"));
        QCOMPARE(fresh.dateStamp()[0], std::uint8_t(0));
        QCOMPARE(decodeFrequency(fresh.channel(0)[0], fresh.channel(0)[1], fresh.channel(0)[2]),
                 QStringLiteral("136.00000"));
        QCOMPARE(VirtualRadio().identityReply(), QByteArray("RZ4K8\x07\x02\x00", 8));
    }

    void simulatorOnPseudoTerminal() {
        const QString program = qEnvironmentVariable("ORVANTE_BIN_DIR") + QStringLiteral("/orvante-radio-sim");
        if (!QFile::exists(program))
            QSKIP("orvante-radio-sim is not built");
        QTemporaryDir dir;
        const QString saved = dir.filePath(QStringLiteral("saved.kvd"));
        const QString trace = dir.filePath(QStringLiteral("trace.txt"));

        const auto exitCode = [&](const QStringList& arguments) {
            QProcess p;
            p.start(program, arguments);
            return p.waitForFinished(5000) ? p.exitCode() : -1;
        };
        QCOMPARE(exitCode({QStringLiteral("--fault"), QStringLiteral("bogus")}), 2);
        QCOMPARE(exitCode({QStringLiteral("--image"), dir.filePath(QStringLiteral("none.kvd"))}), 1);

        QProcess sim;
        sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        sim.start(program, {QStringLiteral("--model-code"), QStringLiteral("9"), QStringLiteral("--trace"), trace,
                            QStringLiteral("--save-on-exit"), saved});
        QVERIFY(sim.waitForStarted());
        QVERIFY(sim.waitForReadyRead(5000));
        while (!sim.canReadLine())
            QVERIFY(sim.waitForReadyRead(5000));
        const QByteArray device = sim.readLine().trimmed();
        QVERIFY(device.startsWith("/dev/"));

        const int fd = ::open(device.constData(), O_RDWR | O_NOCTTY);
        QVERIFY(fd >= 0);
        termios tio{};
        ::tcgetattr(fd, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(fd, TCSANOW, &tio);

        QCOMPARE(exchange(fd, access::openingCode(), 1), Ack);
        QCOMPARE(exchange(fd, QByteArray(1, '\x02'), 8).left(6), QByteArray("RZ4K8\x09"));
        QCOMPARE(exchange(fd, Ack, 1), Ack);
        QCOMPARE(exchange(fd, writeRequest(0x3E0, "SIM-TEST"), 1), Ack);
        QElapsedTimer paced;
        paced.start();
        QCOMPARE(exchange(fd, readRequest(0x3E0), 12), QByteArray("W\x03\xE0\x08", 4) + "SIM-TEST");
        QVERIFY2(paced.elapsed() >= 16, "4 bytes out and 12 back take 18.3 ms on the wire");
        ::write(fd, "END", 3);
        ::close(fd);

        sim.terminate(); // SIGTERM
        QVERIFY(sim.waitForFinished(5000));
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.exitCode(), 0);
        const LoadOutcome out = readDataFile(saved, RadioData{});
        QCOMPARE(out.status, LoadStatus::Ok);
        QVERIFY(radioIdText(out.data).startsWith(QStringLiteral("SIM-TEST")));
        QFile log(trace);
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QByteArray lines = log.readAll();
        QVERIFY(lines.contains(" RX 02\n"));
        QVERIFY(lines.contains(" TX 06\n"));
    }
};

QTEST_GUILESS_MAIN(TestSim)
#include "test_sim.moc"

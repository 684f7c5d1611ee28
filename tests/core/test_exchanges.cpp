// The exchanges with the radio, against the virtual radio on a virtual clock: the bytes on
// the wire, the timings, the messages of every failure, and that a failed read never
// changes the caller's data.

#include "common/RecordingFeedback.h"
#include "image/RadioInfoText.h"
#include "link/AccessCodes.h"
#include "link/Exchanges.h"
#include "link/Trace.h"
#include "sim/MemoryLink.h"
#include "sim/VirtualRadio.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace orv;
using orv::test::RecordingFeedback;

namespace {

const QString PortText = QStringLiteral("COM2 port don't respond, please check your connection!");
const QString ModelText =
    QStringLiteral("The radio model doesn't match with this software. Please select the right radio!");

// A radio on a virtual clock, with every chunk on the wire recorded.
struct Bench {
    VirtualClock clock;
    sim::VirtualRadio radio;
    sim::MemoryLink wire{radio, clock};
    QList<QPair<std::int64_t, QByteArray>> sent;
    struct Recorder : SerialLink {
        Bench* b;
        explicit Recorder(Bench* bench) : b(bench) {}
        bool setSettings(const QString& s) override { return b->wire.setSettings(s); }
        bool open() override { return b->wire.open(); }
        void close() override { b->wire.close(); }
        bool isOpen() const override { return b->wire.isOpen(); }
        QString openError() const override { return b->wire.openError(); }
        int inBufferCount() override { return b->wire.inBufferCount(); }
        int outBufferCount() override { return b->wire.outBufferCount(); }
        bool discardInput() override { return b->wire.discardInput(); }
        bool discardOutput() override { return b->wire.discardOutput(); }
        bool send(const QByteArray& bytes) override {
            b->sent.append({b->clock.nowMs(), bytes});
            return b->wire.send(bytes);
        }
        QByteArray takeAll() override { return b->wire.takeAll(); }
    } recorder{this};
    RadioLink link{recorder, clock, QStringLiteral("COM2")};
    RecordingFeedback feedback;

    explicit Bench(const QStringList& faults = {}) {
        sim::RadioFaults f;
        for (const QString& text : faults)
            QVERIFY(sim::RadioFaults::parse(text, f));
        radio.setFaults(f);
    }
    QList<QByteArray> payloads() const {
        QList<QByteArray> p;
        for (const auto& s : sent)
            p.append(s.second);
        return p;
    }
    int count(const QByteArray& payload) const { return int(payloads().count(payload)); }
};

RadioData patterned() {
    RadioData d;
    for (int i = 0; i < addr::ImageSize; ++i)
        d.image[size_t(i)] = std::uint8_t(i * 7 + 3);
    return d;
}

QByteArray request(char cmd, int address) {
    const char bytes[] = {cmd, char(address >> 8), char(address & 0xFF), 8};
    return QByteArray(bytes, 4);
}

} // namespace

class TestExchanges : public QObject {
    Q_OBJECT

private slots:
    // The whole read: handshake, 128 requests in order, "END", progress to exactly 635, the
    // completion message, and the radio's memory in the result.
    void readCopiesTheRadio() {
        Bench b;
        b.radio.setMemory(patterned());
        b.radio.setDataVersion(0);
        RadioData before;
        const auto result = readRadio(b.link, b.feedback, before);
        QVERIFY(result);
        QCOMPARE(result->data.image, patterned().image);
        QCOMPARE(result->dataVersion, 0);

        const QList<QByteArray> p = b.payloads();
        QCOMPARE(p.size(), 3 + 128 + 1);
        QCOMPARE(p[0], access::openingCode());
        QCOMPARE(p[1], QByteArray(1, 0x02));
        QCOMPARE(p[2], QByteArray(1, 0x06));
        for (int blk = 0; blk < 128; ++blk)
            QCOMPARE(p[3 + blk], request('R', 8 * blk));
        QCOMPARE(p[3 + 0x55], QByteArray("\x52\x02\xA8\x08", 4));
        QCOMPARE(p.last(), QByteArray("END"));

        QCOMPARE(b.feedback.progress.first(), QStringLiteral("open Reading data from the radio ...|635|Read"));
        QCOMPARE(b.feedback.progress[b.feedback.progress.size() - 2], QStringLiteral("set 635"));
        QCOMPARE(b.feedback.progress.last(), QStringLiteral("close"));
        QCOMPARE(b.feedback.texts(), QStringList{QStringLiteral("Read data is complete. Press OK button to continue ...")});
        QCOMPARE(b.feedback.shown[0].title, QStringLiteral("Read"));
        QCOMPARE(b.feedback.shown[0].icon, Icon::None);
        QVERIFY(!b.wire.isOpen());
        // Each block costs its 25 ms pause, the request on the wire and two 10 ms polls.
        const auto gap = b.sent[10].first - b.sent[9].first;
        QVERIFY2(gap >= 45 && gap <= 55, qPrintable(QString::number(gap)));
    }

    // Replies that do not match their request: the reply's own address decides, a wrong
    // header is skipped, a trailing extra byte is ignored.
    void readTakesRepliesAsTheyCome() {
        Bench b({QStringLiteral("wrong-address-at-block:17:0x90"), QStringLiteral("bad-header-at-block:3"),
                 QStringLiteral("extra-byte-at-block:5")});
        b.radio.setMemory(patterned());
        RadioData before;
        before.image.fill(0xEE);
        const auto result = readRadio(b.link, b.feedback, before);
        QVERIFY(result);
        for (int a = 0x18; a < 0x20; ++a)
            QCOMPARE(result->data.image[size_t(a)], std::uint8_t(0xEE)); // block 3 skipped
        for (int a = 0x88; a < 0x90; ++a)
            QCOMPARE(result->data.image[size_t(a)], std::uint8_t(0xEE)); // block 17 went to 0x90
        for (int a = 0x90; a < 0x98; ++a)
            QCOMPARE(result->data.image[size_t(a)], patterned().image[size_t(a)]);
        QCOMPARE(result->data.image[0x28], patterned().image[0x28]);
    }

    // A read that stops part way, a reply that would land outside the image, a line that is
    // cut: the failure message once, and the caller's data stay exactly as they were.
    void failedReadChangesNothing_data() {
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<bool>("cut");
        QTest::newRow("silent after block 40") << QStringList{QStringLiteral("stop-after-block:39")} << false;
        QTest::newRow("short reply") << QStringList{QStringLiteral("short-reply-at-block:40")} << false;
        QTest::newRow("outside the image") << QStringList{QStringLiteral("wrong-address-at-block:9:0x3FC")} << false;
        QTest::newRow("cable pulled") << QStringList{} << true;
    }
    void failedReadChangesNothing() {
        QFETCH(QStringList, faults);
        QFETCH(bool, cut);
        Bench b(faults);
        b.radio.setMemory(patterned());
        RadioData before;
        before.image.fill(0x5A);
        std::optional<ReadResult> result;
        if (cut) {
            // Pull the cable once the radio has answered a few blocks.
            struct Cutter : RecordingFeedback {
                sim::MemoryLink* wire = nullptr;
                void progressSet(int v) override {
                    RecordingFeedback::progressSet(v);
                    if (v == 50)
                        wire->cut();
                }
            } feedback;
            feedback.wire = &b.wire;
            const auto t0 = b.clock.nowMs();
            result = readRadio(b.link, feedback, before);
            QVERIFY(b.clock.nowMs() - t0 < 2000); // a broken line ends at once
            QCOMPARE(feedback.texts(), QStringList{QStringLiteral("Reading data interrupted. Please read again!")});
        } else {
            result = readRadio(b.link, b.feedback, before);
            QCOMPARE(b.feedback.texts(), QStringList{QStringLiteral("Reading data interrupted. Please read again!")});
            QCOMPARE(b.feedback.shown[0].title, QStringLiteral("Reading Error"));
            QCOMPARE(b.feedback.shown[0].icon, Icon::Exclamation);
            QCOMPARE(b.feedback.progress.last(), QStringLiteral("close"));
        }
        QVERIFY(!result);
        QCOMPARE(before.image[0], std::uint8_t(0x5A));
        QVERIFY(!b.wire.isOpen());
    }

    // The opening code is tried three times; a radio that answers the second gets exactly two.
    // One that never answers costs three attempts and gets no identity request.
    void handshakeAttempts() {
        Bench second({QStringLiteral("answer-attempt:2")});
        QVERIFY(readRadio(second.link, second.feedback, RadioData{}));
        QCOMPARE(second.count(access::openingCode()), 2);

        Bench silent({QStringLiteral("silent")});
        QVERIFY(!readRadio(silent.link, silent.feedback, RadioData{}));
        QCOMPARE(silent.payloads(), QList<QByteArray>(3, access::openingCode()));
        // 80 ms before each attempt, the code on the wire, 20 ms settle, 41 polls of 15 ms.
        const auto spacing = silent.sent[1].first - silent.sent[0].first;
        QVERIFY2(spacing >= 80 + 20 + 615 && spacing <= 80 + 20 + 615 + 12, qPrintable(QString::number(spacing)));
        QCOMPARE(silent.feedback.texts(), QStringList{PortText});
        QCOMPARE(silent.feedback.shown[0].title, QStringLiteral("Communication port error"));
        QCOMPARE(silent.feedback.shown[0].icon, Icon::Exclamation);
    }

    // Identity problems: another identity is a model mismatch (titled per command), a 9-byte
    // identity reply or a missing closing acknowledgement is a port failure, a model code
    // above 32 is reported and the exchange goes on.
    void handshakeIdentity() {
        Bench other;
        other.radio.setIdentity("QX9Z1");
        QVERIFY(!readRadio(other.link, other.feedback, RadioData{}));
        QCOMPARE(other.feedback.texts(), QStringList{ModelText});
        QCOMPARE(other.feedback.shown[0].title, QStringLiteral("Radio Error"));
        RadioData data;
        int version = 2;
        QVERIFY(!writeRadio(other.link, other.feedback, data, version, {7, QStringLiteral("T")}));
        QCOMPARE(other.feedback.shown.last().title, QStringLiteral("Radio model error"));

        Bench longer;
        longer.radio.setIdentity("RZ4K8X");
        QVERIFY(!readRadio(longer.link, longer.feedback, RadioData{}));
        QCOMPARE(longer.feedback.texts(), QStringList{PortText});

        Bench noAck({QStringLiteral("no-final-ack")});
        QVERIFY(!readRadio(noAck.link, noAck.feedback, RadioData{}));
        QCOMPARE(noAck.feedback.texts(), QStringList{PortText});

        Bench odd;
        odd.radio.setModelCode(40);
        QVERIFY(readRadio(odd.link, odd.feedback, RadioData{}));
        QCOMPARE(odd.feedback.texts().first(), QStringLiteral("The radio model is error. Please Write it to corect!"));
        QCOMPARE(odd.feedback.shown[0].icon, Icon::Critical);
    }

    // "END" answered by nothing is not an error and costs about 650 ms.
    void endCostsItsWait() {
        Bench b;
        b.link.openCommPort();
        const auto t0 = b.clock.nowMs();
        b.link.endConnection();
        const auto took = b.clock.nowMs() - t0;
        QVERIFY2(took >= 650 && took <= 660, qPrintable(QString::number(took)));
        QVERIFY(!b.link.failed());
    }

    // The write: 38 blocks in order, the data version in byte 1 of both model blocks on the
    // wire (not in the image), the settings as they were before the questions, the date stamp
    // from the clock, and exactly those bytes in the radio.
    void writeSendsTheUserData() {
        Bench b;
        b.radio.setDataVersion(0);
        RadioData data = patterned();
        int version = 2;
        QVERIFY(writeRadio(b.link, b.feedback, data, version, {7, QStringLiteral("T")}));
        QCOMPARE(version, 0);
        QList<int> expected;
        for (int blk : writeBlockOrder())
            expected.append(blk);
        QCOMPARE(b.radio.log().blocksWritten, expected);
        QCOMPARE(expected.mid(30), (QList<int>{30, 31, 86, 87, 90, 91, 120, 121}));

        const auto& mem = b.radio.memory().image;
        QCOMPARE(mem[0x2D1], std::uint8_t(0));
        QCOMPARE(mem[0x2D9], std::uint8_t(0));
        QCOMPARE(data.image[0x2D1], patterned().image[0x2D1]);
        for (int a = 0; a < 0x100; ++a)
            QCOMPARE(mem[size_t(a)], data.image[size_t(a)]);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(&mem[0x3C0]), 16),
                 QByteArray("20050429134", 11) + QByteArray(reinterpret_cast<const char*>(&mem[0x3CB]), 5));
        QCOMPARE(mem[0x3CE], std::uint8_t(0));
        QCOMPARE(mem[0x100], std::uint8_t(0)); // test channels are never written
        QVERIFY(b.radio.log().endedWithEnd);
        QCOMPARE(b.feedback.texts(), QStringList{QStringLiteral("Write data is complete. Press OK button to continue ...")});
        QCOMPARE(b.feedback.shown[0].title, QStringLiteral("Write Complete"));
        QCOMPARE(b.feedback.progress.first(), QStringLiteral("open Writing data to the radio ...|140|Write"));
        QCOMPARE(b.feedback.progress[b.feedback.progress.size() - 2], QStringLiteral("set 190"));
    }

    // Another model or a newer radio asks first; No sends nothing after the handshake and
    // leaves the radio in programming mode without "END".
    void writeQuestions() {
        Bench b;
        b.radio.setModelCode(8);
        b.feedback.answers = {Answer::No};
        RadioData data;
        int version = 2;
        QVERIFY(!writeRadio(b.link, b.feedback, data, version, {7, QStringLiteral("App")}));
        QCOMPARE(b.payloads().size(), 3);
        QVERIFY(b.radio.inProgrammingMode());
        QCOMPARE(b.feedback.shown[0].text,
                 QStringLiteral("The selected model is different from the destination radio model. Do you want to continue?"));
        QCOMPARE(b.feedback.shown[0].title, QStringLiteral("App"));
        QCOMPARE(b.feedback.shown[0].icon, Icon::Information);

        Bench newer;
        newer.radio.setDataVersion(3);
        newer.feedback.answers = {Answer::No};
        QVERIFY(!writeRadio(newer.link, newer.feedback, data, version, {7, QStringLiteral("App")}));
        QCOMPARE(version, 3);
        QCOMPARE(newer.feedback.shown[0].text,
                 QStringLiteral("New Version Radio. Please update program software. Do you want to continue?"));
        QVERIFY(newer.radio.log().blocksWritten.isEmpty());
    }

    // A refused block stops the write there: channels written, settings and the rest not.
    void writeRefusedBlock() {
        Bench b({QStringLiteral("nak-at-block:86")});
        RadioData data = patterned();
        int version = 2;
        QVERIFY(!writeRadio(b.link, b.feedback, data, version, {7, QStringLiteral("T")}));
        QCOMPARE(b.radio.log().blocksWritten.size(), 32);
        QCOMPARE(b.feedback.texts(), QStringList{QStringLiteral("Writing data interrupted. Please write again!")});
        QCOMPARE(b.feedback.shown[0].title, QStringLiteral("Writing Error"));
        QCOMPARE(b.feedback.progress.last(), QStringLiteral("close"));
    }

    // The information read takes the text, date and ID (not 0x3D0-0x3DF); the write sends the
    // 24 text blocks only.
    void radioInformation() {
        Bench b;
        RadioData mem = patterned();
        storeInfoText(QStringLiteral("Fleet 7, unit 12"), mem);
        b.radio.setMemory(mem);
        RadioData before;
        before.image.fill(0x11);
        const auto got = readEmbedInfo(b.link, b.feedback, before);
        QVERIFY(got);
        QCOMPARE(infoTextFromImage(*got).left(16), QStringLiteral("Fleet 7, unit 12"));
        QCOMPARE(got->image[0x3C5], mem.image[0x3C5]);
        QCOMPARE(got->image[0x3E3], mem.image[0x3E3]);
        QCOMPARE(got->image[0x3D0], std::uint8_t(0x11));
        QCOMPARE(got->image[0x2FF], std::uint8_t(0x11));
        QCOMPARE(b.count(request('R', 0x3E8)), 1);
        QCOMPARE(b.feedback.texts(), QStringList{QStringLiteral("Reading is complete. Press OK button to continue ...")});

        Bench w;
        RadioData text;
        storeInfoText(QStringLiteral("New text"), text);
        QVERIFY(writeEmbedInfo(w.link, w.feedback, text));
        QCOMPARE(w.radio.log().blocksWritten.size(), 24);
        QCOMPARE(w.radio.log().blocksWritten.last(), 0x3B8 / 8);
        QCOMPARE(infoTextFromImage(w.radio.memory()).left(8), QStringLiteral("New text"));
        QCOMPARE(w.feedback.texts(), QStringList{QStringLiteral("Writing is complete. Press OK button to continue ...")});

        Bench shortInfo({QStringLiteral("short-reply-at-block:100")});
        QVERIFY(!readEmbedInfo(shortInfo.link, shortInfo.feedback, before));
        QCOMPARE(shortInfo.feedback.texts(), QStringList{QStringLiteral("Reading error, please try again!")});
        Bench refused({QStringLiteral("nak-at-block:99")});
        QVERIFY(!writeEmbedInfo(refused.link, refused.feedback, text));
        QCOMPARE(refused.feedback.texts(), QStringList{QStringLiteral("Writing data interrupted. Please try again!")});
    }

    // A port that cannot be opened gives the port message with the reason after it.
    void portThatWillNotOpen() {
        Bench b;
        b.wire.setOpenFailure(QStringLiteral("/dev/ttyUSB0 was not found."));
        QVERIFY(!readRadio(b.link, b.feedback, RadioData{}));
        QCOMPARE(b.feedback.texts(), QStringList{PortText + QStringLiteral("\n\n/dev/ttyUSB0 was not found.")});
        QVERIFY(b.sent.isEmpty());
    }

    // The port probe opens and closes; a port that will not open counts as absent.
    void portProbe() {
        Bench b;
        QCOMPARE(testCommPort(b.wire), 1);
        QVERIFY(!b.wire.isOpen());
        b.wire.setOpenFailure(QStringLiteral("busy"));
        QCOMPARE(testCommPort(b.wire), 0);
        QVERIFY(!b.wire.isOpen());
    }

    // The trace has one line per chunk: time, direction, hex bytes.
    void traceLines() {
        QCOMPARE(traceLine(1234, true, QByteArray("\x52\x02\xA8\x08", 4)), QStringLiteral("1234 TX 52 02 A8 08"));
        QCOMPARE(traceLine(7, false, QByteArray(1, 0x06)), QStringLiteral("7 RX 06"));
    }
};

QTEST_GUILESS_MAIN(TestExchanges)
#include "test_exchanges.moc"

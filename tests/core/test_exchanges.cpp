// The exchanges with the radio, against the virtual radio on a virtual clock: the bytes on
// the wire, the timings, the messages of every failure, and that a failed read never
// changes the caller's data.

#include "common/RadioBench.h"
#include "image/RadioInfoText.h"
#include "link/AccessCodes.h"
#include "link/Exchanges.h"
#include "link/Trace.h"
#include "sim/MemoryLink.h"
#include "sim/VirtualRadio.h"

#include <QtTest>

using namespace orv;
using orv::test::RecordingFeedback;

namespace {

const QString PortText = QStringLiteral("COM2 port don't respond, please check your connection!");
const QString ModelText =
    QStringLiteral("The radio model doesn't match with this software. Please select the right radio!");

using Bench = orv::test::RadioBench;

RadioData patterned() {
    RadioData d;
    for (int i = 0; i < addr::ImageSize; ++i)
        d.image[size_t(i)] = std::uint8_t(i * 7 + 3);
    return d;
}

QByteArray request(char cmd, int address) { return orv::test::blockRequest(cmd, address); }

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
        QCOMPARE(p.mid(0, 3), (QList<QByteArray>{access::openingCode(), QByteArray(1, 0x02), QByteArray(1, 0x06)}));
        for (int blk = 0; blk < 128; ++blk)
            QCOMPARE(p[3 + blk], request('R', 8 * blk));
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

    // Every failure: its one message with title and icon, the port closed, the progress window
    // (if it opened) closed, the blocks the radio took before it, and the caller's data kept.
    void failures_data() {
        QTest::addColumn<int>("command"); // 0 read, 1 write, 2 information read, 3 information write
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QByteArray>("identity"); // empty: the right one
        QTest::addColumn<QString>("openFailure");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("written");
        QTest::addColumn<int>("cutAfter");
        const QString readText = QStringLiteral("Reading data interrupted. Please read again!");
        const auto row = [](const char* name, int command, const QStringList& faults, const QByteArray& identity,
                            const QString& openFailure, const QString& text, const char* title, int written = 0,
                            int cutAfter = -1) {
            QTest::newRow(name) << command << faults << identity << openFailure << text << QString(title) << written
                                << cutAfter;
        };
        row("read: silent after block 40", 0, {"stop-after-block:39"}, {}, {}, readText, "Reading Error");
        row("read: short reply", 0, {"short-reply-at-block:40"}, {}, {}, readText, "Reading Error");
        row("read: outside the image", 0, {"wrong-address-at-block:9:0x3FC"}, {}, {}, readText, "Reading Error");
        row("read: silent radio", 0, {"silent"}, {}, {}, PortText, "Communication port error");
        row("read: identity too long", 0, {}, "RZ4K8X", {}, PortText, "Communication port error");
        row("read: no closing ack", 0, {"no-final-ack"}, {}, {}, PortText, "Communication port error");
        row("read: other model", 0, {}, "QX9Z1", {}, ModelText, "Radio Error");
        row("write: other model", 1, {}, "QX9Z1", {}, ModelText, "Radio model error");
        row("write: refused block", 1, {"nak-at-block:86"}, {}, {},
            QStringLiteral("Writing data interrupted. Please write again!"), "Writing Error", 32);
        row("information read: short reply", 2, {"short-reply-at-block:100"}, {}, {},
            QStringLiteral("Reading error, please try again!"), "Error");
        row("information write: refused block", 3, {"nak-at-block:99"}, {}, {},
            QStringLiteral("Writing data interrupted. Please try again!"), "Error", 3);
        row("read: cable pulled", 0, {}, {}, {}, readText, "Reading Error", 0, 10);
        row("write: cable pulled", 1, {}, {}, {}, QStringLiteral("Writing data error, please write again!"),
            "Data Error", 6, 10);
        row("information read: other model", 2, {}, "QX9Z1", {}, ModelText, "Radio Error");
        row("information write: other model", 3, {}, "QX9Z1", {}, ModelText, "Radio model error");
        row("information read: cable pulled", 2, {}, {}, {},
            QStringLiteral("Reading data interrupted. Please try again!"), "Error", 0, 5);
        row("information write: cable pulled", 3, {}, {}, {}, QStringLiteral("Writing error, please try again!"),
            "Error", 1, 5);
        row("port will not open", 0, {}, {}, "/dev/ttyUSB0 was not found.",
            PortText + QStringLiteral("\n\n/dev/ttyUSB0 was not found."), "Communication port error");
    }
    void failures() {
        QFETCH(int, command);
        QFETCH(QStringList, faults);
        QFETCH(QByteArray, identity);
        QFETCH(QString, openFailure);
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(int, written);
        QFETCH(int, cutAfter);
        Bench b(faults);
        b.wire.cutAfterSends = cutAfter;
        b.radio.setMemory(patterned());
        if (!identity.isEmpty())
            b.radio.setIdentity(identity);
        b.wire.setOpenFailure(openFailure);
        RadioData data;
        data.image.fill(0x5A);
        int version = 2;
        bool done = true;
        if (command == 0)
            done = bool(readRadio(b.link, b.feedback, data));
        else if (command == 1)
            done = writeRadio(b.link, b.feedback, data, version, {7, QStringLiteral("T")});
        else if (command == 2)
            done = bool(readEmbedInfo(b.link, b.feedback, data));
        else
            done = writeEmbedInfo(b.link, b.feedback, data);
        QVERIFY(!done);
        QVERIFY(b.link.failure() != LinkFailure::None);
        QCOMPARE(b.feedback.texts(), QStringList{text});
        QCOMPARE(b.feedback.shown[0].title, title);
        QCOMPARE(b.feedback.shown[0].icon, Icon::Exclamation);
        QVERIFY(!b.wire.isOpen());
        QVERIFY(b.feedback.progress.isEmpty() || b.feedback.progress.last() == QStringLiteral("close"));
        QCOMPARE(b.radio.log().blocksWritten.size(), written);
        if (command == 0 || command == 2) // a read never changes the caller's data
            QVERIFY(std::all_of(data.image.begin(), data.image.end(), [](std::uint8_t v) { return v == 0x5A; }));
        if (!openFailure.isEmpty())
            QVERIFY(b.sent.isEmpty());
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
    }

    // A model code above 32 is reported and the exchange goes on.
    void unknownModelCode() {
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

    // The information read takes the text, date and ID (not 0x3D0-0x3DF); the write sends the
    // 24 text blocks only. Their failures are in failures().
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

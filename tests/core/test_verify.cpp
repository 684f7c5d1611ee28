// The verify after a write against the virtual radio: what it sends and when (the read's
// waits, only the written blocks, never a write), a radio that holds what was written, a
// radio that acknowledged a block but kept its old bytes, and a read back that fails.

#include "common/ExchangeLog.h"
#include "common/RadioBench.h"
#include "common/TestSetup.h"
#include "compare/DiffReport.h"
#include "compare/Verify.h"
#include "exchange/ExchangeRunner.h"

#include <QtTest>

using namespace orv;
using Bench = orv::test::RadioBench;
using Status = ExchangeResult::Status;
using orv::test::Log;

namespace {

// A bench with a runner, where a write has just put `data` into the radio.
struct Written {
    Bench bench;
    ExchangeRunner runner{bench.link, bench.feedback};
    RadioData data = sim::defaultRadioMemory();
    int version = 2;
    compare::SideOpener opener{test::twoModelCatalog(), NumberFormat()};
    compare::VerifyReport report;

    explicit Written(const QStringList& faults = {}) : bench(faults) {
        data.channel(1)[0] = 0x02; // CH 2 on 136.01250 MHz: not what the radio holds yet
        // The working table holds no data version; the write sends the radio's in its place.
        data.modelBlock()[1] = data.modelBlock()[9] = 0;
        const bool written = runner.write(data, version, {7, test::Title}).ok();
        if (!written)
            qWarning("the write before the verify failed");
        bench.sent.clear();
        bench.feedback.clear();
        bench.radio.clearLog();
    }
    ExchangeResult verify() { return runner.verify(data, version, opener, &report); }
    QStringList differenceLines() const {
        QStringList out;
        for (const compare::Difference& d : report.differences)
            out << compare::differenceLine(d);
        return out;
    }
};

} // namespace

class TestVerify : public QObject {
    Q_OBJECT
private slots:
    // Its own handshake, one read request for each block the write sent, in the write's
    // order, then "END"; nothing written; its own progress step.
    void radioHoldsWhatWasWritten() {
        Written w;
        Log log;
        w.runner.addObserver(&log);
        const RadioData before = w.bench.radio.memory();
        const ExchangeResult r = w.verify();
        QVERIFY(r.ok());
        QCOMPARE(r.message, compare::verifyPassedText());
        QCOMPARE(log.lines, (QStringList{"start verify COM2", "radio verify 7 v2", "end verify 0 none"}));
        QVERIFY(w.report.holdsWritten());
        QCOMPARE(*w.report.readBack, w.report.sent);

        QList<QByteArray> reads;
        for (const QByteArray& p : w.bench.payloads())
            if (p.startsWith('R'))
                reads << p;
        QList<QByteArray> expected;
        for (int b : writeBlockOrder())
            expected << test::blockRequest('R', b * addr::BlockSize);
        QCOMPARE(reads, expected);
        QCOMPARE(w.bench.payloads().last(), QByteArray("END"));
        QCOMPARE(w.bench.count(QByteArray(1, 0x02)), 1); // one handshake
        QVERIFY(w.bench.radio.log().blocksWritten.isEmpty());
        QCOMPARE(w.bench.radio.memory(), before);
        QVERIFY(w.bench.feedback.shown.isEmpty());
        QCOMPARE(w.bench.feedback.progress.first(), QStringLiteral("open Verifying ...|185|Verify"));
        QCOMPARE(w.bench.feedback.progress.mid(w.bench.feedback.progress.size() - 2),
                 (QStringList{"set 185", "close"}));
    }

    // The waits are the full read's: after the handshake, between blocks, before and after "END".
    void readsWithTheReadsWaits() {
        Written w;
        QVERIFY(w.verify().ok());
        const std::int64_t verifyEnd = w.bench.clock.nowMs();
        Bench read;
        QVERIFY(readRadio(read.link, read.feedback, RadioData{}));
        const std::int64_t readEnd = read.clock.nowMs();
        // Sends: opening code, 0x02, 0x06, the blocks, "END".
        const int verifyLast = int(w.bench.sent.size()) - 1, readLast = int(read.sent.size()) - 1;
        QCOMPARE(verifyLast, 3 + WriteBlockCount);
        QCOMPARE(w.bench.gap(2, 3), read.gap(2, 3));
        for (int i = 3; i + 1 < verifyLast; ++i)
            QCOMPARE(w.bench.gap(i, i + 1), read.gap(3, 4));
        QCOMPARE(w.bench.gap(verifyLast - 1, verifyLast), read.gap(readLast - 1, readLast));
        QCOMPARE(verifyEnd - w.bench.sent[verifyLast].first, readEnd - read.sent[readLast].first);
    }

    // The radio answered 0x06 to block 2 but kept its old bytes: never a success, and the
    // differences say which channel and field.
    void radioKeptOldBytes() {
        Written w({"keep-old-at-block:2"});
        Log log;
        w.runner.addObserver(&log);
        const ExchangeResult r = w.verify();
        QCOMPARE(r.status, Status::Failed);
        QCOMPARE(r.reason, LinkFailure::Mismatch);
        QCOMPARE(r.message, QStringLiteral("Verify failed: 1 difference(s) between what was written and what the radio holds."));
        QCOMPARE(log.lastMessage, r.message);
        QCOMPARE(log.lines.last(), QStringLiteral("end verify 1 mismatch"));
        QCOMPARE(w.differenceLines(), QStringList{"CH 2  Rx Freq(MHz)  136.01250 -> 136.00000"});
        QVERIFY(w.bench.feedback.shown.isEmpty()); // the verdict is the caller's to show
    }

    // The date stamp goes out with the write, so a radio that kept its old one fails too.
    void radioKeptOldDateStamp() {
        Written w({"keep-old-at-block:120"});
        QCOMPARE(w.verify().reason, LinkFailure::Mismatch);
        QCOMPARE(w.report.differences.size(), 1);
        QCOMPARE(w.report.differences[0].field, QStringLiteral("last_programmed"));
    }

    // A block kept old whose bytes did not change: the radio does hold what was written.
    void keptBlockThatDidNotChange() {
        Written w({"keep-old-at-block:31"});
        QVERIFY(w.verify().ok());
    }

    void faultSyntax() {
        QVERIFY(sim::RadioFaults::syntax().contains("keep-old-at-block:B"));
        sim::RadioFaults f;
        QString why;
        QVERIFY(!sim::RadioFaults::parse("keep-old-at-block:128", f, &why));
        QVERIFY(why.contains("keep-old-at-block"));
        QVERIFY(sim::RadioFaults::parse("keep-old-at-block:0x56", f));
        QCOMPARE(f.keepOldAtBlock, 86);
    }

    // A read back that fails is not a verdict: its message and its reason, nothing written.
    void readBackFails_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("message");
        // A block from another address would leave the asked-for block unread.
        QTest::newRow("wrong address") << "wrong-address-at-block:87:0x100" << "bad-reply"
                                       << "Verifying data interrupted. Please write again!";
        QTest::newRow("dropped header") << "bad-header-at-block:90" << "bad-reply"
                                        << "Verifying data interrupted. Please write again!";
        QTest::newRow("short reply") << "short-reply-at-block:0" << "bad-reply"
                                     << "Verifying data interrupted. Please write again!";
        QTest::newRow("silent") << "silent" << "no-answer" << "COM2 port don't respond, please check your connection!";
    }
    void readBackFails() {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        QFETCH(QString, message);
        Written w;
        w.bench.setFaults({fault});
        const ExchangeResult r = w.verify();
        QCOMPARE(r.status, Status::Failed);
        QCOMPARE(linkFailureName(r.reason), reason);
        QCOMPARE(r.message, message);
        QCOMPARE(w.bench.feedback.texts().last(), message);
        QVERIFY(!w.report.readBack);
        QVERIFY(w.bench.radio.log().blocksWritten.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestVerify)
#include "test_verify.moc"

// The exchange runner: the typed result of every way an exchange ends, what its observers
// learn and in which order, a stop in the middle of a read and of a write, and two full reads
// at the same time in two threads, each into its own document.

#include "CancelToken.h"
#include "WorkerFeedback.h"
#include "common/ExchangeLog.h"
#include "common/RadioBench.h"
#include "common/TestSetup.h"
#include "document/Document.h"
#include "exchange/ExchangeRunner.h"
#include "image/RadioInfoText.h"
#include "sim/MemoryLink.h"

#include <QtTest>

#include <thread>

using namespace orv;
using Bench = orv::test::RadioBench;
using Status = ExchangeResult::Status;
using orv::test::Log;

namespace {

RadioData patterned(std::uint8_t seed) {
    RadioData d;
    for (int a = 0; a < addr::ImageSize; ++a)
        d.image[std::size_t(a)] = std::uint8_t(seed + a * 7);
    return d;
}

} // namespace

class TestExchangeRunner : public QObject {
    Q_OBJECT
private slots:
    // Every ending of an exchange, as the history and the fleet will see it.
    void typedResults_data() {
        QTest::addColumn<QString>("exchange");
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("message");
        QTest::newRow("read ok") << "read" << QStringList() << int(Status::Ok) << "none"
                                 << "Read data is complete. Press OK button to continue ...";
        QTest::newRow("silent radio") << "read" << QStringList{"silent"} << int(Status::Failed) << "no-answer"
                                      << "COM2 port don't respond, please check your connection!";
        QTest::newRow("short reply") << "read" << QStringList{"short-reply-at-block:9"} << int(Status::Failed)
                                     << "bad-reply" << "Reading data interrupted. Please read again!";
        QTest::newRow("refused block") << "write" << QStringList{"nak-at-block:4"} << int(Status::Failed)
                                       << "refused-block" << "Writing data interrupted. Please write again!";
        QTest::newRow("other model, No") << "write-other-model" << QStringList() << int(Status::Cancelled) << "none"
                                         << "The selected model is different from the destination radio model. "
                                            "Do you want to continue?";
        QTest::newRow("info write ok") << "info-write" << QStringList() << int(Status::Ok) << "none"
                                       << "Writing is complete. Press OK button to continue ...";
        QTest::newRow("model code 255") << "read-model-255" << QStringList() << int(Status::Failed) << "wrong-radio"
                                        << "The radio model doesn't match with this software. Please select the right radio!";
        QTest::newRow("cable pulled") << "info-read-cut" << QStringList() << int(Status::Failed) << "line-lost"
                                      << "Reading data interrupted. Please try again!";
    }
    void typedResults() {
        QFETCH(QString, exchange);
        QFETCH(QStringList, faults);
        QFETCH(int, status);
        QFETCH(QString, reason);
        QFETCH(QString, message);
        Bench b(faults);
        b.feedback.answers = {Answer::No};
        ExchangeRunner runner(b.link, b.feedback);
        RadioData data = patterned(1);
        int version = 2;
        ExchangeResult r;
        if (exchange.startsWith(QLatin1String("read"))) {
            if (exchange.endsWith(QLatin1String("255"))) // a code no caller can tell from a mismatch
                b.radio.setModelCode(255);
            r = runner.read(data, nullptr);
        } else if (exchange.startsWith(QLatin1String("write"))) {
            const int model = exchange == QLatin1String("write") ? 7 : 9;
            r = runner.write(data, version, {model, test::Title});
        } else if (exchange == QLatin1String("info-write")) {
            r = runner.writeInfo(data);
        } else {
            b.wire.cutAfterSends = 10;
            r = runner.readInfo(data, nullptr);
        }
        QCOMPARE(int(r.status), status);
        QCOMPARE(linkFailureName(r.reason), reason);
        QCOMPARE(r.message, message);
        QCOMPARE(r.port, QStringLiteral("COM2"));
        QVERIFY(!b.wire.isOpen());
    }

    // The observers learn the start, the radio, the progress and the end, in that order; a
    // read names the radio by its ID too. The runner is the same for every exchange.
    void observersFollowEachExchange() {
        Bench b;
        RadioData memory = b.radio.memory();
        std::fill(memory.radioId().begin(), memory.radioId().end(), std::uint8_t('R'));
        b.radio.setMemory(memory);
        ExchangeRunner runner(b.link, b.feedback);
        Log log;
        runner.addObserver(&log);
        ReadResult read;
        const ExchangeResult r = runner.read(RadioData{}, &read);
        QVERIFY(r.ok());
        QCOMPARE(read.data, b.radio.memory());
        QCOMPARE(r.radio.modelCode, 7);
        QCOMPARE(r.radio.radioId, QString(16, QLatin1Char('R')));
        QCOMPARE(log.lines, (QStringList{"start read COM2", "radio read 7 v2", "end read 0 none"}));
        QCOMPARE(log.lastProgress, 5 * 127);

        log.lines.clear();
        runner.removeObserver(&log);
        QVERIFY(runner.writeInfo(read.data).ok());
        QVERIFY(log.lines.isEmpty());
    }

    // A stop between bytes fails the exchange as a pulled cable does, with its own reason:
    // the read leaves the caller's data as they were, the write sends no block after it.
    void stopInTheMiddle_data() {
        QTest::addColumn<bool>("write");
        QTest::newRow("read") << false;
        QTest::newRow("write") << true;
    }
    void stopInTheMiddle() {
        QFETCH(bool, write);
        Bench b;
        CancelToken stop;
        ExchangeRunner runner(b.link, b.feedback);
        runner.setCancelToken(&stop);
        const int stopAfter = 3 + 20; // the handshake, then 20 blocks
        b.wire.onSend = [&](int sends) {
            if (sends == stopAfter)
                stop.cancel();
        };
        const RadioData mine = patterned(9);
        ExchangeResult r;
        if (write) {
            RadioData data = mine;
            int version = 2;
            r = runner.write(data, version, {7, test::Title});
            // The block on the wire when the stop came is dropped with the port.
            QVERIFY(b.radio.log().blocksWritten.size() <= stopAfter - 3);
            QCOMPARE(r.message, QStringLiteral("Writing data error, please write again!"));
        } else {
            ReadResult out{mine, 5};
            r = runner.read(mine, &out);
            QCOMPARE(out.data, mine); // untouched
            QCOMPARE(out.dataVersion, 5);
            QCOMPARE(r.message, QStringLiteral("Reading data interrupted. Please read again!"));
        }
        QCOMPARE(int(r.status), int(Status::Failed));
        QCOMPARE(r.reason, LinkFailure::Stopped);
        QCOMPARE(b.sent.size(), stopAfter);
        QVERIFY(!b.wire.isOpen());
        // The next exchange on the same link starts afresh once the token is reset.
        stop.reset();
        b.wire.onSend = {};
        QVERIFY(runner.read(mine, nullptr).ok());
    }

    // Two radios read at the same time, each in its own thread with its own clock, link,
    // feedback, runner and document (in a comma and a point locale): both right.
    void twoReadsInParallelThreads() {
        struct Worker {
            RadioData memory;
            NumberFormat numbers;
            RadioData got;
            QString firstFrequency;
            bool ok = false;
            QStringList messages;
            void run() {
                VirtualClock clock;
                sim::VirtualRadio radio(memory);
                sim::MemoryLink wire(radio, clock);
                RadioLink link(wire, clock, QStringLiteral("COM3"));
                WorkerFeedback feedback(WorkerFeedback::always(Answer::No));
                ExchangeRunner runner(link, feedback);
                ReadResult read;
                ok = runner.read(RadioData{}, &read).ok();
                auto doc = test::makeDocument(test::editorCatalog(), clock, QString(), numbers);
                doc->startUp(feedback);
                doc->applyRead(read, feedback);
                got = doc->data();
                firstFrequency = doc->channels().rows[0].cells[ColRxFreq];
                for (const WorkerFeedback::Entry& e : feedback.entries())
                    messages << e.text;
            }
        };
        Worker a{sim::defaultRadioMemory(), NumberFormat(QLatin1Char(',')), {}, {}, false, {}};
        Worker b{sim::demoRadioImage(), NumberFormat(), {}, {}, false, {}};
        std::thread ta([&] { a.run(); });
        std::thread tb([&] { b.run(); });
        ta.join();
        tb.join();
        QVERIFY(a.ok && b.ok);
        QCOMPARE(a.got, a.memory);
        QCOMPARE(b.got, b.memory);
        QCOMPARE(a.firstFrequency, QStringLiteral("136,00000"));
        QVERIFY(b.firstFrequency.contains(QLatin1Char('.')));
        QCOMPARE(a.messages.last(), QStringLiteral("Read data is complete. Press OK button to continue ..."));
    }

    // A worker's feedback answers by its policy and keeps what was said, for another thread.
    void workerFeedbackRecords() {
        WorkerFeedback feedback([](const QString& text, Buttons) {
            return text.startsWith(QLatin1String("New Version")) ? Answer::Yes : Answer::No;
        });
        QCOMPARE(feedback.ask(QStringLiteral("New Version Radio."), {}, Icon::Information, Buttons::YesNo), Answer::Yes);
        QCOMPARE(feedback.ask(QStringLiteral("The selected model"), {}, Icon::Information, Buttons::YesNo), Answer::No);
        feedback.progressOpen(QStringLiteral("Reading"), 635, QStringLiteral("Read"));
        feedback.progressSet(40);
        feedback.message(QStringLiteral("done"), QStringLiteral("Read"), Icon::None);
        QCOMPARE(feedback.entries().size(), 3);
        QCOMPARE(feedback.entries()[1].answer, Answer::No);
        QCOMPARE(feedback.lastMessage(), QStringLiteral("done"));
        QCOMPARE(feedback.progress(), std::make_pair(40, 635));
    }
};

QTEST_GUILESS_MAIN(TestExchangeRunner)
#include "test_exchange_runner.moc"

// The radio history's speed: recording one event (the database alone, and the recorder as a
// runner tells it a read ended: hash, event, commit; no backup) against the target of 5 ms,
// and listing one radio's events out of 100,000 (the dialog's query and the CLI's list)
// against the target of 100 ms. Prints the median, the 99th percentile and the worst of each
// (the worst are the moments SQLite moves its journal into the file) and the median's ratio to
// the target (below 1 is within it). The history is a file in a temporary folder on the same disk as the
// system's temporary files.

#include "history/HistoryDatabase.h"
#include "history/HistoryRecorder.h"
#include "sim/VirtualRadio.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace orv;

namespace {

constexpr int Radios = 1000;

HistoryEvent sample(int i) {
    HistoryEvent e;
    e.time = QDateTime(QDate(2024, 1, 1), QTime(8, 0), Qt::OffsetFromUTC, 3600).addSecs(60LL * i);
    e.radioId = QStringLiteral("RADIO-%1").arg(i % Radios, 5, 10, QLatin1Char('0'));
    e.modelValue = 7;
    e.dataVersion = 2;
    e.port = QStringLiteral("COM3");
    e.operation = i % 3 ? QStringLiteral("write") : QStringLiteral("read");
    e.result = QStringLiteral("ok");
    e.message = QStringLiteral("Write data is complete. Press OK button to continue ...");
    e.sha256 = QString(64, QLatin1Char('c'));
    e.programVersion = QStringLiteral("0.1.0");
    return e;
}

// Milliseconds of each of `rounds` calls.
template <typename F> std::vector<double> timed(int rounds, F&& f) {
    std::vector<double> ms;
    QElapsedTimer t;
    for (int i = 0; i < rounds; ++i) {
        t.start();
        if (!f(i))
            return {};
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    return ms;
}

void report(const char* what, const std::vector<double>& ms, double targetMs) {
    if (ms.empty()) {
        std::printf("%s: FAILED\n", what);
        return;
    }
    std::vector<double> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    const double med = sorted[sorted.size() / 2];
    const double p99 = sorted[sorted.size() * 99 / 100];
    std::printf(
        "%s: median %.3f ms, 99th percentile %.3f ms, worst %.3f ms; ratio of the median to the target "
        "%.0f ms: %.3f\n",
        what, med, p99, sorted.back(), targetMs, med / targetMs);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int total = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 100000;
    QTemporaryDir dir;

    // Recording, on an empty history and then on the full one.
    HistoryDatabase db(dir.filePath(QLatin1String(HistoryFileName)));
    if (!db.open()) {
        std::fprintf(stderr, "%s\n", qPrintable(db.error()));
        return 1;
    }
    report("record one event (empty history)", timed(500, [&](int i) { return db.add(sample(i)); }), 5);

    // The rest of the 100,000 in one transaction, as quickly as SQLite takes them.
    QElapsedTimer fill;
    fill.start();
    QSqlQuery(db.connection()).exec(QStringLiteral("BEGIN"));
    QSqlQuery insert(db.connection());
    insert.prepare(QStringLiteral(
        "INSERT INTO events (time, time_ms, radio_id, model_value, data_version, port, operation, result, "
        "message, "
        "sha256, backup, program_version) VALUES (?, ?, ?, 7, 2, 'COM3', ?, 'ok', ?, ?, NULL, '0.1.0')"));
    for (int i = 500; i < total; ++i) {
        const HistoryEvent e = sample(i);
        for (const QVariant& v :
             {QVariant(isoTimeWithOffset(e.time)), QVariant(e.time.toMSecsSinceEpoch()), QVariant(e.radioId),
              QVariant(e.operation), QVariant(e.message), QVariant(e.sha256)})
            insert.addBindValue(v);
        if (!insert.exec())
            return 1;
    }
    QSqlQuery(db.connection()).exec(QStringLiteral("COMMIT"));
    std::printf("filled %d events over %d radios in %.0f ms\n", total, Radios, double(fill.elapsed()));

    report("record one event (100,000 events)", timed(500, [&](int i) { return db.add(sample(total + i)); }),
           5);

    // The recorder as the runner tells it a read ended: identity, hash of the image, event.
    VirtualClock clock;
    HistoryRecorder recorder({dir.path(), false, HistoryDatabase::DefaultBusyTimeoutMs}, clock);
    ExchangeResult read;
    read.kind = ExchangeKind::Read;
    read.status = ExchangeResult::Status::Ok;
    read.port = QStringLiteral("COM3");
    read.message = QStringLiteral("Read data is complete. Press OK button to continue ...");
    read.radio = {7, 2, QStringLiteral("RECORDER-BENCH")};
    read.image = sim::demoRadioImage();
    recorder.exchangeStarted(ExchangeKind::Read, read.port);
    report("recorder: a read recorded (hash + event, no backup)",
           timed(500,
                 [&](int) {
                     recorder.exchangeFinished(read);
                     return recorder.database() != nullptr;
                 }),
           5);

    // Listing one radio's events: the CLI's list and the dialog's model query.
    const QString radio = sample(42).radioId;
    std::size_t listed = 0;
    report("list one radio of 100,000 events (events())",
           timed(50,
                 [&](int) {
                     const auto events = db.events(radio);
                     listed = events ? events->size() : 0;
                     return events.has_value();
                 }),
           100);
    std::printf("  (%zu events of %s)\n", listed, qPrintable(radio));
    report("the same through the model's query, all rows fetched",
           timed(50,
                 [&](int) {
                     QSqlQuery q = db.eventsQuery(radio, false);
                     int n = 0;
                     while (q.next())
                         ++n;
                     return n > 0;
                 }),
           100);
    report("the radio list with event counts (1,000 radios)",
           timed(20, [&](int) { return db.radios().has_value(); }), 100);
    return 0;
}

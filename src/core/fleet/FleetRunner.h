#pragma once
// A fleet run: one data set written into many radios, each port on a thread of its own (see
// PortWorker). The runner checks the ports before anything starts, starts a thread per port,
// passes Stop, Stop Now and Next on, and tells the thread that made it - through queued
// signals - how each port is getting on, each radio as it ends, and the totals at the end.
// It belongs to the thread that made it, which must run an event loop for the signals.
//
// The radio history is written by one recorder per port, each on its own database connection
// to the one history file (which is kept in WAL mode with a busy timeout for this).

#include "CancelToken.h"
#include "fleet/FleetTypes.h"
#include "fleet/PortWorker.h"

#include <QObject>
#include <QStringList>
#include <memory>
#include <vector>

class QThread;

namespace orv::fleet {

class FleetShared;

// Why these ports cannot be programmed together: the same device named twice, directly or
// through a COM number ("COM3 and /dev/ttyUSB0 are the same device, /dev/ttyUSB0."); "" when
// they can. A COM number is looked up as a radio command would (the program's INI mapping,
// else the n-th of `devices`).
QString sameDeviceTwice(const std::vector<FleetPort>& ports, const QString& programIni, const QStringList& devices);

struct FleetSetup {
    QString programIni;        // the COM number mapping; the data folder comes with `history`
    HistoryRecorder::Settings history;
    QString tracePath;         // each port's bytes traced: this file with one port, else one
                               // file per port, "-i" before the extension; "" none
    ClockMaker makeClock;      // each port's clock; nothing: the system clock
    QStringList systemDevices; // the system's serial devices (numbering the COM ports)
};

class FleetRunner : public QObject, private FleetEvents {
    Q_OBJECT
public:
    FleetRunner(FleetPayload payload, FleetOptions options, QObject* parent = nullptr);
    // A run still going is stopped at once, and its ports are waited for.
    ~FleetRunner() override;

    // Checks the ports and starts them. False, with error(), when the run cannot start: no
    // port, the same device twice, a trace file that cannot be written.
    bool start(const std::vector<FleetPort>& ports, const FleetSetup& setup);
    QString error() const { return m_error; }
    bool running() const { return m_running > 0; }
    const FleetOptions& options() const { return m_options; }
    const FleetPayload& payload() const { return m_payload; }

    // Stop: each port ends after its current radio. Stop Now: at the next block as well.
    void stop();
    void stopNow();
    bool stopping() const;
    // Next for a port waiting for it (-1: every port waiting).
    void next(int port);

    FleetTotals totals() const;
    // The radios that have ended, as their records reached this thread.
    const std::vector<RadioRecord>& records() const { return m_records; }

signals:
    void portChanged(const orv::fleet::PortStatus& status);
    void radioEnded(const orv::fleet::RadioRecord& record);
    // A port's radio history or backups cannot be written (each port says so once).
    void warning(const QString& text);
    // Every port has ended.
    void finished(const orv::fleet::FleetTotals& totals);

private:
    // FleetEvents, from the ports' threads.
    void portUpdated(const PortStatus& status) override { emit portChanged(status); }
    void radioDone(const RadioRecord& record) override { emit radioEnded(record); }
    void historyWarning(const QString& text) override { emit warning(text); }
    void threadEnded();

    FleetPayload m_payload;
    FleetOptions m_options;
    CancelToken m_stopNow;
    std::unique_ptr<FleetShared> m_shared;
    std::vector<std::unique_ptr<PortWorker>> m_workers;
    std::vector<QThread*> m_threads;
    std::vector<RadioRecord> m_records;
    int m_running = 0; // ports still going
    QString m_error;
};

} // namespace orv::fleet

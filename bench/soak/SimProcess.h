#pragma once
// orvante-radio-sim as a child process: started with its options, it prints the device of
// its pseudo-terminal; stopped with SIGTERM, it saves its memory (--save-on-exit) and ends,
// closing the terminal under whoever still has the device open.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace orv::bench {

class SimProcess {
public:
    explicit SimProcess(QString program) : m_program(std::move(program)) {}
    ~SimProcess() { stop(); }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts the simulator; false with the reason in *error when it does not come up.
    bool start(const QStringList& arguments, QString* error);
    // The device to open, "/dev/pts/N".
    const QString& device() const { return m_device; }
    bool running() const { return m_process.state() != QProcess::NotRunning; }
    // SIGTERM, then waits for the end. True when it ended by itself with status 0.
    bool stop();

private:
    QString m_program;
    QProcess m_process;
    QString m_device;
};

} // namespace orv::bench

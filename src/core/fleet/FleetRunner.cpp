#include "fleet/FleetRunner.h"

#include "fleet/FleetShared.h"
#include "fleet/NumberedPath.h"
#include "link/PortMap.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace orv::fleet {

namespace {

// The device a port name stands for, as one key: the canonical path of a device that exists
// (a link such as /dev/serial/by-id/... is its target), the name otherwise.
QString deviceKey(const QString& device) {
    const QString canonical = QFileInfo(device).canonicalFilePath();
    QString key = canonical.isEmpty() ? device : canonical;
#ifdef Q_OS_WIN
    key = key.toUpper();
#endif
    return key;
}

} // namespace

QString sameDeviceTwice(const std::vector<FleetPort>& ports, const QString& programIni, const QStringList& devices) {
    std::vector<std::pair<QString, QString>> seen; // key, name as given
    for (const FleetPort& port : ports) {
        QString device;
        if (port.virtualRadio)
            device = QStringLiteral("virtual radio %1").arg(quintptr(port.virtualRadio));
        else if (const int number = portNumberFromName(port.name); number > 0)
            device = deviceForPort(number, programIni, devices);
        else
            device = port.name;
        // A COM number with nothing behind it is its own: its radio fails on its own.
        const QString key = device.isEmpty() ? port.name.toUpper() : deviceKey(device);
        for (const auto& [otherKey, otherName] : seen)
            if (otherKey == key)
                return port.name == otherName
                           ? QStringLiteral("The port %1 is named twice.").arg(port.name)
                           : QStringLiteral("%1 and %2 are the same device, %3.").arg(otherName, port.name, device);
        seen.emplace_back(key, port.name);
    }
    return QString();
}

FleetRunner::FleetRunner(FleetPayload payload, FleetOptions options, QObject* parent)
    : QObject(parent), m_payload(std::move(payload)), m_options(std::move(options)) {
    qRegisterMetaType<PortStatus>();
    qRegisterMetaType<RadioRecord>();
    qRegisterMetaType<FleetTotals>();
    // Connected first, so the records are complete before anyone else hears of a radio.
    connect(this, &FleetRunner::radioEnded, this, [this](const RadioRecord& r) { m_records.push_back(r); });
}

FleetRunner::~FleetRunner() {
    if (m_shared)
        stopNow();
    for (QThread* t : m_threads) {
        t->wait();
        delete t;
    }
}

bool FleetRunner::start(const std::vector<FleetPort>& ports, const FleetSetup& setup) {
    m_error.clear();
    if (m_shared) {
        m_error = QStringLiteral("This run has been started already.");
        return false;
    }
    if (ports.empty()) {
        m_error = QStringLiteral("No port is chosen.");
        return false;
    }
    m_error = sameDeviceTwice(ports, setup.programIni, setup.systemDevices);
    if (!m_error.isEmpty())
        return false;
    std::vector<PortSetup> setups;
    for (int i = 0; i < int(ports.size()); ++i) {
        PortSetup s;
        s.index = i;
        s.port = ports[size_t(i)];
        s.programIni = setup.programIni;
        s.history = setup.history;
        s.makeClock = setup.makeClock;
        if (!setup.tracePath.isEmpty()) {
            s.tracePath = ports.size() == 1 ? setup.tracePath : numberedPath(setup.tracePath, i + 1);
            QFile trace(s.tracePath);
            if (!trace.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
                m_error = QStringLiteral("The trace file %1 cannot be written: %2").arg(s.tracePath, trace.errorString());
                return false;
            }
        }
        setups.push_back(std::move(s));
    }

    m_shared = std::make_unique<FleetShared>(int(ports.size()), m_options);
    for (PortSetup& s : setups) {
        m_workers.push_back(std::make_unique<PortWorker>(std::move(s), m_payload, m_options, *m_shared, m_stopNow,
                                                                  static_cast<FleetEvents&>(*this)));
        PortWorker* worker = m_workers.back().get();
        QThread* thread = QThread::create([worker] { worker->run(); });
        thread->setObjectName(QStringLiteral("fleet port %1").arg(m_threads.size() + 1));
        connect(thread, &QThread::finished, this, &FleetRunner::threadEnded, Qt::QueuedConnection);
        m_threads.push_back(thread);
    }
    m_running = int(m_threads.size());
    for (QThread* t : m_threads)
        t->start();
    return true;
}

void FleetRunner::threadEnded() {
    if (--m_running > 0)
        return;
    for (QThread* t : m_threads)
        t->wait();
    emit finished(totals());
}

void FleetRunner::stop() {
    if (m_shared)
        m_shared->requestStop();
}

void FleetRunner::stopNow() {
    m_stopNow.cancel();
    stop();
}

bool FleetRunner::stopping() const { return m_shared && m_shared->stopRequested(); }

void FleetRunner::next(int port) {
    if (m_shared)
        m_shared->next(port);
}

FleetTotals FleetRunner::totals() const { return m_shared ? m_shared->totals() : FleetTotals{}; }

} // namespace orv::fleet

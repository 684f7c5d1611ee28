#include "link/RadioConnection.h"

#include "link/PortMap.h"
#include "link/QtSerialLink.h"
#include "link/Trace.h"
#include "sim/MemoryLink.h"
#include "sim/VirtualRadio.h"

namespace orv {

RadioConnection::RadioConnection(Clock& clock) : m_clock(clock) {}

RadioConnection::~RadioConnection() {
    // The link refers to the serial side: it goes first.
    m_link.reset();
    m_tracing.reset();
    m_serial.reset();
}

void RadioConnection::useDemoRadio(const RadioData& memory) {
    auto radio = std::make_unique<sim::VirtualRadio>(memory);
    useVirtualRadio(*radio, QStringLiteral("Demo radio"));
    m_ownRadio = std::move(radio);
}

void RadioConnection::useVirtualRadio(sim::VirtualRadio& radio, const QString& label) {
    m_link.reset();
    m_serial = std::make_unique<sim::MemoryLink>(radio, m_clock);
    m_ownRadio.reset();
    m_radio = &radio;
    m_label = label;
    m_device.clear();
    m_portNumber = 0;
    rebuild();
}

void RadioConnection::usePort(int number, const QString& programIni) {
    // The device behind the number is looked up each time: an adapter plugged in since the
    // last command, or a new mapping in the INI file, is used at once.
    const QString device = deviceForPort(number, programIni, systemSerialDevices());
    if (m_link && !m_radio && number == m_portNumber && device == m_device)
        return;
    m_link.reset();
    m_radio = nullptr;
    m_ownRadio.reset();
    m_device = device;
    m_serial = std::make_unique<QtSerialLink>(device);
    m_label = QStringLiteral("COM%1").arg(number);
    m_portNumber = number;
    rebuild();
}

void RadioConnection::usePortName(const QString& name, const QString& programIni) {
    int number = portNumberFromName(name);
    if (name.isEmpty())
        number = storedPortNumber(programIni);
    if (number > 0) {
        usePort(number, programIni);
        return;
    }
    m_link.reset();
    m_radio = nullptr;
    m_ownRadio.reset();
    m_serial = std::make_unique<QtSerialLink>(name);
    m_device = name;
    m_label = name;
    m_portNumber = 0;
    rebuild();
}

bool RadioConnection::traceTo(const QString& path, QString* error) {
    auto trace = std::make_unique<TraceFile>(path, m_clock);
    if (!trace->ok()) {
        if (error)
            *error = trace->errorString();
        return false;
    }
    m_link.reset();
    m_tracing.reset();
    m_trace = std::move(trace);
    rebuild();
    return true;
}

void RadioConnection::rebuild() {
    m_tracing.reset();
    if (!m_serial)
        m_serial = std::make_unique<QtSerialLink>(QString());
    SerialLink* serial = m_serial.get();
    if (m_trace) {
        m_tracing = std::make_unique<TracingLink>(*serial, *m_trace);
        serial = m_tracing.get();
    }
    m_link = std::make_unique<RadioLink>(*serial, m_clock, m_label);
}

RadioLink& RadioConnection::link() {
    if (!m_link)
        rebuild();
    return *m_link;
}

void RadioConnection::close() {
    if (m_link)
        m_link->closeCommPort();
}

} // namespace orv

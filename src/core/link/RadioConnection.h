#pragma once
// Where the radio commands' bytes go: a serial port (a COM number mapped to the system's
// device, or a device named directly) or the built-in virtual radio, optionally traced to a
// file. The window keeps one for its whole run (the virtual radio keeps its memory between
// commands, tune mode keeps the port open between actions); the command line tool makes one
// per command.

#include "Clock.h"
#include "image/RadioData.h"
#include "link/RadioLink.h"

#include <QString>
#include <memory>

namespace orv {

class TraceFile;
namespace sim {
class VirtualRadio;
}

class RadioConnection {
public:
    // Every wait of the exchanges and the wire time of the virtual radio run on `clock`.
    explicit RadioConnection(Clock& clock);
    ~RadioConnection();
    RadioConnection(const RadioConnection&) = delete;
    RadioConnection& operator=(const RadioConnection&) = delete;

    // The built-in virtual radio with this memory; it stays for the connection's life.
    void useDemoRadio(const RadioData& memory);
    // A virtual radio kept by the caller (one of a fleet's demo radios), named `label`; it
    // must outlive the connection's use of it.
    void useVirtualRadio(sim::VirtualRadio& radio, const QString& label);
    // COM port `number` (1..16), through the program's INI mapping. Keeps the link (an open
    // port in tune mode) while the number and its device stay the same.
    void usePort(int number, const QString& programIni);
    // "COM3", or a device path; empty: the port stored in the program's INI.
    void usePortName(const QString& name, const QString& programIni);
    // Traces every chunk to `path` from now on. False, with the reason, when it cannot.
    bool traceTo(const QString& path, QString* error);

    bool isDemo() const { return m_radio != nullptr; }
    // The virtual radio of a demo connection, else nullptr.
    sim::VirtualRadio* demoRadio() const { return m_radio; }
    // "COM3", the device path given, or "Demo radio".
    QString label() const { return m_label; }
    // The system device in use ("" for the virtual radio or a number without a device).
    QString device() const { return m_device; }
    // The link of the port chosen last (a closed port before the first choice).
    RadioLink& link();
    // Closes the port if it is open.
    void close();

private:
    void rebuild();

    Clock& m_clock;
    std::unique_ptr<sim::VirtualRadio> m_ownRadio;
    sim::VirtualRadio* m_radio = nullptr; // the virtual radio in use, own or the caller's
    std::unique_ptr<SerialLink> m_serial;
    std::unique_ptr<TraceFile> m_trace;
    std::unique_ptr<SerialLink> m_tracing;
    std::unique_ptr<RadioLink> m_link;
    QString m_label;
    QString m_device;
    int m_portNumber = 0;
};

} // namespace orv

#include "shell/PortCommand.h"

#include "link/PortMap.h"
#include "link/QtSerialLink.h"
#include "link/RadioLink.h"
#include "document/Document.h"
#include "shell/BusyCursor.h"
#include "shell/MainWindow.h"
#include "shell/PortDialog.h"

#include <QHash>
#include <QSerialPortInfo>

namespace orv::gui {

namespace {

// What the system calls each serial device it knows ("USB-Serial Controller").
QHash<QString, QString> deviceDescriptions() {
    QHash<QString, QString> descriptions;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        descriptions.insert(info.systemLocation(), info.description());
    return descriptions;
}

} // namespace

PortCommand::PortCommand(MainWindow& window)
    : QObject(&window), m_window(window), m_deviceList(systemSerialDevices),
      m_runDialog([](PortDialog& dialog) { dialog.exec(); }) {
    window.setCommandHandler(MainWindow::Command::Port, [this] { mnuPort_Click(); });
}

int PortCommand::probeDevice(const QString& device) {
    if (device.isEmpty())
        return 0;
    QtSerialLink port(device);
    return testCommPort(port);
}

void PortCommand::mnuPort_Click() {
    PortDialog dialog(&m_window);
    const QString programIni = m_window.document().startup().productIniPath;
    const QStringList devices = m_deviceList ? m_deviceList() : QStringList();
    const auto deviceOf = [&](int n) { return deviceForPort(n, programIni, devices); };
    const QString held = m_heldDevice ? m_heldDevice() : QString();
    const Probe probe = m_probe ? m_probe : Probe([&](int n) {
        const QString device = deviceOf(n);
        return !held.isEmpty() && device == held ? 1 : probeDevice(device);
    });

    int port = m_window.comPort();
    int lowestFound = 0;
    {
        BusyCursor hourglass;
        const QHash<QString, QString> descriptions = deviceDescriptions();
        for (int n = MaxPort; n >= MinPort; --n) {
            const QString device = deviceOf(n);
            const bool present = probe(n) == 1;
            dialog.setPort(n, device, descriptions.value(device), present);
            if (present)
                lowestFound = n;
            else if (port == n)
                port = 0;
        }
    }
    // The port in use is gone: the lowest one found replaces it, whatever the user does next.
    if (port == 0) {
        port = lowestFound != 0 ? lowestFound : MinPort;
        m_window.setComPort(port);
    }
    dialog.setCOMi(port);
    m_runDialog(dialog);
    BusyCursor::showDefault();
    if (!dialog.CancelPressed())
        m_window.setComPort(dialog.COMi());
}

} // namespace orv::gui

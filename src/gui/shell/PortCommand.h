#pragma once
// mnuPort_Click: the COM port command (Option > Comm-Port > Port, F9, and the toolbar's
// "COM Port" button). It tries ports 16 down to 1, shows the port dialog with the ports that
// can be opened enabled and the device behind every number, and on OK makes the chosen port
// the window's COM port (status panel 2 follows). When the port in use cannot be opened any
// more, the lowest port found, or COM1 when there is none, takes its place at once, and
// stays even if the dialog is cancelled. Every port tried is closed again.
//
// Wiring: `new PortCommand(window)` plugs itself in as MainWindow::Command::Port and lives as
// long as the window. Tests replace the device list, the probe and the modal show.

#include <QObject>
#include <QStringList>

#include <functional>

namespace orv::gui {

class MainWindow;
class PortDialog;

class PortCommand : public QObject {
    Q_OBJECT
public:
    // 1 when port n (1..16) can be opened and closed again, else 0.
    using Probe = std::function<int(int port)>;
    // The system's serial devices now, in the order that numbers them (systemSerialDevices()).
    using DeviceList = std::function<QStringList()>;
    // Shows the dialog modally and returns when it is closed.
    using RunDialog = std::function<void(PortDialog&)>;

    explicit PortCommand(MainWindow& window);

    void setDeviceList(DeviceList devices) { m_deviceList = std::move(devices); }
    // Without one (the default) the real probe runs on the device behind each number.
    void setProbe(Probe probe) { m_probe = std::move(probe); }
    void setRunDialog(RunDialog run) { m_runDialog = std::move(run); }
    // The device the window itself holds open now (tune mode keeps the port open between
    // items), or "". It counts as present without being opened again, so that the port in
    // use is not taken for a missing one.
    using HeldDevice = std::function<QString()>;
    void setHeldDevice(HeldDevice held) { m_heldDevice = std::move(held); }

    // The real probe of one device: 0 without trying when there is none, else the port
    // dialog's open-and-close test on it. Never leaves it open.
    static int probeDevice(const QString& device);

public slots:
    void mnuPort_Click();

private:
    MainWindow& m_window;
    DeviceList m_deviceList;
    Probe m_probe;
    RunDialog m_runDialog;
    HeldDevice m_heldDevice;
};

} // namespace orv::gui

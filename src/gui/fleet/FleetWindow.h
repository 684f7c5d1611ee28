#pragma once
// The fleet window (Operate > "Program Several Radios..."): one data set written into many
// radios at once. It shows the data to send - the window's current data (its editors
// collected at Start) or a chosen data file - by name and model; the ports as a checklist of
// COM1..COM16 with the device behind each (or, for `orvante --demo`, virtual radios "Demo
// radio 1".."Demo radio 4", each with its own memory and radio ID, kept between runs); the
// options (backup, verify, information text template, one radio per port or swapping radios
// with a count, allow another model); and a table with one row per port while a run goes.
// Start, Stop (then Stop Now), Export Log... and Close; Close asks while a run is going.
//
// The run is a fleet::FleetRunner: its ports work on threads of their own and report through
// queued signals, so the window keeps painting and takes input throughout. Questions and
// messages go through the main window's feedback; file choices through a replaceable hook.

#include "fleet/FleetRunner.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace orv {
class Document;
class Feedback;
namespace sim {
class VirtualRadio;
}
} // namespace orv

namespace orv::gui {

class FleetTable;

class FleetWindow : public QWidget {
    Q_OBJECT
public:
    // `document` holds the current data; `demoRadios` virtual radios stand in for the serial
    // ports (0: the serial ports).
    FleetWindow(Document& document, Feedback& feedback, int demoRadios, QWidget* parent = nullptr);
    ~FleetWindow() override;

    // The file a dialog chose ("" when cancelled): a data file to send (save false) or the
    // file the log is exported to (save true).
    using ChooseFile = std::function<QString(bool save)>;
    void setChooseFile(ChooseFile choose) { m_chooseFile = std::move(choose); }
    // The system's serial devices, numbering the COM ports (default: systemSerialDevices()).
    void setDeviceList(std::function<QStringList()> devices) { m_deviceList = std::move(devices); }
    // Each port's clock (default: the system clock).
    void setClockMaker(fleet::ClockMaker clocks) { m_clocks = std::move(clocks); }
    // Run before the current data are taken (the main window finishes its open cell edits).
    void setBeforeStart(std::function<void()> step) { m_beforeStart = std::move(step); }

    bool running() const;
    fleet::FleetRunner* runner() const { return m_runner.get(); }
    // Every radio of this window's runs, as the log has them.
    const std::vector<fleet::RadioRecord>& records() const { return m_records; }
    sim::VirtualRadio* demoRadio(int i) const; // i from 1
    // The port list anew: the device behind each COM number now.
    void refreshPorts();

    // The parts, for the tests.
    QListWidget* portList() const { return m_ports; }
    FleetTable* table() const { return m_table; }
    QLabel* dataLabel() const { return m_dataLabel; }
    QLabel* totalsLabel() const { return m_totals; }

signals:
    // A run started, or every port of it has ended.
    void runningChanged(bool running);

public slots:
    void cmdChooseFile_Click();
    void cmdStart_Click();
    // Stop, then (the button says "Stop Now") Stop Now.
    void cmdStop_Click();
    void cmdExportLog_Click();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void buildLayout();
    void showData();
    std::optional<fleet::FleetPayload> payload();
    fleet::FleetOptions options() const;
    std::vector<fleet::FleetPort> chosenPorts() const;
    void runEnded(const fleet::FleetTotals& totals);
    void setRunning(bool running);

    Document& m_document;
    Feedback& m_feedback;
    std::vector<std::unique_ptr<sim::VirtualRadio>> m_demoRadios;
    std::unique_ptr<fleet::FleetRunner> m_runner;
    std::vector<fleet::RadioRecord> m_records;
    std::optional<fleet::FleetPayload> m_filePayload; // the chosen file, opened
    ChooseFile m_chooseFile;
    std::function<QStringList()> m_deviceList;
    fleet::ClockMaker m_clocks;
    std::function<void()> m_beforeStart;

    QRadioButton* m_useCurrent = nullptr;
    QRadioButton* m_useFile = nullptr;
    QLineEdit* m_file = nullptr;
    QPushButton* m_chooseButton = nullptr;
    QLabel* m_dataLabel = nullptr;
    QListWidget* m_ports = nullptr;
    QCheckBox* m_backup = nullptr;
    QCheckBox* m_verify = nullptr;
    QCheckBox* m_info = nullptr;
    QLineEdit* m_infoTemplate = nullptr;
    QRadioButton* m_batch = nullptr;
    QRadioButton* m_swap = nullptr;
    QSpinBox* m_count = nullptr;
    QComboBox* m_next = nullptr;
    QCheckBox* m_allowOtherModel = nullptr;
    QWidget* m_setupArea = nullptr; // everything a run must not change
    FleetTable* m_table = nullptr;
    QLabel* m_totals = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_exportLog = nullptr;
    QPushButton* m_close = nullptr;
};

} // namespace orv::gui

#pragma once
// Operate > "Program Several Radios...": opens the fleet window (one for the main window's
// life, kept between openings). While a run is going the main window takes no radio command
// (Read, Write, Tune, Radio Information and the COM port are disabled, menu items and toolbar
// buttons alike), and closing the main window asks first; a Yes stops the run at once.
//
// Wiring: `new FleetCommand(window, demoRadios)` puts the menu item into the Operate menu
// after Check and lives as long as the window. `demoRadios`: the virtual radios the fleet
// window offers instead of the serial ports (`orvante --demo`: 4), 0 for the serial ports.

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class QAction;

namespace orv::gui {

class FleetWindow;
class GuiFeedback;
class MainWindow;

class FleetCommand : public QObject {
    Q_OBJECT
public:
    FleetCommand(MainWindow& window, int demoRadios);
    ~FleetCommand() override;

    QAction* menuItem() const { return m_item; }
    // The fleet window once opened, else nullptr.
    FleetWindow* fleetWindow() const;
    // Called with each fleet window as it is made (the tests set its hooks).
    void setWindowMade(std::function<void(FleetWindow&)> made) { m_made = std::move(made); }

public slots:
    void mnuFleet_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void radioCommandsEnabled(bool enabled);

    MainWindow& m_window;
    int m_demoRadios;
    QAction* m_item = nullptr;
    QPointer<FleetWindow> m_fleet;
    std::unique_ptr<GuiFeedback> m_boxes; // message boxes over the fleet window
    std::function<void(FleetWindow&)> m_made;
};

} // namespace orv::gui

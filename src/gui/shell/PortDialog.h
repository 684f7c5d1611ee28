#pragma once
// frmPort ("Port"): the COM port dialog. The frame "Communication Port" holds the sixteen
// option buttons COM1..COM16 in four rows of four; under each button a small grey label names
// the system device behind that number (its tooltip gives the full path and what the system
// says the device is). COMi is the chosen port, always 1..16; CancelPressed stays true until
// OK. Enter is OK; Escape and the close box cancel; the arrow keys move between the ports
// that can be chosen.

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;
class QRadioButton;

namespace orv::gui {

class PortDialog : public QDialog {
    Q_OBJECT
public:
    explicit PortDialog(QWidget* parent = nullptr);

    int COMi() const { return m_comi; }
    // Limited to 1..16; selects that port's button.
    void setCOMi(int port);
    bool CancelPressed() const { return m_cancelPressed; }

    // What is behind port n: the device path ("" when none), what the system calls it, and
    // whether it can be opened now (the button is enabled only then).
    void setPort(int n, const QString& device, const QString& description, bool present);

    // optCOMM(n) and its device label, n = 1..16.
    QRadioButton* optCOMM(int n) const;
    QLabel* deviceLabel(int n) const;
    QPushButton* cmdOK() const { return m_ok; }
    QPushButton* cmdCancel() const { return m_cancel; }

    // OK: CancelPressed becomes false, then the dialog closes.
    void accept() override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    std::array<QRadioButton*, 16> m_ports{};
    std::array<QLabel*, 16> m_devices{};
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    int m_comi = 1;
    bool m_cancelPressed = true;
};

} // namespace orv::gui

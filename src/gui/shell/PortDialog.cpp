#include "shell/PortDialog.h"

#include "link/PortMap.h"
#include "shell/ShellUnits.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orv::gui {

namespace {

constexpr int PortsPerRow = 4;
const QString NoDevice = QStringLiteral("\u2014"); // an em dash

} // namespace

PortDialog::PortDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPort"));
    setWindowTitle(QStringLiteral("Port"));

    auto* frame = new QGroupBox(QStringLiteral("Communication Port"), this);
    frame->setObjectName(QStringLiteral("fraCOMoption"));
    auto* grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(twipsToPixels(360, this));
    grid->setVerticalSpacing(0);

    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    for (int n = MinPort; n <= MaxPort; ++n) {
        const int row = (n - 1) / PortsPerRow;
        const int column = (n - 1) % PortsPerRow;
        auto* button = new QRadioButton(QStringLiteral("COM%1").arg(n), frame);
        button->setObjectName(QStringLiteral("optCOMM_%1").arg(n));
        connect(button, &QRadioButton::toggled, this, [this, n](bool on) {
            if (on)
                m_comi = n;
        });
        auto* device = new QLabel(NoDevice, frame);
        device->setObjectName(QStringLiteral("lblCOMM_%1").arg(n));
        device->setFont(small);
        device->setForegroundRole(QPalette::PlaceholderText);
        // Indented to stand under the button's caption rather than its circle.
        device->setIndent(twipsToPixels(300, this));
        grid->addWidget(button, 2 * row, column);
        grid->addWidget(device, 2 * row + 1, column);
        if (row < 3)
            grid->setRowMinimumHeight(2 * row + 1, device->sizeHint().height() + twipsToPixels(90, this));
        m_ports[size_t(n - 1)] = button;
        m_devices[size_t(n - 1)] = device;
        setPort(n, QString(), QString(), true);
    }

    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cancel->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &PortDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &PortDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_ports.back(), m_ok);
    setTabOrder(m_ok, m_cancel);
    setCOMi(MinPort);
}

void PortDialog::setCOMi(int port) {
    m_comi = std::clamp(port, MinPort, MaxPort);
    m_ports[size_t(m_comi - 1)]->setChecked(true);
}

void PortDialog::setPort(int n, const QString& device, const QString& description, bool present) {
    if (n < MinPort || n > MaxPort)
        return;
    QRadioButton* button = m_ports[size_t(n - 1)];
    QLabel* label = m_devices[size_t(n - 1)];
    button->setEnabled(present);
    label->setEnabled(present);

    QString tip;
    if (device.isEmpty()) {
        label->setText(NoDevice);
        tip = QStringLiteral("No serial device is behind COM%1.").arg(n);
    } else {
        label->setText(deviceShortName(device));
        tip = description.isEmpty() ? device : QStringLiteral("%1 (%2)").arg(device, description);
        if (!present)
            tip += QStringLiteral("\nIt cannot be opened now: it is missing, another program is using it, "
                                  "or you have no permission to use it.");
    }
    label->setToolTip(tip);
    button->setToolTip(tip);
    button->setAccessibleDescription(tip);
}

QRadioButton* PortDialog::optCOMM(int n) const {
    return n >= MinPort && n <= MaxPort ? m_ports[size_t(n - 1)] : nullptr;
}

QLabel* PortDialog::deviceLabel(int n) const {
    return n >= MinPort && n <= MaxPort ? m_devices[size_t(n - 1)] : nullptr;
}

void PortDialog::accept() {
    m_cancelPressed = false;
    QDialog::accept();
}

void PortDialog::showEvent(QShowEvent* e) {
    // On load: not confirmed yet, the chosen port selected and, when it can be chosen, focused,
    // so that the arrow keys start from it.
    m_cancelPressed = true;
    setCOMi(m_comi);
    QRadioButton* chosen = m_ports[size_t(m_comi - 1)];
    if (chosen->isEnabled())
        chosen->setFocus();
    else
        m_ok->setFocus();
    QDialog::showEvent(e);
}

} // namespace orv::gui

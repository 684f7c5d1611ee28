#include "fleet/FleetCommand.h"

#include "Feedback.h"
#include "document/Document.h"
#include "fleet/FleetWindow.h"
#include "shell/GuiFeedback.h"
#include "shell/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>

namespace orv::gui {

namespace {
// The menu items and toolbar buttons that talk to the radio on the main window's port.
const char* const RadioCommands[] = {"mnuRead", "mnuWrite", "mnuCompareRadio", "mnuTune", "mnuRadio", "mnuPort"};
const char* const RadioButtons[] = {"Read", "Write", "COMport"};
} // namespace

FleetCommand::FleetCommand(MainWindow& window, int demoRadios)
    : QObject(&window), m_window(window), m_demoRadios(demoRadios) {
    auto* operate = window.findChild<QMenu*>(QStringLiteral("mnuOperate"));
    // A child of the menu, so that the window's menuAction() finds it.
    m_item = operate ? new QAction(QStringLiteral("Program &Several Radios..."), operate)
                     : new QAction(QStringLiteral("Program &Several Radios..."), &window);
    m_item->setObjectName(QStringLiteral("mnuFleet"));
    connect(m_item, &QAction::triggered, this, &FleetCommand::mnuFleet_Click);
    if (operate) {
        // After Compare with Radio (after Check where there is none), before the tune group.
        const QList<QAction*> items = operate->actions();
        qsizetype after = items.indexOf(window.menuAction(QStringLiteral("mnuCompareRadio")));
        if (after < 0)
            after = items.indexOf(window.menuAction(QStringLiteral("mnuCheck")));
        operate->insertAction(after >= 0 && after + 1 < items.size() ? items[after + 1] : nullptr, m_item);
    }
    window.installEventFilter(this);
}

// The fleet window (and a run still going, stopped at once) goes before the feedback it uses.
FleetCommand::~FleetCommand() { delete m_fleet.data(); }

FleetWindow* FleetCommand::fleetWindow() const { return m_fleet; }

void FleetCommand::mnuFleet_Click() {
    m_window.CommitCellEdits();
    if (!m_fleet) {
        // The window's message boxes stand over the fleet window when they are about it; a
        // test's feedback is used as it is.
        Feedback* feedback = &m_window.feedback();
        if (dynamic_cast<GuiFeedback*>(feedback)) {
            m_boxes = std::make_unique<GuiFeedback>(m_window.document().title());
            feedback = m_boxes.get();
        }
        m_fleet = new FleetWindow(m_window.document(), *feedback, m_demoRadios, &m_window);
        if (m_boxes)
            m_boxes->setParentWidget(m_fleet);
        m_fleet->setBeforeStart([this] { m_window.CommitCellEdits(); });
        connect(m_fleet, &FleetWindow::runningChanged, this, [this](bool running) { radioCommandsEnabled(!running); });
        if (m_made)
            m_made(*m_fleet);
    }
    m_fleet->show();
    m_fleet->raise();
    m_fleet->activateWindow();
}

void FleetCommand::radioCommandsEnabled(bool enabled) {
    for (const char* name : RadioCommands)
        if (QAction* a = m_window.menuAction(QLatin1String(name)))
            a->setEnabled(enabled);
    for (const char* key : RadioButtons)
        if (QAction* a = m_window.toolButton(QLatin1String(key)))
            a->setEnabled(enabled);
}

bool FleetCommand::eventFilter(QObject* watched, QEvent* e) {
    if (watched == &m_window && e->type() == QEvent::Close && m_fleet && m_fleet->running()) {
        const Answer a = m_window.feedback().ask(
            QStringLiteral("Radios are being programmed in the \"Program Several Radios\" window. Stop now and "
                           "exit?\n\nA radio whose write is cut must be written again."),
            m_window.document().title(), Icon::Question, Buttons::YesNo);
        if (a != Answer::Yes) {
            e->ignore();
            return true;
        }
        m_fleet->runner()->stopNow();
    }
    return QObject::eventFilter(watched, e);
}

} // namespace orv::gui

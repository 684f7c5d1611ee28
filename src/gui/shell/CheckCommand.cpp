#include "shell/CheckCommand.h"

#include "document/Document.h"
#include "shell/BesideWindow.h"
#include "shell/CheckDialog.h"
#include "shell/ListedQuestion.h"
#include "shell/MainWindow.h"
#include "shell/OperateCommands.h"
#include "shell/OptionTick.h"
#include "shell/PlaceLead.h"

#include <QAction>

namespace orv::gui {

const char* const CheckCommand::IniKey = "Check before Write";

namespace {

QString writeQuestion(const std::vector<CheckWarning>& warnings) {
    const int n = int(warnings.size());
    QStringList lines;
    for (const CheckWarning& w : warnings)
        lines.append(w.text);
    return listedQuestion(n == 1 ? QStringLiteral("The check found 1 warning:")
                                 : QStringLiteral("The check found %1 warnings:").arg(n),
                          lines, QStringLiteral("Write to the radio anyway?"));
}

} // namespace

CheckCommand::CheckCommand(MainWindow& window, OperateCommands& operate) : QObject(&window), m_window(window) {
    window.setCommandHandler(MainWindow::Command::Check, [this] { mnuCheck_Click(); });
    operate.setBeforeWrite([this] { return beforeWrite(); });

    m_checkBeforeWrite = window.menuAction(QStringLiteral("mnuCheckBeforeWrite"));
    keepTickInIni(*m_checkBeforeWrite, window.document().startup().productIniPath, QLatin1String(IniKey));

    // The open dialog follows the data.
    connect(&window.document(), &Document::changed, this, [this] {
        if (m_dialog && m_dialog->isVisible())
            m_dialog->setWarnings(checkPlan(m_window.document()));
    });
}

CheckDialog* CheckCommand::dialog() const { return m_dialog; }

bool CheckCommand::checkBeforeWrite() const { return m_checkBeforeWrite->isChecked(); }

void CheckCommand::mnuCheck_Click() {
    m_window.CommitCellEdits();
    showDialog(checkPlan(m_window.document()));
}

bool CheckCommand::beforeWrite() {
    if (!checkBeforeWrite())
        return true;
    std::vector<CheckWarning> warnings = checkPlan(m_window.document());
    if (warnings.empty())
        return true;
    const Answer a = m_window.feedback().ask(writeQuestion(warnings), QStringLiteral("Check before Write"),
                                             Icon::Exclamation, Buttons::YesNo);
    if (a == Answer::Yes)
        return true;
    // Nothing is written; the list to work from instead.
    showDialog(std::move(warnings));
    return false;
}

void CheckCommand::showDialog(std::vector<CheckWarning> warnings) {
    const bool first = !m_dialog;
    if (first) {
        m_dialog = new CheckDialog(&m_window);
        connect(m_dialog, &CheckDialog::warningActivated, this, &CheckCommand::warningActivated);
    }
    m_dialog->setWarnings(std::move(warnings));
    showBeside(*m_dialog, &m_window, first);
}

void CheckCommand::warningActivated(int index) {
    if (!m_dialog || index < 0 || index >= int(m_dialog->warnings().size()))
        return;
    // A copy: going there may finish a cell edit, which refreshes the list.
    const CheckWarning warning = m_dialog->warnings()[size_t(index)];
    const QString note = leadToPlace(m_window, warning.place);
    if (m_dialog)
        m_dialog->setNote(note);
}

} // namespace orv::gui

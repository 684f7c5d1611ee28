#include "shell/CheckCommand.h"

#include "catalog/IniFile.h"
#include "document/Document.h"
#include "editors/ChannelEditor.h"
#include "editors/SettingsPanel.h"
#include "shell/CheckDialog.h"
#include "shell/EditingArea.h"
#include "shell/MainWindow.h"
#include "shell/OperateCommands.h"
#include "tune/TuneChannelsPage.h"
#include "tune/TuneWorkspace.h"

#include <QAction>
#include <QComboBox>
#include <QTableView>

#include <algorithm>

namespace orv::gui {

const char* const CheckCommand::IniSection = "Options";
const char* const CheckCommand::IniKey = "Check before Write";

namespace {

// The question lists this many warnings at most; the Check dialog has them all.
constexpr int QuestionLines = 10;

QString writeQuestion(const std::vector<CheckWarning>& warnings) {
    const int n = int(warnings.size());
    QString text = n == 1 ? QStringLiteral("The check found 1 warning:\n\n")
                          : QStringLiteral("The check found %1 warnings:\n\n").arg(n);
    for (int i = 0; i < std::min(n, QuestionLines); ++i)
        text += warnings[size_t(i)].text + QLatin1Char('\n');
    if (n > QuestionLines)
        text += QStringLiteral("... and %1 more\n").arg(n - QuestionLines);
    return text + QStringLiteral("\nWrite to the radio anyway?");
}

} // namespace

CheckCommand::CheckCommand(MainWindow& window, OperateCommands& operate) : QObject(&window), m_window(window) {
    window.setCommandHandler(MainWindow::Command::Check, [this] { mnuCheck_Click(); });
    operate.setBeforeWrite([this] { return beforeWrite(); });

    m_checkBeforeWrite = window.menuAction(QStringLiteral("mnuCheckBeforeWrite"));
    const IniFile ini(window.document().startup().productIniPath);
    m_checkBeforeWrite->setChecked(
        ini.readString(QLatin1String(IniSection), QLatin1String(IniKey), QStringLiteral("0")) == QLatin1String("1"));
    connect(m_checkBeforeWrite, &QAction::toggled, this, &CheckCommand::storeCheckBeforeWrite);

    // The open dialog follows the data.
    connect(&window.document(), &Document::changed, this, [this] {
        if (m_dialog && m_dialog->isVisible())
            m_dialog->setWarnings(checkPlan(m_window.document()));
    });
}

CheckDialog* CheckCommand::dialog() const { return m_dialog; }

bool CheckCommand::checkBeforeWrite() const { return m_checkBeforeWrite->isChecked(); }

void CheckCommand::storeCheckBeforeWrite(bool on) {
    IniFile(m_window.document().startup().productIniPath)
        .writeString(QLatin1String(IniSection), QLatin1String(IniKey), on ? QStringLiteral("1") : QStringLiteral("0"));
}

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
    // Later showings keep the place the user left it in.
    if (first)
        m_dialog->placeBeside(&m_window);
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
}

void CheckCommand::warningActivated(int index) {
    if (!m_dialog || index < 0 || index >= int(m_dialog->warnings().size()))
        return;
    // A copy: going there may finish a cell edit, which refreshes the list.
    const CheckWarning warning = m_dialog->warnings()[size_t(index)];
    const QString note = leadTo(warning);
    if (m_dialog)
        m_dialog->setNote(note);
}

QString CheckCommand::leadTo(const CheckWarning& warning) {
    const CheckPlace& place = warning.place;
    const bool tuneView = m_window.viewMode() == MainWindow::TuneView;
    const QString channelView = QStringLiteral("Option > Channel and Function shows it.");
    QTableView* grid = nullptr;
    switch (place.area) {
    case CheckPlace::ChannelGrid:
        if (tuneView)
            return QStringLiteral("%1 is in the channel table: %2").arg(checkPlaceName(place), channelView);
        grid = m_window.channelEditor()->grid();
        break;
    case CheckPlace::SettingsList:
        if (tuneView)
            return QStringLiteral("%1 is in the Global Radio Settings: %2").arg(checkPlaceName(place), channelView);
        break;
    case CheckPlace::TuneGrid: {
        const TuneWorkspace* tune = m_window.findChild<TuneWorkspace*>();
        if (!tuneView || !tune || !tune->channelsPage()->isVisible())
            return QStringLiteral("%1 is a test channel: the tune view shows it on its page \"Tune Channels Setting\" "
                                  "(Operate > Tune).")
                .arg(checkPlaceName(place));
        grid = tune->channelsPage()->grid();
        break;
    }
    }

    // An open cell edit ends first; then the place is made current, scrolled into view and
    // given the keyboard.
    m_window.CommitCellEdits();
    QWidget* focus = nullptr;
    if (grid) {
        const QModelIndex cell = grid->model()->index(place.row, place.column);
        grid->setCurrentIndex(cell);
        m_window.editingArea()->ensureVisible(grid->viewport(), grid->visualRect(cell));
        focus = grid;
    } else {
        focus = m_window.settingsPanel()->list(place.setting);
        m_window.editingArea()->ensureVisible(focus);
    }
    m_window.activateWindow();
    focus->setFocus(Qt::OtherFocusReason);
    return {};
}

} // namespace orv::gui

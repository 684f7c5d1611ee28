#include "shell/OperateCommands.h"

#include "link/Exchanges.h"
#include "session/Session.h"
#include "session/TuneSession.h"
#include "shell/BusyCursor.h"
#include "shell/MainWindow.h"

#include <QAction>

namespace orv::gui {

OperateCommands::OperateCommands(MainWindow& window, RadioConnection& connection)
    : m_window(window), m_connection(connection) {
    using Cmd = MainWindow::Command;
    window.setCommandHandler(Cmd::Read, [this] { mnuRead_Click(); });
    window.setCommandHandler(Cmd::Write, [this] { mnuWrite_Click(); });
    window.setCommandHandler(Cmd::LeaveTuneMode, [this] { leaveTuneMode(); });
    window.setCommandHandler(Cmd::ClosePort, [this] { m_connection.close(); });
}

RadioLink& OperateCommands::link() {
    if (!m_connection.isDemo())
        m_connection.usePort(m_window.comPort(), m_window.session().startup().productIniPath);
    return m_connection.link();
}

void OperateCommands::leaveTuneMode() { m_window.session().tuning().leaveTuneMode(link(), m_window.feedback()); }

void OperateCommands::showChannelView() {
    m_window.setViewMode(MainWindow::ChannelView);
    m_window.mnuChannel_Click();
}

void OperateCommands::mnuRead_Click() {
    m_window.CommitCellEdits();
    BusyCursor busy;
    Session& session = m_window.session();
    Feedback& feedback = m_window.feedback();
    if (session.tuning().state() == TuneSession::ItemActive)
        leaveTuneMode();

    // The read fills a copy: a read that fails leaves the window's data and editors as they are.
    const auto result = readRadio(link(), feedback, session.data());
    if (!result)
        return;
    if (m_window.viewMode() == MainWindow::TuneView)
        showChannelView();
    session.data() = result->data;
    session.setDataVersion(result->dataVersion);
    session.caption = QStringLiteral("Read Complete - ") + session.title();
    m_window.showCaption();
    if (result->dataVersion >= 3)
        feedback.message(QStringLiteral("New Version Radio. Please update program software."), QStringLiteral("Error"),
                         Icon::Information);
    session.decodeSettings(feedback);
    session.showTuneChannels();
    m_window.showSessionData();
    m_window.menuAction(QStringLiteral("mnuFileNew"))->setEnabled(true);
}

void OperateCommands::mnuWrite_Click() {
    m_window.CommitCellEdits();
    BusyCursor busy;
    Session& session = m_window.session();
    session.encodeSettings();
    if (session.tuning().state() == TuneSession::ItemActive)
        leaveTuneMode();

    const ModelInfo* model = session.selectedModelInfo();
    int version = session.dataVersion();
    // The handshake's data version and the date stamp stay, even when the write stops.
    const bool written = writeRadio(link(), m_window.feedback(), session.data(), version,
                                    {model ? model->value : -1, session.title()});
    session.setDataVersion(version);
    if (!written)
        return;
    session.caption = QStringLiteral("Write Complete - ") + session.title();
    m_window.showCaption();
    m_window.menuAction(QStringLiteral("mnuFileNew"))->setEnabled(true);
    if (m_window.viewMode() == MainWindow::TuneView)
        showChannelView();
}

} // namespace orv::gui

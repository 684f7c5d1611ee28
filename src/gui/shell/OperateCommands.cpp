#include "shell/OperateCommands.h"

#include "link/Exchanges.h"
#include "document/Document.h"
#include "document/TuneSession.h"
#include "shell/BusyCursor.h"
#include "shell/MainWindow.h"

#include <QAction>

namespace orv::gui {

OperateCommands::OperateCommands(MainWindow& window, RadioConnection& connection)
    : m_window(window), m_connection(connection),
      m_runner([this]() -> RadioLink& { return link(); }, window.feedback()),
      m_history(HistoryRecorder::settingsFor(window.document().startup().productIniPath), window.document().clock()) {
    m_history.setWarningSink([&window](const QString& warning) {
        window.feedback().message(warning, QStringLiteral("Radio History"), Icon::Exclamation);
    });
    m_runner.addObserver(&m_history);
    using Cmd = MainWindow::Command;
    window.setCommandHandler(Cmd::Read, [this] { mnuRead_Click(); });
    window.setCommandHandler(Cmd::Write, [this] { mnuWrite_Click(); });
    window.setCommandHandler(Cmd::LeaveTuneMode, [this] { leaveTuneMode(); });
    window.setCommandHandler(Cmd::ClosePort, [this] { m_connection.close(); });
}

RadioLink& OperateCommands::link() {
    if (!m_connection.isDemo())
        m_connection.usePort(m_window.comPort(), m_window.document().startup().productIniPath);
    return m_connection.link();
}

void OperateCommands::leaveTuneMode() { m_window.document().tuning().leaveTuneMode(m_runner); }

void OperateCommands::showChannelView() {
    m_window.setViewMode(MainWindow::ChannelView);
    m_window.mnuChannel_Click();
}

void OperateCommands::mnuRead_Click() {
    m_window.CommitCellEdits();
    BusyCursor busy;
    Document& doc = m_window.document();
    Feedback& feedback = m_window.feedback();
    if (doc.tuning().state() == TuneSession::ItemActive)
        leaveTuneMode();

    // The read fills a copy: a read that fails leaves the window's data and editors as they are.
    ReadResult result;
    if (!m_runner.read(doc.data(), &result).ok())
        return;
    if (m_window.viewMode() == MainWindow::TuneView)
        showChannelView();
    doc.applyRead(result, feedback);
    m_window.menuAction(QStringLiteral("mnuFileNew"))->setEnabled(true);
}

void OperateCommands::mnuWrite_Click() {
    m_window.CommitCellEdits();
    if (m_beforeWrite && !m_beforeWrite())
        return;
    BusyCursor busy;
    Document& doc = m_window.document();
    doc.collect();
    if (doc.tuning().state() == TuneSession::ItemActive)
        leaveTuneMode();

    const ModelInfo* model = doc.selectedModelInfo();
    RadioData sent = doc.data();
    int version = doc.dataVersion();
    const bool written = m_runner.write(sent, version, {model ? model->value : -1, doc.title()}).ok();
    // The handshake's data version and the date stamp stay, even when the write stops.
    doc.applyWrite(sent, version, written);
    if (!written)
        return;
    m_window.menuAction(QStringLiteral("mnuFileNew"))->setEnabled(true);
    if (m_window.viewMode() == MainWindow::TuneView)
        showChannelView();
    if (m_afterWrite)
        m_afterWrite(sent, version);
}

} // namespace orv::gui

#include "shell/RadioInfoCommand.h"

#include "document/Document.h"
#include "shell/EmbedDialog.h"
#include "shell/MainWindow.h"

#include <algorithm>
#include <array>

namespace orv::gui {

RadioInfoCommand::RadioInfoCommand(MainWindow& window, ExchangeRunner& runner)
    : QObject(&window), m_window(window), m_runner(runner),
      m_runDialog([](EmbedDialog& dialog) { dialog.exec(); }) {
    window.setCommandHandler(MainWindow::Command::RadioInformation, [this] { mnuRadio_Click(); });
}

void RadioInfoCommand::mnuRadio_Click() {
    if (m_window.viewMode() == MainWindow::TuneView) {
        m_window.runCommand(MainWindow::Command::LeaveTuneMode);
        m_window.showChannelViewContainers();
        m_window.checkView(MainWindow::ChannelView);
        // The tune view is gone, and so is its caption.
        m_window.document().leaveTuneView();
    }
    m_window.setViewMode(MainWindow::RadioInfoView);

    Document& doc = m_window.document();
    EmbedDialog dialog(doc, m_runner, &m_window);
    dialog.setEmbedData(doc.infoText());
    m_runDialog(dialog);
    // Cancel drops the edits, but a Read in the dialog has already put the radio's text into
    // the document. A new text counts as a change (a data file keeps it).
    if (!dialog.cancelPressed())
        doc.setInfoText(dialog.embedData());
}

} // namespace orv::gui

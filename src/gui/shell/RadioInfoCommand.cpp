#include "shell/RadioInfoCommand.h"

#include "image/RadioInfoText.h"
#include "session/Session.h"
#include "shell/EmbedDialog.h"
#include "shell/MainWindow.h"

#include <algorithm>
#include <array>

namespace orv::gui {

RadioInfoCommand::RadioInfoCommand(MainWindow& window, std::function<RadioLink&()> link)
    : QObject(&window), m_window(window), m_link(std::move(link)),
      m_runDialog([](EmbedDialog& dialog) { dialog.exec(); }) {
    window.setCommandHandler(MainWindow::Command::RadioInformation, [this] { mnuRadio_Click(); });
}

void RadioInfoCommand::mnuRadio_Click() {
    if (m_window.viewMode() == MainWindow::TuneView) {
        m_window.runCommand(MainWindow::Command::LeaveTuneMode);
        m_window.showChannelViewContainers();
        m_window.checkView(MainWindow::ChannelView);
        // The tune view is gone, and so is its caption.
        Session& session = m_window.session();
        if (session.caption == QStringLiteral("While tuning - ") + session.title()) {
            session.caption = session.title();
            m_window.showCaption();
        }
    }
    m_window.setViewMode(MainWindow::RadioInfoView);

    Session& session = m_window.session();
    std::array<std::uint8_t, addr::InfoTextSize> before{};
    std::ranges::copy(session.data().infoText(), before.begin());

    EmbedDialog dialog(session, m_window.feedback(), m_link, &m_window);
    dialog.setEmbedData(infoTextFromImage(session.data()));
    m_runDialog(dialog);
    // Cancel drops the edits, but a Read in the dialog has already put the radio's text into
    // the data.
    if (!dialog.cancelPressed())
        storeInfoText(dialog.embedData(), session.data());
    // A data file keeps the text: a new text must not be lost silently on closing.
    if (!std::ranges::equal(before, session.data().infoText()))
        session.settingsChanged = true;
}

} // namespace orv::gui

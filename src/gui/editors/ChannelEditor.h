#pragma once
// fraChannel: the channel table editor. The grid gridChan shows the session's channel table;
// the in-cell frequency editor txtChFreq, the signalling dialog and the click toggles edit
// it; the check boxes chkCH and chkTx mark channels out of use or receive-only.

#include <QFrame>

class QLineEdit;

namespace orv {
class Session;
class Feedback;
}

namespace orv::gui {

class ChannelEditor : public QFrame {
    Q_OBJECT
public:
    ChannelEditor(Session& session, Feedback& feedback, QWidget* parent = nullptr);

    // Shows the session's channel table (after start-up, a decode, a load, a new image).
    void showChannels();
    // Finishes an open frequency edit: validation, then the editor is hidden.
    void commitCellEdits();
    // The in-cell frequency editor, txtChFreq (Copy and Paste work on it while it is visible).
    QLineEdit* frequencyEditor() const;

signals:
    // The user changed the channel data; the session's channel-data flag is set.
    void edited();

private:
    Session& m_session;
    Feedback& m_feedback;
    QLineEdit* m_freqEditor = nullptr;
};

} // namespace orv::gui

#pragma once
// frmScan: the "Global Radio Settings" panel, sixteen drop-down lists (cboRadio(0..10),
// cmbScan(0..4)) showing the session's settings selection.

#include <QFrame>

namespace orv {
class Session;
class Feedback;
}

namespace orv::gui {

class SettingsPanel : public QFrame {
    Q_OBJECT
public:
    SettingsPanel(Session& session, Feedback& feedback, QWidget* parent = nullptr);

    // Shows the session's settings selection (after start-up, a decode, a load, a new image).
    void showSettings();

signals:
    // The user changed a setting; the session's settings flag is set.
    void edited();
    // "Band Width" changed: the channel table's Band Width cells changed with it.
    void bandWidthChanged();

private:
    Session& m_session;
    Feedback& m_feedback;
};

} // namespace orv::gui

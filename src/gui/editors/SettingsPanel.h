#pragma once
// frmScan: the "Global Radio Settings" panel, sixteen drop-down lists (cboRadio(0..10),
// cmbScan(0..4)) showing the session's settings selection. The lists are named
// "cboRadio_0".."cboRadio_10" and "cmbScan_0".."cmbScan_4", and stand four by four with
// their captions above them.

#include <QFrame>

#include <array>

class QComboBox;

namespace orv {
class Session;
class Feedback;
enum class Setting : int;
}

namespace orv::gui {

class SettingsPanel : public QFrame {
    Q_OBJECT
public:
    SettingsPanel(Session& session, Feedback& feedback, QWidget* parent = nullptr);

    // Shows the session's settings selection (after start-up, a decode, a load, a new image).
    void showSettings();

    QComboBox* list(Setting s) const;

signals:
    // The user changed a setting; the session's settings flag (channel-data flag for the
    // scan group) is set.
    void edited();
    // "Band Width" changed: the channel table's Band Width cells changed with it.
    void bandWidthChanged();
    // A click on the panel outside its lists: the window finishes open cell edits.
    void backgroundClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void showList(Setting s);
    void selected(Setting s, int index);

    Session& m_session;
    [[maybe_unused]] Feedback& m_feedback;
    std::array<QComboBox*, 16> m_lists{};
};

} // namespace orv::gui

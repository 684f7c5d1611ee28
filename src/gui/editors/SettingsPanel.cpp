#include "editors/SettingsPanel.h"

namespace orv::gui {

// Placeholder until the panel is built: keeps the window composable.
SettingsPanel::SettingsPanel(Session& session, Feedback& feedback, QWidget* parent)
    : QFrame(parent), m_session(session), m_feedback(feedback) {
    setObjectName(QStringLiteral("frmScan"));
}

void SettingsPanel::showSettings() {}

} // namespace orv::gui

#include "editors/ChannelEditor.h"

#include <QLineEdit>

namespace orv::gui {

// Placeholder until the editor is built: keeps the window composable.
ChannelEditor::ChannelEditor(Session& session, Feedback& feedback, QWidget* parent)
    : QFrame(parent), m_session(session), m_feedback(feedback) {
    setObjectName(QStringLiteral("fraChannel"));
    m_freqEditor = new QLineEdit(this);
    m_freqEditor->setObjectName(QStringLiteral("txtChFreq"));
    m_freqEditor->hide();
}

void ChannelEditor::showChannels() {}
void ChannelEditor::commitCellEdits() {}
QLineEdit* ChannelEditor::frequencyEditor() const { return m_freqEditor; }

} // namespace orv::gui

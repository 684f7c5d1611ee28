// The document's steps for undo: its whole state taken and put back, and the steps it tells
// its journal.

#include "document/Document.h"

#include "document/TuneSession.h"

namespace orv {

void Document::restore(const DocumentState& s) {
    // A model the catalog no longer has keeps the one selected.
    const int model = m_catalog.at(s.selectedModel) ? s.selectedModel : m_state.selectedModel;
    m_state = s;
    m_state.selectedModel = model;
    emitChange(DocumentChange::Replaced | DocumentChange::Model | DocumentChange::State);
}

void Document::setEdited(bool edited) {
    const bool was = m_state.channelDataChanged || m_state.settingsChanged;
    if (edited == was)
        return;
    if (edited)
        m_state.channelDataChanged = true;
    else
        m_state.channelDataChanged = m_state.settingsChanged = false;
    emitChange(DocumentChange::State);
}

Document::Step::Step(Document& document, const QString& label, EditJournal::Kind kind) : m_document(document) {
    m_document.beginStep(label, kind);
}

Document::Step::~Step() { m_document.endStep(); }

void Document::beginStep(const QString& label, EditJournal::Kind kind) {
    if (m_stepDepth++ > 0)
        return;
    m_stepChanged = false;
    m_stepLabel = label;
    m_stepKind = kind;
    // Only a journal needs the state before the step.
    if (m_journal)
        m_stepBefore = state();
}

void Document::endStep() {
    if (--m_stepDepth > 0)
        return;
    if (m_journal && m_stepChanged && m_stepBefore) {
        m_journal->recordStep(m_stepLabel, m_stepKind, *m_stepBefore);
        if (m_stepKind == EditJournal::Kind::Replace)
            m_journal->markClean();
    }
    m_stepBefore.reset();
    m_stepChanged = false;
}

void Document::journalReset() {
    if (m_journal)
        m_journal->reset();
}

QString Document::channelCellName(int channel, int column) {
    return QStringLiteral("CH %1 %2").arg(channel).arg(channelHeaders().value(column));
}

QString Document::testCellName(int testChannel, int column) {
    return QStringLiteral("Test CH %1 %2").arg(testChannel).arg(tuneHeaders().value(column));
}

} // namespace orv

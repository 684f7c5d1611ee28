// The document's steps for undo: its whole state taken and put back, and the steps it tells
// its journal.

#include "document/Document.h"

#include "document/TuneSession.h"

namespace orv {

DocumentState Document::state() const {
    DocumentState s;
    s.data = m_data;
    s.dataVersion = m_dataVersion;
    s.selectedModel = m_selectedModel;
    s.channels = m_channels;
    s.settings = m_settings;
    s.tune = m_tune;
    s.currentTestChannel = m_currentTestChannel;
    s.origin = m_origin;
    s.currentFile = m_currentFile;
    s.channelDataChanged = m_channelDataChanged;
    s.settingsChanged = m_settingsChanged;
    s.tuneDataChanged = m_tuneDataChanged;
    return s;
}

void Document::restore(const DocumentState& s) {
    m_data = s.data;
    m_dataVersion = s.dataVersion;
    m_selectedModel = m_catalog.at(s.selectedModel) ? s.selectedModel : m_selectedModel;
    m_channels = s.channels;
    m_settings = s.settings;
    m_tune = s.tune;
    m_currentTestChannel = s.currentTestChannel;
    m_origin = s.origin;
    m_currentFile = s.currentFile;
    m_channelDataChanged = s.channelDataChanged;
    m_settingsChanged = s.settingsChanged;
    m_tuneDataChanged = s.tuneDataChanged;
    emitChange(DocumentChange::Replaced | DocumentChange::Model | DocumentChange::State);
}

void Document::setEdited(bool edited) {
    const bool was = m_channelDataChanged || m_settingsChanged;
    if (edited == was)
        return;
    if (edited)
        m_channelDataChanged = true;
    else
        m_channelDataChanged = m_settingsChanged = false;
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

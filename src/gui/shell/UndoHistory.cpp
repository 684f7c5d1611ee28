#include "shell/UndoHistory.h"

#include "shell/MainWindow.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QUndoStack>

#include <optional>

namespace orv::gui {

// One step: the state before it, and the state after it once it has been undone (the redo
// puts that back). Pushing it does nothing: the document has made the change already.
class UndoHistory::Step : public QUndoCommand {
public:
    Step(UndoHistory& history, const QString& label, Kind kind, const DocumentState& before)
        : QUndoCommand(label), m_history(history), m_kind(kind), m_before(before) {}

    void undo() override {
        m_after = m_history.m_document.state();
        put(m_before);
    }
    void redo() override {
        if (!m_after)
            return; // the push itself
        put(*m_after);
    }

private:
    void put(const DocumentState& state) {
        m_history.m_lastKind = m_kind;
        m_history.m_document.restore(state);
    }

    UndoHistory& m_history;
    Kind m_kind;
    DocumentState m_before;
    std::optional<DocumentState> m_after;
};

UndoHistory::UndoHistory(MainWindow& window)
    : QObject(&window), m_window(window), m_document(window.document()), m_stack(new QUndoStack(this)) {
    m_stack->setUndoLimit(Limit);
    m_undo = new QAction(this);
    m_undo->setObjectName(QStringLiteral("mnuUndo"));
    m_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redo = new QAction(this);
    m_redo->setObjectName(QStringLiteral("mnuRedo"));
    m_redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    // A cell being typed into is finished first: it belongs to the data an undo goes back from.
    connect(m_undo, &QAction::triggered, this, [this] {
        m_window.CommitCellEdits();
        m_stack->undo();
    });
    connect(m_redo, &QAction::triggered, this, [this] {
        m_window.CommitCellEdits();
        m_stack->redo();
    });
    const auto showTexts = [this] {
        m_undo->setText(m_stack->canUndo() ? QStringLiteral("&Undo ") + m_stack->undoText() : QStringLiteral("&Undo"));
        m_redo->setText(m_stack->canRedo() ? QStringLiteral("&Redo ") + m_stack->redoText() : QStringLiteral("&Redo"));
        m_undo->setEnabled(m_stack->canUndo());
        m_redo->setEnabled(m_stack->canRedo());
    };
    connect(m_stack, &QUndoStack::indexChanged, this, showTexts);
    connect(m_stack, &QUndoStack::cleanChanged, this, showTexts);
    showTexts();
    window.replaceMenuItem(QStringLiteral("mnuUndo"), {m_undo, m_redo});
    connect(m_stack, &QUndoStack::indexChanged, this, [this] {
        if (m_lastKind == Kind::Edit)
            settleUnsavedState();
        else if (m_lastKind == Kind::Replace && !m_document.channelDataChanged() && !m_document.settingsChanged())
            m_stack->setClean(); // back at data with no edits: what a file or the radio held
        m_lastKind.reset();
    });
    m_document.setJournal(this);
    // The window's members, its document among them, go before its children, this one too.
    connect(&m_document, &QObject::destroyed, this, [this] { m_documentGone = true; });
}

UndoHistory::~UndoHistory() {
    if (!m_documentGone)
        m_document.setJournal(nullptr);
}

void UndoHistory::recordStep(const QString& label, Kind kind, const DocumentState& before) {
    m_lastKind.reset();
    m_stack->push(new Step(*this, label, kind, before));
}

void UndoHistory::markClean() { m_stack->setClean(); }

void UndoHistory::reset() { m_stack->clear(); }

void UndoHistory::settleUnsavedState() { m_document.setEdited(!m_stack->isClean()); }

} // namespace orv::gui

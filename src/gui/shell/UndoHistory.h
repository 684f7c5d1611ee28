#pragma once
// Undo and redo for every change of the data: Edit > Undo (Ctrl+Z) and Redo (Ctrl+Y,
// Ctrl+Shift+Z), named after the step ("Undo Paste of 12 Cells", "Undo Open"). The document
// tells its steps (each with its whole state before the step); this keeps them on a
// QUndoStack of 1000 steps.
//
// Undoing back to the state last saved, opened or read clears the unsaved state; undoing an
// Open or a Read brings back the data, the caption, the current file and the unsaved state
// exactly as they were. New data, start-up and tune mode start afresh. An undo never touches
// the radio.
//
// Wiring: `new UndoHistory(window)` attaches to the window's document and puts its two
// items into the Edit menu; it lives as long as the window.

#include "document/Document.h"

#include <QObject>

#include <optional>

class QAction;
class QUndoStack;

namespace orv::gui {

class MainWindow;

class UndoHistory : public QObject, public EditJournal {
    Q_OBJECT
public:
    static constexpr int Limit = 1000;

    explicit UndoHistory(MainWindow& window);
    ~UndoHistory() override;

    QUndoStack* stack() const { return m_stack; }
    QAction* undoAction() const { return m_undo; }
    QAction* redoAction() const { return m_redo; }

    // EditJournal
    void recordStep(const QString& label, Kind kind, const DocumentState& before) override;
    void markClean() override;
    void reset() override;

private:
    class Step;
    // After an undo or a redo of an edit: unsaved unless the stack is back at its clean point.
    void settleUnsavedState();

    MainWindow& m_window;
    Document& m_document;
    QUndoStack* m_stack = nullptr;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    // The kind of the step just undone or redone.
    std::optional<Kind> m_lastKind;
    bool m_documentGone = false;
};

} // namespace orv::gui

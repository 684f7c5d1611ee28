#pragma once
// What the program's editing grids share: the channel table and the test-channel table are
// QTableViews whose row 0 and column 0 are ordinary header cells, with an in-cell line
// editor for frequencies placed over the cell being edited and a signalling dialog opened
// beside a signalling cell.

#include <QList>
#include <QStyledItemDelegate>

class QFocusEvent;
class QKeyEvent;
class QLineEdit;
class QMouseEvent;
class QTableView;

namespace orv {
class Feedback;
class NumberFormat;
}

namespace orv::gui {

class SignalDialog;

// The cell of an editing grid being typed into: until the edit ends it shows the typed text,
// which the document only takes then.
class TypedCell {
public:
    bool at(int row, int column) const { return row == m_row && column == m_column; }
    const QString& text() const { return m_text; }
    // Moves to (row, column) with `text` ((-1, -1): no cell is typed into) and has `model`
    // draw the cells that changed.
    void set(QAbstractItemModel& model, int row, int column, const QString& text);

private:
    int m_row = -1;
    int m_column = -1;
    QString m_text;
};

// Draws the current cell with a highlight frame and selected cells with a light wash instead
// of a selection fill, so that every cell keeps the text colour that tells its state.
class GridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// One character "0".."9".
bool isDigitText(const QString& text);

// Keys that type nothing, a control character (backspace, Ctrl+V...) or Delete.
bool isControlKey(const QKeyEvent* key);

// A key with Ctrl, Alt or Meta held: left to the view and the window's shortcuts.
bool hasCommandModifier(const QKeyEvent* key);

// Makes `grid` one of the program's editing grids: no Qt headers (row 0 and column 0 are
// cells), fixed section sizes, no scroll bars, no built-in editing or tab moves, no selection
// (GridSelection adds it),
// the current cell drawn by GridDelegate. Key presses on the grid and mouse events on its
// viewport go to `filter`.
void setUpEditGrid(QTableView* grid, QObject* filter);

// The longest texts a cell can show, for sizing a column: a frequency (up to what three
// bytes can hold, 1638.39375 MHz), a signalling text. Numbers with `numbers`' separator.
QStringList frequencySamples(const NumberFormat& numbers);
QStringList signallingSamples(const NumberFormat& numbers);
// The width a grid column needs to show each of `samples` in full on one line in the grid's
// font: the text, the cell's margins, the current-cell frame and the grid line.
int textColumnWidth(const QTableView* grid, const QStringList& samples);

// Gives the grid's columns their widths and its rows their heights (row 0 is the header
// row) in pixels; returns the size of all cells together.
QSize sizeEditGrid(QTableView* grid, const QList<int>& columnWidths, int headerHeight, int rowHeight);

// The in-cell frequency editor: hidden, centred text of at most maxLength characters, its
// events going to `filter`.
QLineEdit* makeCellEditor(QWidget* parent, const QString& objectName, int maxLength, QObject* filter);

// Opens the cell editor at `geometry` (in its parent's coordinates) holding `text`, all of
// it selected and focused.
void showCellEditor(QLineEdit* editor, const QRect& geometry, const QString& text);

// The rectangle of a grid cell in the coordinates of `to` (the grid's parent chain).
QRect cellRectIn(const QTableView* grid, const QModelIndex& cell, const QWidget* to);

// The typing filter of a frequency editor for the keys that are not commands: digits and
// control keys pass (false); "," and "." insert the decimal separator and every other
// character is dropped (true: the key is taken).
bool filterFrequencyTyping(QLineEdit* editor, const QKeyEvent* key, QChar decimalSeparator);

// A loss of focus that ends an in-cell edit: not to the editor's context menu nor to
// another window.
bool focusLossEndsEdit(const QFocusEvent* event);

// A signalling dialog for the text of a grid cell, owned by the grid's window, its top left
// corner at the cell's top left moved by (dx, dy) pixels. The caller connects finished()
// and opens it (window-modal).
SignalDialog* makeCellSignalDialog(Feedback& feedback, const NumberFormat& numbers, const QTableView* grid,
                                   const QModelIndex& cell, const QString& text, int dx, int dy);

} // namespace orv::gui

#pragma once
// Many cells of an editing grid at once: the selection (cells, or whole rows by their "CH n"
// cell), a copy as tab-separated text with a header row that a spreadsheet pastes as a
// table, a paste from a spreadsheet (matched by the column names of its first row, or from
// the current cell rightwards and downwards), one value set on every selected cell of a
// column, Fill Down, and "No CH" for the selected rows. Every change goes through the rules
// of typing (the import's) and is one step of the document, so one undo takes it back.
//
// Both editing grids use one: the channel grid and the test-channel grid.

#include "import/GridCells.h"
#include "import/ImportApply.h"

#include <QModelIndex>
#include <QObject>

#include <functional>

class QMouseEvent;
class QTableView;

namespace orv {
class Document;
}

namespace orv::gui {

class GridSelection : public QObject {
    Q_OBJECT
public:
    // `inForce(row, column)`: whether a click may change the cell (a channel in use, not the
    // transmit side of a receive-only one).
    GridSelection(QTableView* grid, Document& document, Grid kind, std::function<bool(int row, int column)> inForce,
                  QObject* parent = nullptr);

    QTableView* grid() const { return m_grid; }

    // The view's mouse events, passed on by the editor's event filter. A press on a "CH n"
    // cell selects its row (Shift extends, Ctrl adds); press() returns true when it took the
    // event. released() is true when the release ends a plain click on one cell (the editor
    // then edits it), false for a drag, a Shift or Ctrl click, or the label column.
    bool pressed(const QMouseEvent* mouse);
    bool released(const QMouseEvent* mouse) const;

    // The selected data cells, row by row; the rows whose every data cell is selected.
    QModelIndexList selectedCells() const;
    QList<int> wholeRows() const;
    // Several cells of column `column` are selected, the one at `row` among them.
    bool manyInColumn(int row, int column) const;

    // The selection as text: a header row ("CH No." and the selected columns' names, with
    // "No CH" and "No Tx" for whole rows), then one line per row, fields separated by tabs.
    QString copyText() const;

    // What a paste, a value for many cells, Fill Down or No CH for rows would do, and doing it.
    // A change is worked out first; `confirm` sees the report when it holds errors and says
    // whether to apply the cells that can be taken (nothing is applied otherwise).
    // A paste whose first row names columns places them by name; its rows go to the channels
    // their "CH No." names, or, for `atCurrentRow` (cells copied from a grid of this program,
    // to be put elsewhere), from the current row down.
    using Confirm = std::function<bool(const ImportReport& preview)>;
    ImportReport paste(const QString& text, const Confirm& confirm, bool atCurrentRow = false);
    // The selected rows of `column`.
    QList<int> rowsInColumn(int column) const;
    // `text` for the cells of `column` in `rows` that are in force (one step).
    ImportReport setCells(int column, const QList<int>& rows, const QString& text);
    // Each selected column's top cell copied down to the selected cells below it.
    ImportReport fillDown();
    // "No CH" for the whole rows selected, but row `keep` (the test channel in use).
    ImportReport takeRowsOutOfUse(int keep = 0);

private:
    ImportReport apply(const ImportInput& input, const QString& label, const Confirm& confirm = {});
    QStringList header() const;
    int boxColumn() const; // the index of "No CH" in gridColumnNames()

    QTableView* m_grid;
    Document& m_document;
    Grid m_kind;
    std::function<bool(int, int)> m_inForce;
    QModelIndex m_pressed;
    bool m_pressWasPlain = false;
};

} // namespace orv::gui

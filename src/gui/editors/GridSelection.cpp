#include "editors/GridSelection.h"

#include "document/Document.h"
#include "import/CellRules.h"
#include "import/TextTable.h"

#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QTableView>

#include <algorithm>
#include <set>

namespace orv::gui {

namespace {

constexpr int LabelColumn = 0;

bool plainClick(const QMouseEvent* mouse) {
    return mouse->button() == Qt::LeftButton &&
           !(mouse->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::MetaModifier));
}

} // namespace

GridSelection::GridSelection(QTableView* grid, Document& document, Grid kind,
                             std::function<bool(int row, int column)> inForce, QObject* parent)
    : QObject(parent), m_grid(grid), m_document(document), m_kind(kind), m_inForce(std::move(inForce)) {
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
}

bool GridSelection::pressed(const QMouseEvent* mouse) {
    m_pressed = QModelIndex();
    if (mouse->button() != Qt::LeftButton)
        return false;
    const QModelIndex index = m_grid->indexAt(mouse->position().toPoint());
    const QAbstractItemModel* model = m_grid->model();
    if (index.isValid() && index.column() == LabelColumn && index.row() >= 1) {
        // The "CH n" cell picks its whole row.
        QItemSelectionModel* selection = m_grid->selectionModel();
        const int last = model->columnCount() - 1;
        int from = index.row();
        const QModelIndex current = m_grid->currentIndex();
        if ((mouse->modifiers() & Qt::ShiftModifier) && current.isValid() && current.row() >= 1)
            from = current.row();
        const QItemSelection rows(model->index(std::min(from, index.row()), 1),
                                  model->index(std::max(from, index.row()), last));
        const auto flags = (mouse->modifiers() & Qt::ControlModifier) ? QItemSelectionModel::Select
                                                                       : QItemSelectionModel::ClearAndSelect;
        selection->select(rows, flags);
        if (!(mouse->modifiers() & Qt::ShiftModifier))
            selection->setCurrentIndex(model->index(index.row(), 1), QItemSelectionModel::NoUpdate);
        m_grid->setFocus();
        return true;
    }
    m_pressed = index;
    m_pressWasPlain = plainClick(mouse);
    return false;
}

bool GridSelection::released(const QMouseEvent* mouse) const {
    if (!m_pressWasPlain || mouse->button() != Qt::LeftButton)
        return false;
    const QModelIndex index = m_grid->indexAt(mouse->position().toPoint());
    return index.isValid() && index == m_pressed && (index.flags() & Qt::ItemIsEnabled);
}

QModelIndexList GridSelection::selectedCells() const {
    QModelIndexList cells;
    for (const QModelIndex& i : m_grid->selectionModel()->selectedIndexes())
        if (i.row() >= 1 && i.column() >= 1)
            cells << i;
    std::sort(cells.begin(), cells.end(), [](const QModelIndex& a, const QModelIndex& b) {
        return std::pair(a.row(), a.column()) < std::pair(b.row(), b.column());
    });
    return cells;
}

QList<int> GridSelection::wholeRows() const {
    const int dataColumns = m_grid->model()->columnCount() - 1;
    std::map<int, int> count;
    for (const QModelIndex& i : selectedCells())
        ++count[i.row()];
    QList<int> rows;
    for (const auto& [row, n] : count)
        if (n == dataColumns)
            rows << row;
    return rows;
}

bool GridSelection::manyInColumn(int row, int column) const {
    const QList<int> rows = rowsInColumn(column);
    return rows.size() > 1 && rows.contains(row);
}

int GridSelection::boxColumn() const { return m_grid->model()->columnCount(); }

QStringList GridSelection::header() const { return gridColumnNames(m_kind); }

QString GridSelection::copyText() const {
    const QModelIndexList cells = selectedCells();
    if (cells.isEmpty())
        return {};
    std::set<int> rows, columns;
    for (const QModelIndex& i : cells) {
        rows.insert(i.row());
        columns.insert(i.column());
    }
    if (!wholeRows().isEmpty()) {
        columns.insert(boxColumn());
        columns.insert(boxColumn() + 1);
    }
    const QStringList names = header();
    QStringList line{names.value(0)};
    for (int c : columns)
        line << names.value(c);
    QString text = line.join(QLatin1Char('\t')) + QLatin1Char('\n');
    const CellKind cellKind = m_kind == Grid::Channels ? CellKind::ChannelCell : CellKind::TestCell;
    for (int r : rows) {
        line = QStringList{QStringLiteral("CH %1").arg(r)};
        for (int c : columns) {
            CellTarget target{cellKind, r, c};
            if (c == boxColumn())
                target = {m_kind == Grid::Channels ? CellKind::ChannelNoCh : CellKind::TestNoCh, r, 0};
            else if (c == boxColumn() + 1)
                target = {m_kind == Grid::Channels ? CellKind::ChannelNoTx : CellKind::TestNoTx, r, 0};
            line << shownText(m_document, target);
        }
        text += line.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

ImportReport GridSelection::apply(const ImportInput& input, const QString& label, const Confirm& confirm) {
    ImportReport preview = previewImport(m_document, input);
    if (preview.cellsChanged == 0 && preview.errors.isEmpty())
        return preview;
    ImportOptions options;
    options.label = label;
    if (!preview.errors.isEmpty()) {
        if (!confirm || !confirm(preview))
            return preview;
        options.keepGoing = true;
    }
    return applyImport(m_document, input, options);
}

ImportReport GridSelection::paste(const QString& text, const Confirm& confirm, bool atCurrentRow) {
    const QString firstLine = text.section(QLatin1Char('\n'), 0, 0);
    TextTable table = readTextTable(text, guessSeparator(firstLine));
    if (table.rows.isEmpty()) {
        ImportReport nothing;
        nothing.errors = table.errors;
        return nothing;
    }
    const QModelIndex current = m_grid->currentIndex();
    const int row = current.isValid() && current.row() >= 1 ? current.row() : 1;
    const int column = current.isValid() && current.column() >= 1 ? current.column() : 1;
    const bool named = namesGridColumns(table.rows.first(), m_kind);
    if (named && atCurrentRow) {
        // Without its "CH No." column the table goes from the current row down.
        const qsizetype label = table.rows.first().fields.indexOf(header().value(0));
        if (label >= 0)
            for (TextRow& r : table.rows)
                if (label < r.fields.size())
                    r.fields.removeAt(label);
    }
    ImportInput input = named ? cellsByHeader(table, m_kind, row) : cellsAt(table, m_kind, row, column);
    input.errors = table.errors + input.errors;
    return apply(input, QStringLiteral("Paste of %1 Cells"), confirm);
}

QList<int> GridSelection::rowsInColumn(int column) const {
    QList<int> rows;
    for (const QModelIndex& i : selectedCells())
        if (i.column() == column)
            rows << i.row();
    return rows;
}

ImportReport GridSelection::setCells(int column, const QList<int>& rows, const QString& text) {
    ImportInput input;
    const CellKind cellKind = m_kind == Grid::Channels ? CellKind::ChannelCell : CellKind::TestCell;
    for (int r : rows)
        if (m_inForce(r, column))
            input.cells << CellInput{CellTarget{cellKind, r, column}, text, QString()};
    return apply(input, QStringLiteral("Edit of %1 Cells"));
}

ImportReport GridSelection::fillDown() {
    const CellKind cellKind = m_kind == Grid::Channels ? CellKind::ChannelCell : CellKind::TestCell;
    std::map<int, QList<int>> rowsOfColumn;
    for (const QModelIndex& i : selectedCells())
        rowsOfColumn[i.column()] << i.row();
    ImportInput input;
    for (const auto& [column, rows] : rowsOfColumn) {
        const QString top = shownText(m_document, CellTarget{cellKind, rows.first(), column});
        for (int r : rows.mid(1))
            if (m_inForce(r, column))
                input.cells << CellInput{CellTarget{cellKind, r, column}, top, QString()};
    }
    return apply(input, QStringLiteral("Fill Down of %1 Cells"));
}

ImportReport GridSelection::takeRowsOutOfUse(int keep) {
    ImportInput input;
    const CellKind box = m_kind == Grid::Channels ? CellKind::ChannelNoCh : CellKind::TestNoCh;
    for (int r : wholeRows())
        if (r != keep)
            input.cells << CellInput{CellTarget{box, r, 0}, QStringLiteral("1"), QString()};
    return apply(input, QStringLiteral("No CH of %1 Rows"));
}

} // namespace orv::gui

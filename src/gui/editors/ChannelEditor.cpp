#include "editors/ChannelEditor.h"

#include "catalog/FrequencyRules.h"
#include "catalog/NumberText.h"
#include "editors/ChannelGridModel.h"
#include "editors/GridParts.h"
#include "editors/GridSelection.h"
#include "editors/SignalDialog.h"
#include "editors/Twips.h"
#include "image/ChannelTable.h"
#include "import/CellRules.h"
#include "document/Document.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableView>

#include <algorithm>
#include <cmath>

namespace orv::gui {

namespace {

// Grid geometry in twips: column widths are 780 twips times a factor per column.
constexpr double ColumnFactors[GridColumns] = {1.2, 1.8, 1.6, 1.8, 1.6, 1.5, 1.0, 1.0, 1.3};
constexpr int BaseColumnTwips = 780;
constexpr int RowTwips = 292;
constexpr int HeaderRowTwips = 467; // 292 x 1.6
constexpr int GridExtraHeightTwips = 100;
constexpr int GridExtraWidthTwips = 120;
constexpr int EditorExtraWidthTwips = 10;
constexpr int DialogLeftShiftTwips = 600;
// Placement of the grid and of the two check box columns inside the frame.
constexpr int MarginTwips = 120;
constexpr int BoxColumnTwips = 660;

constexpr int FrequencyMaxLength = 9;

bool isFrequencyColumn(int column) { return column == ColRxFreq || column == ColTxFreq; }
bool isSignalColumn(int column) { return column == ColRxSignal || column == ColTxSignal; }
bool isTransmitColumn(int column) {
    return column == ColTxFreq || column == ColTxSignal || column == ColBusy || column == ColPower;
}

} // namespace

ChannelEditor::ChannelEditor(Document& document, Feedback& feedback, QWidget* parent)
    : QFrame(parent), m_document(document), m_feedback(feedback) {
    setObjectName(QStringLiteral("fraChannel"));
    setFrameShape(QFrame::StyledPanel);

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("gridChan"));
    m_model = new ChannelGridModel(document, m_grid, this);
    m_grid->setModel(m_model);
    setUpEditGrid(m_grid, this);
    m_selection = new GridSelection(m_grid, document, Grid::Channels,
                                    [this](int row, int column) { return isEditable(row, column); }, this);
    m_grid->setAccessibleName(QStringLiteral("Channels"));

    m_freqEditor = makeCellEditor(this, QStringLiteral("txtChFreq"), FrequencyMaxLength, this);
    // The cell shows what is typed; the document takes the text once the edit ends.
    connect(m_freqEditor, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (m_freqRow >= 0)
            m_model->setTyping(m_freqRow, m_freqColumn, text);
    });

    m_noChCaption = new QLabel(QStringLiteral("No CH"), this);
    m_noTxCaption = new QLabel(QStringLiteral("No Tx"), this);
    for (QLabel* caption : {m_noChCaption, m_noTxCaption})
        caption->setAlignment(Qt::AlignCenter);
    QWidget* previous = m_grid;
    for (int i = 0; i < 16; ++i) {
        m_noCh[size_t(i)] = new QCheckBox(this);
        m_noCh[size_t(i)]->setObjectName(QStringLiteral("chkCH_%1").arg(i));
        m_noCh[size_t(i)]->setAccessibleName(QStringLiteral("No CH, CH %1").arg(i + 1));
        m_noTx[size_t(i)] = new QCheckBox(this);
        m_noTx[size_t(i)]->setObjectName(QStringLiteral("chkTx_%1").arg(i));
        m_noTx[size_t(i)]->setAccessibleName(QStringLiteral("No Tx, CH %1").arg(i + 1));
        connect(m_noCh[size_t(i)], &QCheckBox::toggled, this, [this, i](bool on) { noChToggled(i, on); });
        connect(m_noTx[size_t(i)], &QCheckBox::toggled, this, [this, i](bool on) { noTxToggled(i, on); });
        setTabOrder(previous, m_noCh[size_t(i)]);
        setTabOrder(m_noCh[size_t(i)], m_noTx[size_t(i)]);
        previous = m_noTx[size_t(i)];
    }

    layoutContents();
    showChannels();
    setCurrentCell(1, ColRxFreq);
    connect(&document, &Document::changed, this, &ChannelEditor::documentChanged);
}

QLineEdit* ChannelEditor::frequencyEditor() const { return m_freqEditor; }

void ChannelEditor::layoutContents() {
    auto px = [this](int twips) { return twipsToPixels(twips, this); };
    // The written widths, wider where the font needs more for a column's longest text.
    const NumberFormat& numbers = m_document.numbers();
    const QStringList samples[GridColumns] = {
        {QStringLiteral("CH 16")},     frequencySamples(numbers),
        signallingSamples(numbers),    frequencySamples(numbers),
        signallingSamples(numbers),    {QStringLiteral("Delete"), QStringLiteral("Add")},
        {QStringLiteral("OFF"), QStringLiteral("ON")}, {QStringLiteral("High"), QStringLiteral("Low")},
        {QStringLiteral("Narrow"), QStringLiteral("Wide")},
    };
    QList<int> widths;
    for (int c = 0; c < GridColumns; ++c)
        widths.append(std::max(px(int(std::lround(BaseColumnTwips * ColumnFactors[c]))),
                               textColumnWidth(m_grid, samples[c])));
    const int rowHeight = px(RowTwips), headerHeight = px(HeaderRowTwips);
    const QSize cells = sizeEditGrid(m_grid, widths, headerHeight, rowHeight);
    const int gridWidth = cells.width() + px(GridExtraWidthTwips);
    const int gridHeight = cells.height() + px(GridExtraHeightTwips);

    const QPoint origin = contentsRect().topLeft() + QPoint(px(MarginTwips), px(MarginTwips));
    m_grid->setGeometry(QRect(origin, QSize(gridWidth, gridHeight)));

    // The check boxes stand level with their rows, in two columns right of the grid.
    const int boxColumn = px(BoxColumnTwips);
    const int firstBoxX = m_grid->geometry().right() + 1 + px(MarginTwips);
    const int firstRowY = origin.y() + m_grid->frameWidth() + headerHeight;
    m_noChCaption->setGeometry(firstBoxX, origin.y(), boxColumn, headerHeight);
    m_noTxCaption->setGeometry(firstBoxX + boxColumn, origin.y(), boxColumn, headerHeight);
    for (int i = 0; i < 16; ++i) {
        const int y = firstRowY + i * rowHeight;
        for (int k = 0; k < 2; ++k) {
            QCheckBox* box = k == 0 ? m_noCh[size_t(i)] : m_noTx[size_t(i)];
            const QSize hint = box->sizeHint();
            box->setGeometry(firstBoxX + k * boxColumn + (boxColumn - hint.width()) / 2,
                             y + (rowHeight - hint.height()) / 2, hint.width(), hint.height());
        }
    }
    const QMargins frame = contentsMargins();
    setFixedSize(firstBoxX + 2 * boxColumn + px(MarginTwips) + frame.right(),
                 m_grid->geometry().bottom() + 1 + px(MarginTwips) + frame.bottom());
}

void ChannelEditor::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange)
        m_model->refresh();
    QFrame::changeEvent(event);
}

void ChannelEditor::showChannels() {
    m_showing = true;
    if (m_freqRow >= 0) {
        m_freqRow = m_freqColumn = -1;
        m_model->setTyping(-1, -1, {});
        if (m_freqEditor->hasFocus())
            m_grid->setFocus();
        m_freqEditor->hide();
    }
    // A signalling dialog still open belongs to the table just replaced: its result is dropped.
    m_signalRow = m_signalColumn = -1;
    m_model->setHighlight(-1, -1);
    for (int channel = 1; channel <= addr::ChannelCount; ++channel)
        showBoxes(channel);
    m_model->refresh();
    m_showing = false;
}

void ChannelEditor::showBoxes(int channel) {
    const ChannelRow& row = m_document.channels().rows.at(size_t(channel - 1));
    const bool showing = m_showing;
    m_showing = true;
    m_noCh[size_t(channel - 1)]->setChecked(row.noCh);
    m_noTx[size_t(channel - 1)]->setChecked(row.noTx);
    m_noTx[size_t(channel - 1)]->setEnabled(!row.noCh);
    m_showing = showing;
}

// Edits keep an open frequency edit (it may be the one that just ended); replaced data drop it.
void ChannelEditor::documentChanged(const DocumentChange& change) {
    if (change.has(DocumentChange::Replaced)) {
        showChannels();
        return;
    }
    if (!change.has(DocumentChange::Channels) && !change.has(DocumentChange::Settings) &&
        !change.has(DocumentChange::Model))
        return;
    if (change.row > 0) {
        showBoxes(change.row);
        m_model->refreshRow(change.row);
        return;
    }
    for (int channel = 1; channel <= addr::ChannelCount; ++channel)
        showBoxes(channel);
    m_model->refresh();
}

bool ChannelEditor::isEditable(int row, int column) const {
    if (row < 1 || row > LastGridRow || column < 1 || column > LastGridColumn)
        return false;
    const ChannelRow& ch = m_model->channel(row);
    return !ch.noCh && !(ch.noTx && isTransmitColumn(column));
}

void ChannelEditor::setCurrentCell(int row, int column, bool keepSelection) {
    const QModelIndex cell = m_model->index(row, column);
    if (keepSelection)
        m_grid->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::NoUpdate);
    else
        m_grid->setCurrentIndex(cell);
}

bool ChannelEditor::editCell(int row, int column) {
    if (!isEditable(row, column))
        return false;
    commitFrequency();
    // Several cells of the column selected: the edit is for all of them.
    m_editRows = m_selection->manyInColumn(row, column) ? m_selection->rowsInColumn(column) : QList<int>{row};
    const bool many = m_editRows.size() > 1;
    setCurrentCell(row, column, many);
    if (isFrequencyColumn(column)) {
        openFrequencyEditor(row, column);
    } else if (isSignalColumn(column)) {
        openSignalDialog(row, column);
    } else if (many) {
        setEditedCells(row, column, m_editRows, toggledCellText(column, m_model->channel(row).cells[size_t(column)]));
    } else {
        m_document.toggleChannelCell(row, column);
    }
    return many;
}

void ChannelEditor::setEditedCells(int row, int column, const QList<int>& rows, const QString& text) {
    if (rows.size() <= 1) {
        m_document.setChannelCell(row, column, text);
        return;
    }
    const ImportReport report = m_selection->setCells(column, rows, text);
    if (!report.notes.isEmpty())
        emit noted(report.notes.join(QStringLiteral("  ")));
}

// --- the frequency editor -----------------------------------------------------------------

void ChannelEditor::openFrequencyEditor(int row, int column) {
    const QPoint topLeft = cellRectIn(m_grid, m_model->index(row, column), this).topLeft();
    const QSize size(m_grid->columnWidth(ColRxFreq) + twipsToPixels(EditorExtraWidthTwips, this),
                     twipsToPixels(RowTwips, this));
    m_restoreText = m_model->channel(row).cells[size_t(column)];
    m_freqRow = row;
    m_freqColumn = column;
    showCellEditor(m_freqEditor, QRect(topLeft, size), m_restoreText);
}

// Valid text is shown as the model's raster frequency "000.00000"; anything else brings the
// value back that the cell had when editing began. Either way the editor closes. A text left
// as it was is not checked again: a stored frequency outside the model's range (from a file
// or a radio) only changes when the user types another.
void ChannelEditor::commitFrequency() {
    if (m_freqRow < 0 || m_committing)
        return;
    m_committing = true;
    QString note;
    if (m_freqEditor->text() != m_restoreText) {
        if (const auto valid = m_document.validChannelFrequency(m_freqEditor->text())) {
            // A value the rules clamped or snapped is told in the status bar.
            note = cellRule(m_document, CellTarget{CellKind::ChannelCell, m_freqRow, m_freqColumn},
                            m_freqEditor->text())
                       .note;
            m_restoreText = *valid;
        }
    }
    const int row = m_freqRow, column = m_freqColumn;
    m_freqRow = m_freqColumn = -1;
    m_model->setTyping(-1, -1, {});
    m_freqEditor->setText(m_restoreText);
    if (m_freqEditor->hasFocus() || window()->focusWidget() == m_freqEditor)
        m_grid->setFocus();
    m_freqEditor->hide();
    setEditedCells(row, column, m_editRows, m_restoreText);
    m_committing = false;
    if (!note.isEmpty())
        emit noted(note);
}

void ChannelEditor::commitCellEdits() { commitFrequency(); }

bool ChannelEditor::frequencyKeyPress(QKeyEvent* key) {
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        const int row = m_freqRow, column = m_freqColumn;
        commitFrequency();
        m_grid->setFocus();
        if (row >= 0)
            setCurrentCell(row, std::min(column + 1, LastGridColumn));
        return true;
    }
    case Qt::Key_Escape:
        m_freqEditor->setText(m_restoreText);
        commitFrequency();
        m_grid->setFocus();
        return true;
    default:
        break;
    }
    return filterFrequencyTyping(m_freqEditor, key, m_document.numbers().decimalSeparator());
}

// --- the signalling dialog ------------------------------------------------------------------

void ChannelEditor::openSignalDialog(int row, int column) {
    m_signalRow = row;
    m_signalColumn = column;
    m_model->setHighlight(row, column);
    m_signalDialog = makeCellSignalDialog(m_feedback, m_document.numbers(), m_grid, m_model->index(row, column),
                                          m_model->channel(row).cells[size_t(column)],
                                          -twipsToPixels(DialogLeftShiftTwips, this), 0);
    connect(m_signalDialog, &QDialog::finished, this, &ChannelEditor::signalDialogFinished);
    m_signalDialog->open();
}

void ChannelEditor::signalDialogFinished(int result) {
    SignalDialog* dialog = m_signalDialog;
    m_signalDialog = nullptr;
    m_model->setHighlight(-1, -1);
    if (result == QDialog::Accepted && m_signalRow >= 0)
        setEditedCells(m_signalRow, m_signalColumn, m_editRows, dialog->signalText());
    m_signalRow = m_signalColumn = -1;
    dialog->deleteLater();
    m_grid->setFocus();
}

// --- cells and boxes ------------------------------------------------------------------------

void ChannelEditor::noChToggled(int channel, bool ticked) {
    if (!m_showing)
        m_document.setChannelNoCh(channel + 1, ticked);
}

void ChannelEditor::noTxToggled(int channel, bool ticked) {
    if (!m_showing)
        m_document.setChannelNoTx(channel + 1, ticked);
}

// --- events ---------------------------------------------------------------------------------

bool ChannelEditor::gridKeyPress(QKeyEvent* key) {
    if (hasCommandModifier(key))
        return false;
    const QModelIndex current = m_grid->currentIndex();
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (current.isValid()) {
            const GridCell next = advanceGridCell({current.row(), current.column()});
            setCurrentCell(next.row, next.column);
        }
        return true;
    case Qt::Key_Space:
    case Qt::Key_F2:
        if (current.isValid())
            editCell(current.row(), current.column());
        return true;
    case Qt::Key_Delete: {
        // Whole rows selected: out of use, all at once.
        const ImportReport report = m_selection->takeRowsOutOfUse();
        if (!report.notes.isEmpty())
            emit noted(report.notes.join(QStringLiteral("  ")));
        return true;
    }
    default:
        break;
    }
    if (isControlKey(key))
        return false; // arrows, Tab and the like move as usual
    // A digit on an editable frequency cell starts editing with that digit.
    if (isDigitText(key->text()) && current.isValid() && isFrequencyColumn(current.column()) &&
        isEditable(current.row(), current.column())) {
        editCell(current.row(), current.column());
        m_freqEditor->setText(key->text());
    }
    return true; // no other typing (nor the view's search by first letter)
}

bool ChannelEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid && event->type() == QEvent::KeyPress)
        return gridKeyPress(static_cast<QKeyEvent*>(event));
    if (watched == m_grid->viewport() && event->type() == QEvent::MouseButtonPress)
        return m_selection->pressed(static_cast<QMouseEvent*>(event));
    if (watched == m_grid->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // A plain click edits its cell; one that changed several keeps their selection.
        if (m_selection->released(mouse)) {
            const QModelIndex index = m_grid->indexAt(mouse->position().toPoint());
            return editCell(index.row(), index.column());
        }
        return false;
    }
    if (watched == m_freqEditor) {
        if (event->type() == QEvent::KeyPress)
            return frequencyKeyPress(static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::FocusOut && focusLossEndsEdit(static_cast<QFocusEvent*>(event)))
            commitFrequency();
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace orv::gui

#include "tune/TuneChannelsPage.h"

#include "Feedback.h"
#include "catalog/FrequencyRules.h"
#include "editors/ChannelGridModel.h"
#include "editors/GridParts.h"
#include "editors/GridSelection.h"
#include "editors/SignalDialog.h"
#include "editors/Twips.h"
#include "image/TuneTable.h"
#include "document/Document.h"
#include "tune/TuneGridModel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionGroupBox>
#include <QTableView>

#include <algorithm>

namespace orv::gui {

namespace {

constexpr int ColumnTwips[TuneColumnCount] = {800, 1040, 720, 960, 1040, 720, 960};
constexpr int RowTwips = 292;
constexpr int HeaderRowTwips = 467;
// Placement inside the frame: margins, the three columns of per-row widgets.
constexpr int MarginTwips = 120;
constexpr int WidgetColumnTwips = 660;
constexpr int FrequencyMaxLength = 9;

bool isFrequencyColumn(int column) { return column == TuneColRxFreq || column == TuneColTxFreq; }
bool isStepColumn(int column) { return column == TuneColRxStep || column == TuneColTxStep; }

} // namespace

TuneChannelsPage::TuneChannelsPage(Document& document, Feedback& feedback, QWidget* parent)
    : QGroupBox(parent), m_document(document), m_feedback(feedback) {
    setObjectName(QStringLiteral("fraTuneSet"));
    setTitle(QStringLiteral("Tuning Channels"));

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("gridTune"));
    m_model = new TuneGridModel(document, m_grid, this);
    m_grid->setModel(m_model);
    setUpEditGrid(m_grid, this);
    m_selection = new GridSelection(m_grid, document, Grid::TestChannels,
                                    [this](int row, int column) { return m_model->inForce(row, column); }, this);
    m_grid->setAccessibleName(QStringLiteral("Test channels"));

    m_freqEditor = makeCellEditor(this, QStringLiteral("txtTuneFreq"), FrequencyMaxLength, this);
    // The cell shows what is typed; the document takes the text once the edit ends.
    connect(m_freqEditor, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (m_editRow >= 0)
            m_model->setTyping(m_editRow, m_editColumn, text);
    });

    createRowWidgets();

    m_write = new QPushButton(QStringLiteral("&Write Frequencies of Tune"), this);
    m_write->setObjectName(QStringLiteral("cmdSaveTnFq"));
    connect(m_write, &QPushButton::clicked, this, [this] {
        commitCellEdits();
        emit writeRequested();
    });
    setTabOrder(m_rows.back().noTx, m_write);

    layoutContents();
    showTuneChannels();
    setCurrentCell(1, TuneColRxFreq);
    connect(&document, &Document::changed, this, &TuneChannelsPage::documentChanged);
}

void TuneChannelsPage::createRowWidgets() {
    const char* captions[] = {"Test", "No CH", "No Tx"};
    for (size_t k = 0; k < m_captions.size(); ++k) {
        m_captions[k] = new QLabel(QString::fromLatin1(captions[k]), this);
        m_captions[k]->setAlignment(Qt::AlignCenter);
    }
    m_testChannels = new QButtonGroup(this);
    connect(m_testChannels, &QButtonGroup::idClicked, this, &TuneChannelsPage::testChannelClicked);
    QWidget* previous = m_grid;
    for (int i = 0; i < int(m_rows.size()); ++i) {
        RowWidgets& w = m_rows[size_t(i)];
        const QString channel = QStringLiteral(", CH %1").arg(i + 1);
        w.test = new QRadioButton(this);
        w.test->setObjectName(QStringLiteral("optTestCh_%1").arg(i));
        w.test->setAccessibleName(QStringLiteral("Test channel") + channel);
        m_testChannels->addButton(w.test, i);
        w.noCh = new QCheckBox(this);
        w.noCh->setObjectName(QStringLiteral("chkTuneCH_%1").arg(i));
        w.noCh->setAccessibleName(QStringLiteral("No CH") + channel);
        connect(w.noCh, &QCheckBox::toggled, this, [this, i](bool on) { noChToggled(i, on); });
        w.noTx = new QCheckBox(this);
        w.noTx->setObjectName(QStringLiteral("chkTuneTx_%1").arg(i));
        w.noTx->setAccessibleName(QStringLiteral("No Tx") + channel);
        connect(w.noTx, &QCheckBox::toggled, this, [this, i](bool on) { noTxToggled(i, on); });
        for (QWidget* next : {static_cast<QWidget*>(w.test), static_cast<QWidget*>(w.noCh),
                              static_cast<QWidget*>(w.noTx)}) {
            setTabOrder(previous, next);
            previous = next;
        }
    }
}

QLineEdit* TuneChannelsPage::frequencyEditor() const { return m_freqEditor; }
QTableView* TuneChannelsPage::grid() const { return m_grid; }
QRadioButton* TuneChannelsPage::optTestCh(int i) const { return m_rows.at(size_t(i)).test; }
QCheckBox* TuneChannelsPage::chkTuneCH(int i) const { return m_rows.at(size_t(i)).noCh; }
QCheckBox* TuneChannelsPage::chkTuneTx(int i) const { return m_rows.at(size_t(i)).noTx; }
QPushButton* TuneChannelsPage::cmdSaveTnFq() const { return m_write; }

// --- layout ---------------------------------------------------------------------------------

// The space the group box's frame and title take on each side.
QMargins TuneChannelsPage::groupBoxMargins() const {
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QSize probe(1000, 1000);
    option.rect = QRect(QPoint(0, 0), probe);
    const QRect inner = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxContents, this);
    return {inner.left(), inner.top(), probe.width() - 1 - inner.right(), probe.height() - 1 - inner.bottom()};
}

void TuneChannelsPage::layoutContents() {
    auto px = [this](int twips) { return twipsToPixels(twips, this); };
    // The written widths, wider where the font needs more for a column's longest text.
    const NumberFormat& numbers = m_document.numbers();
    const QStringList steps{stepText(true, numbers), stepText(false, numbers)};
    const QStringList samples[TuneColumnCount] = {
        {QStringLiteral("CH 11")},  frequencySamples(numbers), steps, signallingSamples(numbers),
        frequencySamples(numbers), steps,                     signallingSamples(numbers),
    };
    QList<int> widths;
    for (int c = 0; c < TuneColumnCount; ++c)
        widths.append(std::max(px(ColumnTwips[c]), textColumnWidth(m_grid, samples[c])));
    const int headerHeight = px(HeaderRowTwips);
    const int frame = m_grid->frameWidth();
    const QSize cells = sizeEditGrid(m_grid, widths, headerHeight, px(RowTwips));

    const QMargins box = groupBoxMargins();
    const int margin = px(MarginTwips);
    const QPoint origin(box.left() + margin, box.top() + margin);
    m_grid->setGeometry(QRect(origin, cells + QSize(2 * frame, 2 * frame)));

    // Option, "No CH" and "No Tx" of each test channel stand level with its row.
    const int column = px(WidgetColumnTwips);
    const int firstX = m_grid->geometry().right() + 1 + margin;
    for (size_t k = 0; k < m_captions.size(); ++k)
        m_captions[k]->setGeometry(firstX + int(k) * column, origin.y() + frame, column, headerHeight);
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const QRect rowCell = cellRectIn(m_grid, m_model->index(int(i) + 1, 0), this);
        QWidget* const widgets[] = {m_rows[i].test, m_rows[i].noCh, m_rows[i].noTx};
        for (int k = 0; k < 3; ++k) {
            QWidget* w = widgets[k];
            const QSize hint = w->sizeHint();
            w->setGeometry(firstX + k * column + (column - hint.width()) / 2,
                           rowCell.top() + (rowCell.height() - hint.height()) / 2, hint.width(), hint.height());
        }
    }
    const int right = firstX + 3 * column;
    const QSize button = m_write->sizeHint();
    m_write->setGeometry(right - button.width(), m_grid->geometry().bottom() + 1 + margin, button.width(),
                         button.height());
    setFixedSize(right + margin + box.right(), m_write->geometry().bottom() + 1 + margin + box.bottom());
}

void TuneChannelsPage::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange)
        m_model->refresh();
    QGroupBox::changeEvent(event);
}

// --- showing the data -----------------------------------------------------------------------

void TuneChannelsPage::showTuneChannels() {
    if (m_editRow >= 0)
        closeFrequencyEditor();
    // A signalling dialog still open belongs to the table just replaced: its result is dropped.
    m_signalRow = m_signalColumn = -1;
    showRows();
}

// The boxes, the options and the grid from the document; the boxes' handlers stay out.
void TuneChannelsPage::showRows() {
    const bool showing = m_showing;
    m_showing = true;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        m_rows[i].noCh->setChecked(m_document.tune().rows[i].noCh);
        m_rows[i].noTx->setChecked(m_document.tune().rows[i].noTx);
    }
    showTestChannelOption();
    enableRowWidgets();
    m_model->refresh();
    m_showing = showing;
}

// Edits keep an open frequency edit (it may be the one that just ended); replaced data drop it.
void TuneChannelsPage::documentChanged(const DocumentChange& change) {
    if (change.has(DocumentChange::Replaced))
        showTuneChannels();
    else if (change.has(DocumentChange::TestChannels))
        showRows();
}

void TuneChannelsPage::showTestChannelOption() {
    // An exclusive group cannot clear its last option, so exclusiveness pauses meanwhile.
    m_testChannels->setExclusive(false);
    for (size_t i = 0; i < m_rows.size(); ++i)
        m_rows[i].test->setChecked(int(i) + 1 == m_document.currentTestChannel());
    m_testChannels->setExclusive(true);
}

void TuneChannelsPage::enableRowWidgets() {
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const bool inUse = int(i) + 1 == m_document.currentTestChannel();
        const bool noCh = m_document.tune().rows[i].noCh;
        m_rows[i].test->setEnabled(!noCh);
        m_rows[i].noCh->setEnabled(!inUse);
        m_rows[i].noTx->setEnabled(!inUse && !noCh);
    }
}

// --- cells ----------------------------------------------------------------------------------

void TuneChannelsPage::setCurrentCell(int row, int column, bool keepSelection) {
    const QModelIndex cell = m_model->index(row, column);
    if (keepSelection)
        m_grid->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::NoUpdate);
    else
        m_grid->setCurrentIndex(cell);
}

bool TuneChannelsPage::isStep625Beside(int row, int frequencyColumn) const {
    return isStep625Text(m_model->testChannel(row).cells[size_t(frequencyColumn + 1)]);
}

bool TuneChannelsPage::editCell(int row, int column) {
    checkFrequency();
    // Several cells of the column selected: the edit is for all of them.
    m_editRows = m_selection->manyInColumn(row, column) ? m_selection->rowsInColumn(column) : QList<int>{row};
    const bool many = m_editRows.size() > 1;
    setCurrentCell(row, column, many);
    // A row out of use, or the transmit side of a receive-only one, is only drawn again.
    if (!m_model->inForce(row, column)) {
        m_model->refreshRow(row);
        return false;
    }
    if (isFrequencyColumn(column)) {
        openFrequencyEditor(row, column);
    } else if (isStepColumn(column) && many) {
        setEditedCells(row, column, stepText(!isStep625Text(m_model->testChannel(row).cells[size_t(column)]),
                                             m_document.numbers()));
    } else if (isStepColumn(column)) {
        m_document.toggleTestStep(row, column);
    } else {
        openSignalDialog(row, column);
    }
    return many;
}

void TuneChannelsPage::setEditedCells(int row, int column, const QString& text) {
    if (m_editRows.size() <= 1) {
        m_document.setTestChannelCell(row, column, text);
        return;
    }
    const ImportReport report = m_selection->setCells(column, m_editRows, text);
    if (!report.notes.isEmpty())
        emit noted(report.notes.join(QStringLiteral("  ")));
}

// --- the frequency editor -------------------------------------------------------------------

void TuneChannelsPage::openFrequencyEditor(int row, int column) {
    const QModelIndex cell = m_model->index(row, column);
    QPalette colours = m_freqEditor->palette();
    colours.setColor(QPalette::Text, m_model->textColour(row, column));
    m_freqEditor->setPalette(colours);
    m_restoreText = cell.data().toString();
    m_editRow = row;
    m_editColumn = column;
    showCellEditor(m_freqEditor, cellRectIn(m_grid, cell, this), m_restoreText);
}

void TuneChannelsPage::closeFrequencyEditor() {
    m_editRow = m_editColumn = -1;
    m_model->setTyping(-1, -1, {});
    if (m_freqEditor->hasFocus() || window()->focusWidget() == m_freqEditor)
        m_grid->setFocus();
    m_freqEditor->hide();
}

// A number goes onto the raster of the step beside it and into the model's range; anything
// else brings back the value the cell had, with a message. Either way the editor closes.
void TuneChannelsPage::checkFrequency() {
    if (m_editRow < 0 || m_checking)
        return;
    m_checking = true;
    const auto snapped = snapTestFrequency(m_freqEditor->text(), isStep625Beside(m_editRow, m_editColumn),
                                           m_document.selectedModelInfo(), m_document.numbers());
    if (snapped)
        m_restoreText = *snapped;
    const int row = m_editRow, column = m_editColumn;
    m_freqEditor->setText(m_restoreText);
    closeFrequencyEditor();
    setEditedCells(row, column, m_restoreText);
    m_checking = false;
    if (!snapped)
        m_feedback.message(QStringLiteral("Test Frequency Error!"), QStringLiteral("Frequency Error"),
                           Icon::Exclamation);
}

void TuneChannelsPage::commitCellEdits() { checkFrequency(); }

// Up and Down move to the next frequency of the row's step, inside the model's range.
void TuneChannelsPage::stepFrequency(int direction) {
    const auto next = stepTestFrequency(m_freqEditor->text(), isStep625Beside(m_editRow, m_editColumn),
                                        direction, m_document.selectedModelInfo(), m_document.numbers());
    if (!next)
        return;
    m_freqEditor->setText(*next);
    m_freqEditor->selectAll();
}

bool TuneChannelsPage::frequencyKeyPress(QKeyEvent* key) {
    if (m_editRow < 0)
        return false;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        const int row = m_editRow, column = m_editColumn;
        m_grid->setFocus();
        checkFrequency();
        setCurrentCell(row, std::min(column + 1, LastTuneGridColumn));
        return true;
    }
    case Qt::Key_Escape:
        m_freqEditor->setText(m_restoreText);
        closeFrequencyEditor();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        stepFrequency(key->key() == Qt::Key_Up ? 1 : -1);
        return true;
    default:
        return filterFrequencyTyping(m_freqEditor, key, m_document.numbers().decimalSeparator());
    }
}

// --- the signalling dialog ------------------------------------------------------------------

// The dialog opens just below its cell, so that the row it edits stays in sight.
void TuneChannelsPage::openSignalDialog(int row, int column) {
    const QModelIndex cell = m_model->index(row, column);
    auto* dialog = makeCellSignalDialog(m_feedback, m_document.numbers(), m_grid, cell, cell.data().toString(), 0,
                                        m_grid->rowHeight(row));
    m_signalDialog = dialog;
    m_signalRow = row;
    m_signalColumn = column;
    connect(dialog, &QDialog::finished, this, [this, dialog](int result) {
        m_signalDialog = nullptr;
        // A table shown again meanwhile has dropped the cell (m_signalRow -1).
        if (result == QDialog::Accepted && m_signalRow >= 0)
            setEditedCells(m_signalRow, m_signalColumn, dialog->signalText());
        m_signalRow = m_signalColumn = -1;
        dialog->deleteLater();
        m_grid->setFocus();
    });
    dialog->open();
}

// --- boxes and options ----------------------------------------------------------------------

void TuneChannelsPage::noChToggled(int i, bool ticked) {
    if (!m_showing)
        m_document.setTestChannelNoCh(i + 1, ticked);
}

void TuneChannelsPage::noTxToggled(int i, bool ticked) {
    if (!m_showing)
        m_document.setTestChannelNoTx(i + 1, ticked);
}

// A "No CH" test channel cannot be chosen: its option goes back to the one in use.
void TuneChannelsPage::testChannelClicked(int i) {
    if (m_document.selectTestChannel(i + 1))
        emit testChannelChosen(i + 1);
    else
        showTestChannelOption();
}

// --- events ---------------------------------------------------------------------------------

bool TuneChannelsPage::gridKeyPress(QKeyEvent* key) {
    const QModelIndex at = m_grid->currentIndex();
    if (hasCommandModifier(key) || !at.isValid())
        return false;
    const int row = at.row(), column = at.column();
    const int code = key->key();
    if (code == Qt::Key_Return || code == Qt::Key_Enter) {
        const GridCell next = advanceGridCell({row, column}, LastTuneGridRow, LastTuneGridColumn);
        setCurrentCell(next.row, next.column);
    } else if (code == Qt::Key_Space || code == Qt::Key_F2) {
        editCell(row, column);
    } else if (code == Qt::Key_Delete) {
        // Whole rows selected: out of use, all at once (never the test channel in use).
        const ImportReport report = m_selection->takeRowsOutOfUse(m_document.currentTestChannel());
        if (!report.notes.isEmpty())
            emit noted(report.notes.join(QStringLiteral("  ")));
    } else if (isControlKey(key)) {
        return false; // arrows, Tab and the like move as usual
    } else if (isDigitText(key->text()) && isFrequencyColumn(column) && m_model->inForce(row, column)) {
        // Typing a digit on a frequency starts editing it with that digit.
        editCell(row, column);
        m_freqEditor->setText(key->text());
    }
    return true; // nothing else is typed into the grid (nor searched by first letter)
}

bool TuneChannelsPage::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == m_grid && type == QEvent::KeyPress)
        return gridKeyPress(static_cast<QKeyEvent*>(event));
    if (watched == m_grid->viewport() && type == QEvent::MouseButtonPress)
        return m_selection->pressed(static_cast<QMouseEvent*>(event));
    if (watched == m_grid->viewport() && type == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // A plain click edits its cell; one that changed several keeps their selection.
        if (m_selection->released(mouse)) {
            const QModelIndex cell = m_grid->indexAt(mouse->position().toPoint());
            return editCell(cell.row(), cell.column());
        }
    } else if (watched == m_freqEditor && type == QEvent::KeyPress) {
        return frequencyKeyPress(static_cast<QKeyEvent*>(event));
    } else if (watched == m_freqEditor && type == QEvent::FocusOut &&
               focusLossEndsEdit(static_cast<QFocusEvent*>(event))) {
        checkFrequency();
    }
    return QGroupBox::eventFilter(watched, event);
}

void TuneChannelsPage::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit backgroundClicked();
    QGroupBox::mousePressEvent(event);
}

} // namespace orv::gui

#include "editors/ChannelEditor.h"

#include "catalog/FrequencyRules.h"
#include "catalog/NumberText.h"
#include "editors/ChannelGridModel.h"
#include "editors/SignalDialog.h"
#include "editors/Twips.h"
#include "image/ChannelTable.h"
#include "session/Session.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
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

bool isDigitText(const QString& t) {
    return t.size() == 1 && t.at(0) >= QLatin1Char('0') && t.at(0) <= QLatin1Char('9');
}

// Keys that type nothing, a control character (backspace, Ctrl+V...) or Delete.
bool isControlKey(const QKeyEvent* key) {
    const QString t = key->text();
    return t.isEmpty() || (t.size() == 1 && (t.at(0).unicode() < 32 || t.at(0).unicode() == 127));
}

// Draws the current cell with a highlight frame instead of a selection fill, so that the
// cell keeps the text colour that tells its state.
class GridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem plain(option);
        plain.state &= ~(QStyle::State_HasFocus | QStyle::State_Selected);
        QStyledItemDelegate::paint(painter, plain, index);
        if (option.state & QStyle::State_HasFocus) {
            painter->save();
            painter->setPen(QPen(option.palette.color(QPalette::Highlight), 2));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
            painter->restore();
        }
    }
};

} // namespace

ChannelEditor::ChannelEditor(Session& session, Feedback& feedback, QWidget* parent)
    : QFrame(parent), m_session(session), m_feedback(feedback) {
    setObjectName(QStringLiteral("fraChannel"));
    setFrameShape(QFrame::StyledPanel);

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("gridChan"));
    m_model = new ChannelGridModel(session, m_grid, this);
    m_grid->setModel(m_model);
    m_grid->setItemDelegate(new GridDelegate(m_grid));
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setMinimumSectionSize(1);
    m_grid->verticalHeader()->setMinimumSectionSize(1);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::NoSelection);
    m_grid->setTabKeyNavigation(false);
    m_grid->setWordWrap(true);
    m_grid->setTextElideMode(Qt::ElideNone);
    m_grid->setAccessibleName(QStringLiteral("Channels"));
    m_grid->installEventFilter(this);
    m_grid->viewport()->installEventFilter(this);

    m_freqEditor = new QLineEdit(this);
    m_freqEditor->setObjectName(QStringLiteral("txtChFreq"));
    m_freqEditor->setMaxLength(FrequencyMaxLength);
    m_freqEditor->setAlignment(Qt::AlignCenter);
    m_freqEditor->setInputMethodHints(Qt::ImhFormattedNumbersOnly);
    m_freqEditor->hide();
    m_freqEditor->installEventFilter(this);
    connect(m_freqEditor, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (m_freqRow >= 0)
            setCellText(m_freqRow, m_freqColumn, text);
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
}

QLineEdit* ChannelEditor::frequencyEditor() const { return m_freqEditor; }

void ChannelEditor::layoutContents() {
    auto px = [this](int twips) { return twipsToPixels(twips, this); };
    int gridWidth = px(GridExtraWidthTwips);
    for (int c = 0; c < GridColumns; ++c) {
        const int width = px(int(std::lround(BaseColumnTwips * ColumnFactors[c])));
        m_grid->setColumnWidth(c, width);
        gridWidth += width;
    }
    const int rowHeight = px(RowTwips), headerHeight = px(HeaderRowTwips);
    m_grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    for (int r = 1; r < GridRows; ++r)
        m_grid->setRowHeight(r, rowHeight);
    m_grid->setRowHeight(0, headerHeight);
    const int gridHeight = headerHeight + (GridRows - 1) * rowHeight + px(GridExtraHeightTwips);

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
        if (m_freqEditor->hasFocus())
            m_grid->setFocus();
        m_freqEditor->hide();
    }
    // A signalling dialog still open belongs to the table just replaced: its result is dropped.
    m_signalRow = m_signalColumn = -1;
    m_model->setHighlight(-1, -1);
    const ChannelTable& table = m_session.channels();
    for (size_t i = 0; i < table.rows.size(); ++i) {
        m_noCh[i]->setChecked(table.rows[i].noCh);
        m_noTx[i]->setChecked(table.rows[i].noTx);
        m_noTx[i]->setEnabled(!table.rows[i].noCh);
    }
    m_model->refresh();
    m_showing = false;
}

bool ChannelEditor::isEditable(int row, int column) const {
    if (row < 1 || row > LastGridRow || column < 1 || column > LastGridColumn)
        return false;
    const ChannelRow& ch = m_model->channel(row);
    return !ch.noCh && !(ch.noTx && isTransmitColumn(column));
}

void ChannelEditor::setCurrentCell(int row, int column) {
    m_grid->setCurrentIndex(m_model->index(row, column));
}

void ChannelEditor::editCell(int row, int column) {
    if (!isEditable(row, column))
        return;
    commitFrequency();
    setCurrentCell(row, column);
    if (isFrequencyColumn(column)) {
        openFrequencyEditor(row, column);
    } else if (isSignalColumn(column)) {
        openSignalDialog(row, column);
    } else if (column != ColBandWidth ||
               m_session.settings().text(Setting::BandWidth) == QLatin1String("Wide")) {
        setCellText(row, column, toggledCellText(column, m_model->channel(row).cells[size_t(column)]));
    }
}

// --- the frequency editor -----------------------------------------------------------------

void ChannelEditor::openFrequencyEditor(int row, int column) {
    const QRect cell = m_grid->visualRect(m_model->index(row, column));
    const QPoint topLeft = m_grid->viewport()->mapTo(this, cell.topLeft());
    m_freqEditor->setGeometry(topLeft.x(), topLeft.y(),
                              m_grid->columnWidth(ColRxFreq) + twipsToPixels(EditorExtraWidthTwips, this),
                              twipsToPixels(RowTwips, this));
    m_restoreText = m_model->channel(row).cells[size_t(column)];
    m_freqRow = row;
    m_freqColumn = column;
    m_freqEditor->setText(m_restoreText);
    m_freqEditor->show();
    m_freqEditor->raise();
    m_freqEditor->setSelection(0, FrequencyMaxLength);
    m_freqEditor->setFocus();
}

// Valid text is shown as the model's raster frequency "000.00000"; anything else brings the
// value back that the cell had when editing began. Either way the editor closes. A text left
// as it was is not checked again: a stored frequency outside the model's range (from a file
// or a radio) only changes when the user types another.
void ChannelEditor::commitFrequency() {
    if (m_freqRow < 0 || m_committing)
        return;
    m_committing = true;
    double f = 0;
    if (m_freqEditor->text() != m_restoreText &&
        getValidFreq(m_freqEditor->text(), f, m_session.selectedModelInfo(), m_session.data().modelByte()))
        m_restoreText = formatFixed(f, 3, 5);
    m_freqEditor->setText(m_restoreText);
    if (m_freqEditor->hasFocus() || window()->focusWidget() == m_freqEditor)
        m_grid->setFocus();
    m_freqEditor->hide();
    m_freqRow = m_freqColumn = -1;
    m_committing = false;
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
    if (isControlKey(key) || isDigitText(key->text()))
        return false;
    if (key->text() == QLatin1String(",") || key->text() == QLatin1String("."))
        m_freqEditor->insert(QString(decimalSeparator()));
    return true;
}

// --- the signalling dialog ------------------------------------------------------------------

void ChannelEditor::openSignalDialog(int row, int column) {
    m_signalRow = row;
    m_signalColumn = column;
    m_model->setHighlight(row, column);
    const QRect cell = m_grid->visualRect(m_model->index(row, column));
    const QPoint at = m_grid->viewport()->mapToGlobal(cell.topLeft());

    m_signalDialog = new SignalDialog(m_feedback, window());
    m_signalDialog->setSignalText(m_model->channel(row).cells[size_t(column)]);
    m_signalDialog->move(at.x() - twipsToPixels(DialogLeftShiftTwips, this), at.y());
    connect(m_signalDialog, &QDialog::finished, this, &ChannelEditor::signalDialogFinished);
    m_signalDialog->open();
}

void ChannelEditor::signalDialogFinished(int result) {
    SignalDialog* dialog = m_signalDialog;
    m_signalDialog = nullptr;
    m_model->setHighlight(-1, -1);
    if (result == QDialog::Accepted && m_signalRow >= 0)
        setCellText(m_signalRow, m_signalColumn, dialog->signalText());
    m_signalRow = m_signalColumn = -1;
    dialog->deleteLater();
    m_grid->setFocus();
}

// --- cells and boxes ------------------------------------------------------------------------

void ChannelEditor::setCellText(int row, int column, const QString& text) {
    QString& cell = m_model->channel(row).cells[size_t(column)];
    if (cell == text)
        return;
    cell = text;
    m_model->refreshRow(row);
    markEdited();
}

void ChannelEditor::markEdited() {
    m_session.channelDataChanged = true;
    emit edited();
}

void ChannelEditor::noChToggled(int channel, bool ticked) {
    if (m_showing)
        return;
    m_model->channel(channel + 1).noCh = ticked;
    m_noTx[size_t(channel)]->setEnabled(!ticked);
    m_model->refreshRow(channel + 1);
    markEdited();
}

void ChannelEditor::noTxToggled(int channel, bool ticked) {
    if (m_showing)
        return;
    m_model->channel(channel + 1).noTx = ticked;
    m_model->refreshRow(channel + 1);
    markEdited();
}

// --- events ---------------------------------------------------------------------------------

bool ChannelEditor::gridKeyPress(QKeyEvent* key) {
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
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
    if (watched == m_grid->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex index = m_grid->indexAt(mouse->position().toPoint());
        // Header cells are not enabled, so indexes of data cells only pass here.
        if (mouse->button() == Qt::LeftButton && index.isValid() && (m_model->flags(index) & Qt::ItemIsEnabled))
            editCell(index.row(), index.column());
        return false;
    }
    if (watched == m_freqEditor) {
        if (event->type() == QEvent::KeyPress)
            return frequencyKeyPress(static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::FocusOut) {
            // The editor's context menu and a switch to another window do not end the edit.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                commitFrequency();
        }
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace orv::gui

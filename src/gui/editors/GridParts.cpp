#include "editors/GridParts.h"

#include "catalog/NumberText.h"
#include "editors/SignalDialog.h"

#include <algorithm>

#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTableView>

namespace orv::gui {

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem plain(option);
    plain.state &= ~(QStyle::State_HasFocus | QStyle::State_Selected);
    if (option.state & QStyle::State_Selected) {
        // A light wash of the highlight: the text keeps the colour that tells its state.
        QColor wash = option.palette.color(QPalette::Highlight);
        wash.setAlpha(60);
        painter->fillRect(option.rect, wash);
    }
    QStyledItemDelegate::paint(painter, plain, index);
    if (option.state & QStyle::State_HasFocus) {
        painter->save();
        painter->setPen(QPen(option.palette.color(QPalette::Highlight), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
        painter->restore();
    }
}

void TypedCell::set(QAbstractItemModel& model, int row, int column, const QString& text) {
    const QModelIndex old = model.index(m_row, m_column);
    m_row = row;
    m_column = column;
    m_text = text;
    for (const QModelIndex& cell : {old, model.index(row, column)})
        if (cell.isValid())
            emit model.dataChanged(cell, cell);
}

bool isDigitText(const QString& text) {
    return text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9');
}

bool isControlKey(const QKeyEvent* key) {
    const QString t = key->text();
    return t.isEmpty() || (t.size() == 1 && (t.at(0).unicode() < 32 || t.at(0).unicode() == 127));
}

bool hasCommandModifier(const QKeyEvent* key) {
    return key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

void setUpEditGrid(QTableView* grid, QObject* filter) {
    grid->setItemDelegate(new GridDelegate(grid));
    for (QHeaderView* header : {grid->horizontalHeader(), grid->verticalHeader()}) {
        header->hide();
        header->setMinimumSectionSize(1);
        header->setSectionResizeMode(QHeaderView::Fixed);
    }
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setTabKeyNavigation(false);
    grid->setWordWrap(true);
    grid->setTextElideMode(Qt::ElideNone);
    grid->installEventFilter(filter);
    grid->viewport()->installEventFilter(filter);
}

QStringList frequencySamples(const NumberFormat& numbers) {
    return {numbers.fixed(0, 3, 5), numbers.fixed(1638.39375, 3, 5)};
}

QStringList signallingSamples(const NumberFormat& numbers) {
    return {QStringLiteral("CTC ") + numbers.fixed(100.0, 2, 1), QStringLiteral("-DCS 754"), QStringLiteral("TTS 9")};
}

int textColumnWidth(const QTableView* grid, const QStringList& samples) {
    QStyleOptionViewItem option;
    option.initFrom(grid);
    option.font = grid->font();
    option.fontMetrics = QFontMetrics(option.font);
    option.features = QStyleOptionViewItem::HasDisplay;
    option.displayAlignment = Qt::AlignCenter;
    int widest = 0;
    for (const QString& text : samples) {
        option.text = text;
        const QSize size = grid->style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), grid);
        widest = std::max(widest, std::max(size.width(), option.fontMetrics.horizontalAdvance(text)));
    }
    constexpr int CurrentCellFrame = 2; // GridDelegate's frame, on each side
    return widest + 2 * CurrentCellFrame + (grid->showGrid() ? 1 : 0);
}

QSize sizeEditGrid(QTableView* grid, const QList<int>& columnWidths, int headerHeight, int rowHeight) {
    QSize cells(0, headerHeight);
    for (int c = 0; c < int(columnWidths.size()); ++c) {
        grid->setColumnWidth(c, columnWidths[c]);
        cells.rwidth() += columnWidths[c];
    }
    grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    grid->setRowHeight(0, headerHeight);
    for (int r = 1; r < grid->model()->rowCount(); ++r) {
        grid->setRowHeight(r, rowHeight);
        cells.rheight() += rowHeight;
    }
    return cells;
}

QLineEdit* makeCellEditor(QWidget* parent, const QString& objectName, int maxLength, QObject* filter) {
    auto* editor = new QLineEdit(parent);
    editor->setObjectName(objectName);
    editor->setMaxLength(maxLength);
    editor->setAlignment(Qt::AlignCenter);
    editor->setInputMethodHints(Qt::ImhFormattedNumbersOnly);
    editor->hide();
    editor->installEventFilter(filter);
    return editor;
}

void showCellEditor(QLineEdit* editor, const QRect& geometry, const QString& text) {
    editor->setGeometry(geometry);
    editor->setText(text);
    editor->show();
    editor->raise();
    editor->setSelection(0, editor->maxLength());
    editor->setFocus();
}

QRect cellRectIn(const QTableView* grid, const QModelIndex& cell, const QWidget* to) {
    const QRect rect = grid->visualRect(cell);
    return QRect(grid->viewport()->mapTo(to, rect.topLeft()), rect.size());
}

bool filterFrequencyTyping(QLineEdit* editor, const QKeyEvent* key, QChar decimalSeparator) {
    if (isControlKey(key) || isDigitText(key->text()))
        return false;
    if (key->text() == QLatin1String(",") || key->text() == QLatin1String("."))
        editor->insert(QString(decimalSeparator));
    return true;
}

bool focusLossEndsEdit(const QFocusEvent* event) {
    return event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason;
}

SignalDialog* makeCellSignalDialog(Feedback& feedback, const NumberFormat& numbers, const QTableView* grid,
                                   const QModelIndex& cell, const QString& text, int dx, int dy) {
    const QPoint at = grid->viewport()->mapToGlobal(grid->visualRect(cell).topLeft());
    auto* dialog = new SignalDialog(feedback, numbers, grid->window());
    dialog->setSignalText(text);
    dialog->move(at.x() + dx, at.y() + dy);
    return dialog;
}

} // namespace orv::gui

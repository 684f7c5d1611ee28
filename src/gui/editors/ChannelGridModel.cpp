#include "editors/ChannelGridModel.h"

#include "image/ChannelTable.h"
#include "document/Document.h"

#include <QBrush>
#include <QPalette>
#include <QWidget>

namespace orv::gui {

namespace {

// The model at this catalog position has a fixed band width: its cells are shown greyed.
constexpr int FixedBandWidthModelPosition = 2;

bool isHeader(int row, int column) { return row == 0 || column == 0; }

bool isTransmitColumn(int column) {
    return column == ColTxFreq || column == ColTxSignal || column == ColBusy || column == ColPower;
}

} // namespace

GridCell advanceGridCell(GridCell cell, int lastRow, int lastColumn) {
    if (cell.column < lastColumn && cell.row <= lastRow)
        return {cell.row, cell.column + 1};
    if (cell.column == lastColumn && cell.row < lastRow)
        return {cell.row + 1, 1};
    return cell;
}

ChannelGridModel::ChannelGridModel(const Document& document, QWidget* paletteSource, QObject* parent)
    : QAbstractTableModel(parent), m_document(document), m_paletteSource(paletteSource) {}

int ChannelGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : GridRows; }

int ChannelGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : GridColumns;
}

const ChannelRow& ChannelGridModel::channel(int row) const {
    return m_document.channels().rows.at(size_t(row - 1));
}

QString ChannelGridModel::cellText(int row, int column) const {
    if (m_typed.at(row, column))
        return m_typed.text();
    return channel(row).cells.at(size_t(column));
}

bool ChannelGridModel::bandWidthFixed() const {
    return m_document.settings().text(Setting::BandWidth) == QLatin1String("Narrow") ||
           m_document.selectedModel() == FixedBandWidthModelPosition;
}

QColor ChannelGridModel::textColour(int row, int column) const {
    const QPalette palette = m_paletteSource ? m_paletteSource->palette() : QPalette();
    const QColor buttonFace = palette.color(QPalette::Active, QPalette::Button);
    const QColor greyText = palette.color(QPalette::Disabled, QPalette::Text);
    const QColor windowText = palette.color(QPalette::Active, QPalette::Text);
    const ChannelRow& ch = channel(row);
    if (ch.noCh || (ch.noTx && isTransmitColumn(column)))
        return buttonFace;
    const QString text = cellText(row, column);
    switch (column) {
    case ColScan:
        return text == QLatin1String("Add") ? OnColour : OffColour;
    case ColBusy:
        return text == QLatin1String("ON") ? OnColour : OffColour;
    case ColPower:
        return text == QLatin1String("High") ? OnColour : OffColour;
    case ColBandWidth:
        if (bandWidthFixed())
            return greyText;
        return text == QLatin1String("Wide") ? OnColour : OffColour;
    default:
        return windowText;
    }
}

QVariant ChannelGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int row = index.row(), column = index.column();
    const QPalette palette = m_paletteSource ? m_paletteSource->palette() : QPalette();
    switch (role) {
    case Qt::DisplayRole:
        if (row == 0)
            return channelHeaders().value(column);
        if (column == 0)
            return QStringLiteral("CH %1").arg(row);
        return cellText(row, column);
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::ForegroundRole:
        if (isHeader(row, column))
            return QBrush(palette.color(QPalette::Active, QPalette::ButtonText));
        return QBrush(textColour(row, column));
    case Qt::BackgroundRole:
        if (isHeader(row, column))
            return QBrush(palette.color(QPalette::Active, QPalette::Button));
        if (row == m_highlightRow && column == m_highlightColumn)
            return QBrush(EditingBackground);
        return {};
    default:
        return {};
    }
}

Qt::ItemFlags ChannelGridModel::flags(const QModelIndex& index) const {
    // Header cells take no current-cell cursor: clicks and arrow keys pass them by.
    if (!index.isValid() || isHeader(index.row(), index.column()))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void ChannelGridModel::refresh() {
    emit dataChanged(index(0, 0), index(LastGridRow, LastGridColumn));
}

void ChannelGridModel::refreshRow(int row) { emit dataChanged(index(row, 0), index(row, LastGridColumn)); }

void ChannelGridModel::setTyping(int row, int column, const QString& text) { m_typed.set(*this, row, column, text); }

void ChannelGridModel::setHighlight(int row, int column) {
    const QModelIndex old = index(m_highlightRow, m_highlightColumn);
    m_highlightRow = row;
    m_highlightColumn = column;
    if (old.isValid())
        emit dataChanged(old, old, {Qt::BackgroundRole});
    const QModelIndex now = index(row, column);
    if (now.isValid())
        emit dataChanged(now, now, {Qt::BackgroundRole});
}

} // namespace orv::gui

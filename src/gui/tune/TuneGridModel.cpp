#include "tune/TuneGridModel.h"

#include "image/TuneTable.h"
#include "document/Document.h"

#include <QBrush>
#include <QPalette>
#include <QWidget>

namespace orv::gui {

namespace {

bool isTransmitColumn(int column) { return column >= TuneColTxFreq; }

} // namespace

TuneGridModel::TuneGridModel(const Document& document, QWidget* paletteSource, QObject* parent)
    : QAbstractTableModel(parent), m_document(document), m_paletteSource(paletteSource) {}

int TuneGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : TuneGridRows; }

int TuneGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : TuneColumnCount;
}

const TuneRow& TuneGridModel::testChannel(int row) const { return m_document.tune().rows.at(size_t(row - 1)); }

QString TuneGridModel::cellText(int row, int column) const {
    if (m_typed.at(row, column))
        return m_typed.text();
    return testChannel(row).cells.at(size_t(column));
}

void TuneGridModel::setTyping(int row, int column, const QString& text) { m_typed.set(*this, row, column, text); }

QPalette TuneGridModel::palette() const { return m_paletteSource ? m_paletteSource->palette() : QPalette(); }

bool TuneGridModel::inForce(int row, int column) const {
    if (row < 1 || row > LastTuneGridRow || column < 1 || column > LastTuneGridColumn)
        return false;
    const TuneRow& t = testChannel(row);
    return !t.noCh && !(t.noTx && isTransmitColumn(column));
}

// The test channel in use for tuning is red, except the transmit cells of a receive-only one.
QColor TuneGridModel::textColour(int row, int column) const {
    const bool receiveOnlyTx = testChannel(row).noTx && isTransmitColumn(column);
    if (row == m_document.currentTestChannel() && !receiveOnlyTx)
        return TestChannelColour;
    const QPalette p = palette();
    return inForce(row, column) ? p.color(QPalette::Active, QPalette::Text)
                                : p.color(QPalette::Active, QPalette::Button);
}

QVariant TuneGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int row = index.row(), column = index.column();
    const bool header = row == 0 || column == 0;
    if (role == Qt::DisplayRole) {
        if (row == 0)
            return tuneHeaders().value(column);
        return column == 0 ? QStringLiteral("CH %1").arg(row) : cellText(row, column);
    }
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role == Qt::ForegroundRole)
        return QBrush(header ? palette().color(QPalette::Active, QPalette::ButtonText) : textColour(row, column));
    if (role == Qt::BackgroundRole && header)
        return QBrush(palette().color(QPalette::Active, QPalette::Button));
    return {};
}

Qt::ItemFlags TuneGridModel::flags(const QModelIndex& index) const {
    // The header cells take no current-cell cursor, so clicks and arrow keys pass them by.
    if (!index.isValid() || index.row() == 0 || index.column() == 0)
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void TuneGridModel::refresh() {
    emit dataChanged(index(0, 0), index(LastTuneGridRow, LastTuneGridColumn));
}

void TuneGridModel::refreshRow(int row) {
    emit dataChanged(index(row, 1), index(row, LastTuneGridColumn));
}

} // namespace orv::gui

#pragma once
// The channel grid as an item model: 17 rows by 9 columns, row 0 and column 0 the fixed
// header cells, row r (1..16) channel r. Texts come straight from the document's channel
// table, except the cell being typed into, which shows the typed text until the edit ends;
// the text colour of each cell says whether it is in force (No CH, No Tx, the global band
// width), so it is worked out from the data every time a cell is drawn. The model only
// reads: edits go to the document.

#include "editors/GridParts.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QPointer>

class QWidget;

namespace orv {
class Document;
struct ChannelRow;
}

namespace orv::gui {

inline constexpr int GridRows = 17;
inline constexpr int GridColumns = 9;
inline constexpr int LastGridRow = GridRows - 1;
inline constexpr int LastGridColumn = GridColumns - 1;

// Text colours of cells in force: "Add", "ON", "High", "Wide" and their opposites.
inline const QColor OnColour{0, 120, 100};
inline const QColor OffColour{120, 0, 40};
// Background of the cell whose signalling is being edited.
inline const QColor EditingBackground{255, 255, 0};

// The cell after (row, column) for Enter: one column right, from the last column to column 1
// of the next row, nowhere past the last cell. Column 0 holds the row labels.
struct GridCell {
    int row;
    int column;
    bool operator==(const GridCell&) const = default;
};
GridCell advanceGridCell(GridCell cell, int lastRow = LastGridRow, int lastColumn = LastGridColumn);

class ChannelGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Colours of the system palette ("button face", "grey text") come from paletteSource.
    ChannelGridModel(const Document& document, QWidget* paletteSource, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The row of the channel table behind grid row `row` (1..16).
    const ChannelRow& channel(int row) const;
    // The text a cell shows: the typed text while it is being edited, else the document's.
    QString cellText(int row, int column) const;

    // The text colour a data cell has now.
    QColor textColour(int row, int column) const;
    // True when the "Band Width" cells follow the global setting rather than their own value.
    bool bandWidthFixed() const;

    // Texts or states changed: everything, or one row, is drawn again.
    void refresh();
    void refreshRow(int row);
    // Paints one cell yellow while its signalling is edited; (-1, -1) for none.
    void setHighlight(int row, int column);
    // The cell shows `text` while it is typed into; (-1, -1) ends that.
    void setTyping(int row, int column, const QString& text);

private:
    const Document& m_document;
    QPointer<QWidget> m_paletteSource;
    int m_highlightRow = -1;
    int m_highlightColumn = -1;
    TypedCell m_typed;
};

} // namespace orv::gui

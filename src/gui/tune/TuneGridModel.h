#pragma once
// The test-channel grid gridTune as an item model: 12 rows by 7 columns, row 0 and column 0
// the header cells, row t (1..11) test channel t. The texts are the document's tune table
// (the cell being typed into shows the typed text until the edit ends);
// the text colour of a cell says whether it is in force ("No CH", "No Tx") and which row is
// the test channel used for tuning, and is worked out from the data whenever it is drawn.

#include "editors/GridParts.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QPointer>

class QWidget;

namespace orv {
class Document;
struct TuneRow;
}

namespace orv::gui {

inline constexpr int TuneGridRows = 12;
inline constexpr int LastTuneGridRow = TuneGridRows - 1;
inline constexpr int LastTuneGridColumn = 6;

// The text colour of the test channel used for tuning.
inline const QColor TestChannelColour{255, 0, 0};

class TuneGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The "button face" colour of cells out of force comes from paletteSource's palette.
    TuneGridModel(const Document& document, QWidget* paletteSource, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The test channel of grid row `row` (1..11).
    const TuneRow& testChannel(int row) const;
    // The text a cell shows: the typed text while it is being edited, else the document's.
    QString cellText(int row, int column) const;
    // The cell shows `text` while it is typed into; (-1, -1) ends that.
    void setTyping(int row, int column, const QString& text);

    // True when a click may edit the cell: a data cell of a channel in use, not a transmit
    // cell of a receive-only one.
    bool inForce(int row, int column) const;
    // The text colour a data cell has now.
    QColor textColour(int row, int column) const;

    // Texts, boxes or the test channel changed: everything, or one row, is drawn again.
    void refresh();
    void refreshRow(int row);

private:
    QPalette palette() const;

    const Document& m_document;
    QPointer<QWidget> m_paletteSource;
    TypedCell m_typed;
};

} // namespace orv::gui

#pragma once
// Rows of delimited text as cells of the channel grid or of the test-channel grid, by the
// columns the header row names (the export's names: the grid headers, "No CH", "No Tx") or
// by position from a cell of the grid rightwards and downwards. The CSV import reads the
// channel grid by its header; a paste does either.

#include "import/ImportInput.h"
#include "import/TextTable.h"

#include <QByteArray>

namespace orv {

enum class Grid { Channels, TestChannels };

// The columns in the export's order: the grid headers ("CH No." first), "No CH", "No Tx".
QStringList gridColumnNames(Grid grid);

// True when every field of the row names a column of the grid.
bool namesGridColumns(const TextRow& row, Grid grid);

// The first row names the columns (any of them, in any order; a name given twice is an
// error, as is one the grid does not have). Each later row is the channel its "CH No." field
// names ("CH 3" or "3"); without that column the rows go to the channels from `firstRow`
// down, and without either the input is refused.
ImportInput cellsByHeader(const TextTable& table, Grid grid, std::optional<int> firstRow = std::nullopt);

// No header: the first field of each row goes to grid column `firstColumn` (an index of
// gridColumnNames(); "CH No." fields are passed over), the first row to `firstRow`, and so
// on rightwards and downwards. Fields past the last column or rows past the last channel are
// errors.
ImportInput cellsAt(const TextTable& table, Grid grid, int firstRow, int firstColumn);

// A CSV file of the channel grid, as the export writes it or a spreadsheet saves it: a
// byte-order mark, commas or semicolons, quoted fields, CRLF.
ImportInput readChannelCsv(const QByteArray& bytes);

} // namespace orv

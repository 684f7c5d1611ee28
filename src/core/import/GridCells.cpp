#include "GridCells.h"

#include "image/ChannelTable.h"
#include "image/TuneTable.h"

#include <QRegularExpression>

namespace orv {

namespace {

int rowCount(Grid grid) { return grid == Grid::Channels ? addr::ChannelCount : addr::TestChannelCount; }

// The cell a column of the grid (an index of gridColumnNames(), not 0) holds in a row.
CellTarget targetOf(Grid grid, int column, int row) {
    const bool channels = grid == Grid::Channels;
    const int boxes = channels ? int(ChannelColumnCount) : int(TuneColumnCount);
    if (column == boxes)
        return {channels ? CellKind::ChannelNoCh : CellKind::TestNoCh, row, 0};
    if (column == boxes + 1)
        return {channels ? CellKind::ChannelNoTx : CellKind::TestNoTx, row, 0};
    return {channels ? CellKind::ChannelCell : CellKind::TestCell, row, column};
}

QString place(int line, const QString& column) { return QStringLiteral("line %1, \"%2\"").arg(line).arg(column); }

// "CH 3", "CH3" or "3".
std::optional<int> rowNumber(const QString& text, Grid grid) {
    static const QRegularExpression form(QStringLiteral("^(?:CH\\s*)?([0-9]{1,3})$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto m = form.match(text.trimmed());
    const int n = m.hasMatch() ? m.captured(1).toInt() : 0;
    if (n < 1 || n > rowCount(grid))
        return std::nullopt;
    return n;
}

// The columns a header row names, by name; -1 for a name the grid does not have. A name the
// grid has twice ("Step (kHz)") goes to its first column not yet named.
QList<int> headerColumns(const TextRow& header, Grid grid) {
    const QStringList names = gridColumnNames(grid);
    QList<int> columns;
    for (const QString& field : header.fields) {
        int found = -1;
        for (int c = 0; c < names.size() && found < 0; ++c)
            if (names[c].compare(field.trimmed(), Qt::CaseInsensitive) == 0 && !columns.contains(c))
                found = c;
        if (found < 0)
            for (int c = 0; c < names.size() && found < 0; ++c)
                if (names[c].compare(field.trimmed(), Qt::CaseInsensitive) == 0)
                    found = c; // named twice
        columns << found;
    }
    return columns;
}

} // namespace

QStringList gridColumnNames(Grid grid) {
    QStringList names = grid == Grid::Channels ? channelHeaders() : tuneHeaders();
    names << QStringLiteral("No CH") << QStringLiteral("No Tx");
    return names;
}

bool namesGridColumns(const TextRow& row, Grid grid) {
    const QList<int> columns = headerColumns(row, grid);
    return !columns.isEmpty() && !columns.contains(-1);
}

ImportInput cellsByHeader(const TextTable& table, Grid grid, std::optional<int> firstRow) {
    ImportInput in;
    in.errors = table.errors;
    if (table.rows.isEmpty()) {
        in.errors << QStringLiteral("line 1: there is no header row");
        return in;
    }
    const TextRow& header = table.rows.first();
    const QStringList names = gridColumnNames(grid);
    const QList<int> columns = headerColumns(header, grid);
    for (int i = 0; i < columns.size(); ++i) {
        const QString name = header.fields[i].trimmed();
        if (columns[i] < 0)
            in.errors << QStringLiteral("line %1: \"%2\" is not a column (the columns are \"%3\")")
                             .arg(header.line)
                             .arg(name, names.join(QStringLiteral("\", \"")));
        else if (columns.indexOf(columns[i]) < i)
            in.errors << QStringLiteral("line %1: \"%2\" is there twice").arg(header.line).arg(name);
    }
    const qsizetype numberField = columns.indexOf(0);
    if (numberField < 0 && !firstRow)
        in.errors << QStringLiteral("line %1: there is no \"%2\" column").arg(header.line).arg(names[0]);
    if (!in.errors.isEmpty())
        return in;

    QList<int> seenOn(rowCount(grid) + 1, 0); // the line each row was given on
    int nextRow = firstRow.value_or(1);
    for (qsizetype r = 1; r < table.rows.size(); ++r) {
        const TextRow& row = table.rows[r];
        if (row.fields.size() != columns.size()) {
            in.errors << QStringLiteral("line %1: %2 fields where the header has %3")
                             .arg(row.line)
                             .arg(row.fields.size())
                             .arg(columns.size());
            continue;
        }
        int number = nextRow++;
        if (numberField >= 0) {
            const QString typed = row.fields[numberField];
            const std::optional<int> n = rowNumber(typed, grid);
            if (!n) {
                in.errors << place(row.line, names[0]) +
                                 QStringLiteral(": \"%1\" is not a channel (1 to %2)").arg(typed).arg(rowCount(grid));
                continue;
            }
            number = *n;
        } else if (number < 1 || number > rowCount(grid)) {
            in.errors << QStringLiteral("line %1: there is no channel CH %2").arg(row.line).arg(number);
            continue;
        }
        if (seenOn[number]) {
            in.errors << place(row.line, names[0]) +
                             QStringLiteral(": CH %1 is there twice (first on line %2)").arg(number).arg(seenOn[number]);
            continue;
        }
        seenOn[number] = row.line;
        for (qsizetype f = 0; f < columns.size(); ++f)
            if (columns[f] != 0)
                in.cells << CellInput{targetOf(grid, columns[f], number), row.fields[f], place(row.line, names[columns[f]])};
    }
    return in;
}

ImportInput cellsAt(const TextTable& table, Grid grid, int firstRow, int firstColumn) {
    ImportInput in;
    in.errors = table.errors;
    const QStringList names = gridColumnNames(grid);
    for (qsizetype r = 0; r < table.rows.size(); ++r) {
        const TextRow& row = table.rows[r];
        const int number = firstRow + int(r);
        if (number < 1 || number > rowCount(grid)) {
            in.errors << QStringLiteral("line %1: there is no channel CH %2").arg(row.line).arg(number);
            continue;
        }
        for (qsizetype f = 0; f < row.fields.size(); ++f) {
            const int column = firstColumn + int(f);
            if (column < 0 || column >= names.size()) {
                in.errors << QStringLiteral("line %1: field %2 lies right of the last column").arg(row.line).arg(f + 1);
                break;
            }
            if (column != 0)
                in.cells << CellInput{targetOf(grid, column, number), row.fields[f], place(row.line, names[column])};
        }
    }
    return in;
}

ImportInput readChannelCsv(const QByteArray& bytes) {
    const QString text = textOfBytes(bytes);
    const QStringView firstLine = QStringView(text).left(text.indexOf(QRegularExpression(QStringLiteral("[\r\n]"))));
    return cellsByHeader(readTextTable(text, guessSeparator(firstLine)), Grid::Channels);
}

} // namespace orv

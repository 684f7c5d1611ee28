#pragma once
// Delimited text as spreadsheets write it (CSV with commas or semicolons, tab-separated text
// on the clipboard): rows of fields, with the line each row starts on.

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace orv {

struct TextRow {
    int line = 0; // 1-based line of the text where the row starts
    QStringList fields;
};

struct TextTable {
    QList<TextRow> rows; // blank rows (nothing but separators) left out
    QStringList errors;  // "line 5: a quoted field is not closed"
};

// Splits text into rows at line ends (LF, CRLF or CR) and into fields at `separator`. A field
// that starts with a double quote runs to the next lone quote and may hold separators and
// line ends; two quotes inside it stand for one. A row with text after a closing quote is an
// error and left out.
TextTable readTextTable(QStringView text, QChar separator);

// The separator of a header line: the one of ",", ";" and tab that it holds most often
// outside quotes (a comma when it holds none).
QChar guessSeparator(QStringView firstLine);

// The bytes without a UTF-8 byte-order mark at their start.
QByteArray withoutByteOrderMark(const QByteArray& bytes);
// Bytes of a text file as text: UTF-8, a byte-order mark dropped.
QString textOfBytes(const QByteArray& bytes);

} // namespace orv

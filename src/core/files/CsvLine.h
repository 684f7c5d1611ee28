#pragma once
// CSV as the program writes it: UTF-8, comma-separated, lines ending with LF.

#include <QByteArray>
#include <QStringList>

namespace orv {

// One line of fields; a field holding a comma, a quote or a line break is quoted, with its
// quotes doubled.
QByteArray csvLine(const QStringList& fields);

} // namespace orv

#pragma once
// One file per port or per radio from one name: "-i" before the extension.

#include <QString>

namespace orv::fleet {

// "out.kvd", 2 -> "out-2.kvd"; "trace", 3 -> "trace-3"; "dir.d/trace.txt", 1 ->
// "dir.d/trace-1.txt". Only the file name's last extension counts.
QString numberedPath(const QString& path, int i);

} // namespace orv::fleet

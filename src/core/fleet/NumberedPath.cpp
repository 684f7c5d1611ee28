#include "fleet/NumberedPath.h"

#include <algorithm>

namespace orv::fleet {

QString numberedPath(const QString& path, int i) {
    const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    // A dot that starts the file name (".trace") is part of the name, not an extension.
    const bool extension = dot > slash + 1;
    const qsizetype at = extension ? dot : path.size();
    return path.left(at) + QStringLiteral("-%1").arg(i) + path.mid(at);
}

} // namespace orv::fleet

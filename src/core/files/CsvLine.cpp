#include "files/CsvLine.h"

namespace orv {

QByteArray csvLine(const QStringList& fields) {
    QByteArray out;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i)
            out += ',';
        QByteArray f = fields[i].toUtf8();
        if (f.contains(',') || f.contains('"') || f.contains('\n') || f.contains('\r')) {
            f.replace("\"", "\"\"");
            f = '"' + f + '"';
        }
        out += f;
    }
    out += '\n';
    return out;
}

} // namespace orv

#include "sim/NumberedRadios.h"

#include "sim/VirtualRadio.h"

#include <algorithm>

namespace orv::sim {

QByteArray radioIdBytes(const QString& text) {
    QByteArray id = text.toLatin1().left(16);
    id.append(QByteArray(16 - id.size(), ' '));
    return id;
}

QByteArray numberedRadioId(int i) {
    return radioIdBytes(QStringLiteral("SIM%1").arg(i, 4, 10, QLatin1Char('0')));
}

RadioData withRadioId(RadioData memory, const QByteArray& id) {
    std::copy_n(id.begin(), std::min<qsizetype>(id.size(), 16), memory.radioId().begin());
    return memory;
}

QString demoRadioLabel(int i) { return QStringLiteral("Demo radio %1").arg(i); }

RadioData numberedDemoMemory(int i) { return withRadioId(demoRadioImage(), numberedRadioId(i)); }

} // namespace orv::sim

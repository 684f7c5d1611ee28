#include "fleet/InfoTemplate.h"

#include "history/RadioIdNames.h"
#include "image/RadioInfoText.h"

#include <QRegularExpression>

namespace orv::fleet {

QString expandInfoTemplate(const QString& infoTemplate, const InfoFields& fields) {
    static const QRegularExpression field(QStringLiteral("\\{(n|id|date|port)\\}"));
    QString out;
    qsizetype from = 0;
    for (auto it = field.globalMatch(infoTemplate); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += infoTemplate.mid(from, m.capturedStart() - from);
        const QString name = m.captured(1);
        if (name == QLatin1String("n"))
            out += QString::number(fields.radio);
        else if (name == QLatin1String("id"))
            out += radioIdLabel(fields.radioId);
        else if (name == QLatin1String("date"))
            out += fields.date.toString(QStringLiteral("yyyy-MM-dd"));
        else
            out += fields.port;
        from = m.capturedEnd();
    }
    out += infoTemplate.mid(from);
    return out.left(InfoTextChars);
}

} // namespace orv::fleet

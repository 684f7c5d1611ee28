#include "compare/DiffReport.h"

#include <QJsonArray>

namespace orv::compare {

QString differenceLine(const Difference& d) {
    return QStringLiteral("%1  %2  %3 -> %4").arg(d.place(), d.label, d.aText, d.bText);
}

QString differenceCount(qsizetype n) {
    return n == 0 ? QStringLiteral("No differences") : QStringLiteral("%1 difference(s)").arg(n);
}

QString differencesText(const Differences& differences) {
    QString text;
    for (const Difference& d : differences)
        text += differenceLine(d) + QLatin1Char('\n');
    return text + differenceCount(differences.size()) + QLatin1Char('\n');
}

QJsonObject differenceJson(const Difference& d) {
    QJsonObject o{{QStringLiteral("section"), sectionName(d.section)},
                  {QStringLiteral("field"), d.field},
                  {QStringLiteral("a"), d.a},
                  {QStringLiteral("b"), d.b}};
    switch (d.section) {
    case Section::Channel:
    case Section::TestChannel:
        o.insert(QStringLiteral("channel"), d.number);
        break;
    case Section::TuneValue:
        o.insert(QStringLiteral("index"), d.number);
        break;
    case Section::Bytes:
        o.insert(QStringLiteral("area"), byteAreaName(d.area));
        o.insert(QStringLiteral("start"), d.start);
        o.insert(QStringLiteral("end"), d.end);
        break;
    case Section::Model:
    case Section::Settings:
    case Section::RadioInfo:
        break;
    }
    return o;
}

QJsonObject differencesJson(const Differences& differences, Scope scope) {
    QJsonArray list;
    for (const Difference& d : differences)
        list.append(differenceJson(d));
    return QJsonObject{{QStringLiteral("scope"), scopeName(scope)},
                       {QStringLiteral("identical"), differences.isEmpty()},
                       {QStringLiteral("differences"), list}};
}

} // namespace orv::compare

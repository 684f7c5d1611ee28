#pragma once
// The two forms of a list of differences that scripts depend on.
//
// Text: one line per difference, "<place>  <field>  <a> -> <b>", for example
//   CH 3  Rx Freq(MHz)  146.52000 -> 146.54000
//   Settings  Tx TOT  60s -> 120s
//   Image 0x1B0-0x1B3  bytes  00 00 00 00 -> 12 34 56 78
// then a last line counting them: "N difference(s)" or "No differences".
//
// JSON: {"scope": "all", "identical": false, "differences": [...]}, each difference with
// "section", "field", "a" and "b", plus "channel" (channels and test channels), "index"
// (tune values) or "area", "start" and "end" (byte ranges, inclusive).

#include "compare/Difference.h"

#include <QJsonObject>
#include <QString>

namespace orv::compare {

// "CH 3  Rx Freq(MHz)  146.52000 -> 146.54000".
QString differenceLine(const Difference& d);
// "3 difference(s)" or "No differences".
QString differenceCount(qsizetype n);
// Every line, then the count; each line ends with a newline.
QString differencesText(const Differences& differences);

QJsonObject differenceJson(const Difference& d);
QJsonObject differencesJson(const Differences& differences, Scope scope);

} // namespace orv::compare

#include "CellRules.h"

#include "catalog/FrequencyRules.h"
#include "catalog/SignalRules.h"
#include "document/Document.h"
#include "image/RadioInfoText.h"

#include <QRegularExpression>
#include <cmath>

namespace orv {

namespace {

QString quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

CellRule takes(const QString& text) { return {text, {}, {}}; }
CellRule refuses(const QString& typed, const QString& what) { return {{}, {}, quoted(typed) + QStringLiteral(" is not ") + what}; }

// A number typed with the document's decimal separator or, from a file written elsewhere,
// with the other of "." and ",".
std::optional<double> typedNumber(const QString& text, const NumberFormat& fmt) {
    if (const auto v = fmt.parse(text))
        return v;
    const QChar other = fmt.decimalSeparator() == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.');
    return NumberFormat(other).parse(text);
}

// The text with the document's decimal separator where it has the other one.
QString withSeparator(QString text, const NumberFormat& fmt) {
    const QChar other = fmt.decimalSeparator() == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.');
    return text.replace(other, fmt.decimalSeparator());
}

QString rangeText(const ModelInfo& m, const NumberFormat& fmt) {
    return QStringLiteral("%1~%2 MHz").arg(fmt.fixed(m.extLow, 3, 5), fmt.fixed(m.extHigh, 3, 5));
}

bool outside(double mhz, const ModelInfo* m) {
    constexpr double Slack = 1e-9;
    return m && (mhz < m->extLow - Slack || mhz > m->extHigh + Slack);
}

// The note of a frequency the rules changed: limited to the range, or put on a raster.
QString frequencyNote(const CellTarget& t, const QString& typed, double typedMhz, const QString& valid,
                      bool raster625, const Document& doc) {
    const std::optional<double> now = doc.numbers().parse(valid);
    const ModelInfo* m = doc.selectedModelInfo();
    QString why;
    if (outside(typedMhz, m))
        why = QStringLiteral("outside ") + rangeText(*m, doc.numbers());
    else if (now && std::fabs(*now - typedMhz) > 1e-7)
        why = raster625 ? QStringLiteral("on the 6.25 kHz raster") : QStringLiteral("on the 5 kHz raster");
    else
        return {};
    return QStringLiteral("%1: %2 -> %3 (%4)").arg(cellName(t), typed, valid, why);
}

CellRule channelFrequency(const Document& doc, const CellTarget& t, const QString& typed) {
    const std::optional<double> mhz = typedNumber(typed, doc.numbers());
    if (!mhz)
        return refuses(typed, QStringLiteral("a frequency"));
    const ValidFrequency v = validFrequency(*mhz, doc.selectedModelInfo(), doc.data().modelByte());
    const QString text = doc.numbers().fixed(v.mhz, 3, 5);
    return {text, frequencyNote(t, typed, *mhz, text, v.raster625, doc), {}};
}

CellRule testFrequency(const Document& doc, const CellTarget& t, const QString& typed) {
    const std::optional<double> mhz = typedNumber(typed, doc.numbers());
    if (!mhz)
        return refuses(typed, QStringLiteral("a frequency"));
    const TuneRow& row = doc.tune().rows[size_t(t.row - 1)];
    const bool raster625 = isStep625Text(row.cells[size_t(t.column + 1)]);
    const std::optional<QString> text = snapTestFrequency(doc.numbers().fixed(*mhz, 3, 6), raster625,
                                                          doc.selectedModelInfo(), doc.numbers());
    if (!text)
        return refuses(typed, QStringLiteral("a frequency"));
    return {*text, frequencyNote(t, typed, *mhz, *text, raster625, doc), {}};
}

CellRule signalling(const Document& doc, const QString& typed) {
    static const QRegularExpression tts(QStringLiteral("^TTS\\s*([0-9])$"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression form(QStringLiteral("^(CTC|DCS|-DCS)\\s*(\\S+)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QString t = typed.trimmed();
    if (t.compare(QLatin1String("OFF"), Qt::CaseInsensitive) == 0)
        return takes(joinSignalText(SignalMode::Off, {}, false));
    if (const auto m = tts.match(t); m.hasMatch())
        return takes(QStringLiteral("TTS ") + m.captured(1));
    const auto m = form.match(t);
    if (!m.hasMatch())
        return refuses(typed, QStringLiteral("OFF, a CTC tone or a DCS code"));
    const QString head = m.captured(1).toUpper();
    if (head == QLatin1String("CTC")) {
        const auto tone = tableToneText(withSeparator(m.captured(2), doc.numbers()), doc.numbers());
        return tone ? takes(joinSignalText(SignalMode::Ctc, *tone, false)) : refuses(typed, QStringLiteral("a CTCSS tone"));
    }
    const auto code = tableCodeText(m.captured(2));
    return code ? takes(joinSignalText(SignalMode::Dcs, *code, head.startsWith(QLatin1Char('-'))))
                : refuses(typed, QStringLiteral("a DCS code"));
}

// One of a toggle's two texts, in its own spelling.
CellRule toggleText(const QString& typed, const char* first, const char* second) {
    for (const char* text : {first, second})
        if (typed.trimmed().compare(QLatin1String(text), Qt::CaseInsensitive) == 0)
            return takes(QString::fromLatin1(text));
    return refuses(typed, QStringLiteral("%1 or %2").arg(QLatin1String(first), QLatin1String(second)));
}

CellRule channelCell(const Document& doc, const CellTarget& t, const QString& typed) {
    switch (t.column) {
    case ColRxFreq:
    case ColTxFreq:
        return channelFrequency(doc, t, typed);
    case ColRxSignal:
    case ColTxSignal:
        return signalling(doc, typed);
    case ColScan:
        return toggleText(typed, "Add", "Delete");
    case ColBusy:
        return toggleText(typed, "OFF", "ON");
    case ColPower:
        return toggleText(typed, "High", "Low");
    case ColBandWidth: {
        CellRule r = toggleText(typed, "Wide", "Narrow");
        // The global "Narrow" makes every channel narrow; the grid takes no "Wide" then.
        if (r.ok() && r.text == QLatin1String("Wide") && doc.settings().text(Setting::BandWidth) == QLatin1String("Narrow")) {
            r.text = QStringLiteral("Narrow");
            r.note = QStringLiteral("%1: %2 -> Narrow (the global Band Width is Narrow)").arg(cellName(t), typed);
        }
        return r;
    }
    default:
        return refuses(typed, QStringLiteral("in a cell that can be edited"));
    }
}

CellRule testCell(const Document& doc, const CellTarget& t, const QString& typed) {
    switch (t.column) {
    case TuneColRxFreq:
    case TuneColTxFreq:
        return testFrequency(doc, t, typed);
    case TuneColRxSignal:
    case TuneColTxSignal:
        return signalling(doc, typed);
    case TuneColRxStep:
    case TuneColTxStep: {
        const std::optional<double> step = typedNumber(typed, doc.numbers());
        if (step && (*step == 6.25 || *step == 5.0))
            return takes(stepText(*step == 6.25, doc.numbers()));
        return refuses(typed, QStringLiteral("a step (%1 or %2)").arg(stepText(true, doc.numbers()), stepText(false, doc.numbers())));
    }
    default:
        return refuses(typed, QStringLiteral("in a cell that can be edited"));
    }
}

CellRule box(const QString& typed) {
    const QString t = typed.trimmed();
    if (t == QLatin1String("1") || t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return takes(QStringLiteral("1"));
    if (t == QLatin1String("0") || t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return takes(QStringLiteral("0"));
    return refuses(typed, QStringLiteral("1 or 0"));
}

CellRule settingEntry(const Document& doc, Setting s, const QString& typed) {
    const QString wanted = withSeparator(typed.trimmed(), doc.numbers());
    for (const QString& item : doc.settings().items(s))
        if (item.compare(wanted, Qt::CaseInsensitive) == 0)
            return takes(item);
    return refuses(typed, QStringLiteral("an entry of the \"%1\" list").arg(settingCaption(s)));
}

CellRule infoText(const QString& typed) {
    if (typed.size() <= InfoTextChars)
        return takes(typed);
    return {typed.left(InfoTextChars),
            QStringLiteral("Radio Information: %1 characters -> %2 (the text holds %2 at most)")
                .arg(typed.size())
                .arg(InfoTextChars),
            {}};
}

bool validRow(const CellTarget& t) {
    switch (t.kind) {
    case CellKind::ChannelCell:
        return t.row >= 1 && t.row <= addr::ChannelCount && t.column >= ColRxFreq && t.column < ChannelColumnCount;
    case CellKind::ChannelNoCh:
    case CellKind::ChannelNoTx:
        return t.row >= 1 && t.row <= addr::ChannelCount;
    case CellKind::TestCell:
        return t.row >= 1 && t.row <= addr::TestChannelCount && t.column >= TuneColRxFreq && t.column < TuneColumnCount;
    case CellKind::TestNoCh:
    case CellKind::TestNoTx:
        return t.row >= 1 && t.row <= addr::TestChannelCount;
    case CellKind::Setting:
        return t.column >= 0 && t.column < SettingCount;
    case CellKind::InfoText:
        return true;
    }
    return false;
}

QString flag(bool ticked) { return ticked ? QStringLiteral("1") : QStringLiteral("0"); }

} // namespace

QString cellName(const CellTarget& t) {
    switch (t.kind) {
    case CellKind::ChannelCell:
        return QStringLiteral("CH %1 %2").arg(t.row).arg(channelHeaders().value(t.column));
    case CellKind::ChannelNoCh:
        return QStringLiteral("CH %1 No CH").arg(t.row);
    case CellKind::ChannelNoTx:
        return QStringLiteral("CH %1 No Tx").arg(t.row);
    case CellKind::TestCell:
        return QStringLiteral("Test CH %1 %2").arg(t.row).arg(tuneHeaders().value(t.column));
    case CellKind::TestNoCh:
        return QStringLiteral("Test CH %1 No CH").arg(t.row);
    case CellKind::TestNoTx:
        return QStringLiteral("Test CH %1 No Tx").arg(t.row);
    case CellKind::Setting:
        return settingCaption(Setting(t.column));
    case CellKind::InfoText:
        return QStringLiteral("Radio Information");
    }
    return {};
}

QString shownText(const Document& doc, const CellTarget& t) {
    if (!validRow(t))
        return {};
    const size_t r = size_t(t.row - 1);
    switch (t.kind) {
    case CellKind::ChannelCell:
        return doc.channels().rows[r].cells[size_t(t.column)];
    case CellKind::ChannelNoCh:
        return flag(doc.channels().rows[r].noCh);
    case CellKind::ChannelNoTx:
        return flag(doc.channels().rows[r].noTx);
    case CellKind::TestCell:
        return doc.tune().rows[r].cells[size_t(t.column)];
    case CellKind::TestNoCh:
        return flag(doc.tune().rows[r].noCh);
    case CellKind::TestNoTx:
        return flag(doc.tune().rows[r].noTx);
    case CellKind::Setting:
        return doc.settings().text(Setting(t.column));
    case CellKind::InfoText: {
        QString text = doc.infoText();
        while (!text.isEmpty() && text.back() == QChar(u'\0'))
            text.chop(1);
        return text;
    }
    }
    return {};
}

CellRule cellRule(const Document& doc, const CellTarget& t, const QString& typed) {
    if (!validRow(t))
        return refuses(typed, QStringLiteral("in a cell that can be edited"));
    switch (t.kind) {
    case CellKind::ChannelCell:
        return channelCell(doc, t, typed);
    case CellKind::TestCell:
        return testCell(doc, t, typed);
    case CellKind::ChannelNoCh:
    case CellKind::ChannelNoTx:
    case CellKind::TestNoCh:
    case CellKind::TestNoTx:
        return box(typed);
    case CellKind::Setting:
        return settingEntry(doc, Setting(t.column), typed);
    case CellKind::InfoText:
        return infoText(typed);
    }
    return {};
}

bool applyCellText(Document& doc, const CellTarget& t, const QString& text) {
    if (!validRow(t))
        return false;
    switch (t.kind) {
    case CellKind::ChannelCell:
        return doc.setChannelCell(t.row, t.column, text);
    case CellKind::ChannelNoCh:
        return doc.setChannelNoCh(t.row, text == QLatin1String("1"));
    case CellKind::ChannelNoTx:
        return doc.setChannelNoTx(t.row, text == QLatin1String("1"));
    case CellKind::TestCell:
        if ((t.column == TuneColRxStep || t.column == TuneColTxStep) && text != shownText(doc, t))
            return doc.toggleTestStep(t.row, t.column);
        return doc.setTestChannelCell(t.row, t.column, text);
    case CellKind::TestNoCh:
        return doc.setTestChannelNoCh(t.row, text == QLatin1String("1"));
    case CellKind::TestNoTx:
        return doc.setTestChannelNoTx(t.row, text == QLatin1String("1"));
    case CellKind::Setting: {
        const int index = int(doc.settings().items(Setting(t.column)).indexOf(text));
        return index >= 0 && doc.selectSetting(Setting(t.column), index);
    }
    case CellKind::InfoText:
        return doc.setInfoText(text);
    }
    return false;
}

} // namespace orv

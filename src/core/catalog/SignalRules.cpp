#include "SignalRules.h"

#include "ToneTables.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

constexpr double LowestTone = 67.0;
constexpr double HighestTone = 254.1;
constexpr unsigned LowestCode = 023;   // octal
constexpr unsigned HighestCode = 0754; // octal

bool isOctalDigits(const QString& t) {
    return !t.isEmpty() && std::all_of(t.begin(), t.end(), [](QChar c) { return c >= '0' && c <= '7'; });
}

QString codeText(unsigned code) { return QStringLiteral("%1").arg(code, 3, 8, QLatin1Char('0')); }

} // namespace

SignalParts splitSignalText(const QString& text) {
    SignalParts parts;
    const QString head = text.left(3);
    if (head == QLatin1String("OFF")) {
        parts.mode = SignalMode::Off;
    } else if (head == QLatin1String("CTC")) {
        parts.mode = SignalMode::Ctc;
        parts.value = text.mid(4);
    } else if (head == QLatin1String("DCS") || head == QLatin1String("-DC")) {
        parts.mode = SignalMode::Dcs;
        parts.inverted = head != QLatin1String("DCS");
        parts.value = text.mid(parts.inverted ? 5 : 4);
    }
    return parts;
}

QString joinSignalText(SignalMode mode, const QString& value, bool inverted) {
    switch (mode) {
    case SignalMode::Ctc:
        return QStringLiteral("CTC ") + value;
    case SignalMode::Dcs:
        return (inverted ? QStringLiteral("-DCS ") : QStringLiteral("DCS ")) + value;
    default:
        return QStringLiteral("OFF");
    }
}

std::optional<QString> typedToneText(const QString& typed, const NumberFormat& fmt) {
    const std::optional<double> tone = typed.isEmpty() ? std::nullopt : fmt.parse(typed);
    if (!tone)
        return std::nullopt;
    return fmt.fixed(std::clamp(*tone, LowestTone, HighestTone), 2, 1);
}

std::optional<QString> typedCodeText(const QString& typed) {
    bool ok = isOctalDigits(typed);
    const qulonglong code = ok ? typed.toULongLong(&ok, 8) : 0;
    if (!ok)
        return std::nullopt;
    return codeText(unsigned(std::clamp<qulonglong>(code, LowestCode, HighestCode)));
}

QStringList ctcToneTexts(const NumberFormat& fmt) {
    QStringList out;
    for (size_t i = 1; i < CtcToneTable.size(); ++i)
        out << fmt.fixed(CtcToneTable[i], 0, 1);
    return out;
}

QStringList dcsCodeTexts() {
    QStringList out;
    for (int code : DcsCodeTable)
        out << QStringLiteral("%1").arg(code, 3, 10, QLatin1Char('0'));
    return out;
}

std::optional<QString> tableToneText(const QString& text, const NumberFormat& fmt) {
    const std::optional<double> tone = text.isEmpty() ? std::nullopt : fmt.parse(text);
    if (!tone)
        return std::nullopt;
    const double tenths = std::round(*tone * 10.0);
    if (std::fabs(*tone * 10.0 - tenths) > 1e-6)
        return std::nullopt;
    for (size_t i = 1; i < CtcToneTable.size(); ++i)
        if (std::round(CtcToneTable[i] * 10.0) == tenths)
            return fmt.fixed(CtcToneTable[i], 0, 1);
    return std::nullopt;
}

std::optional<QString> tableCodeText(const QString& text) {
    if (!isOctalDigits(text) || text.size() > 3)
        return std::nullopt;
    const int digits = text.toInt();
    if (std::find(DcsCodeTable.begin(), DcsCodeTable.end(), digits) == DcsCodeTable.end())
        return std::nullopt;
    return QStringLiteral("%1").arg(digits, 3, 10, QLatin1Char('0'));
}

} // namespace orv

#include "ChannelCodec.h"

#include "catalog/NumberText.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

std::uint32_t frequencyCount(std::uint8_t lo, std::uint8_t mid, std::uint8_t hi) {
    return std::uint32_t(lo) | (std::uint32_t(mid) << 8) | (std::uint32_t(hi & 0x03) << 16);
}

// The characters of the text from its end, as many as asked (fewer when it is shorter).
QString lastChars(const QString& text, int n) { return text.right(n); }

// Reads the leading octal digits of a text; reading stops at the first other character.
int leadingOctal(const QString& digits) {
    int v = 0;
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('7'))
            break;
        v = v * 8 + (c.unicode() - '0');
        if (v > 0xFFFF)
            break;
    }
    return v;
}

} // namespace

double frequencyMHz(std::uint8_t lo, std::uint8_t mid, std::uint8_t hi) {
    const double step = (hi & 0x04) ? 6.25 : 5.0;
    return frequencyCount(lo, mid, hi) * step / 1000.0;
}

QString decodeFrequency(std::uint8_t lo, std::uint8_t mid, std::uint8_t hi, const NumberFormat& fmt) {
    return fmt.fixed(frequencyMHz(lo, mid, hi), 3, 5);
}

bool encodeFrequency(const QString& text, std::uint8_t& lo, std::uint8_t& mid, std::uint8_t& hi,
                     const NumberFormat& fmt) {
    const auto mhz = fmt.parse(text);
    if (!mhz || *mhz < 0 || *mhz > 1.0e6)
        return false;
    const double f = *mhz * 1000.0;
    const double count625 = roundHalfEven(f / 6.25);
    const double count5 = roundHalfEven(f / 5.0);
    const bool use5 = std::fabs(f - count5 * 5.0) < std::fabs(f - count625 * 6.25);
    const auto count = std::uint32_t(use5 ? count5 : count625);
    lo = std::uint8_t(count & 0xFF);
    mid = std::uint8_t((count >> 8) & 0xFF);
    hi = std::uint8_t((hi & 0xF8) | ((count >> 16) & 0x03) | (use5 ? 0 : 0x04));
    return true;
}

QString ctcToText(std::uint8_t lo, std::uint8_t hi, const NumberFormat& fmt) {
    const int tenths = ((hi & 0x30) >> 4) * 1000 + (hi & 0x0F) * 100 + ((lo & 0xF0) >> 4) * 10 + (lo & 0x0F);
    return fmt.fixed(tenths / 10.0, 2, 1);
}

QString dcsToText(std::uint8_t lo, std::uint8_t hi) {
    const int code = (hi & 0x01) * 256 + lo;
    return QStringLiteral("%1").arg(code, 3, 8, QLatin1Char('0'));
}

QString signallingToText(std::uint8_t type, std::uint8_t lo, std::uint8_t hi, const NumberFormat& fmt) {
    switch (type >> 4) {
    case 0x3:
        return QStringLiteral("CTC ") + ctcToText(lo, hi, fmt);
    case 0x5:
        return QStringLiteral("DCS ") + dcsToText(lo, hi);
    case 0x7:
        return QStringLiteral("-DCS ") + dcsToText(lo, hi);
    case 0x8:
        return QStringLiteral("TTS ") + QString::number(lo);
    default:
        return QStringLiteral("OFF");
    }
}

bool textToSignalling(const QString& text, std::uint8_t& type, std::uint8_t& lo, std::uint8_t& hi,
                      const NumberFormat& fmt) {
    type &= 0x0F;
    lo = 0;
    hi = 0;

    // "TTS " and one digit: the digit goes into the low value byte under type 0x8, so that a
    // radio's TTS channel survives being shown and stored again.
    const QString trimmed = text.trimmed();
    if (trimmed.size() == 5 && trimmed.startsWith(QLatin1String("TTS ")) && trimmed.at(4).isDigit() &&
        trimmed.at(4).unicode() < 128) {
        lo = std::uint8_t(trimmed.at(4).unicode() - '0');
        type |= 0x80;
        return true;
    }

    if (!fmt.parse(lastChars(text, 4)))
        return false; // "OFF", or anything without a number at its end, stays OFF
    const QChar first = text.isEmpty() ? QChar() : text.at(0);
    if (first == QLatin1Char('C')) {
        const auto tone = fmt.parse(lastChars(text, 5));
        if (!tone)
            return false;
        const double tenths = roundHalfEven(*tone * 10.0);
        if (tenths < 0 || tenths > 9999)
            return false;
        // The decimal digits of the tone in tenths, read as hexadecimal: BCD.
        const int v = QString::number(int(tenths)).toInt(nullptr, 16);
        lo = std::uint8_t(v & 0xFF);
        hi = std::uint8_t((v >> 8) & 0xFF);
        type |= 0x30;
        return true;
    }
    if (first == QLatin1Char('D') || first == QLatin1Char('-')) {
        const auto x = fmt.parse(lastChars(text, 4));
        // The code's decimal digits read as octal; reading stops at a digit 8 or 9.
        int v = leadingOctal(QString::number(qint64(roundHalfEven(*x))));
        v = std::clamp(v, 8, 511);
        hi = std::uint8_t(v >> 8);
        lo = std::uint8_t(v & 0xFF);
        type |= (first == QLatin1Char('D')) ? 0x50 : 0x70;
        return true;
    }
    if (first == QLatin1Char('T')) {
        const QChar d = trimmed.isEmpty() ? QChar() : trimmed.back();
        if (!d.isDigit() || d.unicode() >= 128)
            return false;
        lo = std::uint8_t(d.unicode() - '0');
        type |= 0x80;
        return true;
    }
    return true; // "O" and any other first character: OFF
}

} // namespace orv

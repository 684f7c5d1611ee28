#include "RadioInfoText.h"

#include <algorithm>

namespace orv {

QString infoTextFromImage(const RadioData& data) {
    const auto bytes = data.infoText();
    QString text;
    text.reserve(InfoTextChars);
    for (int i = 0; i < InfoTextChars; ++i)
        text.append(QChar(char16_t(bytes[size_t(2 * i)] | (bytes[size_t(2 * i + 1)] << 8))));
    return text;
}

void storeInfoText(const QString& text, RadioData& data) {
    auto bytes = data.infoText();
    std::fill(bytes.begin(), bytes.end(), std::uint8_t(0));
    const int n = std::min<int>(int(text.size()), InfoTextChars);
    for (int i = 0; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        bytes[size_t(2 * i)] = std::uint8_t(c & 0xFF);
        bytes[size_t(2 * i + 1)] = std::uint8_t(c >> 8);
    }
}

QString radioIdText(const RadioData& data) {
    QString id;
    for (std::uint8_t b : data.radioId())
        id.append(QChar(char16_t(b)));
    return id;
}

QString dateStampText(const RadioData& data) {
    const auto s = data.dateStamp();
    auto part = [&](int from, int count) {
        QString t;
        for (int i = from; i < from + count; ++i)
            t.append(QChar(char16_t(s[size_t(i)])));
        return t;
    };
    return part(0, 4) + QLatin1Char('-') + part(4, 2) + QLatin1Char('-') + part(6, 2) + QStringLiteral(", ") +
           part(8, 2) + QLatin1Char(':') + part(10, 2) + QLatin1Char(':') + part(12, 2);
}

} // namespace orv

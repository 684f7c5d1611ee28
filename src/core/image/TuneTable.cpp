#include "TuneTable.h"

#include "ChannelCodec.h"
#include "catalog/FrequencyRules.h"
#include "catalog/ModelCatalog.h"
#include "catalog/NumberText.h"

#include <algorithm>

namespace orv {

namespace {
constexpr std::uint8_t FlagBit = 0x08, RasterBit = 0x04;

// Frequency text to a count of the given step, stored in the three bytes; the upper bits of
// the third byte are kept. A text that is not a number leaves the bytes alone.
void storeCount(const QString& freqText, bool raster625, std::uint8_t& lo, std::uint8_t& mid, std::uint8_t& hi) {
    const auto mhz = parseNumber(freqText);
    if (!mhz || *mhz < 0 || *mhz > 1.0e6)
        return;
    const double step = raster625 ? 6.25 : 5.0;
    const auto count = std::uint32_t(roundHalfEven(*mhz * 1000.0 / step));
    lo = std::uint8_t(count & 0xFF);
    mid = std::uint8_t((count >> 8) & 0xFF);
    hi = std::uint8_t((hi & 0xFC) | ((count >> 16) & 0x03));
}
} // namespace

QStringList tuneHeaders() {
    return {QStringLiteral("CH No."),        QStringLiteral("Rx Freq (MHz)"), QStringLiteral("Step (kHz)"),
            QStringLiteral("Rx CTC/DCS"),    QStringLiteral("Tx Freq (MHz)"), QStringLiteral("Step (kHz)"),
            QStringLiteral("Tx CTC/DCS")};
}

QString stepText(bool raster625) { return formatFixed(raster625 ? 6.25 : 5.0, 1, 2); }

void showTuneChannels(const RadioData& data, TuneTable& table) {
    for (int t = 0; t < addr::TestChannelCount; ++t) {
        const ConstRecord r = data.testChannel(t);
        TuneRow& row = table.rows[size_t(t)];
        row.cells[TuneColChannel] = QStringLiteral("CH %1").arg(t + 1);
        row.noCh = !(r[2] & FlagBit);
        row.cells[TuneColRxFreq] = decodeFrequency(r[0], r[1], r[2]);
        row.cells[TuneColRxStep] = stepText(r[2] & RasterBit);
        row.cells[TuneColRxSignal] = signallingToText(r[2], r[3], r[4]);
        row.noTx = !(r[7] & FlagBit);
        row.cells[TuneColTxFreq] = decodeFrequency(r[5], r[6], r[7]);
        row.cells[TuneColTxStep] = stepText(r[7] & RasterBit);
        row.cells[TuneColTxSignal] = signallingToText(r[7], r[8], r[9]);
    }
}

void readTuneChannels(const TuneTable& table, RadioData& data) {
    for (int t = 0; t < addr::TestChannelCount; ++t) {
        Record r = data.testChannel(t);
        const TuneRow& row = table.rows[size_t(t)];
        const bool rx625 = isStep625Text(row.cells[TuneColRxStep]);
        const bool tx625 = isStep625Text(row.cells[TuneColTxStep]);
        r[2] = std::uint8_t((r[2] & ~(FlagBit | RasterBit)) | (row.noCh ? 0 : FlagBit) | (rx625 ? RasterBit : 0));
        storeCount(row.cells[TuneColRxFreq], rx625, r[0], r[1], r[2]);
        textToSignalling(row.cells[TuneColRxSignal], r[2], r[3], r[4]);
        r[7] = std::uint8_t((r[7] & ~(FlagBit | RasterBit)) | (row.noTx ? 0 : FlagBit) | (tx625 ? RasterBit : 0));
        storeCount(row.cells[TuneColTxFreq], tx625, r[5], r[6], r[7]);
        textToSignalling(row.cells[TuneColTxSignal], r[7], r[8], r[9]);
    }
}

void defaultTuneChannels(RadioData& data, const ModelInfo* model) {
    const double start = model ? model->stdLow : 0.0;
    const auto count = std::uint32_t(std::max(0.0, roundHalfEven(start / 0.00625)));
    for (int t = 0; t < addr::TestChannelCount; ++t) {
        Record r = data.testChannel(t);
        std::fill(r.begin(), r.end(), std::uint8_t(0));
        r[0] = r[5] = std::uint8_t(count & 0xFF);
        r[1] = r[6] = std::uint8_t((count >> 8) & 0xFF);
        r[2] = r[7] = std::uint8_t(RasterBit | ((count >> 16) & 0x03));
    }
}

int firstTestChannelInUse(const RadioData& data) {
    for (int t = 0; t < addr::TestChannelCount; ++t)
        if (data.testChannel(t)[2] & FlagBit)
            return t + 1;
    return 0;
}

} // namespace orv

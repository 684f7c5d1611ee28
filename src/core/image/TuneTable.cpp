#include "TuneTable.h"

#include "ChannelCodec.h"
#include "catalog/FrequencyRules.h"
#include "catalog/ModelCatalog.h"
#include "catalog/NumberText.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {
constexpr std::uint8_t FlagBit = 0x08, RasterBit = 0x04;

// Frequency text to a count of the given step, stored in the three bytes; the upper bits of
// the third byte are kept. A text that is not a number leaves the bytes alone.
void storeCount(const QString& freqText, bool raster625, std::uint8_t& lo, std::uint8_t& mid, std::uint8_t& hi,
                const NumberFormat& fmt) {
    const auto mhz = fmt.parse(freqText);
    if (!mhz || *mhz < 0 || *mhz > 1.0e6)
        return;
    const double step = raster625 ? 6.25 : 5.0;
    const auto count = std::uint32_t(roundHalfEven(*mhz * 1000.0 / step));
    lo = std::uint8_t(count & 0xFF);
    mid = std::uint8_t((count >> 8) & 0xFF);
    hi = std::uint8_t((hi & 0xFC) | ((count >> 16) & 0x03));
}

double stepKHz(bool raster625) { return raster625 ? 6.25 : 5.0; }

QString testFrequencyText(double mhz, const NumberFormat& fmt) { return fmt.fixed(mhz, 3, 5); }

// Counts of a step closer than this to a whole number are taken as on the raster.
constexpr double RasterSlack = 1e-6;
} // namespace

QStringList tuneHeaders() {
    return {QStringLiteral("CH No."),        QStringLiteral("Rx Freq (MHz)"), QStringLiteral("Step (kHz)"),
            QStringLiteral("Rx CTC/DCS"),    QStringLiteral("Tx Freq (MHz)"), QStringLiteral("Step (kHz)"),
            QStringLiteral("Tx CTC/DCS")};
}

QString stepText(bool raster625, const NumberFormat& fmt) { return fmt.fixed(raster625 ? 6.25 : 5.0, 1, 2); }

void showTuneChannels(const RadioData& data, TuneTable& table, const NumberFormat& fmt) {
    for (int t = 0; t < addr::TestChannelCount; ++t)
        showTuneChannel(data, t, table.rows[size_t(t)], fmt);
}

void showTuneChannel(const RadioData& data, int t, TuneRow& row, const NumberFormat& fmt) {
    const ConstRecord r = data.testChannel(t);
    row.cells[TuneColChannel] = QStringLiteral("CH %1").arg(t + 1);
    row.noCh = !(r[2] & FlagBit);
    row.cells[TuneColRxFreq] = decodeFrequency(r[0], r[1], r[2], fmt);
    row.cells[TuneColRxStep] = stepText(r[2] & RasterBit, fmt);
    row.cells[TuneColRxSignal] = signallingToText(r[2], r[3], r[4], fmt);
    row.noTx = !(r[7] & FlagBit);
    row.cells[TuneColTxFreq] = decodeFrequency(r[5], r[6], r[7], fmt);
    row.cells[TuneColTxStep] = stepText(r[7] & RasterBit, fmt);
    row.cells[TuneColTxSignal] = signallingToText(r[7], r[8], r[9], fmt);
}

void readTuneChannels(const TuneTable& table, RadioData& data, const NumberFormat& fmt) {
    for (int t = 0; t < addr::TestChannelCount; ++t) {
        Record r = data.testChannel(t);
        const TuneRow& row = table.rows[size_t(t)];
        const bool rx625 = isStep625Text(row.cells[TuneColRxStep]);
        const bool tx625 = isStep625Text(row.cells[TuneColTxStep]);
        r[2] = std::uint8_t((r[2] & ~(FlagBit | RasterBit)) | (row.noCh ? 0 : FlagBit) | (rx625 ? RasterBit : 0));
        storeCount(row.cells[TuneColRxFreq], rx625, r[0], r[1], r[2], fmt);
        textToSignalling(row.cells[TuneColRxSignal], r[2], r[3], r[4], fmt);
        r[7] = std::uint8_t((r[7] & ~(FlagBit | RasterBit)) | (row.noTx ? 0 : FlagBit) | (tx625 ? RasterBit : 0));
        storeCount(row.cells[TuneColTxFreq], tx625, r[5], r[6], r[7], fmt);
        textToSignalling(row.cells[TuneColTxSignal], r[7], r[8], r[9], fmt);
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

std::optional<QString> snapTestFrequency(const QString& text, bool raster625, const ModelInfo* model,
                                         const NumberFormat& fmt) {
    const auto mhz = fmt.parse(text);
    if (!mhz)
        return std::nullopt;
    const double step = stepKHz(raster625);
    const double snapped = roundHalfEven(*mhz * 1000.0 / step) * step / 1000.0;
    return testFrequencyText(clampToBand(snapped, model), fmt);
}

std::optional<QString> stepTestFrequency(const QString& text, bool raster625, int direction,
                                         const ModelInfo* model, const NumberFormat& fmt) {
    const auto mhz = fmt.parse(text);
    if (!mhz)
        return std::nullopt;
    const double step = stepKHz(raster625);
    const double count = *mhz * 1000.0 / step;
    double next = direction > 0 ? std::floor(count + RasterSlack) + 1 : std::ceil(count - RasterSlack) - 1;
    next = std::max(next, 0.0);
    if (model) {
        const double lowest = std::ceil(model->extLow * 1000.0 / step - RasterSlack);
        const double highest = std::floor(model->extHigh * 1000.0 / step + RasterSlack);
        // A range too narrow to hold a step of this raster: its limits are all there is.
        if (lowest > highest)
            return testFrequencyText(clampToBand(next * step / 1000.0, model), fmt);
        next = std::clamp(next, lowest, highest);
    }
    return testFrequencyText(next * step / 1000.0, fmt);
}

void toggleTestStep(TuneRow& row, int stepColumn, const ModelInfo* model, const NumberFormat& fmt) {
    if (stepColumn != TuneColRxStep && stepColumn != TuneColTxStep)
        return;
    const bool raster625 = !isStep625Text(row.cells[size_t(stepColumn)]);
    row.cells[size_t(stepColumn)] = stepText(raster625, fmt);
    QString& freq = row.cells[size_t(stepColumn - 1)];
    if (const auto snapped = snapTestFrequency(freq, raster625, model, fmt))
        freq = *snapped;
}

int firstTestChannelInUse(const RadioData& data) {
    for (int t = 0; t < addr::TestChannelCount; ++t)
        if (data.testChannel(t)[2] & FlagBit)
            return t + 1;
    return 0;
}

} // namespace orv

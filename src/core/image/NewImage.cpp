#include "NewImage.h"

#include "SettingsCodec.h"
#include "catalog/ModelCatalog.h"
#include "catalog/NumberText.h"
#include "catalog/ToneTables.h"

#include <algorithm>

namespace orv {

namespace {

// The 6.25 kHz count of a frequency in the three receive bytes, raster and in-use set.
void setStartFrequency(Record tmpl, double mhz) {
    const auto count = std::uint32_t(std::max(0.0, roundHalfEven(mhz * 1000.0 / 6.25)));
    tmpl[0] = std::uint8_t(count & 0xFF);
    tmpl[1] = std::uint8_t((count / 256) & 0xFF);
    tmpl[2] = std::uint8_t((count / 65536) | 0x0C);
}

// The four BCD digits of a number 0..9999.
int bcd4(int n) { return QString::number(n).toInt(nullptr, 16); }

constexpr std::array<std::uint8_t, 12> PresetChannel = {1, 5, 3, 7, 2, 6, 4, 8, 1, 5, 3, 2};
constexpr std::array<std::uint8_t, 12> PresetTone = {3, 8, 11, 2, 5, 1, 7, 43, 51, 52, 53, 54};

} // namespace

void newImageSettings(RadioData& data) {
    static constexpr std::array<std::uint8_t, 16> Defaults = {0x68, 0x03, 0x03, 0x05, 0x01, 0x00, 0x30, 0x06,
                                                              0xFF, 0xFF, 0x01, 0x05, 0x28, 0x00, 0x00, 0x00};
    std::copy(Defaults.begin(), Defaults.end(), data.functionSettings().begin());
}

void newImageChannels(RadioData& data, int position, const ModelInfo* model, const QDateTime& now) {
    std::array<std::uint8_t, 16> buffer{};
    Record tmpl(buffer.data(), 16);
    if ((position == 0 || position == 1) && model) {
        tmpl[14] = tmpl[15] = 0x01;
        setStartFrequency(tmpl, model->stdLow);
    } else if (position == 5 && model) {
        tmpl[14] = tmpl[15] = 0x01;
        setStartFrequency(tmpl, 446.00625);
    }
    std::copy_n(tmpl.begin(), 5, tmpl.begin() + 5); // transmit = receive

    for (int n = 0; n < addr::ChannelCount; ++n)
        std::copy(tmpl.begin(), tmpl.end(), data.channel(n).begin());

    if (data.modelByte() == 0x20)
        presetFill(data);

    Record last = data.channel(15);
    last[2] &= 0xF7;
    last[7] &= 0xF7;
    last[14] = 0x00;

    writeDateStamp(data.dateStamp(), now);
}

void presetFill(RadioData& data) {
    data.functionSettings()[0] |= 0x10;
    data.channel(15)[14] = 0x00;
    for (int n = 0; n < 12; ++n) {
        data.channel(n)[14] = PresetChannel[size_t(n)];
        data.channel(n)[15] = PresetTone[size_t(n)];
    }
    for (int n = 0; n < addr::ChannelCount; ++n) {
        Record r = data.channel(n);
        r[0] = std::uint8_t(((r[14] - 1) * 2 + 0xC1) & 0xFF);
        r[2] |= 0x08;
        r[5] = r[0];
        int value = 0;
        if (r[15] >= 39 && r[15] - 39 < 83) {
            value = QString::number(DcsCodeTable[size_t(r[15] - 39)]).toInt(nullptr, 8);
            r[2] |= 0x50;
        } else if (r[15] < 39) {
            value = bcd4(int(roundHalfEven(CtcToneTable[r[15]] * 10.0)));
            r[2] |= 0x30;
        }
        r[7] = r[2];
        r[3] = std::uint8_t(value & 0xFF);
        r[4] = std::uint8_t((value >> 8) & 0xFF);
        r[8] = r[3];
        r[9] = r[4];
    }
}

} // namespace orv

#include "ChannelTable.h"

#include "ChannelCodec.h"

namespace orv {

namespace {
constexpr std::uint8_t BitNarrow = 0x01, BitBusy = 0x04, BitScanDelete = 0x10, BitLowPower = 0x20;
constexpr std::uint8_t FlagBit = 0x08; // in use (byte 2) / transmit allowed (byte 7)

QString pick(bool set, const char* whenSet, const char* whenClear) {
    return QString::fromLatin1(set ? whenSet : whenClear);
}
} // namespace

QStringList channelHeaders() {
    return {QStringLiteral("CH No."),     QStringLiteral("Rx Freq(MHz)"),    QStringLiteral("Rx CTC/DCS"),
            QStringLiteral("Tx Freq(MHz)"), QStringLiteral("Tx CTC/DCS"),    QStringLiteral("Scan Delete/Add"),
            QStringLiteral("Busy Lockout"), QStringLiteral("Tx Power"),      QStringLiteral("Band Width")};
}

void showChannels(const RadioData& data, ChannelTable& table, const NumberFormat& fmt) {
    for (int n = 0; n < addr::ChannelCount; ++n)
        showChannel(data, n, table.rows[size_t(n)], fmt);
}

void showChannel(const RadioData& data, int n, ChannelRow& row, const NumberFormat& fmt) {
    const ConstRecord r = data.channel(n);
    row.cells[ColChannel] = QStringLiteral("CH %1").arg(n + 1);
    row.noCh = !(r[2] & FlagBit);
    row.cells[ColRxFreq] = decodeFrequency(r[0], r[1], r[2], fmt);
    row.cells[ColRxSignal] = signallingToText(r[2], r[3], r[4], fmt);
    row.noTx = !(r[7] & FlagBit);
    row.cells[ColTxFreq] = decodeFrequency(r[5], r[6], r[7], fmt);
    row.cells[ColTxSignal] = signallingToText(r[7], r[8], r[9], fmt);
    row.cells[ColScan] = pick(r[10] & BitScanDelete, "Delete", "Add");
    row.cells[ColBusy] = pick(r[10] & BitBusy, "ON", "OFF");
    row.cells[ColPower] = pick(r[10] & BitLowPower, "Low", "High");
    row.cells[ColBandWidth] = pick(r[10] & BitNarrow, "Narrow", "Wide");
}

void saveChannels(const ChannelTable& table, RadioData& data, const NumberFormat& fmt) {
    for (int n = 0; n < addr::ChannelCount; ++n) {
        Record r = data.channel(n);
        const ChannelRow& row = table.rows[size_t(n)];
        r[2] = row.noCh ? (r[2] & ~FlagBit) : (r[2] | FlagBit);
        encodeFrequency(row.cells[ColRxFreq], r[0], r[1], r[2], fmt);
        textToSignalling(row.cells[ColRxSignal], r[2], r[3], r[4], fmt);
        r[7] = row.noTx ? (r[7] & ~FlagBit) : (r[7] | FlagBit);
        encodeFrequency(row.cells[ColTxFreq], r[5], r[6], r[7], fmt);
        textToSignalling(row.cells[ColTxSignal], r[7], r[8], r[9], fmt);
        std::uint8_t b = r[10] & std::uint8_t(~(BitNarrow | BitBusy | BitScanDelete | BitLowPower));
        if (row.cells[ColPower] == QLatin1String("Low"))
            b |= BitLowPower;
        if (row.cells[ColScan] == QLatin1String("Delete"))
            b |= BitScanDelete;
        if (row.cells[ColBusy] == QLatin1String("ON"))
            b |= BitBusy;
        if (row.cells[ColBandWidth] == QLatin1String("Narrow"))
            b |= BitNarrow;
        r[10] = b;
    }
}

void applyBandWidth(ChannelTable& table, const QString& globalBandWidth) {
    if (globalBandWidth != QLatin1String("Narrow"))
        return;
    for (ChannelRow& row : table.rows)
        row.cells[ColBandWidth] = QStringLiteral("Narrow");
}

QString toggledCellText(int column, const QString& text) {
    switch (column) {
    case ColScan:
        return text == QLatin1String("Add") ? QStringLiteral("Delete") : QStringLiteral("Add");
    case ColBusy:
        return text == QLatin1String("OFF") ? QStringLiteral("ON") : QStringLiteral("OFF");
    case ColPower:
        return text == QLatin1String("High") ? QStringLiteral("Low") : QStringLiteral("High");
    case ColBandWidth:
        return text == QLatin1String("Wide") ? QStringLiteral("Narrow") : QStringLiteral("Wide");
    default:
        return text;
    }
}

} // namespace orv

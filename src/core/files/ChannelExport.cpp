#include "ChannelExport.h"

#include "files/CsvLine.h"
#include "image/RadioInfoText.h"
#include "document/Document.h"

#include <QJsonArray>

namespace orv {

namespace {

QJsonValue modelJson(const Document& s) {
    const ModelInfo* m = s.selectedModelInfo();
    if (!m)
        return QJsonValue::Null;
    return QJsonObject{{QStringLiteral("position"), s.selectedModel()},
                       {QStringLiteral("name"), m->name},
                       {QStringLiteral("value"), m->value}};
}

QJsonArray channelsJson(const Document& s) {
    QJsonArray out;
    const ChannelTable& t = s.channels();
    for (int n = 0; n < addr::ChannelCount; ++n) {
        const ChannelRow& r = t.rows[size_t(n)];
        out.append(QJsonObject{{QStringLiteral("number"), n + 1},
                               {QStringLiteral("in_use"), !r.noCh},
                               {QStringLiteral("tx_allowed"), !r.noTx},
                               {QStringLiteral("rx_freq"), r.cells[ColRxFreq]},
                               {QStringLiteral("rx_signal"), r.cells[ColRxSignal]},
                               {QStringLiteral("tx_freq"), r.cells[ColTxFreq]},
                               {QStringLiteral("tx_signal"), r.cells[ColTxSignal]},
                               {QStringLiteral("scan"), r.cells[ColScan]},
                               {QStringLiteral("busy_lockout"), r.cells[ColBusy]},
                               {QStringLiteral("tx_power"), r.cells[ColPower]},
                               {QStringLiteral("band_width"), r.cells[ColBandWidth]}});
    }
    return out;
}

QJsonObject settingsJson(const Document& s) {
    QJsonObject out;
    for (int i = 0; i < SettingCount; ++i) {
        const auto setting = Setting(i);
        const int index = s.settings().index(setting);
        out.insert(settingCaption(setting),
                   index < 0 ? QJsonValue(QJsonValue::Null) : QJsonValue(s.settings().text(setting)));
    }
    return out;
}

QJsonArray testChannelsJson(const Document& s) {
    QJsonArray out;
    for (int t = 0; t < addr::TestChannelCount; ++t) {
        const TuneRow& r = s.tune().rows[size_t(t)];
        out.append(QJsonObject{{QStringLiteral("number"), t + 1},
                               {QStringLiteral("in_use"), !r.noCh},
                               {QStringLiteral("tx_allowed"), !r.noTx},
                               {QStringLiteral("rx_freq"), r.cells[TuneColRxFreq]},
                               {QStringLiteral("rx_step"), r.cells[TuneColRxStep]},
                               {QStringLiteral("rx_signal"), r.cells[TuneColRxSignal]},
                               {QStringLiteral("tx_freq"), r.cells[TuneColTxFreq]},
                               {QStringLiteral("tx_step"), r.cells[TuneColTxStep]},
                               {QStringLiteral("tx_signal"), r.cells[TuneColTxSignal]}});
    }
    return out;
}

QString withoutTrailingNuls(QString text) {
    while (!text.isEmpty() && text.back() == QChar(u'\0'))
        text.chop(1);
    return text;
}

} // namespace

QJsonObject exportJson(const Document& s, const QStringList& messages) {
    QJsonArray tuneValues;
    for (int k = 0; k < 7; ++k)
        tuneValues.append(int(s.data().tuneValues()[size_t(k)]));
    const QJsonObject radioInfo{{QStringLiteral("text"), withoutTrailingNuls(infoTextFromImage(s.data()))},
                                {QStringLiteral("radio_id"), radioIdText(s.data())},
                                {QStringLiteral("last_programmed"), dateStampText(s.data())}};
    return QJsonObject{{QStringLiteral("data_version"), s.dataVersion()},
                       {QStringLiteral("model"), modelJson(s)},
                       {QStringLiteral("model_byte"), int(s.data().modelByte())},
                       {QStringLiteral("channels"), channelsJson(s)},
                       {QStringLiteral("settings"), settingsJson(s)},
                       {QStringLiteral("test_channels"), testChannelsJson(s)},
                       {QStringLiteral("tune_values"), tuneValues},
                       {QStringLiteral("radio_info"), radioInfo},
                       {QStringLiteral("messages"), QJsonArray::fromStringList(messages)}};
}

QByteArray exportCsv(const Document& s) {
    QStringList headers = channelHeaders();
    headers << QStringLiteral("No CH") << QStringLiteral("No Tx");
    QByteArray out = csvLine(headers);
    for (const ChannelRow& r : s.channels().rows) {
        QStringList fields(r.cells.begin(), r.cells.end());
        fields << QString::number(r.noCh ? 1 : 0) << QString::number(r.noTx ? 1 : 0);
        out += csvLine(fields);
    }
    return out;
}

} // namespace orv

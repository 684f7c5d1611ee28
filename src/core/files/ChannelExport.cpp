#include "ChannelExport.h"

#include "document/Document.h"
#include "files/CsvLine.h"
#include "image/RadioInfoText.h"

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

// One grid row: its number, the two boxes, then the cells under their keys.
template <typename Row>
QJsonObject rowJson(int number, const Row& r, int firstColumn, int columnCount, QString (*key)(int)) {
    QJsonObject o{{QStringLiteral("number"), number},
                  {QLatin1String(InUseKey), !r.noCh},
                  {QLatin1String(TxAllowedKey), !r.noTx}};
    for (int c = firstColumn; c < columnCount; ++c)
        o.insert(key(c), r.cells[size_t(c)]);
    return o;
}

QJsonArray channelsJson(const Document& s) {
    QJsonArray out;
    for (int n = 0; n < addr::ChannelCount; ++n)
        out.append(rowJson(n + 1, s.channels().rows[size_t(n)], ColRxFreq, ChannelColumnCount, channelColumnKey));
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
    for (int t = 0; t < addr::TestChannelCount; ++t)
        out.append(rowJson(t + 1, s.tune().rows[size_t(t)], TuneColRxFreq, TuneColumnCount, testChannelColumnKey));
    return out;
}

} // namespace

QString channelColumnKey(int column) {
    static const char* const Keys[ChannelColumnCount] = {"number",  "rx_freq",      "rx_signal", "tx_freq",   "tx_signal",
                                                         "scan",    "busy_lockout", "tx_power",  "band_width"};
    return column >= 0 && column < ChannelColumnCount ? QLatin1String(Keys[column]) : QString();
}

QString testChannelColumnKey(int column) {
    static const char* const Keys[TuneColumnCount] = {"number",  "rx_freq", "rx_step",  "rx_signal",
                                                      "tx_freq", "tx_step", "tx_signal"};
    return column >= 0 && column < TuneColumnCount ? QLatin1String(Keys[column]) : QString();
}

QString exportedInfoText(const RadioData& data) {
    QString text = infoTextFromImage(data);
    while (!text.isEmpty() && text.back() == QChar(u'\0'))
        text.chop(1);
    return text;
}

QJsonObject exportJson(const Document& s, const QStringList& messages) {
    QJsonArray tuneValues;
    for (int k = 0; k < 7; ++k)
        tuneValues.append(int(s.data().tuneValues()[size_t(k)]));
    const QJsonObject radioInfo{{QStringLiteral("text"), exportedInfoText(s.data())},
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

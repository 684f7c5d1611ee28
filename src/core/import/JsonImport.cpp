#include "JsonImport.h"

#include "catalog/ModelCatalog.h"
#include "image/ChannelTable.h"
#include "image/SettingsCodec.h"
#include "image/TuneTable.h"
#include "import/TextTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace orv {

namespace {

// A key of a row object and the cell it fills.
struct RowKey {
    const char* key;
    CellKind kind;
    int column;
    bool flagInverted = false; // "in_use" and "tx_allowed" are the boxes' opposites
};

const RowKey ChannelKeys[] = {
    {"in_use", CellKind::ChannelNoCh, 0, true},      {"tx_allowed", CellKind::ChannelNoTx, 0, true},
    {"rx_freq", CellKind::ChannelCell, ColRxFreq},   {"rx_signal", CellKind::ChannelCell, ColRxSignal},
    {"tx_freq", CellKind::ChannelCell, ColTxFreq},   {"tx_signal", CellKind::ChannelCell, ColTxSignal},
    {"scan", CellKind::ChannelCell, ColScan},        {"busy_lockout", CellKind::ChannelCell, ColBusy},
    {"tx_power", CellKind::ChannelCell, ColPower},   {"band_width", CellKind::ChannelCell, ColBandWidth},
};

const RowKey TestKeys[] = {
    {"in_use", CellKind::TestNoCh, 0, true},           {"tx_allowed", CellKind::TestNoTx, 0, true},
    {"rx_freq", CellKind::TestCell, TuneColRxFreq},    {"rx_step", CellKind::TestCell, TuneColRxStep},
    {"rx_signal", CellKind::TestCell, TuneColRxSignal}, {"tx_freq", CellKind::TestCell, TuneColTxFreq},
    {"tx_step", CellKind::TestCell, TuneColTxStep},    {"tx_signal", CellKind::TestCell, TuneColTxSignal},
};

QString typeName(const QJsonValue& v) {
    switch (v.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
        return QString::number(v.toDouble());
    case QJsonValue::String:
        return QLatin1Char('"') + v.toString() + QLatin1Char('"');
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("nothing");
}

class Reader {
public:
    Reader(const ModelCatalog& catalog, ImportInput& in) : m_catalog(catalog), m_in(in) {}

    void read(const QJsonObject& root) {
        static const QStringList ReadOnly{QStringLiteral("data_version"), QStringLiteral("model_byte"),
                                          QStringLiteral("tune_values"), QStringLiteral("messages")};
        for (auto it = root.begin(); it != root.end(); ++it) {
            const QString key = it.key();
            if (key == QLatin1String("model"))
                model(*it);
            else if (key == QLatin1String("channels"))
                rows(*it, key, addr::ChannelCount, ChannelKeys);
            else if (key == QLatin1String("test_channels"))
                rows(*it, key, addr::TestChannelCount, TestKeys);
            else if (key == QLatin1String("settings"))
                settings(*it);
            else if (key == QLatin1String("radio_info"))
                radioInfo(*it);
            else if (!ReadOnly.contains(key))
                unknown(key);
        }
    }

private:
    void error(const QString& where, const QString& what) { m_in.errors << where + QStringLiteral(": ") + what; }
    void unknown(const QString& where) { error(where, QStringLiteral("is not a key of the export")); }
    void wrongType(const QString& where, const QJsonValue& v, const char* wanted) {
        error(where, QStringLiteral("%1 is not %2").arg(typeName(v), QLatin1String(wanted)));
    }

    void model(const QJsonValue& v) {
        if (v.isNull())
            return;
        if (!v.isObject())
            return wrongType(QStringLiteral("model"), v, "an object");
        const QJsonObject o = v.toObject();
        for (auto it = o.begin(); it != o.end(); ++it)
            if (it.key() != QLatin1String("name") && it.key() != QLatin1String("value") &&
                it.key() != QLatin1String("position"))
                unknown(QStringLiteral("model.") + it.key());
        int position = -1;
        if (o.contains(QLatin1String("name"))) {
            position = int(m_catalog.names().indexOf(o.value(QLatin1String("name")).toString()));
            if (position < 0)
                return error(QStringLiteral("model.name"),
                             typeName(o.value(QLatin1String("name"))) + QStringLiteral(" is not a model of the catalog"));
        } else if (o.contains(QLatin1String("value"))) {
            const QJsonValue value = o.value(QLatin1String("value"));
            position = value.isDouble() ? m_catalog.findByValue(value.toInt(-1)) : -1;
            if (position < 0)
                return error(QStringLiteral("model.value"), typeName(value) + QStringLiteral(" is the value of no catalog model"));
        } else if (o.contains(QLatin1String("position"))) {
            const QJsonValue p = o.value(QLatin1String("position"));
            position = p.isDouble() && m_catalog.at(p.toInt(-1)) ? p.toInt(-1) : -1;
            if (position < 0)
                return error(QStringLiteral("model.position"), typeName(p) + QStringLiteral(" is no position of the catalog"));
        } else {
            return error(QStringLiteral("model"), QStringLiteral("names no model (\"name\", \"value\" or \"position\")"));
        }
        m_in.modelPosition = position;
    }

    template <size_t N>
    void rows(const QJsonValue& v, const QString& key, int count, const RowKey (&keys)[N]) {
        if (!v.isArray())
            return wrongType(key, v, "an array");
        const QJsonArray array = v.toArray();
        QList<bool> seen(count + 1, false);
        for (qsizetype i = 0; i < array.size(); ++i) {
            const QString where = QStringLiteral("%1[%2]").arg(key).arg(i);
            if (!array[i].isObject()) {
                wrongType(where, array[i], "an object");
                continue;
            }
            const QJsonObject o = array[i].toObject();
            const QJsonValue numberValue = o.value(QLatin1String("number"));
            const int number = numberValue.isDouble() && numberValue.toDouble() == numberValue.toInt() ? numberValue.toInt() : 0;
            if (number < 1 || number > count) {
                error(where + QStringLiteral(".number"),
                      QStringLiteral("%1 is not a channel (1 to %2)").arg(typeName(numberValue)).arg(count));
                continue;
            }
            if (seen[number]) {
                error(where + QStringLiteral(".number"), QStringLiteral("CH %1 is there twice").arg(number));
                continue;
            }
            seen[number] = true;
            for (auto it = o.begin(); it != o.end(); ++it) {
                if (it.key() == QLatin1String("number"))
                    continue;
                const QString at = where + QLatin1Char('.') + it.key();
                const RowKey* k = std::find_if(std::begin(keys), std::end(keys),
                                               [&](const RowKey& r) { return it.key() == QLatin1String(r.key); });
                if (k == std::end(keys)) {
                    unknown(at);
                } else if (k->flagInverted) {
                    if (!it->isBool())
                        wrongType(at, *it, "true or false");
                    else
                        m_in.cells << CellInput{{k->kind, number, 0}, it->toBool() ? QStringLiteral("0") : QStringLiteral("1"), at};
                } else if (!it->isString()) {
                    wrongType(at, *it, "a text");
                } else {
                    m_in.cells << CellInput{{k->kind, number, k->column}, it->toString(), at};
                }
            }
        }
    }

    void settings(const QJsonValue& v) {
        if (!v.isObject())
            return wrongType(QStringLiteral("settings"), v, "an object");
        const QJsonObject o = v.toObject();
        for (auto it = o.begin(); it != o.end(); ++it) {
            const QString at = QStringLiteral("settings[\"%1\"]").arg(it.key());
            int setting = -1;
            for (int s = 0; s < SettingCount && setting < 0; ++s)
                if (settingCaption(Setting(s)) == it.key())
                    setting = s;
            if (setting < 0)
                unknown(at);
            else if (it->isString())
                m_in.cells << CellInput{{CellKind::Setting, 0, setting}, it->toString(), at};
            else if (!it->isNull()) // null: the list has nothing selected, and stays as it is
                wrongType(at, *it, "a text");
        }
    }

    void radioInfo(const QJsonValue& v) {
        if (!v.isObject())
            return wrongType(QStringLiteral("radio_info"), v, "an object");
        const QJsonObject o = v.toObject();
        for (auto it = o.begin(); it != o.end(); ++it) {
            const QString at = QStringLiteral("radio_info.") + it.key();
            if (it.key() == QLatin1String("text")) {
                if (it->isString())
                    m_in.cells << CellInput{{CellKind::InfoText, 0, 0}, it->toString(), at};
                else
                    wrongType(at, *it, "a text");
            } else if (it.key() != QLatin1String("radio_id") && it.key() != QLatin1String("last_programmed")) {
                unknown(at);
            }
        }
    }

    const ModelCatalog& m_catalog;
    ImportInput& m_in;
};

// "line 3, column 7" of a character offset.
QString lineAndColumn(const QByteArray& bytes, qsizetype offset) {
    const QByteArray before = bytes.left(offset);
    const qsizetype lastLf = before.lastIndexOf('\n');
    return QStringLiteral("line %1, column %2").arg(before.count('\n') + 1).arg(offset - lastLf);
}

} // namespace

ImportInput readImportJson(const QByteArray& bytes, const ModelCatalog& catalog) {
    ImportInput in;
    const QByteArray json = withoutByteOrderMark(bytes);
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        in.errors << lineAndColumn(json, parseError.offset) + QStringLiteral(": ") + parseError.errorString();
        return in;
    }
    if (!document.isObject()) {
        in.errors << QStringLiteral("line 1: the file holds no JSON object");
        return in;
    }
    Reader(catalog, in).read(document.object());
    return in;
}

} // namespace orv

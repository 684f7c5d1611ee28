#include "ModelCatalog.h"

#include "IniFile.h"
#include "NumberText.h"

#include <algorithm>

namespace orv {

namespace {

const QString RadioListSection = QStringLiteral("Radio List");

// Ranges are stored in 10 Hz units.
constexpr double RangeUnitsPerMHz = 100000.0;

// The model value as a whole number; anything far outside a byte is pinned to the 16-bit
// range the value has always had (it never matches a model byte either way).
int valueFrom(const QString& text) {
    const double v = roundHalfEven(leadingNumber(text));
    return int(std::clamp(v, -32768.0, 32767.0));
}

double rangeFrom(const IniFile& ini, const QString& key, int position) {
    // A missing range key reads as the position itself, in 10 Hz units.
    const QString text = ini.readString(RadioListSection, key, QString::number(position));
    return leadingNumber(text) / RangeUnitsPerMHz;
}

// The name and value keys count from 1, the four range keys from 0.
ModelInfo readModel(const IniFile& ini, int p) {
    const QString nameKey = QStringLiteral("RadioName") + QString::number(p + 1);
    const QString valueKey = QStringLiteral("RadioValue") + QString::number(p + 1);
    const QString rangeSuffix = QString::number(p);

    ModelInfo m;
    m.name = ini.readString(RadioListSection, nameKey,
                            QStringLiteral("QEL-07(") + QString::number(p) + u')');
    m.value = valueFrom(ini.readString(RadioListSection, valueKey, QString::number(p)));
    m.stdLow = rangeFrom(ini, QStringLiteral("StdFreqRange") + rangeSuffix, p);
    m.stdHigh = rangeFrom(ini, QStringLiteral("EndFreqRange") + rangeSuffix, p);
    m.extLow = rangeFrom(ini, QStringLiteral("StdFreqExtend") + rangeSuffix, p);
    m.extHigh = rangeFrom(ini, QStringLiteral("EndFreqExtend") + rangeSuffix, p);
    return m;
}

} // namespace

ModelCatalog ModelCatalog::read(const IniFile& ini, int count) {
    const int n = std::clamp(count, 0, MaxCatalogModels);
    std::vector<ModelInfo> models;
    models.reserve(size_t(n));
    for (int p = 0; p < n; ++p)
        models.push_back(readModel(ini, p));
    return ModelCatalog(std::move(models));
}

const ModelInfo* ModelCatalog::at(int position) const {
    if (position < 0 || position >= size())
        return nullptr;
    return &m_models[size_t(position)];
}

int ModelCatalog::findByValue(int modelByte) const {
    if (modelByte < 0 || modelByte > 255)
        return -1;
    for (int p = 0; p < size(); ++p)
        if (m_models[size_t(p)].value == modelByte)
            return p;
    return -1;
}

QStringList ModelCatalog::names() const {
    QStringList list;
    list.reserve(size());
    for (const ModelInfo& m : m_models)
        list << m.name;
    return list;
}

QString bandText(const ModelInfo& model, const NumberFormat& fmt, QStringView separator) {
    return fmt.fixed(model.stdLow, 3, 5) + separator.toString() + fmt.fixed(model.stdHigh, 3, 5) +
           QStringLiteral(" MHz");
}

} // namespace orv

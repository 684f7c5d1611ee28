#pragma once
// The catalog of radio models read from the shared "vuxPC.ini": name, model value and the
// standard and extended frequency ranges of each model, in INI order.

#include "NumberText.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace orv {

class IniFile;

// No catalog is read past this many models, whatever "Sum of Radios" says.
inline constexpr int MaxCatalogModels = 256;

struct ModelInfo {
    QString name;
    int value = 0;      // the byte the radio stores in ModelBlock byte 2; above 255 never matches
    double stdLow = 0;  // MHz, shown as the model's band
    double stdHigh = 0;
    double extLow = 0;  // MHz, bounds every frequency the user may enter
    double extHigh = 0;
};

class ModelCatalog {
public:
    ModelCatalog() = default;
    explicit ModelCatalog(std::vector<ModelInfo> models) : m_models(std::move(models)) {}

    // Reads positions 0..count-1 from section "Radio List" ("RadioName"/"RadioValue" numbered
    // from 1, the four range keys numbered from 0, ranges in 10 Hz units). count is limited to
    // 0..MaxCatalogModels.
    static ModelCatalog read(const IniFile& ini, int count);

    int size() const { return int(m_models.size()); }
    bool isEmpty() const { return m_models.empty(); }
    // The model at a position, or nullptr outside 0..size()-1.
    const ModelInfo* at(int position) const;
    // The first position whose value equals modelByte (0..255), or -1.
    int findByValue(int modelByte) const;
    QStringList names() const;

private:
    std::vector<ModelInfo> m_models;
};

// "136.00000~174.00000 MHz": the standard range as the model frame shows it. The tune view
// writes it with " ~ " between the limits.
QString bandText(const ModelInfo& model, const NumberFormat& fmt, QStringView separator = u"~");

} // namespace orv

#include "FrequencyRules.h"

#include "ModelCatalog.h"
#include "NumberText.h"

#include <cmath>

namespace orv {

double clampToBand(double f, const ModelInfo* model) {
    if (!model)
        return f;
    if (f < model->extLow)
        return model->extLow;
    if (f > model->extHigh)
        return model->extHigh;
    return f;
}

ValidFrequency validFrequency(double mhz, const ModelInfo* model, std::uint8_t modelByte) {
    const double k = clampToBand(mhz, model) * 1000.0;
    const double k625 = roundHalfEven(k / 6.25) * 6.25;
    const double k5 = roundHalfEven(k / 5.0) * 5.0;
    ValidFrequency v{0.0, true};
    double result = k625;
    if (modelByte != Only625ModelByte && std::fabs(k - k5) < std::fabs(k - k625)) {
        result = k5;
        v.raster625 = false;
    }
    // Rounded to five decimals, as formatting with "000.00000" and reading back does.
    v.mhz = QString::number(result / 1000.0, 'f', 5).toDouble();
    return v;
}

bool getValidFreq(const QString& text, double& freq, const ModelInfo* model, std::uint8_t modelByte,
                  const NumberFormat& fmt) {
    if (text.isEmpty())
        return false;
    const auto parsed = fmt.parse(text);
    if (!parsed)
        return false;
    freq = validFrequency(*parsed, model, modelByte).mhz;
    return true;
}

bool isStep625Text(const QString& text) {
    return text == QLatin1String("6,25") || text == QLatin1String("6.25");
}

} // namespace orv

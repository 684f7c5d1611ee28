#include "compare/Difference.h"

namespace orv::compare {

QString sectionName(Section section) {
    switch (section) {
    case Section::Model: return QStringLiteral("model");
    case Section::Channel: return QStringLiteral("channel");
    case Section::Settings: return QStringLiteral("settings");
    case Section::TestChannel: return QStringLiteral("test_channel");
    case Section::TuneValue: return QStringLiteral("tune_value");
    case Section::RadioInfo: return QStringLiteral("radio_info");
    case Section::Bytes: return QStringLiteral("bytes");
    }
    return QString();
}

QString scopeName(Scope scope) {
    return scope == Scope::Programming ? QStringLiteral("programming") : QStringLiteral("all");
}

std::optional<Scope> scopeFromName(const QString& name) {
    for (Scope s : {Scope::All, Scope::Programming})
        if (name == scopeName(s))
            return s;
    return std::nullopt;
}

QString byteAreaName(ByteArea area) { return area == ByteArea::Spare ? QStringLiteral("spare") : QStringLiteral("image"); }

QString Difference::place() const {
    switch (section) {
    case Section::Model: return QStringLiteral("Model");
    case Section::Channel: return QStringLiteral("CH %1").arg(number);
    case Section::Settings: return QStringLiteral("Settings");
    case Section::TestChannel: return QStringLiteral("Test CH %1").arg(number);
    case Section::TuneValue: return QStringLiteral("Tune Items");
    case Section::RadioInfo: return QStringLiteral("Radio Information");
    case Section::Bytes: break;
    }
    // Image addresses with three hex digits, spare table offsets with two.
    const int digits = area == ByteArea::Image ? 3 : 2;
    const auto hex = [digits](int a) {
        return QStringLiteral("0x") + QStringLiteral("%1").arg(a, digits, 16, QLatin1Char('0')).toUpper();
    };
    const QString where = area == ByteArea::Image ? QStringLiteral("Image ") : QStringLiteral("Spare ");
    return where + (start == end ? hex(start) : hex(start) + QLatin1Char('-') + hex(end));
}

} // namespace orv::compare

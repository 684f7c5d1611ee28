#include "history/RadioIdNames.h"

#include <QRegularExpression>
#include <algorithm>

namespace orv {

namespace {

bool printable(QChar c) {
    return c.unicode() >= 0x20 && c.unicode() < 0x7F;
}
bool printableLatin1(QChar c) {
    return printable(c) || (c.unicode() >= 0xA0 && c.unicode() < 0xFF);
}
bool padding(QChar c) {
    return c.unicode() == 0 || c.unicode() == 0xFF || c.isSpace();
}

} // namespace

QString radioIdLabel(const QString& rawId) {
    qsizetype from = 0, to = rawId.size();
    while (from < to && padding(rawId[from]))
        ++from;
    while (to > from && padding(rawId[to - 1]))
        --to;
    QString label = rawId.mid(from, to - from);
    for (QChar& c : label)
        if (!printableLatin1(c))
            c = QChar(0x00B7);
    // Nothing but unprintable bytes names no radio.
    if (std::none_of(label.begin(), label.end(), [](QChar c) { return c != QChar(0x00B7); }))
        return QString();
    return label;
}

QString radioIdFolderName(const QString& rawId) {
    QString name = radioIdLabel(rawId);
    bool named = false;
    for (QChar& c : name) {
        const bool keep =
            (c.unicode() < 0x80 && c.isLetterOrNumber()) || c == QLatin1Char('-') || c == QLatin1Char('_');
        if (keep)
            named = named || c != QLatin1Char('_');
        else
            c = QLatin1Char('_');
    }
    if (!named)
        return QString::fromLatin1(NoRadioIdFolder);
    // Windows keeps these names for devices, with or without an extension.
    static const QRegularExpression device(QStringLiteral("^(CON|PRN|AUX|NUL|COM[0-9]|LPT[0-9])$"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (device.match(name).hasMatch())
        name += QLatin1Char('_');
    return name;
}

} // namespace orv

#pragma once
// The rules of a signalling entry ("OFF", "CTC 88.5", "DCS 023", "-DCS 754"): how a text
// splits into its mode and value, what a typed tone or code becomes, and which tones and
// codes the tables hold. The signalling dialog and the import share them.

#include "NumberText.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace orv {

enum class SignalMode { None = -1, Off = 0, Ctc = 1, Dcs = 2 };

// A signalling text taken apart: the mode its first three characters name, the tone or code
// text after the prefix and whether a DCS code is inverted ("-DCS"). A text of no known form
// has mode None.
struct SignalParts {
    SignalMode mode = SignalMode::None;
    QString value;
    bool inverted = false;
};
SignalParts splitSignalText(const QString& text);

// The text of a mode and value: "OFF", "CTC " + tone, "DCS " or "-DCS " + code.
QString joinSignalText(SignalMode mode, const QString& value, bool inverted);

// A typed tone limited to 67.0..254.1 Hz and written "#00.0" with the format's separator;
// nothing for an empty text or one that is not a number.
std::optional<QString> typedToneText(const QString& typed, const NumberFormat& fmt);
// A typed DCS code (octal digits only) limited to 023..754 and written with three digits;
// nothing for an empty text or one with another character.
std::optional<QString> typedCodeText(const QString& typed);

// The table's tones as the dialog lists them ("67.0" ... "250.3") and its codes ("023" ...).
QStringList ctcToneTexts(const NumberFormat& fmt);
QStringList dcsCodeTexts();

// The tone of the CTC table a text names ("88.5", "88.50"), as the list writes it; nothing
// when it names none.
std::optional<QString> tableToneText(const QString& text, const NumberFormat& fmt);
// The code of the DCS table a text names ("023", "23"), as the list writes it; nothing when
// it names none.
std::optional<QString> tableCodeText(const QString& text);

} // namespace orv

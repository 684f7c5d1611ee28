#pragma once
// The radio information block as texts: the 96-character user text (two bytes a character,
// little-endian), the 16-byte radio ID and the date stamp of the last programming.

#include "RadioData.h"

#include <QString>

namespace orv {

inline constexpr int InfoTextChars = addr::InfoTextSize / 2; // 96

// The 192 text bytes as 96 characters, zero codes included.
QString infoTextFromImage(const RadioData& data);
// The first 96 characters of text into the text area, zero bytes after them.
void storeInfoText(const QString& text, RadioData& data);
// The 16 radio ID bytes, each as one character (NUL bytes included).
QString radioIdText(const RadioData& data);
// "2005-04-29, 13:45:02" from the date stamp's 14 digits, each byte taken as a character.
QString dateStampText(const RadioData& data);

} // namespace orv

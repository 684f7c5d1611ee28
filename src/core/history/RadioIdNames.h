#pragma once
// The radio ID (the 16 bytes at 0x3E0) as the history and the backups name a radio.

#include <QString>

namespace orv {

inline constexpr char NoRadioIdFolder[] = "no-id";

// The ID as the history lists it: blanks, NULs and erased bytes (0xFF) trimmed at both ends,
// any other unprintable character inside shown as a middle dot. Empty for a radio without one.
QString radioIdLabel(const QString& rawId);

// The backup folder of a radio: the label reduced to letters, digits, '-' and '_' (every other
// character becomes '_'), so that no ID can name a path ("../x" gives "___x"). "no-id" when
// nothing printable is left; a name the system keeps for a device ("CON", "COM1", ...) gets a
// trailing '_'.
QString radioIdFolderName(const QString& rawId);

} // namespace orv

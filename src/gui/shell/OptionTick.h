#pragma once
// The check marks of the Option menu that are kept in the program's INI, section "Options"
// (Check before Write, Verify after Write): 1 or 0.

#include <QString>

class QAction;

namespace orv::gui {

// The mark starts as the INI says (`defaultOn` when the key is missing or neither 1 nor 0),
// and every toggle writes 1 or 0 at once.
void keepTickInIni(QAction& item, const QString& programIni, const QString& key, bool defaultOn = false);

} // namespace orv::gui

#include "shell/OptionTick.h"

#include "catalog/IniFile.h"
#include "history/DataFolder.h"

#include <QAction>

namespace orv::gui {

void keepTickInIni(QAction& item, const QString& programIni, const QString& key, bool defaultOn) {
    const QString section = QString::fromLatin1(OptionsSection);
    const QString value = IniFile(programIni).readString(section, key, QString());
    item.setCheckable(true);
    item.setChecked(value == QLatin1String("1") || (defaultOn && value != QLatin1String("0")));
    QObject::connect(&item, &QAction::toggled, &item, [programIni, section, key](bool on) {
        IniFile(programIni).writeString(section, key, on ? QStringLiteral("1") : QStringLiteral("0"));
    });
}

} // namespace orv::gui

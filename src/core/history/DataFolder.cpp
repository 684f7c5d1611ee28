#include "history/DataFolder.h"

#include "catalog/IniFile.h"
#include "catalog/ProgramSetup.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace orv {

namespace {

QString optionValue(const QString& programIni, const char* key) {
    if (programIni.isEmpty())
        return QString();
    return IniFile(programIni)
        .readString(QString::fromLatin1(OptionsSection), QString::fromLatin1(key), QString());
}

bool storeOption(const QString& programIni, const char* key, const QString& value) {
    return !programIni.isEmpty() &&
           IniFile(programIni)
               .writeString(QString::fromLatin1(OptionsSection), QString::fromLatin1(key), value);
}

} // namespace

QString defaultDataFolder() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(base).filePath(QString::fromLatin1(ProgramConfigFolderName));
}

QString dataFolder(const QString& programIni) {
    const QString fromEnvironment = qEnvironmentVariable(DataFolderVariable).trimmed();
    if (!fromEnvironment.isEmpty())
        return QDir::cleanPath(QDir(fromEnvironment).absolutePath());
    const QString fromIni = optionValue(programIni, DataFolderKey);
    if (!fromIni.isEmpty())
        return QDir::cleanPath(QFileInfo(programIni).absoluteDir().absoluteFilePath(fromIni));
    return defaultDataFolder();
}

bool setDataFolder(const QString& programIni, const QString& folder) {
    return storeOption(programIni, DataFolderKey, folder.trimmed());
}

bool keepBackups(const QString& programIni) {
    const QString v = optionValue(programIni, KeepBackupsKey).toLower();
    return !(v == QLatin1String("0") || v == QLatin1String("false") || v == QLatin1String("no") ||
             v == QLatin1String("off"));
}

bool setKeepBackups(const QString& programIni, bool keep) {
    return storeOption(programIni, KeepBackupsKey, keep ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace orv

#include "catalog/ProgramSetup.h"

#include "catalog/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace orv {

bool folderIsWritable(const QString& folder) { return QFileInfo(folder).isWritable(); }

QString userConfigFolder() {
    // Not AppConfigLocation: that one is named after each executable ("orvante-cli" is not
    // "orvante"), and both must read the same file.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(base).filePath(QString::fromLatin1(ProgramConfigFolderName));
}

QString programIniPath(const QString& besideProgram, const QString& configFolder,
                       const std::function<bool(const QString& folder)>& folderWritable) {
    const QFileInfo beside(besideProgram);
    if (folderWritable(beside.absolutePath()))
        return besideProgram;
    return QDir(configFolder).filePath(beside.fileName());
}

QString programIniPath(const QString& besideProgram) {
    return programIniPath(besideProgram, userConfigFolder(), folderIsWritable);
}

ProgramSetup loadProgramSetup(const QString& explicitCatalogPath, const QString& programFolder,
                              const std::function<bool(const QString& folder)>& folderWritable) {
    ProgramSetup setup;
    setup.catalogPath = locateCatalog(explicitCatalogPath);
    const IniFile catalogIni(setup.catalogPath);
    setup.startup = readStartupValues(catalogIni, programFolder);
    setup.startup.productIniPath = programIniPath(setup.startup.productIniPath, userConfigFolder(), folderWritable);
    setup.catalog = ModelCatalog::read(catalogIni, setup.startup.modelCount);
    setup.comPort = storedPortNumber(setup.startup.productIniPath);
    setup.numbers = NumberFormat::system();
    return setup;
}

} // namespace orv

#include "StartupConfig.h"

#include "IniFile.h"
#include "ModelCatalog.h"
#include "NumberText.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

namespace orv {

namespace {

const QString ConstSection = QStringLiteral("Const String");
const QString RadioListSection = QStringLiteral("Radio List");

// The three "Const String" keys and "Sum of Radios" fall back to their default when the
// value is empty, not only when the key is missing.
QString readOrDefault(const IniFile& ini, const QString& section, const QString& key,
                      const QString& def) {
    const QString v = ini.readString(section, key, def);
    return v.isEmpty() ? def : v;
}

QString inFolder(const QString& folder, const QString& fileName) {
    if (folder.isEmpty())
        return fileName;
    if (folder.endsWith(u'/'))
        return folder + fileName;
    return folder + u'/' + fileName;
}

// The number of catalog entries: negative reads as none, and no more than the catalog can
// hold are ever read, whatever the file claims.
int modelCountFrom(const QString& text) {
    const double n = roundHalfEven(leadingNumber(text));
    return int(std::clamp(n, 0.0, double(MaxCatalogModels)));
}

} // namespace

StartupValues readStartupValues(const IniFile& catalogIni, const QString& programFolder) {
    StartupValues v;
    v.title = readOrDefault(catalogIni, ConstSection, QStringLiteral("Software Title"),
                            QString::fromLatin1(DefaultTitle));
    v.productIniPath = inFolder(programFolder,
                                readOrDefault(catalogIni, ConstSection,
                                              QStringLiteral("Software ini File"),
                                              QStringLiteral("ORVANTE.ini")));
    v.helpFilePath = inFolder(programFolder,
                              readOrDefault(catalogIni, ConstSection,
                                            QStringLiteral("Software help File"),
                                            QStringLiteral("ORVANTE.hlp")));
    v.modelCount = modelCountFrom(readOrDefault(catalogIni, RadioListSection,
                                                QStringLiteral("Sum of Radios"),
                                                QStringLiteral("2")));
    return v;
}

QString locateCatalog(const QString& explicitPath) {
    if (!explicitPath.isEmpty())
        return explicitPath;
    const QString fileName = QString::fromLatin1(CatalogFileName);
    const QString installed = inFolder(QString::fromUtf8(ORVANTE_DATA_DIR), fileName);
    // Without an application object there is no executable folder to look in.
    if (!QCoreApplication::instance())
        return installed;
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QString beside = inFolder(exeDir, fileName);
    // An installation moved as a whole (bin/ next to share/orvante/) still finds its data.
    const QString relocated = inFolder(exeDir + QStringLiteral("/../share/orvante"), fileName);
    for (const QString& candidate : {beside, relocated, installed})
        if (QFileInfo::exists(candidate))
            return QFileInfo(candidate).absoluteFilePath();
    return beside;
}

} // namespace orv

#include "shell/DialogFolders.h"

#include "catalog/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace orv::gui {

namespace {

const QString Section = QStringLiteral("Folders");

QString keyFor(FileKind kind) {
    switch (kind) {
    case FileKind::Pdf:
        return QStringLiteral("PdfFiles");
    case FileKind::ChannelPlan:
        return QStringLiteral("ChannelPlans");
    case FileKind::Data:
        break;
    }
    return QStringLiteral("DataFiles");
}

} // namespace

QString DialogFolders::documentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return QDir::toNativeSeparators(documents);
    return QDir::toNativeSeparators(QDir::homePath());
}

QString DialogFolders::startFolder(FileKind kind) const {
    const QString kept = IniFile(m_programIni).readString(Section, keyFor(kind), QString());
    // A relative folder would depend on where the program was started from.
    if (!kept.isEmpty() && QDir::isAbsolutePath(kept) && QFileInfo(kept).isDir())
        return kept;
    return documentsFolder();
}

bool DialogFolders::rememberFolderOf(FileKind kind, const QString& file) const {
    const QString folder = QDir::toNativeSeparators(QFileInfo(file).absolutePath());
    IniFile ini(m_programIni);
    if (ini.readString(Section, keyFor(kind), QString()) == folder)
        return true;
    return ini.writeString(Section, keyFor(kind), folder);
}

} // namespace orv::gui

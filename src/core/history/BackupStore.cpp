#include "history/BackupStore.h"

#include "files/DataFile.h"
#include "history/RadioIdNames.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <algorithm>
#include <vector>

namespace orv {

namespace {

const QString StampFormat = QStringLiteral("yyyyMMdd-HHmmss");

QString backupName(const QDateTime& when, int sequence) {
    const QString stamp = when.toString(StampFormat);
    return sequence <= 1 ? stamp + QStringLiteral("-read.kvd")
                         : stamp + QStringLiteral("-read-%1.kvd").arg(sequence);
}

struct Found {
    QString path;
    QDateTime when;
    int sequence = 1;
};

// The backups of one radio folder, newest first; other files are not listed.
std::vector<Found> backupsIn(const QDir& folder) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{8}-\\d{6})-read(?:-(\\d{1,6}))?\\.kvd$"));
    std::vector<Found> found;
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch m = pattern.match(name);
        if (!m.hasMatch())
            continue;
        const QDateTime when = QDateTime::fromString(m.captured(1), StampFormat);
        if (!when.isValid())
            continue;
        found.push_back({folder.filePath(name), when, m.captured(2).isEmpty() ? 1 : m.captured(2).toInt()});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.when != b.when ? a.when > b.when : a.sequence > b.sequence;
    });
    return found;
}

} // namespace

BackupStore::BackupStore(const QString& dataFolder)
    : m_root(QDir(dataFolder).filePath(QStringLiteral("backups"))) {}

std::optional<QString> BackupStore::keep(const RadioData& data, const QString& rawId, const QDateTime& when,
                                         QString* error) const {
    const QDir folder(QDir(m_root).filePath(radioIdFolderName(rawId)));
    auto failed = [&](const QString& why) -> std::optional<QString> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (!QDir().mkpath(folder.path()))
        return failed(
            QStringLiteral("the folder %1 cannot be made").arg(QDir::toNativeSeparators(folder.path())));

    // The file is written whole under a name of its own, then renamed to the first free backup
    // name: a rename never replaces a file, so two reads in one second (or two programs) keep
    // both backups, and no half-written file ever has a backup's name.
    QTemporaryFile part(folder.filePath(QStringLiteral(".backup-XXXXXX.part")));
    if (!part.open())
        return failed(part.errorString());
    const QString partPath = part.fileName();
    part.close();
    if (writeDataFile(partPath, data) != SaveStatus::Ok)
        return failed(QStringLiteral("%1 cannot be written").arg(QDir::toNativeSeparators(partPath)));
    for (int sequence = 1; sequence <= 1000; ++sequence) {
        const QString target = folder.filePath(backupName(when, sequence));
        if (QFile::exists(target))
            continue;
        if (QFile::rename(partPath, target)) {
            part.setAutoRemove(false);
            return target;
        }
        if (!QFile::exists(target)) // not taken by another program meanwhile: a real failure
            return failed(QStringLiteral("%1 cannot be written").arg(QDir::toNativeSeparators(target)));
    }
    return failed(QStringLiteral("too many backups in one second"));
}

int BackupStore::prune(const QDateTime& now) const {
    const QDateTime limit = now.addDays(-BackupKeepDays);
    int removed = 0;
    const QDir root(m_root);
    for (const QString& radio : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const std::vector<Found> backups = backupsIn(QDir(root.filePath(radio)));
        for (std::size_t i = BackupKeepNewest; i < backups.size(); ++i)
            if (backups[i].when < limit && QFile::remove(backups[i].path))
                ++removed;
    }
    return removed;
}

} // namespace orv

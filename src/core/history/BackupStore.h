#pragma once
// The automatic backups: every full read kept as a data file in the current format under
// <data folder>/backups/<radio>/<yyyyMMdd-HHmmss>-read.kvd (local time; a second read in the
// same second gets "-read-2.kvd", and so on). The radio folder comes from the radio ID
// (radioIdFolderName), so no ID leads outside the backup folder.
//
// Pruning removes backups older than 365 days, except that each radio keeps its 10 newest.
// It only ever removes files whose names have the backup form, in the radio folders.

#include "image/RadioData.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace orv {

inline constexpr int BackupKeepDays = 365;
inline constexpr int BackupKeepNewest = 10;

class BackupStore {
  public:
    explicit BackupStore(const QString& dataFolder);

    // <data folder>/backups
    const QString& root() const { return m_root; }

    // Writes `data` as the backup of a read that ended at `when` from the radio with `rawId`
    // (the 16 ID characters). Returns the backup's path; nothing, with the reason in *error,
    // when it cannot be written (then no file of that name is left behind).
    std::optional<QString> keep(const RadioData& data, const QString& rawId, const QDateTime& when,
                                QString* error = nullptr) const;

    // Removes what has outlived its time in every radio folder; returns how many files went.
    int prune(const QDateTime& now) const;

  private:
    QString m_root;
};

} // namespace orv

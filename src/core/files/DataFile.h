#pragma once
// Data files: the whole image plus the spare table in 1370 bytes, as 17 tagged records.
// "kvd" files are the current format ("Version = 2.0"), "pvlt" files the old one
// ("Version = 1.1", settings byte 0 laid out one bit higher).

#include "../Feedback.h"
#include "../image/RadioData.h"

#include <QByteArray>
#include <QString>

namespace orv {

inline constexpr int DataFileSize = 1370;

enum class LoadStatus { Ok, NotFound, WrongHeader, UnsupportedVersion, Damaged };

struct LoadOutcome {
    LoadStatus status = LoadStatus::Damaged;
    RadioData data;      // on Ok: the data to use; otherwise a copy of the data passed in
    int dataVersion = 2; // on Ok: 2 for "Version = 2.0", 0 for "Version = 1.1"
};

// Reads a data file's bytes on top of `current`: a table whose record has another shape
// keeps current's contents. Settings byte 0 of an old file is converted to the current
// layout. On any failure the outcome holds `current` unchanged.
LoadOutcome parseDataFile(const QByteArray& bytes, const RadioData& current);
// The same from a file: NotFound when no file of that name exists, Damaged when it cannot
// be opened or read.
LoadOutcome readDataFile(const QString& path, const RadioData& current);

// The message a failed load shows ("The file is damaged! Please confirm it.", ...).
UserMessage loadFailureMessage(LoadStatus status);

// True when the path's last five characters are exactly ".pvlt" (old format).
bool isOldFormatName(const QString& path);
// The 1370 bytes of a data file; settings byte 0 converted in the file only for the old format.
QByteArray serializeDataFile(const RadioData& data, bool oldFormat);

enum class SaveStatus { Ok, OpenFailed, WriteFailed };
// Writes the file atomically (a temporary file in the same folder, then renamed over the
// target): the file on disk is either the old one or the complete new one. On Ok, sets
// *dataVersion to 0 for an old-format name and 2 otherwise (when dataVersion is not null).
SaveStatus writeDataFile(const QString& path, const RadioData& data, int* dataVersion = nullptr);
// "Save File Error!" / "File Error" / exclamation.
UserMessage saveFailureMessage();

} // namespace orv

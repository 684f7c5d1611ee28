#pragma once
// The program's data folder, where the automatic backups and the radio history live, and the
// two settings of the program's INI that go with them:
//  - the folder: the environment variable ORVANTE_DATA_DIR when set, else the INI's
//    "Options" / "Data Folder" (relative to the INI's own folder), else "orvante" in the
//    user's application data folder (~/.local/share/orvante, %LOCALAPPDATA%/orvante);
//  - "Options" / "Keep Backups": whether every full read is kept as a data file (default on).

#include <QString>

namespace orv {

inline constexpr char DataFolderVariable[] = "ORVANTE_DATA_DIR";
inline constexpr char OptionsSection[] = "Options";
inline constexpr char DataFolderKey[] = "Data Folder";
inline constexpr char KeepBackupsKey[] = "Keep Backups";

// "orvante" in the platform's generic application data folder. Not AppDataLocation: that one
// is named after each executable ("orvante-cli" is not "orvante"), and the window and the
// command line tool must keep one history.
QString defaultDataFolder();

// The data folder for the program whose INI is `programIni` (may be empty or missing).
QString dataFolder(const QString& programIni);
// Stores the folder in the INI (an empty text goes back to the default). False when the INI
// cannot be written.
bool setDataFolder(const QString& programIni, const QString& folder);

// "Keep Backups": on unless the INI says 0, false, no or off.
bool keepBackups(const QString& programIni);
bool setKeepBackups(const QString& programIni, bool keep);

} // namespace orv

#pragma once
// The start-up the window and the command line tool share: the shared catalog, the start-up
// values it names, where the program's own INI file goes, the model catalog and the COM port
// stored in that INI.

#include "catalog/ModelCatalog.h"
#include "catalog/NumberText.h"
#include "catalog/StartupConfig.h"
#include "link/PortMap.h"

#include <QString>
#include <functional>

namespace orv {

// The folder under the user's configuration folder that holds the program's INI file when the
// program's own folder cannot be written. It is the same for every executable of the program,
// so that the command line tool finds what the window stored.
inline constexpr char ProgramConfigFolderName[] = "orvante";

struct ProgramSetup {
    QString catalogPath;   // the catalog INI used (may not exist: its defaults apply)
    StartupValues startup; // productIniPath already placed (see programIniPath)
    ModelCatalog catalog;
    int comPort = MinPort; // the COM port stored in the program's INI, 1..16
    NumberFormat numbers;  // how numbers are shown and typed: the system's decimal separator
};

// Whether files can be created in `folder` by this process.
bool folderIsWritable(const QString& folder);

// The user's folder for the program's INI file: "orvante" in the platform's configuration
// folder (~/.config/orvante, %LOCALAPPDATA%/orvante).
QString userConfigFolder();

// Where the program's own INI file goes: `besideProgram` when its folder is writable, else the
// same file name in `configFolder`.
QString programIniPath(const QString& besideProgram, const QString& configFolder,
                       const std::function<bool(const QString& folder)>& folderWritable);
// The same with the real folder test and userConfigFolder().
QString programIniPath(const QString& besideProgram);

// The whole start-up: the catalog located (an explicit path or the shipped one), the start-up
// values read with the program folder, the program's INI placed, the model catalog read, the
// stored COM port read from the placed INI and the system's number format.
ProgramSetup loadProgramSetup(const QString& explicitCatalogPath, const QString& programFolder,
                              const std::function<bool(const QString& folder)>& folderWritable = folderIsWritable);

} // namespace orv

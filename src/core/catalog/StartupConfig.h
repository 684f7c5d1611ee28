#pragma once
// The start-up values read from the shared catalog INI, and where the program's files are.

#include <QString>

namespace orv {

class IniFile;

inline constexpr char DefaultTitle[] = "ORVANTE Programming Software";
inline constexpr char CatalogFileName[] = "vuxPC.ini";

struct StartupValues {
    QString title;          // "Const String" / "Software Title"
    QString productIniPath; // program folder + "/" + "Const String" / "Software ini File"
    QString helpFilePath;   // program folder + "/" + "Const String" / "Software help File"
    int modelCount = 2;     // "Radio List" / "Sum of Radios", limited to 0..MaxCatalogModels
};

// Reads the three "Const String" keys and "Sum of Radios" (an empty value takes the default;
// a number follows the leading-number rule; negative counts read as 0, huge ones are capped).
StartupValues readStartupValues(const IniFile& catalogIni, const QString& programFolder);

// Finds the shared catalog: an explicit path if given; else "vuxPC.ini" beside the
// executable; else in ../share/orvante from the executable; else in the installed data folder. Returns the path to use (which may not
// exist: a missing catalog is not an error, its defaults apply).
QString locateCatalog(const QString& explicitPath = QString());

} // namespace orv

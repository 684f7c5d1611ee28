#pragma once
// Where the file dialogs start: in the folder last used for their kind of file, kept in the
// program's INI file, section "Folders": "DataFiles" for Open and Save As (the folder of the
// data file last loaded or saved), "PdfFiles" for the print preview's Save as PDF (the folder
// of the PDF last written), "ChannelPlans" for importing and exporting channel plans (CSV or
// JSON). Until a folder has been used, or when the one kept has gone, they
// start in the user's documents folder (the home folder when there is none); never in the
// program's own folder, which is no place for a technician's files.

#include <QString>

#include <utility>

namespace orv::gui {

enum class FileKind { Data, Pdf, ChannelPlan };

class DialogFolders {
public:
    explicit DialogFolders(QString programIni) : m_programIni(std::move(programIni)) {}

    QString startFolder(FileKind kind) const;
    // Keeps the folder of `file`, a file just loaded or written, for dialogs of `kind`;
    // false when the INI file cannot be written.
    bool rememberFolderOf(FileKind kind, const QString& file) const;

    // The user's documents folder, else the home folder.
    static QString documentsFolder();

private:
    QString m_programIni;
};

} // namespace orv::gui

#pragma once
// Every file dialog of the program (Open, Save As, the preview's Save as PDF) is made here, so
// that all of them look and behave the same and none of them can hang the program.
//
// They are Qt's own dialog on every platform: the titles, filters, default extension and
// overwrite prompt are then the same everywhere. Qt's dialog lists a folder through a file
// system model whose icon provider names each file's type and icon from its MIME type, and
// Qt 6's QMimeDatabase reads a file's first bytes whenever its name does not decide the type.
// That read runs on the GUI thread, for every file the list or the name field's suggestions
// show: a file that blocks on read (/proc/kmsg, a file on a hung network share) stops the whole
// program. Qt's plain QAbstractFileIconProvider does the same for icon() and type(). The
// dialogs here list with plainFileIcons(), which only looks at what the folder entry says
// (folder or file, and the name's extension) and never opens a file.

#include <QFileIconProvider>
#include <QString>
#include <QStringList>

#include <memory>

class QFileDialog;
class QWidget;

namespace orv::gui {

// Icons and type names from the folder entry alone: a drive, a folder or a file, the type
// named after the extension ("KVD File"). Nothing is read from the file.
class PlainFileIconProvider : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;
};

// The one provider of every file dialog. It lives for the rest of the run: Qt does not own
// a dialog's provider, and a dialog's model may still ask it while the dialog is destroyed.
PlainFileIconProvider* plainFileIcons();

struct FileDialogSpec {
    QString title;
    QString folder;          // where the dialog starts (a folder: see makeFileDialog)
    QStringList nameFilters; // the first is selected
    QString defaultSuffix;   // added to a name typed without an extension; none when empty
    bool save = false;       // a Save dialog (asks before overwriting) or an Open dialog (an existing file)
    QString proposedName;    // the name in the file name field; none when empty
};

// A file dialog set up as every file dialog of the program is. It is made over spec.folder
// and given plainFileIcons() before the event loop runs: until then Qt has only looked at
// the folders on the way to spec.folder, whose icon and type never need a file's contents;
// the files of the folder reach the model through the event loop. The proposed name is
// selected afterwards.
std::unique_ptr<QFileDialog> makeFileDialog(QWidget* parent, const FileDialogSpec& spec);

// Shows the dialog modally: the chosen file with the platform's separators, or the empty
// text when it was cancelled.
QString runFileDialog(QFileDialog& dialog);

// Qt makes file dialogs of its own too (the printer dialog's "..." for its output file).
// Once this is installed, every file dialog of the application that shows with another
// provider is given plainFileIcons() as it shows, before the event loop hands it the files
// of its first folder. Installing it again does nothing.
void guardQtFileDialogs();

} // namespace orv::gui

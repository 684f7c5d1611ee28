#pragma once
// File > Compare with File... and Operate > Compare with Radio: the data in the window against
// a data file or the radio, listed in the Differences dialog.
//
// The window's side is what its editors show, with the image that Save would write and Write
// send now (compare::windowSide): that is what a technician means by "my data", and its bytes
// then agree with its cells, so that a cell edited and set back leaves no stale byte
// difference behind. A cell still being typed into is entered first. Nothing of the window's
// data changes: not the image, not the editors, not the unsaved state.
//
// Compare with File opens the file as Open does, in a document of its own (a file that
// cannot be read says why, and no comparison is shown). Compare with Radio reads the radio in
// full through the window's exchange runner, by the Read command's rules (an active tune item
// is left first; a read that fails shows its message and nothing else happens) but into a
// data set of its own; the history keeps the read as a backup and records it, as it does
// every read. The read starts from the data of a started window, not from the window's, so
// that a block the radio leaves out cannot pass for equal; the radio has no spare table, so
// its side shows the window's.
//
// The Differences dialog stays open beside the window and follows the window's data; a
// double-click or Enter on a channel, settings or test-channel difference leads to its cell
// or list (as the Check dialog does), any other names why it cannot.
//
// Wiring: `new CompareCommand(window, operate)` plugs itself in as
// MainWindow::Command::CompareWithFile and CompareWithRadio; it lives as long as the window.

#include "compare/CompareSide.h"
#include "compare/Difference.h"

#include <QObject>
#include <QPointer>
#include <functional>

namespace orv::gui {

class DifferencesDialog;
class MainWindow;
class OperateCommands;

class CompareCommand : public QObject {
    Q_OBJECT
public:
    CompareCommand(MainWindow& window, OperateCommands& operate);

    // Chooses the data file to compare with, starting in `folder`; empty when cancelled.
    // By default an Open dialog titled "Compare with File".
    using FileChooser = std::function<QString(const QString& folder)>;
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

    // The Differences dialog while it exists (after the first comparison), else nullptr.
    DifferencesDialog* dialog() const;

public slots:
    void mnuCompareFile_Click();
    void mnuCompareRadio_Click();
    // The window's data against the data file `path`, which the dialog calls `kind` ("File",
    // "Backup"). False when the file cannot be opened (its message was shown).
    bool compareWithFile(const QString& path, const QString& kind = QStringLiteral("File"));

private:
    // Shows the window's data against `other`; `sides` says what is compared.
    void showDifferences(const compare::ShownSide& other, const QString& otherHeader, const QString& sides);
    void differenceActivated(const compare::Difference& difference);

    MainWindow& m_window;
    OperateCommands& m_operate;
    FileChooser m_chooseFile;
    compare::ShownSide m_other;
    QPointer<DifferencesDialog> m_dialog;
};

} // namespace orv::gui

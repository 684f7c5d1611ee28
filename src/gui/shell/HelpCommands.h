#pragma once
// The Help menu's "&Contents" and "&Search For Help On...". The catalog names the help file
// (start-up's help file path, "<program folder>/ORVANTE.hlp" by default); the manual is the
// HTML page of the same base name: beside that file, else in the installed help folder
// (../share/orvante/help from the program), else the copy built into the program. Both
// commands open one help window of their own (HelpViewer), Contents at the contents page,
// Search with the focus in its search field. An empty help file path shows "Unable to display
// Help Contents. There is no Help associated with this project."; a name that leads to no
// manual shows why.
//
// Wiring: `new HelpCommands(window)` plugs itself in as MainWindow::Command::HelpContents and
// Command::HelpSearch and lives as long as the window.

#include <QObject>
#include <QPointer>
#include <QString>

namespace orv::gui {

class HelpViewer;
class MainWindow;

class HelpCommands : public QObject {
    Q_OBJECT
public:
    explicit HelpCommands(MainWindow& window);

    // The manual page for a help file path: "<base name>.html" (letter case aside) beside it,
    // else in installedFolder, else in the built-in copy. Empty when there is none; `reason`
    // then says what was looked for where.
    static QString findManual(const QString& helpFilePath, const QString& installedFolder,
                              QString* reason = nullptr);
    // Where an installation keeps the manual: ../share/orvante/help from the executable.
    static QString installedHelpFolder();
    // The folder of the copy built into the program (a Qt resource folder).
    static QString builtInHelpFolder();

    // The help window once one of the commands has opened it.
    HelpViewer* viewer() const;

public slots:
    void mnuHelpContents_Click();
    void mnuHelpSearchForHelpOn_Click();

private:
    // The help window showing the manual, raised; nullptr after a message.
    HelpViewer* openViewer();

    MainWindow& m_window;
    QPointer<HelpViewer> m_viewer;
};

} // namespace orv::gui

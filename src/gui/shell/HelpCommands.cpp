#include "shell/HelpCommands.h"

#include "Feedback.h"
#include "document/Document.h"
#include "shell/HelpViewer.h"
#include "shell/MainWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

// The built-in manual lives in a static library: nothing would pull its resource in unless
// someone asks for it by name.
static void initBuiltInManual() {
    static const bool done = [] {
        Q_INIT_RESOURCE(orvante_help);
        return true;
    }();
    (void)done;
}

namespace orv::gui {

HelpViewer* HelpCommands::viewer() const { return m_viewer; }

namespace {

// "<base name>.html" in a folder (a resource folder too), the exact name first, then any
// letter case: a catalog written on Windows may spell the name otherwise.
QString pageIn(const QString& folder, const QString& baseName) {
    if (folder.isEmpty())
        return {};
    const QDir dir(folder);
    const QString exact = dir.filePath(baseName + QStringLiteral(".html"));
    if (QFileInfo(exact).isFile())
        return exact;
    const QFileInfoList pages =
        dir.entryInfoList({QStringLiteral("*.html"), QStringLiteral("*.htm")}, QDir::Files);
    for (const QFileInfo& page : pages)
        if (page.completeBaseName().compare(baseName, Qt::CaseInsensitive) == 0)
            return page.filePath();
    return {};
}

} // namespace

HelpCommands::HelpCommands(MainWindow& window) : QObject(&window), m_window(window) {
    window.setCommandHandler(MainWindow::Command::HelpContents, [this] { mnuHelpContents_Click(); });
    window.setCommandHandler(MainWindow::Command::HelpSearch, [this] { mnuHelpSearchForHelpOn_Click(); });
}

QString HelpCommands::installedHelpFolder() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/orvante/help"));
}

QString HelpCommands::builtInHelpFolder() {
    initBuiltInManual();
    return QStringLiteral(":/orvante/help");
}

QString HelpCommands::findManual(const QString& helpFilePath, const QString& installedFolder,
                                 QString* reason) {
    // The catalog may name the file the Windows way ("help\ORVANTE.hlp").
    const QFileInfo helpFile(QString(helpFilePath).replace(QLatin1Char('\\'), QLatin1Char('/')));
    const QString baseName = helpFile.completeBaseName();
    if (!baseName.isEmpty()) {
        for (const QString& folder : {helpFile.absolutePath(), installedFolder, builtInHelpFolder()}) {
            const QString page = pageIn(folder, baseName);
            if (!page.isEmpty())
                return page;
        }
    }
    if (reason) {
        *reason = QStringLiteral("The help file %1 has no manual: there is no %2.html beside it, none in %3, "
                                 "and none of that name built into the program.")
                      .arg(QDir::toNativeSeparators(helpFilePath),
                           baseName.isEmpty() ? QStringLiteral("*") : baseName,
                           QDir::toNativeSeparators(installedFolder));
    }
    return {};
}

HelpViewer* HelpCommands::openViewer() {
    const QString helpFile = m_window.document().startup().helpFilePath;
    if (helpFile.isEmpty()) {
        m_window.feedback().message(
            QStringLiteral("Unable to display Help Contents. There is no Help associated with this project."),
            m_window.windowTitle(), Icon::Information);
        return nullptr;
    }
    if (!m_viewer) {
        QString reason;
        const QString manual = findManual(helpFile, installedHelpFolder(), &reason);
        if (manual.isEmpty()) {
            m_window.feedback().message(reason, m_window.document().title(), Icon::None);
            return nullptr;
        }
        m_viewer = new HelpViewer(&m_window);
        m_viewer->setWindowTitle(m_window.document().title() + QStringLiteral(" Help"));
        m_viewer->setManual(manual);
    }
    m_viewer->show();
    m_viewer->raise();
    m_viewer->activateWindow();
    return m_viewer;
}

void HelpCommands::mnuHelpContents_Click() {
    if (HelpViewer* viewer = openViewer())
        viewer->showContents();
}

void HelpCommands::mnuHelpSearchForHelpOn_Click() {
    if (HelpViewer* viewer = openViewer())
        viewer->showSearch();
}

} // namespace orv::gui

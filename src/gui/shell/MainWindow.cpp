#include "shell/MainWindow.h"

#include "editors/ChannelEditor.h"
#include "editors/SettingsPanel.h"
#include "link/PortMap.h"
#include "document/Document.h"
#include "document/TuneSession.h"
#include "shell/AboutBox.h"
#include "shell/BusyCursor.h"
#include "shell/EditingArea.h"
#include "shell/ModelFrame.h"
#include "shell/ProgressWindow.h"
#include "shell/ShellUnits.h"
#include "shell/WindowPlacement.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace orv::gui {

namespace {


// Timer1 only backs up the start-up, which closes the splash itself after 1.2 s.
constexpr int Timer1IntervalMs = 2000;
// How long a note stays in the status bar.
constexpr int StatusNoteMs = 8000;

QIcon themedIcon(const char* themeName, QStyle::StandardPixmap fallback, const QStyle* style) {
    return QIcon::fromTheme(QLatin1String(themeName), style->standardIcon(fallback));
}

} // namespace

MainWindow::MainWindow(std::unique_ptr<Document> document, Feedback& feedback, QWidget* parent)
    : QMainWindow(parent), m_document(std::move(document)), m_feedback(feedback) {
    setObjectName(QStringLiteral("frmMain"));

    m_editingArea = new EditingArea(this);
    setCentralWidget(m_editingArea);
    QWidget* picture = m_editingArea->picture();
    // Top to bottom as the user reads them, which is also the Tab order.
    m_modelFrame = new ModelFrame(picture);
    m_channelEditor = new ChannelEditor(*m_document, m_feedback, picture);
    m_settingsPanel = new SettingsPanel(*m_document, m_feedback, picture);
    m_editingArea->pictureLayout()->addWidget(m_modelFrame);
    m_editingArea->pictureLayout()->addWidget(m_channelEditor);
    m_editingArea->pictureLayout()->addWidget(m_settingsPanel);

    buildMenus();
    buildToolBar();
    buildStatusBar();

    addCellEditor([this] { return m_channelEditor->frequencyEditor(); },
                  [this] { m_channelEditor->commitCellEdits(); });
    connect(m_modelFrame, &ModelFrame::modelPicked, this, &MainWindow::cboModel_Click);
    // The editors follow the document themselves; the window shows the model and the caption.
    connect(m_document.get(), &Document::changed, this, &MainWindow::documentChanged);
    connect(m_document.get(), &Document::noted, this, &MainWindow::showStatusNote);
    connect(m_channelEditor, &ChannelEditor::noted, this, &MainWindow::showStatusNote);
    connect(m_editingArea, &EditingArea::backgroundPressed, this, &MainWindow::CommitCellEdits);
    const auto pictureClicked = [this] {
        m_editingArea->parkingButton()->setFocus();
        CommitCellEdits();
    };
    connect(m_editingArea, &EditingArea::picturePressed, this, pictureClicked);
    // The settings panel's empty area is part of the editing area as far as the user can tell.
    connect(m_settingsPanel, &SettingsPanel::backgroundClicked, this, pictureClicked);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setSingleShot(true);
    m_timer1->setInterval(Timer1IntervalMs);
    connect(m_timer1, &QTimer::timeout, this, &MainWindow::Timer1_Timer);

    formLoad();
    m_timer1->start();
}

MainWindow::~MainWindow() = default;

// ---------------------------------------------------------------------------------------------
// Building the window

QAction* MainWindow::addItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                             void (MainWindow::*slot)()) {
    auto* a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    a->setShortcut(shortcut);
    if (slot)
        connect(a, &QAction::triggered, this, slot);
    return a;
}

QAction* MainWindow::addSeparator(QMenu* menu, const char* name) {
    QAction* a = menu->addSeparator();
    a->setObjectName(QLatin1String(name));
    return a;
}

void MainWindow::buildMenus() {
    using K = QKeySequence;
    const auto ctrl = [](Qt::Key k) { return K(Qt::CTRL | k); };

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    addItem(file, "mnuFileNew", QStringLiteral("&New"), ctrl(Qt::Key_N), &MainWindow::mnuFileNew_Click)
        ->setEnabled(false);
    addItem(file, "mnuFileOpen", QStringLiteral("&Open..."), ctrl(Qt::Key_O), &MainWindow::mnuFileOpen_Click);
    addSeparator(file, "mnuFileBar0");
    addItem(file, "mnuFileSave", QStringLiteral("&Save"), ctrl(Qt::Key_S), &MainWindow::mnuFileSave_Click);
    addItem(file, "mnuFileSaveAs", QStringLiteral("Save &As..."), K(), &MainWindow::mnuFileSaveAs_Click);
    addSeparator(file, "mnuFileBarPlans");
    addItem(file, "mnuFileImportChannels", QStringLiteral("&Import Channels..."), K(), nullptr);
    addItem(file, "mnuFileExportChannels", QStringLiteral("Expor&t Channels..."), K(), nullptr);
    for (const auto& [name, command] : {std::pair("mnuFileImportChannels", Command::ImportChannels),
                                        std::pair("mnuFileExportChannels", Command::ExportChannels)})
        connect(menuAction(QLatin1String(name)), &QAction::triggered, this, [this, command] { runCommand(command); });
    addSeparator(file, "mnuFileBar2");
    addItem(file, "mnuFilePrint", QStringLiteral("&Print..."), ctrl(Qt::Key_P), &MainWindow::mnuFilePrint_Click);
    addSeparator(file, "mnuFileBarCompare");
    addItem(file, "mnuCompareFile", QStringLiteral("&Compare with File..."), K(), &MainWindow::mnuCompareFile_Click);
    addItem(file, "mnuRadioHistory", QStringLiteral("Radio &History..."), K(), &MainWindow::mnuRadioHistory_Click);
    addSeparator(file, "mnuFileBar3");
    for (int i = 1; i <= 4; ++i) {
        QAction* recent = file->addAction(QString());
        recent->setObjectName(QStringLiteral("mnuRecentFile_%1").arg(i));
        recent->setVisible(false);
        connect(recent, &QAction::triggered, this, [this, i] { mnuRecentFile_Click(i); });
    }
    addSeparator(file, "seperator4")->setVisible(false);
    addItem(file, "mnuFileExit", QStringLiteral("E&xit"), K(), &MainWindow::mnuFileExit_Click);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    addItem(edit, "mnuUndo", QStringLiteral("&Undo"), K(), nullptr)->setVisible(false);
    addItem(edit, "mnuEditCut", QStringLiteral("Cu&t"), ctrl(Qt::Key_X), nullptr)->setVisible(false);
    addItem(edit, "mnuEditCopy", QStringLiteral("&Copy"), ctrl(Qt::Key_C), &MainWindow::mnuEditCopy_Click);
    addItem(edit, "mnuEditPaste", QStringLiteral("&Paste"), ctrl(Qt::Key_V), &MainWindow::mnuEditPaste_Click);
    addItem(edit, "mnuEditFillDown", QStringLiteral("Fill &Down"), ctrl(Qt::Key_D), &MainWindow::mnuEditFillDown_Click);

    QMenu* operate = menuBar()->addMenu(QStringLiteral("&Operate"));
    operate->setObjectName(QStringLiteral("mnuOperate"));
    addItem(operate, "mnuRead", QStringLiteral("&Read"), ctrl(Qt::Key_R), &MainWindow::mnuRead_Click);
    addItem(operate, "mnuWrite", QStringLiteral("&Write"), ctrl(Qt::Key_W), &MainWindow::mnuWrite_Click);
    addItem(operate, "mnuCheck", QStringLiteral("&Check"), K(Qt::Key_F7), &MainWindow::mnuCheck_Click);
    addItem(operate, "mnuCompareRadio", QStringLiteral("Compar&e with Radio"), K(), &MainWindow::mnuCompareRadio_Click);
    addSeparator(operate, "sepp");
    m_mnuTune = addItem(operate, "mnuTune", QStringLiteral("&Tune"), K(), nullptr);
    m_mnuTune->setCheckable(true);

    QMenu* option = menuBar()->addMenu(QStringLiteral("O&ption"));
    option->setObjectName(QStringLiteral("mnuOption"));
    m_mnuChannel = addItem(option, "mnuChannel", QStringLiteral("&Channel and Function"), K(), nullptr);
    m_mnuChannel->setCheckable(true);
    addSeparator(option, "null");
    addItem(option, "mnuRadio", QStringLiteral("&Radio Information..."), K(), &MainWindow::mnuRadio_Click);
    addSeparator(option, "NN")->setVisible(false);
    QAction* id = addItem(option, "mnuID", QStringLiteral("Radio ID"), K(), nullptr);
    id->setVisible(false);
    id->setEnabled(false);
    QMenu* comm = option->addMenu(QStringLiteral("&Comm-Port"));
    comm->setObjectName(QStringLiteral("mnuComm_Port"));
    comm->menuAction()->setObjectName(QStringLiteral("mnuComm_Port"));
    addItem(comm, "mnuPort", QStringLiteral("&Port"), K(Qt::Key_F9), &MainWindow::mnuPort_Click);
    addSeparator(option, "mnuOptionBarCheck");
    addItem(option, "mnuCheckBeforeWrite", QStringLiteral("Check &before Write"), K(), nullptr)->setCheckable(true);
    addItem(option, "mnuVerifyAfterWrite", QStringLiteral("&Verify after Write"), K(), nullptr)->setCheckable(true);
    addItem(option, "mnuKeepBackups", QStringLiteral("&Keep Backups"), K(), nullptr)->setCheckable(true);

    // The check marks show the active view; the commands decide them, not the click itself.
    for (QAction* viewItem : {m_mnuChannel, m_mnuTune}) {
        connect(viewItem, &QAction::triggered, this, [this, viewItem](bool checked) {
            viewItem->setChecked(!checked);
            if (viewItem == m_mnuChannel)
                mnuChannel_Click();
            else
                mnuTune_Click();
        });
    }

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    addItem(help, "mnuHelpContents", QStringLiteral("&Contents"), K(), &MainWindow::mnuHelpContents_Click);
    addItem(help, "mnuHelpSearchForHelpOn", QStringLiteral("&Search For Help On..."), K(),
            &MainWindow::mnuHelpSearchForHelpOn_Click);
    addSeparator(help, "mnuHelpBar0");
    addItem(help, "mnuHelpAbout", QStringLiteral("&About..."), K(), &MainWindow::mnuHelpAbout_Click);
}

void MainWindow::buildToolBar() {
    m_toolBar = addToolBar(QStringLiteral("Toolbar"));
    m_toolBar->setObjectName(QStringLiteral("tbToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    const int icon = twipsToPixels(240, this);
    m_toolBar->setIconSize(QSize(icon, icon));

    const QStyle* s = style();
    struct Button {
        const char* key;
        const char* tip;
        QIcon icon;
        void (MainWindow::*slot)();
    };
    const Button buttons[] = {
        {"Open", "Open", themedIcon("document-open", QStyle::SP_DialogOpenButton, s), &MainWindow::mnuFileOpen_Click},
        {"Save", "Save", themedIcon("document-save", QStyle::SP_DialogSaveButton, s), &MainWindow::mnuFileSave_Click},
        {"Print", "Print", themedIcon("document-print", QStyle::SP_FileDialogDetailedView, s),
         &MainWindow::mnuFilePrint_Click},
        {"Read", "Read", themedIcon("go-down", QStyle::SP_ArrowDown, s), &MainWindow::mnuRead_Click},
        {"COMport", "COM Port", themedIcon("network-wired", QStyle::SP_DriveNetIcon, s), &MainWindow::mnuPort_Click},
        {"Write", "Write", themedIcon("go-up", QStyle::SP_ArrowUp, s), &MainWindow::mnuWrite_Click},
    };
    for (const Button& b : buttons) {
        if (qstrcmp(b.key, "Read") == 0) // the file group, then the radio group
            m_toolBar->addSeparator();
        // A button of its own: it runs the handler whatever the state of the menu item.
        QAction* a = m_toolBar->addAction(b.icon, QLatin1String(b.tip));
        a->setObjectName(QLatin1String(b.key));
        a->setData(QLatin1String(b.key));
        a->setToolTip(QLatin1String(b.tip));
        connect(a, &QAction::triggered, this, b.slot);
    }
    m_toolBar->installEventFilter(this);
}

void MainWindow::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    m_panel1 = new QLabel(bar);
    m_panel1->setObjectName(QStringLiteral("sbStatusBar_Panels_1"));
    m_panel2 = new QLabel(bar);
    m_panel2->setObjectName(QStringLiteral("sbStatusBar_Panels_2"));
    m_panel2->setMinimumWidth(twipsToPixels(1200, this));
    for (QLabel* panel : {m_panel1, m_panel2}) {
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setContentsMargins(twipsToPixels(45, this), 0, twipsToPixels(45, this), 0);
    }
    bar->addWidget(m_panel1, 1);
    bar->addWidget(m_panel2, 0);
    bar->installEventFilter(this);
}

// ---------------------------------------------------------------------------------------------
// Start-up and shut-down

void MainWindow::formLoad() {
    // The written size, or the size and place the window was left in, within the screen.
    m_placement = new WindowPlacement(*this, m_document->startup().productIniPath,
                                      QSize(twipsToPixels(12000, this), twipsToPixels(9000, this)));
    m_placement->restore();

    m_modelFrame->setModelNames(m_document->catalog().names());

    m_viewMode = ChannelView;
    showChannelViewContainers();

    const QString& title = m_document->title();
    setWindowTitle(title);
    m_panel1->setText(title);
    m_comPort = 1;

    // Model byte 7 and its catalog model, a new image, the editors' contents, flags cleared.
    m_document->startUp(m_feedback);
    readComPort();

    m_mnuChannel->setChecked(true);
    runCommand(Command::ShowRecentFiles);
    m_viewMode = ChannelView;
}

void MainWindow::readComPort() {
    setComPort(storedPortNumber(m_document->startup().productIniPath, m_comPort));
}

void MainWindow::writeComPort() {
    storePortNumber(m_document->startup().productIniPath, m_comPort);
}

void MainWindow::closeEvent(QCloseEvent* e) {
    // A cell still being typed into is part of the data the question is about.
    CommitCellEdits();
    if (dataUnsaved()) {
        const Answer a = m_feedback.ask(QStringLiteral("Data hasn't been saved. Do you want to save them?"),
                                        m_document->title(), Icon::Exclamation, Buttons::YesNoCancel);
        if (a == Answer::Cancel) {
            e->ignore();
            return;
        }
        if (a == Answer::Yes) {
            if (tuneState() == TuneSession::ItemActive)
                runCommand(Command::LeaveTuneMode);
            // A save that wrote nothing (cancelled or failed) keeps the window and its data.
            if (!m_saveForQuestion) {
                mnuFileSave_Click();
            } else if (!m_saveForQuestion()) {
                e->ignore();
                return;
            }
        }
    }
    if (tuneState() == TuneSession::ItemActive)
        runCommand(Command::LeaveTuneMode);
    writeComPort();
    m_placement->store();
    runCommand(Command::ClosePort);
    closeOwnedWindows();
    e->accept();
}

// The splash and every window this one owns (progress window, dialogs) go with it.
void MainWindow::closeOwnedWindows() {
    if (m_splash)
        m_splash->close();
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (w == this || !w->isVisible() || !w->parentWidget() || w->parentWidget()->window() != this)
            continue;
        if (auto* progress = qobject_cast<ProgressWindow*>(w))
            progress->finish();
        else
            w->close();
    }
}

// ---------------------------------------------------------------------------------------------
// Routing and state

void MainWindow::setCommandHandler(Command command, Handler handler) { m_handlers[command] = std::move(handler); }

bool MainWindow::runCommand(Command command) {
    const auto it = m_handlers.find(command);
    if (it == m_handlers.end() || !it->second)
        return false;
    // A copy: the handler may plug in another one for its own command.
    const Handler handler = it->second;
    handler();
    emit commandRun(command);
    return true;
}

void MainWindow::addCellEditor(std::function<QLineEdit*()> textBox, Handler commit) {
    m_cellEditors.push_back({std::move(textBox), std::move(commit)});
}

QLineEdit* MainWindow::openCellEditor() const {
    for (const CellEditor& editor : m_cellEditors) {
        QLineEdit* box = editor.textBox ? editor.textBox() : nullptr;
        if (box && box->isVisible())
            return box;
    }
    return nullptr;
}

void MainWindow::setComPort(int port) {
    m_comPort = std::clamp(port, MinPort, MaxPort);
    m_panel2->setText(QStringLiteral("COM ") + QString::number(m_comPort));
}

bool MainWindow::dataUnsaved() const { return m_document->dataUnsaved(); }

int MainWindow::tuneState() const { return m_document->tuning().state(); }

QAction* MainWindow::menuAction(const QString& name) const {
    return menuBar()->findChild<QAction*>(name);
}

void MainWindow::replaceMenuItem(const QString& name, const QList<QAction*>& items) {
    QAction* old = menuAction(name);
    if (!old)
        return;
    const auto menus = menuBar()->findChildren<QMenu*>();
    for (QMenu* menu : menus) {
        if (!menu->actions().contains(old))
            continue;
        menu->insertActions(old, items);
        menu->removeAction(old);
        // Found by name like the menu's own items.
        for (QAction* item : items)
            item->setParent(menu);
    }
    delete old;
}

QAction* MainWindow::toolButton(const QString& key) const {
    for (QAction* a : m_toolBar->actions())
        if (a->data().toString() == key)
            return a;
    return nullptr;
}

QLabel* MainWindow::statusPanel(int panel) const { return panel == 1 ? m_panel1 : panel == 2 ? m_panel2 : nullptr; }

// ---------------------------------------------------------------------------------------------
// Showing the document

void MainWindow::showCaption() { setWindowTitle(m_document->caption()); }

void MainWindow::showStatusNote(const QString& note) { statusBar()->showMessage(note, StatusNoteMs); }

void MainWindow::showModel() {
    const ModelInfo* model = m_document->selectedModelInfo();
    m_modelFrame->showModel(m_document->selectedModel(), model ? model->name : QString(), m_document->bandText());
}

void MainWindow::documentChanged(const DocumentChange& change) {
    if (change.has(DocumentChange::Replaced) || change.has(DocumentChange::Model))
        showModel();
    if (change.has(DocumentChange::State) || change.has(DocumentChange::Replaced))
        showCaption();
    if (change.has(DocumentChange::Replaced))
        emit dataShown();
}

void MainWindow::addToTuneView(QWidget* container) {
    container->setParent(m_editingArea->picture());
    m_editingArea->pictureLayout()->addWidget(container);
    container->setVisible(m_viewMode == TuneView);
    m_tuneViewContainers.emplace_back(container);
}

void MainWindow::showChannelViewContainers() {
    for (const QPointer<QWidget>& w : m_tuneViewContainers)
        if (w)
            w->hide();
    m_modelFrame->show();
    m_settingsPanel->show();
    m_channelEditor->show();
}

void MainWindow::showTuneViewContainers() {
    m_modelFrame->hide();
    m_settingsPanel->hide();
    m_channelEditor->hide();
    for (const QPointer<QWidget>& w : m_tuneViewContainers)
        if (w)
            w->show();
}

void MainWindow::checkView(int mode) {
    m_mnuTune->setChecked(mode == TuneView);
    m_mnuChannel->setChecked(mode != TuneView);
}

// ---------------------------------------------------------------------------------------------
// Commands of the window itself

void MainWindow::CommitCellEdits() {
    for (const CellEditor& editor : m_cellEditors) {
        QLineEdit* box = editor.textBox ? editor.textBox() : nullptr;
        if (box && box->isVisible() && editor.commit)
            editor.commit();
    }
    m_editingArea->parkingButton()->setFocus();
}

// A model change replaces the data; the editors and the caption follow the document.
void MainWindow::cboModel_Click(int position) {
    if (!m_document->chooseModel(position, m_feedback))
        showModel(); // same model, or the user kept the old one: the list shows it again
}

void MainWindow::mnuFileNew_Click() { runCommand(Command::FileNew); }
void MainWindow::mnuFileOpen_Click() { runCommand(Command::FileOpen); }
void MainWindow::mnuFileSave_Click() { runCommand(Command::FileSave); }
void MainWindow::mnuFileSaveAs_Click() { runCommand(Command::FileSaveAs); }
void MainWindow::mnuFilePrint_Click() { runCommand(Command::FilePrint); }

void MainWindow::mnuRecentFile_Click(int index) {
    if (index >= 1 && index <= 4)
        runCommand(Command(int(Command::RecentFile1) + index - 1));
}

void MainWindow::mnuFileExit_Click() { close(); }

// Copy and Paste work on the open cell editor; without one, on the cells selected in the grid.
void MainWindow::mnuEditCopy_Click() {
    if (QLineEdit* box = openCellEditor())
        QGuiApplication::clipboard()->setText(box->text());
    else
        runCommand(Command::CopyCells);
}

void MainWindow::mnuEditPaste_Click() {
    if (QLineEdit* box = openCellEditor())
        box->setText(QGuiApplication::clipboard()->text());
    else
        runCommand(Command::PasteCells);
}

void MainWindow::mnuEditFillDown_Click() { runCommand(Command::FillDown); }

void MainWindow::mnuRead_Click() { runCommand(Command::Read); }
void MainWindow::mnuWrite_Click() { runCommand(Command::Write); }
void MainWindow::mnuCheck_Click() { runCommand(Command::Check); }
void MainWindow::mnuCompareFile_Click() { runCommand(Command::CompareWithFile); }
void MainWindow::mnuCompareRadio_Click() { runCommand(Command::CompareWithRadio); }
void MainWindow::mnuRadioHistory_Click() { runCommand(Command::RadioHistory); }
void MainWindow::mnuTune_Click() { runCommand(Command::Tune); }
void MainWindow::mnuRadio_Click() { runCommand(Command::RadioInformation); }
void MainWindow::mnuPort_Click() { runCommand(Command::Port); }
void MainWindow::mnuHelpContents_Click() { runCommand(Command::HelpContents); }
void MainWindow::mnuHelpSearchForHelpOn_Click() { runCommand(Command::HelpSearch); }

void MainWindow::mnuChannel_Click() {
    if (m_viewMode == TuneView)
        runCommand(Command::LeaveTuneMode);
    m_viewMode = ChannelView;
    m_pixelSize = QPoint(twipsPerPixelX(this), twipsPerPixelY(this));
    if (m_mnuChannel->isChecked())
        return;
    showChannelViewContainers();
    m_document->clearUnlistedPriorityChannel();
    checkView(ChannelView);
    m_document->leaveTuneView();
}

void MainWindow::mnuHelpAbout_Click() {
    AboutBox about(m_document->title(), this);
    about.exec();
}

void MainWindow::Timer1_Timer() {
    m_timer1->stop();
    if (m_splash && m_splash->isVisible())
        m_splash->close();
    BusyCursor::showDefault();
}

// Clicks on the toolbar's and the status bar's background finish open cell edits.
bool MainWindow::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonPress && (watched == m_toolBar || watched == statusBar()))
        CommitCellEdits();
    return QMainWindow::eventFilter(watched, e);
}

} // namespace orv::gui

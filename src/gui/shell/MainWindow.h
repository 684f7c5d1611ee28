#pragma once
// frmMain: the program's one document window. It holds the document (the radio data and
// everything the editors show), hosts the editors - views of the document - on the scrolling
// surface Picture1, shows the document's caption, and routes every menu and toolbar command. The work of a command lives elsewhere: the window's
// own commands (views, clipboard, about box) are here; the file, radio, tune, radio
// information, port and help commands are plugged in with setCommandHandler() by the parts
// that implement them, so that the menu item, its shortcut and the toolbar button all reach
// the same code.

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QTimer;
class QToolBar;

namespace orv {
class Document;
class Feedback;
struct DocumentChange;
} // namespace orv

namespace orv::gui {

class ChannelEditor;
class EditingArea;
class ModelFrame;
class SettingsPanel;
class WindowPlacement;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // What other parts plug in: the commands of the menus and the toolbar, and three steps of
    // the window's own procedures (the recent-file menu at start-up, leaving tune mode before
    // the channel view and on closing, closing the serial port on closing).
    enum class Command {
        FileNew, FileOpen, FileSave, FileSaveAs, FilePrint,
        RecentFile1, RecentFile2, RecentFile3, RecentFile4,
        Read, Write, Tune, RadioInformation, Port, HelpContents, HelpSearch,
        ShowRecentFiles, LeaveTuneMode, ClosePort,
        Check,
        ImportChannels, ExportChannels, CopyCells, PasteCells, FillDown,
        CompareWithFile, CompareWithRadio, RadioHistory,
    };
    using Handler = std::function<void()>;
    // A save that tells whether the data were written.
    using SaveHandler = std::function<bool()>;

    enum ViewMode { ChannelView = 1, RadioInfoView = 2, TuneView = 3 };

    // Builds the window and runs its start-up: the model list, the editors, the COM port from
    // the program's INI file, a new image for the model of value 7, shown in the editors.
    MainWindow(std::unique_ptr<Document> document, Feedback& feedback, QWidget* parent = nullptr);
    ~MainWindow() override;

    Document& document() { return *m_document; }
    const Document& document() const { return *m_document; }
    Feedback& feedback() { return m_feedback; }

    // --- routing ---------------------------------------------------------------------------
    void setCommandHandler(Command command, Handler handler);
    // Runs what is plugged in; false when nothing is.
    bool runCommand(Command command);
    // The save that the close question's Yes runs. When it reports that nothing was written
    // (cancelled or failed), the window stays open with its data. Without one, Yes runs the
    // Save command and the window closes.
    void setSaveForQuestion(SaveHandler save) { m_saveForQuestion = std::move(save); }

    // An in-cell text editor: its text box (shown while an edit is open) and what finishes
    // the edit. CommitCellEdits, Copy and Paste visit them in the order they were added; the
    // channel table's txtChFreq is the first.
    void addCellEditor(std::function<QLineEdit*()> textBox, Handler commit);
    // The text box of the first cell editor that is open, or nullptr.
    QLineEdit* openCellEditor() const;

    // --- state -----------------------------------------------------------------------------
    int viewMode() const { return m_viewMode; }
    void setViewMode(int mode) { m_viewMode = mode; }
    // The tune state: 2 while a tune item is active; closing then leaves tune mode.
    int tuneState() const;
    // The COM port, 1..16, shown in status panel 2.
    int comPort() const { return m_comPort; }
    void setComPort(int port);
    // Twips per screen pixel (x, y) as last taken by the channel view command.
    QPoint pixelSize() const { return m_pixelSize; }
    // Unsaved data: read from or written to the radio, or a changed flag set (the document's rule).
    bool dataUnsaved() const;

    // --- showing the document --------------------------------------------------------------
    // The document's caption as the window caption.
    void showCaption();
    // A line in the status bar for a few seconds (a value brought into range, a tune item
    // stored); the title comes back after it.
    void showStatusNote(const QString& note);
    // The containers of the tune view: placed on Picture1, shown only in the tune view.
    void addToTuneView(QWidget* container);
    // Shows the channel and function view's containers and hides the tune view's.
    void showChannelViewContainers();
    // Hides the channel and function view's containers and shows the tune view's.
    void showTuneViewContainers();
    // The check marks of the view items: mnuTune for the tune view, else mnuChannel.
    void checkView(int mode);

    // The one-shot timer closes this window (the splash) if it is still open.
    void setSplash(QWidget* splash) { m_splash = splash; }

    // --- parts, for the command code and the tests -----------------------------------------
    ModelFrame* modelFrame() const { return m_modelFrame; }
    ChannelEditor* channelEditor() const { return m_channelEditor; }
    SettingsPanel* settingsPanel() const { return m_settingsPanel; }
    EditingArea* editingArea() const { return m_editingArea; }
    QToolBar* toolBar() const { return m_toolBar; }
    // A menu item or separator by name ("mnuFileNew", "mnuRecentFile_1", "seperator4").
    QAction* menuAction(const QString& name) const;
    // Puts `items` into the menu in place of the item named `name` (which goes).
    void replaceMenuItem(const QString& name, const QList<QAction*>& items);
    // A toolbar button by key ("Open", "Save", "Print", "Read", "COMport", "Write").
    QAction* toolButton(const QString& key) const;
    // Status bar panel 1 or 2.
    QLabel* statusPanel(int panel) const;
    QTimer* timer1() const { return m_timer1; }

signals:
    // The document's data were replaced and are shown again (a read, a load, a new image, a
    // model change).
    void dataShown();
    // A plugged-in command has run (it may have left tune mode on the way).
    void commandRun(MainWindow::Command command);

public slots:
    // Finishes any open cell edit so that the document has it, then parks the focus.
    void CommitCellEdits();
    void cboModel_Click(int position);

    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFilePrint_Click();
    void mnuRecentFile_Click(int index); // 1..4
    void mnuFileExit_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuEditFillDown_Click();
    void mnuRead_Click();
    void mnuWrite_Click();
    void mnuCheck_Click();
    void mnuCompareFile_Click();
    void mnuCompareRadio_Click();
    void mnuRadioHistory_Click();
    void mnuTune_Click();
    void mnuChannel_Click();
    void mnuRadio_Click();
    void mnuPort_Click();
    void mnuHelpContents_Click();
    void mnuHelpSearchForHelpOn_Click();
    void mnuHelpAbout_Click();
    void Timer1_Timer();

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void formLoad();
    void showModel();
    void documentChanged(const DocumentChange& change);
    void readComPort();
    void writeComPort();
    void closeOwnedWindows();
    QAction* addItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                     void (MainWindow::*slot)());
    QAction* addSeparator(QMenu* menu, const char* name);

    struct CellEditor {
        std::function<QLineEdit*()> textBox;
        Handler commit;
    };

    std::unique_ptr<Document> m_document;
    Feedback& m_feedback;
    std::map<Command, Handler> m_handlers;
    SaveHandler m_saveForQuestion;
    std::vector<CellEditor> m_cellEditors;

    int m_viewMode = ChannelView;
    int m_comPort = 1;
    QPoint m_pixelSize;

    EditingArea* m_editingArea = nullptr;
    ModelFrame* m_modelFrame = nullptr;
    ChannelEditor* m_channelEditor = nullptr;
    SettingsPanel* m_settingsPanel = nullptr;
    std::vector<QPointer<QWidget>> m_tuneViewContainers;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_panel1 = nullptr;
    QLabel* m_panel2 = nullptr;
    QAction* m_mnuChannel = nullptr;
    QAction* m_mnuTune = nullptr;
    QTimer* m_timer1 = nullptr;
    QPointer<QWidget> m_splash;
    WindowPlacement* m_placement = nullptr;
};

} // namespace orv::gui

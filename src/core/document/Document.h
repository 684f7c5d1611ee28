#pragma once
// The document: the radio data being edited and everything said about them. It holds the
// image and spare table, the selected model, the data version, what the editors show (the
// channel table, the settings selection, the tune table, the test channel), where the data
// came from, the current file and the changed flags. The window caption and the unsaved-data
// rule are worked out from that state.
//
// Every change of the data goes through the edit functions below, and each one that changes
// something emits changed() once, saying what changed. The editors are views: they show the
// document and send it edits; the window and the command line tool drive the same object.
//
// A document belongs to the thread that made it. Nothing in it is shared with another
// document: its clock and its number format are its own.

#include "Clock.h"
#include "Feedback.h"
#include "catalog/ModelCatalog.h"
#include "catalog/NumberText.h"
#include "catalog/StartupConfig.h"
#include "files/DataFile.h"
#include "image/ChannelTable.h"
#include "image/RadioData.h"
#include "image/SettingsCodec.h"
#include "image/TuneTable.h"

#include <QObject>
#include <functional>
#include <memory>
#include <optional>

namespace orv {

class TuneSession;
struct ReadResult;
struct TuneModeEntry;

// Where the data came from; the caption says it.
enum class Origin {
    New,     // start-up, File New, a model change, or the tune view left: the title alone
    File,    // opened or saved: the title followed by the file's path
    Read,    // read from the radio: "Read Complete - " and the title
    Written, // written to the radio: "Write Complete - " and the title
    Tuning,  // the radio in tune mode: "While tuning - " and the title
};

// What an edit or a load changed, for the views to show again.
struct DocumentChange {
    enum Part : unsigned {
        Channels = 0x01,     // the channel table: cells or boxes
        Settings = 0x02,     // the settings selection (Band Width may have changed the channel cells too)
        Model = 0x04,        // the selected model
        TestChannels = 0x08, // the tune table, its boxes or the test channel used for tuning
        TuneValues = 0x10,   // the seven tune values
        RadioInfo = 0x20,    // the information text, the radio ID or the date stamp
        State = 0x40,        // origin, file or changed flags: the caption and the unsaved-data rule
        Replaced = 0x80,     // the data as a whole: a new image, a load, a read, a model change, tune entry
    };
    unsigned parts = 0;
    // The one channel (1..16) or test channel (1..11) a cell or box edit touched; 0 for many.
    int row = 0;
    bool has(Part p) const { return (parts & p) != 0; }
};

// Everything an undo brings back: the data, what the editors show, where the data came
// from and the changed flags.
struct DocumentState {
    RadioData data;
    int dataVersion = 2;
    int selectedModel = -1;
    ChannelTable channels;
    SettingsSelection settings;
    TuneTable tune;
    int currentTestChannel = 0;
    Origin origin = Origin::New;
    QString currentFile;
    bool channelDataChanged = false;
    bool settingsChanged = false;
    bool tuneDataChanged = false;
};

// Where the document tells its steps, for undo and redo. The window keeps the steps; the
// document only says what happened.
class EditJournal {
public:
    // An edit of the user's, or data replacing the document's as a whole (Open, Read).
    enum class Kind { Edit, Replace };
    virtual ~EditJournal() = default;
    // A step changed the document; `before` is the state it had before the step.
    virtual void recordStep(const QString& label, Kind kind, const DocumentState& before) = 0;
    // The document now holds what its file or the radio holds (a save, an open, a read).
    virtual void markClean() = 0;
    // The steps so far no longer apply (start-up, File New, tune mode entered).
    virtual void reset() = 0;
};

} // namespace orv

Q_DECLARE_METATYPE(orv::DocumentChange)

namespace orv {

class Document : public QObject {
    Q_OBJECT
public:
    Document(StartupValues startup, ModelCatalog catalog, Clock& clock, NumberFormat numbers);
    ~Document() override;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // The window's start-up: tables zero-filled, model byte 7 selected where the catalog has
    // it, a new image shown in the editors, flags cleared, the title as caption.
    void startUp(Feedback& feedback);

    // --- what the document holds (read only) ---------------------------------------------------
    const RadioData& data() const { return m_state.data; }
    int dataVersion() const { return m_state.dataVersion; }
    const StartupValues& startup() const { return m_startup; }
    const QString& title() const { return m_startup.title; }
    const ModelCatalog& catalog() const { return m_catalog; }
    Clock& clock() const { return m_clock; }
    const NumberFormat& numbers() const { return m_numbers; }

    // Catalog position of the selected model; -1 only when the catalog is empty.
    int selectedModel() const { return m_state.selectedModel; }
    const ModelInfo* selectedModelInfo() const { return m_catalog.at(m_state.selectedModel); }
    // "136.00000~174.00000 MHz" for the selected model, empty without one.
    QString bandText() const;

    const ChannelTable& channels() const { return m_state.channels; }
    const SettingsSelection& settings() const { return m_state.settings; }
    const TuneTable& tune() const { return m_state.tune; }
    // The test channel used for tuning, 1..11 (0 none).
    int currentTestChannel() const { return m_state.currentTestChannel; }
    // A test channel (1..11) as its record holds it - what the radio has, which the grid's
    // edits only reach when the test channels are written. An empty row outside 1..11.
    TuneRow storedTestChannel(int testChannel) const;
    // The stored value of tune item `code` (0..6); 0 outside.
    int tuneValue(int code) const;

    // The radio information as texts: the 96-character text (zero codes included), the radio
    // ID (each byte one character) and the date of the last programming.
    QString infoText() const;
    QString radioId() const;
    QString lastProgrammed() const;

    // The tune workspace's state and actions.
    TuneSession& tuning() { return *m_tuning; }
    const TuneSession& tuning() const { return *m_tuning; }

    // --- state -----------------------------------------------------------------------------------
    Origin origin() const { return m_state.origin; }
    // The data file last loaded or saved (empty before the first); File New keeps it, so Save
    // As proposes it.
    const QString& currentFileName() const { return m_state.currentFile; }
    // Set by the channel editors and the scan-group settings.
    bool channelDataChanged() const { return m_state.channelDataChanged; }
    // Set by the other settings and by a changed information text.
    bool settingsChanged() const { return m_state.settingsChanged; }
    // Set by the test-channel editors; not part of the unsaved-data rule.
    bool tuneDataChanged() const { return m_state.tuneDataChanged; }
    // The window caption, from the origin.
    QString caption() const;
    // Unsaved data: read from or written to the radio, or a changed flag set.
    bool dataUnsaved() const;
    // The file Save writes without asking: the current file while the data are that file's;
    // nothing otherwise (start-up, New, a radio read or write, the tune view: Save As then).
    std::optional<QString> savePath() const;

    // A typed channel frequency made valid as the channel grid makes it: limited to the
    // selected model's extended range, on the nearer raster (only 6.25 kHz for model byte
    // 0x20), as "000.00000". Nothing for an empty text or one that is not a number.
    std::optional<QString> validChannelFrequency(const QString& typed) const;

    // --- edits: every change of the data -------------------------------------------------------
    // A channel cell (channel 1..16, ColRxFreq..ColBandWidth) takes a text as it is; the
    // channel-data flag is set when it differs. False when nothing changed.
    bool setChannelCell(int channel, int column, const QString& text);
    // A click on a two-valued cell of a channel in force: "Add" <-> "Delete", "OFF" <-> "ON",
    // "High" <-> "Low", and "Wide" <-> "Narrow" only while the global band width is "Wide".
    bool toggleChannelCell(int channel, int column);
    // The "No CH" and "No Tx" boxes. A channel coming into use (or, in use, allowed to
    // transmit again) has a frequency outside the model's range brought into it by the rule
    // of typing, with a note saying so.
    bool setChannelNoCh(int channel, bool noCh);
    bool setChannelNoTx(int channel, bool noTx);
    // The user picked entry `index` of a settings list: the list's rules, the changed flag of
    // its group and, for "Band Width", the channel table.
    bool selectSetting(Setting s, int index);
    // Switching back to the channel view: "Priority CH" goes to "OFF" when the settings byte
    // names no entry of its list (a radio's value above 15). True when it did.
    bool clearUnlistedPriorityChannel();
    // The user picked catalog position `position` in the model list. A different model asks
    // the model-change question; Yes makes a new image for it and shows it (the title as
    // caption). Returns true when the model changed.
    bool chooseModel(int position, Feedback& feedback);

    // Test channels (1..11): a cell (TuneColRxFreq..TuneColTxSignal), a click on a step cell
    // (the frequency beside it snaps to the new step), the boxes, and the test channel used for
    // tuning (false for a number outside 1..11 or a "No CH" test channel). The first four set
    // the tune data changed flag.
    bool setTestChannelCell(int testChannel, int column, const QString& text);
    bool toggleTestStep(int testChannel, int stepColumn);
    // Likewise for test channels, by the rule of their editor (on the step's raster).
    bool setTestChannelNoCh(int testChannel, bool noCh);
    bool setTestChannelNoTx(int testChannel, bool noTx);
    bool selectTestChannel(int testChannel);
    // All test channels at once (another file's, a paste); the tune data changed flag when
    // they differ.
    bool setTestChannels(const TuneTable& table);

    // The information text (its first 96 characters). A text that differs from the one held
    // counts as a change of the settings (a data file keeps it).
    bool setInfoText(const QString& text);

    // --- whole data --------------------------------------------------------------------------------
    // File New: a new image for the selected model, default test channels, the title as
    // caption, flags cleared. The current file stays.
    void newData(Feedback& feedback);
    // Loads a data file. On success the data replace the document's, the editors show them,
    // the flags are cleared, the origin is the file. On failure the failure's message is shown
    // and nothing changes.
    LoadStatus load(const QString& path, Feedback& feedback);
    // The steps after a successful read: the data and data version taken, "Read Complete", the
    // notice for a radio newer than the program, the model of ModelBlock byte 2, the editors and
    // test channels shown. The changed flags stay as they were.
    void applyRead(const ReadResult& result, Feedback& feedback);
    // The notice a read gives for data version 3 or more ("New Version Radio. ...").
    static void noticeDataVersion(int dataVersion, Feedback& feedback);
    // The radio information read: text, date stamp and radio ID from `read`.
    void applyInfoRead(const RadioData& read);
    // A write to the radio ended. The handshake's data version and ModelBlock byte 0 and the
    // date stamp stay whether or not it succeeded; on success the origin is "written" and the
    // flags are cleared, on failure they stay, so unsaved edits are not lost.
    void applyWrite(const RadioData& sent, int dataVersion, bool written);
    // Tune mode entered: the radio's test channels and tune values taken, "While tuning", the
    // first test channel in use made current, the test channels shown, tune data unchanged.
    void applyTuneEntry(const TuneModeEntry& entry);
    // Leaving the tune view: the caption loses "While tuning - ".
    void leaveTuneView();
    // A tune item stored in the radio: its value (item code 0..6) into the tune values.
    void storeTuneValue(int code, int value);
    // The tune grid into the test-channel records (before they are written to the radio).
    void collectTestChannels();
    // The test channels were written to the radio.
    void testChannelsWritten();
    // The test-channel page shown again while the radio stays in tune mode: the grid comes
    // from the records unless it holds edits of its own.
    void reshowTestChannels();

    // --- steps for undo --------------------------------------------------------------------------
    const DocumentState& state() const { return m_state; }
    // Puts the document back into `state` (an undo or a redo): everything is shown anew. The
    // radio is not involved.
    void restore(const DocumentState& state);
    // The unsaved-data state after an undo or a redo: edited (a changed flag set unless one
    // is) or not (both changed flags cleared).
    void setEdited(bool edited);
    // Where the steps are told (nullptr: nowhere).
    void setJournal(EditJournal* journal) { m_journal = journal; }

    // Several edits as one step (a paste, an import), with the label the journal shows
    // ("Paste of 12 Cells"). Steps nest: only the outermost is told, once, and only when
    // something changed. Every edit function is a step of its own.
    class Step {
    public:
        Step(Document& document, const QString& label, EditJournal::Kind kind = EditJournal::Kind::Edit);
        ~Step();
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

    private:
        Document& m_document;
    };

    // --- collecting and saving ---------------------------------------------------------------------
    // The editors into the image (settings and ModelBlock, then the channel table), as Save,
    // Write and Print need them. The changed flags are not touched: only a save or a write
    // that succeeded clears them.
    void collect();
    // The image collect() would make, without changing the document.
    RadioData collected() const;
    // Collects the editors and writes the file atomically. A file that cannot be opened or
    // written shows "Save File Error!". On success the data are the file's: its data version
    // set from the name, origin file, current file `path`, flags cleared.
    SaveStatus save(const QString& path, Feedback& feedback);

signals:
    void changed(const orv::DocumentChange& change);
    // An edit brought a value into range by the rules of typing, and says so in a line
    // ("CH 15 Rx Freq: 000.00000 is outside 130.00000~176.00000 MHz; set to 130.00000").
    void noted(const QString& note);

private:
    // Image to editors: the model from ModelBlock byte 2, the settings (range messages through
    // feedback), the channel table with the global band width applied. Flags are kept.
    void decodeSettings(Feedback& feedback);
    void makeNewImage();
    void makeDefaultTuneChannels();
    void showTestChannelsFromData();
    void findModelByValue();
    void setOrigin(Origin origin);
    void emitChange(unsigned parts, int row = 0);
    void beginStep(const QString& label, EditJournal::Kind kind);
    void endStep();
    void journalReset();
    // "CH 3 Rx Freq(MHz)", "Test CH 2 Step (kHz)": a cell as step labels name it.
    static QString channelCellName(int channel, int column);
    static QString testCellName(int testChannel, int column);
    // One "No CH" or "No Tx" box: set, its group's changed flag, the frequencies coming into
    // use brought into range, one change for the row.
    bool setBox(bool* box, bool ticked, bool& changedFlag, unsigned part, int row,
                const std::function<QStringList()>& intoRange);
    // A channel's or a test channel's frequency cell brought into the model's extended range
    // when it lies outside: the note, or "" when nothing changed.
    QString channelFrequencyIntoRange(int channel, int column);
    QString testFrequencyIntoRange(int testChannel, int column);
    bool outsideRange(const QString& text, double* mhz = nullptr) const;
    QString rangeNote(const QString& place, const QString& was, const QString& now) const;
    ChannelRow* channelRow(int channel);
    TuneRow* testChannelRow(int testChannel);

    StartupValues m_startup;
    ModelCatalog m_catalog;
    Clock& m_clock;
    NumberFormat m_numbers;
    // The data, what the editors show, the origin, the file and the flags: what an undo
    // takes and puts back whole.
    DocumentState m_state;
    std::unique_ptr<TuneSession> m_tuning;

    EditJournal* m_journal = nullptr;
    int m_stepDepth = 0;
    bool m_stepChanged = false;
    QString m_stepLabel;
    EditJournal::Kind m_stepKind = EditJournal::Kind::Edit;
    std::optional<DocumentState> m_stepBefore;
};

} // namespace orv

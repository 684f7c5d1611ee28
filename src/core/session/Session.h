#pragma once
// Everything the main window holds about the radio data, without any widget: the image and
// spare table, the catalog and the selected model, the data version, the editors' contents
// (channel table, settings selection, tune table), the changed flags and the caption. The
// window and the command line tool drive the same object, so both do exactly the same thing
// to the data.

#include "Clock.h"
#include "Feedback.h"
#include "catalog/ModelCatalog.h"
#include "catalog/StartupConfig.h"
#include "files/DataFile.h"
#include "image/ChannelTable.h"
#include "image/RadioData.h"
#include "image/SettingsCodec.h"
#include "image/TuneTable.h"

#include <memory>

namespace orv {

class TuneSession;

class Session {
public:
    Session(StartupValues startup, ModelCatalog catalog, Clock& clock = SystemClock::instance());
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The window's start-up: tables zero-filled, model byte 7 selected where the catalog has
    // it, a new image shown in the editors, flags cleared, caption = title.
    void startUp(Feedback& feedback);

    // --- data -------------------------------------------------------------------------------
    RadioData& data() { return m_data; }
    const RadioData& data() const { return m_data; }
    int dataVersion() const { return m_dataVersion; }
    void setDataVersion(int v) { m_dataVersion = v; }

    const StartupValues& startup() const { return m_startup; }
    const QString& title() const { return m_startup.title; }
    const ModelCatalog& catalog() const { return m_catalog; }
    Clock& clock() { return m_clock; }

    // --- selected model ---------------------------------------------------------------------
    // Catalog position of the selected model; -1 only when the catalog is empty.
    int selectedModel() const { return m_selectedModel; }
    const ModelInfo* selectedModelInfo() const { return m_catalog.at(m_selectedModel); }
    // "136.00000~174.00000 MHz" for the selected model, empty without one.
    QString bandText() const;
    // The user picked catalog position `position` in the model list. A different model asks
    // the model-change question; Yes makes a new image for it and shows it. Returns true when
    // the model changed.
    bool chooseModel(int position, Feedback& feedback);
    // Selects the first model whose value equals ModelBlock byte 2; no match changes nothing.
    void findModelByValue();

    // --- editors ----------------------------------------------------------------------------
    ChannelTable& channels() { return m_channels; }
    const ChannelTable& channels() const { return m_channels; }
    SettingsSelection& settings() { return m_settings; }
    const SettingsSelection& settings() const { return m_settings; }
    TuneTable& tune() { return m_tune; }
    const TuneTable& tune() const { return m_tune; }
    int currentTestChannel() const { return m_currentTestChannel; }
    void setCurrentTestChannel(int t) { m_currentTestChannel = t; }

    // Image to editors: the model from ModelBlock byte 2, the settings (range messages through
    // feedback), the channel table with the global band width applied. Flags are kept.
    void decodeSettings(Feedback& feedback);
    // Editors to image: settings and ModelBlock, then the channel table; clears both flags.
    void encodeSettings();
    // Test-channel records to the tune table; the tune state starts again at 0.
    void showTuneChannels();
    // The tune workspace's state and actions.
    TuneSession& tuning() { return *m_tuning; }
    const TuneSession& tuning() const { return *m_tuning; }

    // The user picked an entry of a settings list: the list's rules, the changed flag of its
    // group and, for "Band Width", the channel table.
    bool selectSetting(Setting s, int index);

    // --- changed flags and caption ----------------------------------------------------------
    bool channelDataChanged = false;
    bool settingsChanged = false;
    bool tuneDataChanged = false;
    QString caption;
    QString currentFileName;

    // --- new image and data files -----------------------------------------------------------
    // newImageSettings and newImageChannels for the selected model.
    void makeNewImage();
    // Default test channels for the selected model, then the tune table.
    void makeDefaultTuneChannels();
    // Loads a data file. On success the data replace the session's, the editors show them,
    // the flags are cleared, the caption is title + path. On failure the failure's message is
    // shown and nothing changes. Returns the outcome's status.
    LoadStatus loadDataFile(const QString& path, Feedback& feedback);
    // Writes the working tables (call encodeSettings first to collect the editors). Sets the
    // data version from the name on success. A write failure shows "Save File Error!"; an open
    // failure is reported only through the result (Save As treats it as a cancel).
    SaveStatus writeDataFile(const QString& path, Feedback& feedback, bool reportOpenFailure = true);

private:
    StartupValues m_startup;
    ModelCatalog m_catalog;
    Clock& m_clock;
    RadioData m_data;
    int m_dataVersion = 2;
    int m_selectedModel = -1;
    ChannelTable m_channels;
    SettingsSelection m_settings;
    TuneTable m_tune;
    int m_currentTestChannel = 0;
    std::unique_ptr<TuneSession> m_tuning;
};

} // namespace orv

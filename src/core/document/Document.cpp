#include "document/Document.h"

#include "document/TuneSession.h"
#include "catalog/FrequencyRules.h"
#include "image/NewImage.h"
#include "image/RadioInfoText.h"
#include "link/Exchanges.h"
#include "link/TuneExchanges.h"

#include <algorithm>

namespace orv {

namespace {

constexpr std::uint8_t StartModelByte = 7;

bool isTransmitColumn(int column) {
    return column == ColTxFreq || column == ColTxSignal || column == ColBusy || column == ColPower;
}

bool isToggleColumn(int column) {
    return column == ColScan || column == ColBusy || column == ColPower || column == ColBandWidth;
}

QString withTitle(const char* prefix, const QString& title) { return QString::fromLatin1(prefix) + title; }

} // namespace

Document::Document(StartupValues startup, ModelCatalog catalog, Clock& clock, NumberFormat numbers)
    : m_startup(std::move(startup)), m_catalog(std::move(catalog)), m_clock(clock), m_numbers(numbers),
      m_settings(numbers), m_tuning(std::make_unique<TuneSession>(*this)) {
    m_selectedModel = m_catalog.isEmpty() ? -1 : 0;
}

Document::~Document() = default;

void Document::startUp(Feedback& feedback) {
    m_data = RadioData{};
    m_dataVersion = 2;
    m_selectedModel = m_catalog.isEmpty() ? -1 : 0;
    m_data.modelBlock()[2] = StartModelByte;
    findModelByValue();
    m_origin = Origin::New;
    makeNewImage();
    decodeSettings(feedback);
    makeDefaultTuneChannels();
    m_channelDataChanged = m_settingsChanged = m_tuneDataChanged = false;
    emitChange(DocumentChange::Replaced | DocumentChange::State);
}

TuneRow Document::storedTestChannel(int testChannel) const {
    if (testChannel < 1 || testChannel > addr::TestChannelCount)
        return {};
    TuneTable records;
    orv::showTuneChannels(m_data, records, m_numbers);
    return records.rows[std::size_t(testChannel - 1)];
}

int Document::tuneValue(int code) const {
    return code >= 0 && code < TuneItemCount ? m_data.tuneValues()[std::size_t(code)] : 0;
}

QString Document::infoText() const { return infoTextFromImage(m_data); }
QString Document::radioId() const { return radioIdText(m_data); }
QString Document::lastProgrammed() const { return dateStampText(m_data); }

QString Document::bandText() const {
    const ModelInfo* m = selectedModelInfo();
    return m ? orv::bandText(*m, m_numbers) : QString();
}

// ---------------------------------------------------------------------------------------------
// State

QString Document::caption() const {
    switch (m_origin) {
    case Origin::File:
        return title() + m_currentFile;
    case Origin::Read:
        return withTitle("Read Complete - ", title());
    case Origin::Written:
        return withTitle("Write Complete - ", title());
    case Origin::Tuning:
        return withTitle("While tuning - ", title());
    case Origin::New:
        break;
    }
    return title();
}

bool Document::dataUnsaved() const {
    return m_origin == Origin::Read || m_origin == Origin::Written || m_channelDataChanged || m_settingsChanged;
}

std::optional<QString> Document::savePath() const {
    if (m_origin != Origin::File || m_currentFile.isEmpty())
        return std::nullopt;
    return m_currentFile;
}

void Document::setOrigin(Origin origin) { m_origin = origin; }

void Document::emitChange(unsigned parts, int row) {
    DocumentChange change;
    change.parts = parts;
    change.row = row;
    emit changed(change);
}

std::optional<QString> Document::validChannelFrequency(const QString& typed) const {
    double f = 0;
    if (!getValidFreq(typed, f, selectedModelInfo(), m_data.modelByte(), m_numbers))
        return std::nullopt;
    return m_numbers.fixed(f, 3, 5);
}

// ---------------------------------------------------------------------------------------------
// Channel and settings edits

ChannelRow* Document::channelRow(int channel) {
    if (channel < 1 || channel > addr::ChannelCount)
        return nullptr;
    return &m_channels.rows[std::size_t(channel - 1)];
}

bool Document::setChannelCell(int channel, int column, const QString& text) {
    ChannelRow* row = channelRow(channel);
    if (!row || column < ColRxFreq || column >= ChannelColumnCount)
        return false;
    QString& cell = row->cells[std::size_t(column)];
    if (cell == text)
        return false;
    cell = text;
    m_channelDataChanged = true;
    emitChange(DocumentChange::Channels | DocumentChange::State, channel);
    return true;
}

bool Document::toggleChannelCell(int channel, int column) {
    const ChannelRow* row = channelRow(channel);
    if (!row || !isToggleColumn(column) || row->noCh || (row->noTx && isTransmitColumn(column)))
        return false;
    if (column == ColBandWidth && m_settings.text(Setting::BandWidth) != QLatin1String("Wide"))
        return false;
    return setChannelCell(channel, column, toggledCellText(column, row->cells[std::size_t(column)]));
}

bool Document::setBox(bool* box, bool ticked, bool& changedFlag, unsigned part, int row,
                      const std::function<QStringList()>& intoRange) {
    if (!box || *box == ticked)
        return false;
    *box = ticked;
    changedFlag = true;
    QStringList notes = intoRange();
    notes.removeAll(QString());
    emitChange(part | DocumentChange::State, row);
    if (!notes.isEmpty())
        emit noted(notes.join(QStringLiteral("  ")));
    return true;
}

bool Document::setChannelNoCh(int channel, bool noCh) {
    ChannelRow* row = channelRow(channel);
    return setBox(row ? &row->noCh : nullptr, noCh, m_channelDataChanged, DocumentChange::Channels, channel, [&] {
        if (noCh)
            return QStringList();
        QStringList notes{channelFrequencyIntoRange(channel, ColRxFreq)};
        if (!row->noTx)
            notes << channelFrequencyIntoRange(channel, ColTxFreq);
        return notes;
    });
}

bool Document::setChannelNoTx(int channel, bool noTx) {
    ChannelRow* row = channelRow(channel);
    return setBox(row ? &row->noTx : nullptr, noTx, m_channelDataChanged, DocumentChange::Channels, channel, [&] {
        return noTx || row->noCh ? QStringList() : QStringList{channelFrequencyIntoRange(channel, ColTxFreq)};
    });
}

bool Document::outsideRange(const QString& text, double* mhz) const {
    const ModelInfo* model = selectedModelInfo();
    const std::optional<double> f = m_numbers.parse(text);
    if (!model || !f)
        return false;
    if (mhz)
        *mhz = *f;
    constexpr double Slack = 1e-9;
    return *f < model->extLow - Slack || *f > model->extHigh + Slack;
}

QString Document::rangeNote(const QString& place, const QString& was, const QString& now) const {
    const ModelInfo* model = selectedModelInfo();
    return QStringLiteral("%1: %2 is outside %3~%4 MHz; set to %5")
        .arg(place, was, m_numbers.fixed(model->extLow, 3, 5), m_numbers.fixed(model->extHigh, 3, 5), now);
}

QString Document::channelFrequencyIntoRange(int channel, int column) {
    QString& cell = m_channels.rows[std::size_t(channel - 1)].cells[std::size_t(column)];
    if (!outsideRange(cell))
        return {};
    const std::optional<QString> valid = validChannelFrequency(cell);
    if (!valid || *valid == cell)
        return {};
    const QString place = QStringLiteral("CH %1 %2").arg(channel).arg(column == ColRxFreq ? "Rx Freq" : "Tx Freq");
    const QString note = rangeNote(place, cell, *valid);
    cell = *valid;
    return note;
}

QString Document::testFrequencyIntoRange(int testChannel, int column) {
    TuneRow& row = m_tune.rows[std::size_t(testChannel - 1)];
    QString& cell = row.cells[std::size_t(column)];
    if (!outsideRange(cell))
        return {};
    const bool raster625 = isStep625Text(row.cells[std::size_t(column + 1)]);
    const std::optional<QString> valid = snapTestFrequency(cell, raster625, selectedModelInfo(), m_numbers);
    if (!valid || *valid == cell)
        return {};
    const QString place =
        QStringLiteral("Test CH %1 %2").arg(testChannel).arg(column == TuneColRxFreq ? "Rx Freq" : "Tx Freq");
    const QString note = rangeNote(place, cell, *valid);
    cell = *valid;
    return note;
}

bool Document::selectSetting(Setting s, int index) {
    if (!m_settings.userSelect(s, index))
        return false;
    if (isScanGroup(s))
        m_channelDataChanged = true;
    else
        m_settingsChanged = true;
    unsigned parts = DocumentChange::Settings | DocumentChange::State;
    if (s == Setting::BandWidth) {
        applyBandWidth(m_channels, m_settings.text(Setting::BandWidth));
        parts |= DocumentChange::Channels;
    }
    emitChange(parts);
    return true;
}

bool Document::clearUnlistedPriorityChannel() {
    constexpr int PriorityByte = 2;
    constexpr int ListedChannels = 16; // "OFF" and CH1..CH15
    return m_data.functionSettings()[PriorityByte] >= ListedChannels && selectSetting(Setting::PriorityCh, 0);
}

bool Document::chooseModel(int position, Feedback& feedback) {
    if (position == m_selectedModel || !m_catalog.at(position))
        return false;
    const Answer a = feedback.ask(
        QStringLiteral("By selecting a different Model all data will be initialized. Do you want to continue?"),
        QStringLiteral("Model Change"), Icon::Exclamation, Buttons::YesNo);
    if (a != Answer::Yes)
        return false;
    m_selectedModel = position;
    const int value = m_catalog.at(position)->value;
    if (value >= 0 && value <= 255)
        m_data.modelBlock()[2] = std::uint8_t(value);
    makeNewImage();
    decodeSettings(feedback);
    makeDefaultTuneChannels();
    m_origin = Origin::New;
    emitChange(DocumentChange::Replaced | DocumentChange::Model | DocumentChange::State);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Test-channel edits

TuneRow* Document::testChannelRow(int testChannel) {
    if (testChannel < 1 || testChannel > addr::TestChannelCount)
        return nullptr;
    return &m_tune.rows[std::size_t(testChannel - 1)];
}

bool Document::setTestChannelCell(int testChannel, int column, const QString& text) {
    TuneRow* row = testChannelRow(testChannel);
    if (!row || column < TuneColRxFreq || column >= TuneColumnCount)
        return false;
    QString& cell = row->cells[std::size_t(column)];
    if (cell == text)
        return false;
    cell = text;
    m_tuneDataChanged = true;
    emitChange(DocumentChange::TestChannels | DocumentChange::State, testChannel);
    return true;
}

bool Document::toggleTestStep(int testChannel, int stepColumn) {
    TuneRow* row = testChannelRow(testChannel);
    if (!row || (stepColumn != TuneColRxStep && stepColumn != TuneColTxStep))
        return false;
    orv::toggleTestStep(*row, stepColumn, selectedModelInfo(), m_numbers);
    m_tuneDataChanged = true;
    emitChange(DocumentChange::TestChannels | DocumentChange::State, testChannel);
    return true;
}

bool Document::setTestChannelNoCh(int testChannel, bool noCh) {
    TuneRow* row = testChannelRow(testChannel);
    return setBox(row ? &row->noCh : nullptr, noCh, m_tuneDataChanged, DocumentChange::TestChannels, testChannel, [&] {
        if (noCh)
            return QStringList();
        QStringList notes{testFrequencyIntoRange(testChannel, TuneColRxFreq)};
        if (!row->noTx)
            notes << testFrequencyIntoRange(testChannel, TuneColTxFreq);
        return notes;
    });
}

bool Document::setTestChannelNoTx(int testChannel, bool noTx) {
    TuneRow* row = testChannelRow(testChannel);
    return setBox(row ? &row->noTx : nullptr, noTx, m_tuneDataChanged, DocumentChange::TestChannels, testChannel,
                  [&] {
                      return noTx || row->noCh ? QStringList()
                                               : QStringList{testFrequencyIntoRange(testChannel, TuneColTxFreq)};
                  });
}

bool Document::setTestChannels(const TuneTable& table) {
    if (table == m_tune)
        return false;
    m_tune = table;
    m_tuneDataChanged = true;
    emitChange(DocumentChange::TestChannels | DocumentChange::State);
    return true;
}

bool Document::selectTestChannel(int testChannel) {
    const TuneRow* row = testChannelRow(testChannel);
    if (!row || row->noCh)
        return false;
    m_currentTestChannel = testChannel;
    emitChange(DocumentChange::TestChannels);
    return true;
}

bool Document::setInfoText(const QString& text) {
    RadioData changed = m_data;
    storeInfoText(text.left(InfoTextChars), changed);
    if (std::ranges::equal(changed.infoText(), m_data.infoText()))
        return false;
    m_data = changed;
    m_settingsChanged = true;
    emitChange(DocumentChange::RadioInfo | DocumentChange::State);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Whole data

void Document::newData(Feedback& feedback) {
    m_origin = Origin::New;
    makeNewImage();
    decodeSettings(feedback);
    makeDefaultTuneChannels();
    m_channelDataChanged = m_settingsChanged = false;
    emitChange(DocumentChange::Replaced | DocumentChange::State);
}

LoadStatus Document::load(const QString& path, Feedback& feedback) {
    if (path.isEmpty())
        return LoadStatus::NotFound;
    const LoadOutcome outcome = readDataFile(path, m_data);
    if (outcome.status != LoadStatus::Ok) {
        const UserMessage msg = loadFailureMessage(outcome.status);
        feedback.message(msg.text, msg.title, msg.icon);
        return outcome.status;
    }
    m_data = outcome.data;
    m_dataVersion = outcome.dataVersion;
    decodeSettings(feedback);
    showTestChannelsFromData();
    m_channelDataChanged = m_settingsChanged = false;
    m_currentFile = path;
    m_origin = Origin::File;
    emitChange(DocumentChange::Replaced | DocumentChange::State);
    return LoadStatus::Ok;
}

void Document::noticeDataVersion(int dataVersion, Feedback& feedback) {
    if (dataVersion >= 3)
        feedback.message(QStringLiteral("New Version Radio. Please update program software."),
                         QStringLiteral("Error"), Icon::Information);
}

void Document::applyRead(const ReadResult& result, Feedback& feedback) {
    m_data = result.data;
    m_dataVersion = result.dataVersion;
    m_origin = Origin::Read;
    // The caption says "Read Complete" before the notice and the decode's messages show.
    emitChange(DocumentChange::State);
    noticeDataVersion(result.dataVersion, feedback);
    decodeSettings(feedback);
    showTestChannelsFromData();
    emitChange(DocumentChange::Replaced | DocumentChange::State);
}

void Document::applyInfoRead(const RadioData& read) {
    // The information exchange only ever stores into the top page: text, date stamp, radio ID.
    RadioData updated = m_data;
    std::copy(read.image.begin() + addr::InfoText, read.image.end(), updated.image.begin() + addr::InfoText);
    if (updated == m_data)
        return;
    if (!std::ranges::equal(updated.infoText(), m_data.infoText()))
        m_settingsChanged = true;
    m_data = updated;
    emitChange(DocumentChange::RadioInfo | DocumentChange::State);
}

void Document::applyWrite(const RadioData& sent, int dataVersion, bool written) {
    m_data = sent;
    m_dataVersion = dataVersion;
    if (written) {
        m_origin = Origin::Written;
        m_channelDataChanged = m_settingsChanged = false;
    }
    emitChange(DocumentChange::RadioInfo | DocumentChange::State);
}

void Document::applyTuneEntry(const TuneModeEntry& entry) {
    m_data = entry.data;
    m_dataVersion = entry.identity.dataVersion;
    m_origin = Origin::Tuning;
    if (const int t = firstTestChannelInUse(m_data))
        m_currentTestChannel = t;
    showTestChannelsFromData();
    m_tuneDataChanged = false;
    emitChange(DocumentChange::TestChannels | DocumentChange::TuneValues | DocumentChange::State);
}

void Document::leaveTuneView() {
    if (m_origin != Origin::Tuning)
        return;
    m_origin = Origin::New;
    emitChange(DocumentChange::State);
}

void Document::storeTuneValue(int code, int value) {
    if (code < 0 || code >= TuneItemCount)
        return;
    m_data.tuneValues()[std::size_t(code)] = std::uint8_t(std::clamp(value, 0, TuneValueMax));
    emitChange(DocumentChange::TuneValues);
}

void Document::collectTestChannels() { readTuneChannels(m_tune, m_data, m_numbers); }

void Document::testChannelsWritten() {
    m_tuneDataChanged = false;
    emitChange(DocumentChange::State);
}

void Document::reshowTestChannels() {
    if (m_tuneDataChanged)
        return;
    orv::showTuneChannels(m_data, m_tune, m_numbers);
    emitChange(DocumentChange::TestChannels);
}

// ---------------------------------------------------------------------------------------------
// Collecting and saving

void Document::collect() {
    const ModelInfo* m = selectedModelInfo();
    orv::encodeSettings(m_settings, m ? m->value : -1, m_data);
    saveChannels(m_channels, m_data, m_numbers);
}

SaveStatus Document::save(const QString& path, Feedback& feedback) {
    collect();
    const SaveStatus status = writeDataFile(path, m_data, &m_dataVersion);
    if (status != SaveStatus::Ok) {
        const UserMessage msg = saveFailureMessage();
        feedback.message(msg.text, msg.title, msg.icon);
    }
    if (status != SaveStatus::Ok)
        return status;
    m_currentFile = path;
    m_origin = Origin::File;
    m_channelDataChanged = m_settingsChanged = false;
    emitChange(DocumentChange::State);
    return status;
}

// ---------------------------------------------------------------------------------------------
// Steps shared by the operations above

void Document::findModelByValue() {
    const int p = m_catalog.findByValue(m_data.modelByte());
    if (p >= 0)
        m_selectedModel = p;
}

void Document::decodeSettings(Feedback& feedback) {
    findModelByValue();
    const QStringList messages = orv::decodeSettings(m_data.functionSettings(), m_settings);
    for (const QString& text : messages)
        feedback.message(text, m_startup.title, Icon::None);
    showChannels(m_data, m_channels, m_numbers);
    applyBandWidth(m_channels, m_settings.text(Setting::BandWidth));
}

void Document::makeNewImage() {
    newImageSettings(m_data);
    newImageChannels(m_data, m_selectedModel, selectedModelInfo(), m_clock.localDateTime());
}

void Document::makeDefaultTuneChannels() {
    defaultTuneChannels(m_data, selectedModelInfo());
    showTestChannelsFromData();
}

void Document::showTestChannelsFromData() {
    orv::showTuneChannels(m_data, m_tune, m_numbers);
    m_tuning->refilled();
}

} // namespace orv

// The document's operations on the data as a whole: start-up, new data, files, what the radio
// exchanges bring, collecting and saving, and the steps they share.

#include "document/Document.h"

#include "document/TuneSession.h"
#include "image/NewImage.h"
#include "link/Exchanges.h"
#include "link/TuneExchanges.h"

#include <algorithm>

namespace orv {

namespace {
constexpr std::uint8_t StartModelByte = 7;
} // namespace

// ---------------------------------------------------------------------------------------------
// Whole data

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
    journalReset();
}

void Document::newData(Feedback& feedback) {
    m_origin = Origin::New;
    makeNewImage();
    decodeSettings(feedback);
    makeDefaultTuneChannels();
    m_channelDataChanged = m_settingsChanged = false;
    emitChange(DocumentChange::Replaced | DocumentChange::State);
    journalReset();
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
    const Step step(*this, QStringLiteral("Open"), EditJournal::Kind::Replace);
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
    const Step step(*this, QStringLiteral("Read"), EditJournal::Kind::Replace);
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
    const Step step(*this, QStringLiteral("Radio Information Read"));
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
    // The radio in tune mode holds these test channels now: no step before this one applies.
    journalReset();
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

void Document::collect() { m_data = collected(); }

RadioData Document::collected() const {
    RadioData data = m_data;
    const ModelInfo* m = selectedModelInfo();
    orv::encodeSettings(m_settings, m ? m->value : -1, data);
    saveChannels(m_channels, data, m_numbers);
    return data;
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
    if (m_journal)
        m_journal->markClean();
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

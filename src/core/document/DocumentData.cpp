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
    m_state.data = RadioData{};
    m_state.dataVersion = 2;
    m_state.selectedModel = m_catalog.isEmpty() ? -1 : 0;
    m_state.data.modelBlock()[2] = StartModelByte;
    findModelByValue();
    m_state.origin = Origin::New;
    makeNewImage();
    decodeSettings(feedback);
    makeDefaultTuneChannels();
    m_state.channelDataChanged = m_state.settingsChanged = m_state.tuneDataChanged = false;
    emitChange(DocumentChange::Replaced | DocumentChange::State);
    journalReset();
}

void Document::newData(Feedback& feedback) {
    m_state.origin = Origin::New;
    makeNewImage();
    decodeSettings(feedback);
    makeDefaultTuneChannels();
    m_state.channelDataChanged = m_state.settingsChanged = false;
    emitChange(DocumentChange::Replaced | DocumentChange::State);
    journalReset();
}

LoadStatus Document::load(const QString& path, Feedback& feedback) {
    if (path.isEmpty())
        return LoadStatus::NotFound;
    const LoadOutcome outcome = readDataFile(path, m_state.data);
    if (outcome.status != LoadStatus::Ok) {
        const UserMessage msg = loadFailureMessage(outcome.status);
        feedback.message(msg.text, msg.title, msg.icon);
        return outcome.status;
    }
    const Step step(*this, QStringLiteral("Open"), EditJournal::Kind::Replace);
    m_state.data = outcome.data;
    m_state.dataVersion = outcome.dataVersion;
    decodeSettings(feedback);
    showTestChannelsFromData();
    m_state.channelDataChanged = m_state.settingsChanged = false;
    m_state.currentFile = path;
    m_state.origin = Origin::File;
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
    m_state.data = result.data;
    m_state.dataVersion = result.dataVersion;
    m_state.origin = Origin::Read;
    // The caption says "Read Complete" before the notice and the decode's messages show.
    emitChange(DocumentChange::State);
    noticeDataVersion(result.dataVersion, feedback);
    decodeSettings(feedback);
    showTestChannelsFromData();
    emitChange(DocumentChange::Replaced | DocumentChange::State);
}

void Document::applyInfoRead(const RadioData& read) {
    // The information exchange only ever stores into the top page: text, date stamp, radio ID.
    RadioData updated = m_state.data;
    std::copy(read.image.begin() + addr::InfoText, read.image.end(), updated.image.begin() + addr::InfoText);
    if (updated == m_state.data)
        return;
    const Step step(*this, QStringLiteral("Radio Information Read"));
    if (!std::ranges::equal(updated.infoText(), m_state.data.infoText()))
        m_state.settingsChanged = true;
    m_state.data = updated;
    emitChange(DocumentChange::RadioInfo | DocumentChange::State);
}

void Document::applyWrite(const RadioData& sent, int dataVersion, bool written) {
    m_state.data = sent;
    m_state.dataVersion = dataVersion;
    if (written) {
        m_state.origin = Origin::Written;
        m_state.channelDataChanged = m_state.settingsChanged = false;
    }
    emitChange(DocumentChange::RadioInfo | DocumentChange::State);
}

void Document::applyTuneEntry(const TuneModeEntry& entry) {
    m_state.data = entry.data;
    m_state.dataVersion = entry.identity.dataVersion;
    m_state.origin = Origin::Tuning;
    if (const int t = firstTestChannelInUse(m_state.data))
        m_state.currentTestChannel = t;
    showTestChannelsFromData();
    m_state.tuneDataChanged = false;
    emitChange(DocumentChange::TestChannels | DocumentChange::TuneValues | DocumentChange::State);
    // The radio in tune mode holds these test channels now: no step before this one applies.
    journalReset();
}

void Document::leaveTuneView() {
    if (m_state.origin != Origin::Tuning)
        return;
    m_state.origin = Origin::New;
    emitChange(DocumentChange::State);
}

void Document::storeTuneValue(int code, int value) {
    if (code < 0 || code >= TuneItemCount)
        return;
    m_state.data.tuneValues()[std::size_t(code)] = std::uint8_t(std::clamp(value, 0, TuneValueMax));
    emitChange(DocumentChange::TuneValues);
}

void Document::collectTestChannels() { readTuneChannels(m_state.tune, m_state.data, m_numbers); }

void Document::testChannelsWritten() {
    m_state.tuneDataChanged = false;
    emitChange(DocumentChange::State);
}

void Document::reshowTestChannels() {
    if (m_state.tuneDataChanged)
        return;
    orv::showTuneChannels(m_state.data, m_state.tune, m_numbers);
    emitChange(DocumentChange::TestChannels);
}

// ---------------------------------------------------------------------------------------------
// Collecting and saving

void Document::collect() { m_state.data = collected(); }

RadioData Document::collected() const {
    RadioData data = m_state.data;
    const ModelInfo* m = selectedModelInfo();
    orv::encodeSettings(m_state.settings, m ? m->value : -1, data);
    saveChannels(m_state.channels, data, m_numbers);
    return data;
}

SaveStatus Document::save(const QString& path, Feedback& feedback) {
    collect();
    const SaveStatus status = writeDataFile(path, m_state.data, &m_state.dataVersion);
    if (status != SaveStatus::Ok) {
        const UserMessage msg = saveFailureMessage();
        feedback.message(msg.text, msg.title, msg.icon);
    }
    if (status != SaveStatus::Ok)
        return status;
    m_state.currentFile = path;
    m_state.origin = Origin::File;
    m_state.channelDataChanged = m_state.settingsChanged = false;
    emitChange(DocumentChange::State);
    if (m_journal)
        m_journal->markClean();
    return status;
}

// ---------------------------------------------------------------------------------------------
// Steps shared by the operations above

void Document::findModelByValue() {
    const int p = m_catalog.findByValue(m_state.data.modelByte());
    if (p >= 0)
        m_state.selectedModel = p;
}

void Document::decodeSettings(Feedback& feedback) {
    findModelByValue();
    const QStringList messages = orv::decodeSettings(m_state.data.functionSettings(), m_state.settings);
    for (const QString& text : messages)
        feedback.message(text, m_startup.title, Icon::None);
    showChannels(m_state.data, m_state.channels, m_numbers);
    applyBandWidth(m_state.channels, m_state.settings.text(Setting::BandWidth));
}

void Document::makeNewImage() {
    newImageSettings(m_state.data);
    newImageChannels(m_state.data, m_state.selectedModel, selectedModelInfo(), m_clock.localDateTime());
}

void Document::makeDefaultTuneChannels() {
    defaultTuneChannels(m_state.data, selectedModelInfo());
    showTestChannelsFromData();
}

void Document::showTestChannelsFromData() {
    orv::showTuneChannels(m_state.data, m_state.tune, m_numbers);
    m_tuning->refilled();
}

} // namespace orv

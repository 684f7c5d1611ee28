#include "Session.h"

#include "image/NewImage.h"
#include "session/TuneSession.h"

namespace orv {

Session::Session(StartupValues startup, ModelCatalog catalog, Clock& clock)
    : m_startup(std::move(startup)), m_catalog(std::move(catalog)), m_clock(clock),
      m_tuning(std::make_unique<TuneSession>(*this)) {
    m_selectedModel = m_catalog.isEmpty() ? -1 : 0;
    caption = m_startup.title;
}

Session::~Session() = default;

void Session::startUp(Feedback& feedback) {
    m_data = RadioData{};
    m_dataVersion = 2;
    m_selectedModel = m_catalog.isEmpty() ? -1 : 0;
    m_data.modelBlock()[2] = 7;
    findModelByValue();
    caption = m_startup.title;
    makeNewImage();
    decodeSettings(feedback);
    makeDefaultTuneChannels();
    channelDataChanged = settingsChanged = tuneDataChanged = false;
}

QString Session::bandText() const {
    const ModelInfo* m = selectedModelInfo();
    return m ? orv::bandText(*m) : QString();
}

bool Session::chooseModel(int position, Feedback& feedback) {
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
    caption = m_startup.title;
    return true;
}

void Session::findModelByValue() {
    const int p = m_catalog.findByValue(m_data.modelByte());
    if (p >= 0)
        m_selectedModel = p;
}

void Session::decodeSettings(Feedback& feedback) {
    const bool channelFlag = channelDataChanged, settingsFlag = settingsChanged;
    findModelByValue();
    const QStringList messages = orv::decodeSettings(m_data.functionSettings(), m_settings);
    for (const QString& text : messages)
        feedback.message(text, m_startup.title, Icon::None);
    showChannels(m_data, m_channels);
    applyBandWidth(m_channels, m_settings.text(Setting::BandWidth));
    channelDataChanged = channelFlag;
    settingsChanged = settingsFlag;
}

void Session::encodeSettings() {
    const ModelInfo* m = selectedModelInfo();
    orv::encodeSettings(m_settings, m ? m->value : -1, m_data);
    saveChannels(m_channels, m_data);
    channelDataChanged = settingsChanged = false;
}

void Session::showTuneChannels() {
    orv::showTuneChannels(m_data, m_tune);
    m_tuning->refilled();
}

bool Session::selectSetting(Setting s, int index) {
    if (!m_settings.userSelect(s, index))
        return false;
    if (isScanGroup(s))
        channelDataChanged = true;
    else
        settingsChanged = true;
    if (s == Setting::BandWidth)
        applyBandWidth(m_channels, m_settings.text(Setting::BandWidth));
    return true;
}

void Session::makeNewImage() {
    newImageSettings(m_data);
    newImageChannels(m_data, m_selectedModel, selectedModelInfo(), m_clock.localDateTime());
}

void Session::makeDefaultTuneChannels() {
    defaultTuneChannels(m_data, selectedModelInfo());
    showTuneChannels();
}

LoadStatus Session::loadDataFile(const QString& path, Feedback& feedback) {
    if (path.isEmpty())
        return LoadStatus::NotFound;
    LoadOutcome outcome = readDataFile(path, m_data);
    if (outcome.status != LoadStatus::Ok) {
        const UserMessage msg = loadFailureMessage(outcome.status);
        feedback.message(msg.text, msg.title, msg.icon);
        return outcome.status;
    }
    m_data = outcome.data;
    m_dataVersion = outcome.dataVersion;
    decodeSettings(feedback);
    showTuneChannels();
    channelDataChanged = settingsChanged = false;
    currentFileName = path;
    caption = m_startup.title + path;
    return LoadStatus::Ok;
}

SaveStatus Session::writeDataFile(const QString& path, Feedback& feedback, bool reportOpenFailure) {
    const SaveStatus status = orv::writeDataFile(path, m_data, &m_dataVersion);
    if (status == SaveStatus::WriteFailed || (status == SaveStatus::OpenFailed && reportOpenFailure)) {
        const UserMessage msg = saveFailureMessage();
        feedback.message(msg.text, msg.title, msg.icon);
    }
    return status;
}

} // namespace orv

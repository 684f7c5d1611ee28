// The document's state and its edits: channels, settings, model, test channels, the
// information text.

#include "document/Document.h"

#include "catalog/FrequencyRules.h"
#include "document/TuneSession.h"
#include "image/RadioInfoText.h"
#include "link/TuneExchanges.h"

#include <algorithm>

namespace orv {

namespace {

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
      m_tuning(std::make_unique<TuneSession>(*this)) {
    m_state.settings = SettingsSelection(numbers);
    m_state.selectedModel = m_catalog.isEmpty() ? -1 : 0;
}

Document::~Document() = default;

TuneRow Document::storedTestChannel(int testChannel) const {
    if (testChannel < 1 || testChannel > addr::TestChannelCount)
        return {};
    TuneTable records;
    orv::showTuneChannels(m_state.data, records, m_numbers);
    return records.rows[std::size_t(testChannel - 1)];
}

int Document::tuneValue(int code) const {
    return code >= 0 && code < TuneItemCount ? m_state.data.tuneValues()[std::size_t(code)] : 0;
}

QString Document::infoText() const { return infoTextFromImage(m_state.data); }
QString Document::radioId() const { return radioIdText(m_state.data); }
QString Document::lastProgrammed() const { return dateStampText(m_state.data); }

QString Document::bandText() const {
    const ModelInfo* m = selectedModelInfo();
    return m ? orv::bandText(*m, m_numbers) : QString();
}

// ---------------------------------------------------------------------------------------------
// State

QString Document::caption() const {
    switch (m_state.origin) {
    case Origin::File:
        return title() + m_state.currentFile;
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
    return m_state.origin == Origin::Read || m_state.origin == Origin::Written || m_state.channelDataChanged || m_state.settingsChanged;
}

std::optional<QString> Document::savePath() const {
    if (m_state.origin != Origin::File || m_state.currentFile.isEmpty())
        return std::nullopt;
    return m_state.currentFile;
}

void Document::setOrigin(Origin origin) { m_state.origin = origin; }

void Document::emitChange(unsigned parts, int row) {
    if (m_stepDepth > 0)
        m_stepChanged = true;
    DocumentChange change;
    change.parts = parts;
    change.row = row;
    emit changed(change);
}

std::optional<QString> Document::validChannelFrequency(const QString& typed) const {
    double f = 0;
    if (!getValidFreq(typed, f, selectedModelInfo(), m_state.data.modelByte(), m_numbers))
        return std::nullopt;
    return m_numbers.fixed(f, 3, 5);
}

// ---------------------------------------------------------------------------------------------
// Channel and settings edits

ChannelRow* Document::channelRow(int channel) {
    if (channel < 1 || channel > addr::ChannelCount)
        return nullptr;
    return &m_state.channels.rows[std::size_t(channel - 1)];
}

bool Document::setChannelCell(int channel, int column, const QString& text) {
    ChannelRow* row = channelRow(channel);
    if (!row || column < ColRxFreq || column >= ChannelColumnCount)
        return false;
    const Step step(*this, QStringLiteral("Edit of ") + channelCellName(channel, column));
    QString& cell = row->cells[std::size_t(column)];
    if (cell == text)
        return false;
    cell = text;
    m_state.channelDataChanged = true;
    emitChange(DocumentChange::Channels | DocumentChange::State, channel);
    return true;
}

bool Document::toggleChannelCell(int channel, int column) {
    const ChannelRow* row = channelRow(channel);
    if (!row || !isToggleColumn(column) || row->noCh || (row->noTx && isTransmitColumn(column)))
        return false;
    if (column == ColBandWidth && m_state.settings.text(Setting::BandWidth) != QLatin1String("Wide"))
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
    const Step step(*this, QStringLiteral("No CH of CH %1").arg(channel));
    ChannelRow* row = channelRow(channel);
    return setBox(row ? &row->noCh : nullptr, noCh, m_state.channelDataChanged, DocumentChange::Channels, channel, [&] {
        if (noCh)
            return QStringList();
        QStringList notes{channelFrequencyIntoRange(channel, ColRxFreq)};
        if (!row->noTx)
            notes << channelFrequencyIntoRange(channel, ColTxFreq);
        return notes;
    });
}

bool Document::setChannelNoTx(int channel, bool noTx) {
    const Step step(*this, QStringLiteral("No Tx of CH %1").arg(channel));
    ChannelRow* row = channelRow(channel);
    return setBox(row ? &row->noTx : nullptr, noTx, m_state.channelDataChanged, DocumentChange::Channels, channel, [&] {
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
    QString& cell = m_state.channels.rows[std::size_t(channel - 1)].cells[std::size_t(column)];
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
    TuneRow& row = m_state.tune.rows[std::size_t(testChannel - 1)];
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
    const Step step(*this, settingCaption(s));
    if (!m_state.settings.userSelect(s, index))
        return false;
    if (isScanGroup(s))
        m_state.channelDataChanged = true;
    else
        m_state.settingsChanged = true;
    unsigned parts = DocumentChange::Settings | DocumentChange::State;
    if (s == Setting::BandWidth) {
        applyBandWidth(m_state.channels, m_state.settings.text(Setting::BandWidth));
        parts |= DocumentChange::Channels;
    }
    emitChange(parts);
    return true;
}

bool Document::clearUnlistedPriorityChannel() {
    constexpr int PriorityByte = 2;
    constexpr int ListedChannels = 16; // "OFF" and CH1..CH15
    return m_state.data.functionSettings()[PriorityByte] >= ListedChannels && selectSetting(Setting::PriorityCh, 0);
}

bool Document::chooseModel(int position, Feedback& feedback) {
    if (position == m_state.selectedModel || !m_catalog.at(position))
        return false;
    const Answer a = feedback.ask(
        QStringLiteral("By selecting a different Model all data will be initialized. Do you want to continue?"),
        QStringLiteral("Model Change"), Icon::Exclamation, Buttons::YesNo);
    if (a != Answer::Yes)
        return false;
    const Step step(*this, QStringLiteral("Model Change"));
    m_state.selectedModel = position;
    const int value = m_catalog.at(position)->value;
    if (value >= 0 && value <= 255)
        m_state.data.modelBlock()[2] = std::uint8_t(value);
    makeNewImage();
    decodeSettings(feedback);
    makeDefaultTuneChannels();
    m_state.origin = Origin::New;
    emitChange(DocumentChange::Replaced | DocumentChange::Model | DocumentChange::State);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Test-channel edits

TuneRow* Document::testChannelRow(int testChannel) {
    if (testChannel < 1 || testChannel > addr::TestChannelCount)
        return nullptr;
    return &m_state.tune.rows[std::size_t(testChannel - 1)];
}

bool Document::setTestChannelCell(int testChannel, int column, const QString& text) {
    TuneRow* row = testChannelRow(testChannel);
    if (!row || column < TuneColRxFreq || column >= TuneColumnCount)
        return false;
    const Step step(*this, QStringLiteral("Edit of ") + testCellName(testChannel, column));
    QString& cell = row->cells[std::size_t(column)];
    if (cell == text)
        return false;
    cell = text;
    m_state.tuneDataChanged = true;
    emitChange(DocumentChange::TestChannels | DocumentChange::State, testChannel);
    return true;
}

bool Document::toggleTestStep(int testChannel, int stepColumn) {
    TuneRow* row = testChannelRow(testChannel);
    if (!row || (stepColumn != TuneColRxStep && stepColumn != TuneColTxStep))
        return false;
    const Step step(*this, QStringLiteral("Edit of ") + testCellName(testChannel, stepColumn));
    orv::toggleTestStep(*row, stepColumn, selectedModelInfo(), m_numbers);
    m_state.tuneDataChanged = true;
    emitChange(DocumentChange::TestChannels | DocumentChange::State, testChannel);
    return true;
}

bool Document::setTestChannelNoCh(int testChannel, bool noCh) {
    const Step step(*this, QStringLiteral("No CH of Test CH %1").arg(testChannel));
    TuneRow* row = testChannelRow(testChannel);
    return setBox(row ? &row->noCh : nullptr, noCh, m_state.tuneDataChanged, DocumentChange::TestChannels, testChannel, [&] {
        if (noCh)
            return QStringList();
        QStringList notes{testFrequencyIntoRange(testChannel, TuneColRxFreq)};
        if (!row->noTx)
            notes << testFrequencyIntoRange(testChannel, TuneColTxFreq);
        return notes;
    });
}

bool Document::setTestChannelNoTx(int testChannel, bool noTx) {
    const Step step(*this, QStringLiteral("No Tx of Test CH %1").arg(testChannel));
    TuneRow* row = testChannelRow(testChannel);
    return setBox(row ? &row->noTx : nullptr, noTx, m_state.tuneDataChanged, DocumentChange::TestChannels, testChannel,
                  [&] {
                      return noTx || row->noCh ? QStringList()
                                               : QStringList{testFrequencyIntoRange(testChannel, TuneColTxFreq)};
                  });
}

bool Document::setTestChannels(const TuneTable& table) {
    if (table == m_state.tune)
        return false;
    const Step step(*this, QStringLiteral("Test Channels"));
    m_state.tune = table;
    m_state.tuneDataChanged = true;
    emitChange(DocumentChange::TestChannels | DocumentChange::State);
    return true;
}

bool Document::selectTestChannel(int testChannel) {
    const TuneRow* row = testChannelRow(testChannel);
    if (!row || row->noCh)
        return false;
    m_state.currentTestChannel = testChannel;
    emitChange(DocumentChange::TestChannels);
    return true;
}

bool Document::setInfoText(const QString& text) {
    RadioData changed = m_state.data;
    storeInfoText(text.left(InfoTextChars), changed);
    if (std::ranges::equal(changed.infoText(), m_state.data.infoText()))
        return false;
    const Step step(*this, QStringLiteral("Radio Information"));
    m_state.data = changed;
    m_state.settingsChanged = true;
    emitChange(DocumentChange::RadioInfo | DocumentChange::State);
    return true;
}

} // namespace orv

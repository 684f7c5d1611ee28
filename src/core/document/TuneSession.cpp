#include "document/TuneSession.h"

#include "document/Document.h"
#include "exchange/ExchangeRunner.h"
#include "link/Protocol.h"
#include "link/TuneExchanges.h"

#include <algorithm>

namespace orv {

namespace {
// What every failed tune step shows.
const UserMessage TuneError{QStringLiteral("Connecting interrupted. Please try again!"), QStringLiteral("Tune Error"),
                            Icon::Exclamation};
} // namespace

int TuneSession::currentTestChannel() const { return m_document.currentTestChannel(); }

QString TuneSession::modelName() const {
    if (const ModelInfo* m = m_document.catalog().at(m_modelPosition))
        return m->name;
    return QStringLiteral("Unknown model (code %1)").arg(m_modelCode);
}

QString TuneSession::rangeText() const {
    const ModelInfo* m = m_document.catalog().at(m_modelPosition);
    return m ? bandText(*m, m_document.numbers(), u" ~ ") : QString();
}

bool TuneSession::enterTuneMode(ExchangeRunner& runner) {
    TuneModeEntry entry;
    if (!runner.enterTune(m_document.data(), &entry).ok())
        return false;
    m_document.applyTuneEntry(entry);
    // A radio whose code no catalog model has stays "unknown": never a position outside it.
    m_modelCode = entry.modelCode;
    m_modelPosition = m_document.catalog().findByValue(entry.modelCode);
    m_testPageVisible = true;
    m_itemPageVisible = false;
    m_testPageShown = true;
    m_state = Entered;
    return true;
}

bool TuneSession::selectTestChannel(int testChannel) { return m_document.selectTestChannel(testChannel); }

void TuneSession::chooseTestPage(ExchangeRunner& runner) {
    if (m_state == ItemActive)
        leaveItem(m_currentItem - 1, false, runner);
    if (!m_testPageVisible) {
        // The grid is shown again from the data only while it holds no edits of its own, and
        // the radio is still in tune mode: the state stays as it is.
        m_document.reshowTestChannels();
        m_testPageVisible = true;
    }
    m_itemPageVisible = false;
    m_testPageShown = true;
}

void TuneSession::chooseItem(int item, ExchangeRunner& runner) {
    if (item < 1 || item > TuneItemCount)
        return;
    if (m_state == ItemActive && m_currentItem != item)
        leaveItem(m_currentItem - 1, false, runner);
    m_currentItem = item;
    m_testPageVisible = false;
    if (m_testPageShown || m_state != ItemActive) {
        m_itemCaption = QString::fromLatin1(tuneItem(item - 1).caption);
        enterItem(item - 1, runner);
        m_testPageShown = false;
    }
}

void TuneSession::moveValue(int value, ExchangeRunner& runner) {
    m_value = std::clamp(value, 0, TuneValueMax);
    if (m_currentItem < 1 || m_currentItem > TuneItemCount)
        return;
    if (!runner.sendTuneValue(m_currentItem - 1, m_value, TuneError).ok())
        m_itemPageVisible = false;
}

bool TuneSession::ok(ExchangeRunner& runner) {
    if (m_currentItem < 1 || m_currentItem > TuneItemCount)
        return false;
    m_document.storeTuneValue(m_currentItem - 1, m_value);
    const bool left = leaveItem(m_currentItem - 1, true, runner);
    m_itemPageVisible = false;
    return left;
}

bool TuneSession::cancel(ExchangeRunner& runner) {
    if (m_currentItem < 1 || m_currentItem > TuneItemCount)
        return false;
    const bool left = leaveItem(m_currentItem - 1, false, runner);
    m_itemPageVisible = false;
    return left;
}

QString TuneSession::itemNote() const {
    if (m_currentItem < 1 || m_currentItem > TuneItemCount || !tuneItem(m_currentItem - 1).signalling)
        return {};
    const bool ctc = tuneItem(m_currentItem - 1).letter == protocol::TuneCtcDeviation;
    const TuneRow channel = m_document.storedTestChannel(currentTestChannel());
    const QString tx = channel.noTx ? QString() : channel.cells[TuneColTxSignal];
    const bool sends = ctc ? tx.startsWith(QLatin1String("CTC "))
                           : tx.startsWith(QLatin1String("DCS ")) || tx.startsWith(QLatin1String("-DCS "));
    if (sends)
        return {};
    return QStringLiteral("This test channel transmits no %1: set its Tx CTC/DCS first")
        .arg(ctc ? QStringLiteral("CTC") : QStringLiteral("DCS"));
}

bool TuneSession::writeTestChannels(ExchangeRunner& runner) {
    if (!writeTuneChannels(runner, false))
        return false;
    runner.feedback().message(QStringLiteral("Write data is complete. Press OK button to continue ..."),
                              QStringLiteral("Write Complete"), Icon::None);
    return true;
}

void TuneSession::leaveTuneMode(ExchangeRunner& runner) {
    switch (m_state) {
    case None:
        return;
    case ItemActive:
        cancel(runner);
        m_state = None;
        m_testPageShown = false;
        break;
    default:
        if (runner.leaveTune(m_state == ItemLeft).ok()) {
            m_state = None;
            m_testPageShown = false;
        }
        break;
    }
    m_itemPageVisible = m_testPageVisible = false;
    runner.link().closeCommPort();
}

bool TuneSession::writeTuneChannels(ExchangeRunner& runner, bool withTuneError) {
    m_document.collectTestChannels();
    const std::optional<UserMessage> onFailure = withTuneError ? std::optional(TuneError) : std::nullopt;
    if (!runner.writeTestChannels(m_document.data(), onFailure).ok())
        return false;
    m_document.testChannelsWritten();
    return true;
}

bool TuneSession::enterItem(int code, ExchangeRunner& runner) {
    if (m_document.tuneDataChanged() &&
        runner.feedback().ask(QStringLiteral("Data of tuning channel has been changed. Do you want write these to Radio? "),
                              QStringLiteral("Note"), Icon::Question, Buttons::YesNo) == Answer::Yes) {
        if (!writeTuneChannels(runner, true)) {
            m_itemPageVisible = false;
            return false;
        }
        runner.feedback().message(QStringLiteral("Write data is complete. Press OK button to continue ..."),
                                  QStringLiteral("Write Complete"), Icon::None);
    }
    if (!runner.enterTuneItem(code, currentTestChannel(), m_document.data(), TuneError).ok()) {
        m_itemPageVisible = false;
        return false;
    }
    m_currentItem = code + 1;
    m_state = ItemActive;
    showItem(code, runner);
    return true;
}

// The item page with the stored value, which the radio receives as the item opens. Should
// the radio not confirm it, the page stays hidden.
void TuneSession::showItem(int code, ExchangeRunner& runner) {
    m_value = m_document.data().tuneValues()[std::size_t(code)];
    m_itemPageVisible = runner.sendTuneValue(code, m_value, TuneError).ok();
}

bool TuneSession::leaveItem(int code, bool store, ExchangeRunner& runner) {
    const int value = m_document.data().tuneValues()[std::size_t(code)];
    if (!runner.leaveTuneItem(code, currentTestChannel(), value, store, TuneError).ok()) {
        m_itemPageVisible = false;
        return false;
    }
    m_state = ItemLeft;
    return true;
}

} // namespace orv

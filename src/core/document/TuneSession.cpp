#include "document/TuneSession.h"

#include "document/Document.h"
#include "link/TuneExchanges.h"

#include <algorithm>

namespace orv {

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

bool TuneSession::enterTuneMode(RadioLink& link, Feedback& feedback) {
    const auto entry = orv::enterTuneMode(link, feedback, m_document.data());
    if (!entry)
        return false;
    m_document.applyTuneEntry(*entry);
    // A radio whose code no catalog model has stays "unknown": never a position outside it.
    m_modelCode = entry->modelCode;
    m_modelPosition = m_document.catalog().findByValue(entry->modelCode);
    m_testPageVisible = true;
    m_itemPageVisible = false;
    m_testPageShown = true;
    m_state = Entered;
    return true;
}

bool TuneSession::selectTestChannel(int testChannel) { return m_document.selectTestChannel(testChannel); }

void TuneSession::chooseTestPage(RadioLink& link, Feedback& feedback) {
    if (m_state == ItemActive)
        leaveItem(m_currentItem - 1, false, link, feedback);
    if (!m_testPageVisible) {
        // The grid is shown again from the data only while it holds no edits of its own, and
        // the radio is still in tune mode: the state stays as it is.
        m_document.reshowTestChannels();
        m_testPageVisible = true;
    }
    m_itemPageVisible = false;
    m_testPageShown = true;
}

void TuneSession::chooseItem(int item, RadioLink& link, Feedback& feedback) {
    if (item < 1 || item > TuneItemCount)
        return;
    if (m_state == ItemActive && m_currentItem != item)
        leaveItem(m_currentItem - 1, false, link, feedback);
    m_currentItem = item;
    m_testPageVisible = false;
    if (m_testPageShown || m_state != ItemActive) {
        m_itemCaption = QString::fromLatin1(tuneItem(item - 1).caption);
        enterItem(item - 1, link, feedback);
        m_testPageShown = false;
    }
}

void TuneSession::moveValue(int value, RadioLink& link, Feedback& feedback) {
    m_value = std::clamp(value, 0, TuneValueMax);
    if (m_currentItem < 1 || m_currentItem > TuneItemCount)
        return;
    if (!sendTuneValue(link, m_currentItem - 1, m_value))
        tuneError(feedback);
}

void TuneSession::ok(RadioLink& link, Feedback& feedback) {
    if (m_currentItem < 1 || m_currentItem > TuneItemCount)
        return;
    m_document.storeTuneValue(m_currentItem - 1, m_value);
    leaveItem(m_currentItem - 1, true, link, feedback);
    m_itemPageVisible = false;
}

void TuneSession::cancel(RadioLink& link, Feedback& feedback) {
    if (m_currentItem < 1 || m_currentItem > TuneItemCount)
        return;
    leaveItem(m_currentItem - 1, false, link, feedback);
    m_itemPageVisible = false;
}

bool TuneSession::writeTestChannels(RadioLink& link, Feedback& feedback) {
    if (!writeTuneChannels(link, feedback))
        return false;
    feedback.message(QStringLiteral("Write data is complete. Press OK button to continue ..."),
                     QStringLiteral("Write Complete"), Icon::None);
    return true;
}

void TuneSession::leaveTuneMode(RadioLink& link, Feedback& feedback) {
    switch (m_state) {
    case None:
        return;
    case ItemActive:
        cancel(link, feedback);
        m_state = None;
        m_testPageShown = false;
        break;
    default:
        if (leaveTuneModeProbe(link, m_state == ItemLeft)) {
            m_state = None;
            m_testPageShown = false;
        }
        break;
    }
    m_itemPageVisible = m_testPageVisible = false;
    link.closeCommPort();
}

bool TuneSession::writeTuneChannels(RadioLink& link, Feedback& feedback) {
    m_document.collectTestChannels();
    if (!orv::writeTuneChannels(link, feedback, m_document.data()))
        return false;
    m_document.testChannelsWritten();
    return true;
}

bool TuneSession::enterItem(int code, RadioLink& link, Feedback& feedback) {
    if (m_document.tuneDataChanged() &&
        feedback.ask(QStringLiteral("Data of tuning channel has been changed. Do you want write these to Radio? "),
                     QStringLiteral("Note"), Icon::Question, Buttons::YesNo) == Answer::Yes) {
        if (!writeTuneChannels(link, feedback)) {
            tuneError(feedback);
            return false;
        }
        feedback.message(QStringLiteral("Write data is complete. Press OK button to continue ..."),
                         QStringLiteral("Write Complete"), Icon::None);
    }
    if (!orv::enterTuneItem(link, code, currentTestChannel(), m_document.data())) {
        tuneError(feedback);
        return false;
    }
    m_currentItem = code + 1;
    m_state = ItemActive;
    showItem(code, link, feedback);
    return true;
}

// The item page with the stored value, which the radio receives as the item opens. Should
// the radio not confirm it, the page stays hidden.
void TuneSession::showItem(int code, RadioLink& link, Feedback& feedback) {
    m_value = m_document.data().tuneValues()[std::size_t(code)];
    m_itemPageVisible = sendTuneValue(link, code, m_value);
    if (!m_itemPageVisible)
        tuneError(feedback);
}

bool TuneSession::leaveItem(int code, bool store, RadioLink& link, Feedback& feedback) {
    const int value = m_document.data().tuneValues()[std::size_t(code)];
    if (!orv::leaveTuneItem(link, code, currentTestChannel(), value, store)) {
        tuneError(feedback);
        return false;
    }
    m_state = ItemLeft;
    return true;
}

void TuneSession::tuneError(Feedback& feedback) {
    feedback.message(QStringLiteral("Connecting interrupted. Please try again!"), QStringLiteral("Tune Error"),
                     Icon::Exclamation);
    m_itemPageVisible = false;
}

} // namespace orv

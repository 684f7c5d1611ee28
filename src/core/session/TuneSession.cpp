#include "session/TuneSession.h"

#include "catalog/NumberText.h"
#include "link/TuneExchanges.h"
#include "session/Session.h"

#include <algorithm>

namespace orv {

int TuneSession::currentTestChannel() const { return m_session.currentTestChannel(); }

QString TuneSession::modelName() const {
    if (const ModelInfo* m = m_session.catalog().at(m_modelPosition))
        return m->name;
    return QStringLiteral("Unknown model (code %1)").arg(m_modelCode);
}

QString TuneSession::rangeText() const {
    const ModelInfo* m = m_session.catalog().at(m_modelPosition);
    return m ? bandText(*m, u" ~ ") : QString();
}

bool TuneSession::enterTuneMode(RadioLink& link, Feedback& feedback) {
    const auto entry = orv::enterTuneMode(link, feedback, m_session.data());
    if (!entry)
        return false;
    m_session.data() = entry->data;
    m_session.setDataVersion(entry->identity.dataVersion);
    m_session.caption = QStringLiteral("While tuning - ") + m_session.title();
    if (const int t = firstTestChannelInUse(m_session.data()))
        m_session.setCurrentTestChannel(t);
    m_session.showTuneChannels();
    // A radio whose code no catalog model has stays "unknown": never a position outside it.
    m_modelCode = entry->modelCode;
    m_modelPosition = m_session.catalog().findByValue(entry->modelCode);
    m_testPageVisible = true;
    m_itemPageVisible = false;
    m_session.tuneDataChanged = false;
    m_testPageShown = true;
    m_state = Entered;
    return true;
}

bool TuneSession::selectTestChannel(int testChannel) {
    if (testChannel < 1 || testChannel > addr::TestChannelCount)
        return false;
    if (m_session.tune().rows[std::size_t(testChannel - 1)].noCh)
        return false;
    m_session.setCurrentTestChannel(testChannel);
    return true;
}

void TuneSession::chooseTestPage(RadioLink& link, Feedback& feedback) {
    if (m_state == ItemActive)
        leaveItem(m_currentItem - 1, false, link, feedback);
    if (!m_testPageVisible) {
        // The grid is shown again from the data only while it holds no edits of its own, and
        // the radio is still in tune mode: the state stays as it is.
        if (!m_session.tuneDataChanged)
            orv::showTuneChannels(m_session.data(), m_session.tune());
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
    m_session.data().tuneValues()[std::size_t(m_currentItem - 1)] = std::uint8_t(m_value);
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
    readTuneChannels(m_session.tune(), m_session.data());
    if (!orv::writeTuneChannels(link, feedback, m_session.data()))
        return false;
    m_session.tuneDataChanged = false;
    return true;
}

bool TuneSession::enterItem(int code, RadioLink& link, Feedback& feedback) {
    if (m_session.tuneDataChanged &&
        feedback.ask(QStringLiteral("Data of tuning channel has been changed. Do you want write these to Radio? "),
                     QStringLiteral("Note"), Icon::Question, Buttons::YesNo) == Answer::Yes) {
        if (!writeTuneChannels(link, feedback)) {
            tuneError(feedback);
            return false;
        }
        feedback.message(QStringLiteral("Write data is complete. Press OK button to continue ..."),
                         QStringLiteral("Write Complete"), Icon::None);
    }
    if (!orv::enterTuneItem(link, code, currentTestChannel(), m_session.data())) {
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
    m_value = m_session.data().tuneValues()[std::size_t(code)];
    m_itemPageVisible = sendTuneValue(link, code, m_value);
    if (!m_itemPageVisible)
        tuneError(feedback);
}

bool TuneSession::leaveItem(int code, bool store, RadioLink& link, Feedback& feedback) {
    const int value = m_session.data().tuneValues()[std::size_t(code)];
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

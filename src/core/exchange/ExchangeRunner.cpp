#include "exchange/ExchangeRunner.h"

#include "image/RadioInfoText.h"

#include <algorithm>
#include <utility>

namespace orv {

QString exchangeKindName(ExchangeKind kind) {
    switch (kind) {
    case ExchangeKind::Read: return QStringLiteral("read");
    case ExchangeKind::Write: return QStringLiteral("write");
    case ExchangeKind::InfoRead: return QStringLiteral("info-read");
    case ExchangeKind::InfoWrite: return QStringLiteral("info-write");
    case ExchangeKind::TuneEnter: return QStringLiteral("tune-enter");
    case ExchangeKind::TuneItem: return QStringLiteral("tune-item");
    case ExchangeKind::TuneValue: return QStringLiteral("tune-value");
    case ExchangeKind::TuneStore: return QStringLiteral("tune-store");
    case ExchangeKind::TuneCancel: return QStringLiteral("tune-cancel");
    case ExchangeKind::TuneWriteChannels: return QStringLiteral("tune-write-channels");
    case ExchangeKind::TuneLeave: return QStringLiteral("tune-leave");
    case ExchangeKind::Verify: return QStringLiteral("verify");
    case ExchangeKind::IdRead: return QStringLiteral("id-read");
    }
    return QString();
}

// The runner's feedback around one exchange: everything goes on to the real feedback; the
// tap remembers the last message and whether the last question was answered No, and passes
// the progress to the observers.
class ExchangeRunner::Tap : public Feedback {
public:
    Tap(ExchangeRunner& runner, ExchangeKind kind) : m_runner(runner), m_kind(kind) {}

    void message(const QString& text, const QString& title, Icon icon) override {
        lastMessage = text;
        declined = false;
        m_runner.m_feedback.message(text, title, icon);
    }
    Answer ask(const QString& text, const QString& title, Icon icon, Buttons buttons) override {
        const Answer a = m_runner.m_feedback.ask(text, title, icon, buttons);
        declined = a != Answer::Yes && a != Answer::Ok;
        if (declined)
            lastMessage = text;
        return a;
    }
    void progressOpen(const QString& label, int maximum, const QString& caption) override {
        m_maximum = maximum;
        m_runner.m_feedback.progressOpen(label, maximum, caption);
    }
    void progressSet(int value) override {
        m_runner.m_feedback.progressSet(value);
        for (ExchangeObserver* o : m_runner.m_observers)
            o->exchangeProgress(m_kind, std::min(value, m_maximum), m_maximum);
    }
    void progressClose() override { m_runner.m_feedback.progressClose(); }

    QString lastMessage;
    bool declined = false;

private:
    ExchangeRunner& m_runner;
    ExchangeKind m_kind;
    int m_maximum = 0;
};

ExchangeRunner::ExchangeRunner(LinkSource link, Feedback& feedback) : m_link(std::move(link)), m_feedback(feedback) {}

ExchangeRunner::ExchangeRunner(RadioLink& link, Feedback& feedback)
    : ExchangeRunner([&link]() -> RadioLink& { return link; }, feedback) {}

void ExchangeRunner::addObserver(ExchangeObserver* observer) {
    if (observer && std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void ExchangeRunner::removeObserver(ExchangeObserver* observer) { std::erase(m_observers, observer); }

void ExchangeRunner::notifyIdentified(ExchangeKind kind, const RadioIdentity& radio) {
    for (ExchangeObserver* o : m_observers)
        o->exchangeIdentified(kind, radio);
}

ExchangeResult ExchangeRunner::run(ExchangeKind kind, const std::function<bool(RadioLink&, Feedback&)>& exchange,
                                   const std::optional<UserMessage>& failureMessage) {
    return run(
        kind, [&](RadioLink& link, Feedback& feedback, ExchangeResult&) { return exchange(link, feedback); },
        failureMessage);
}

ExchangeResult ExchangeRunner::run(ExchangeKind kind,
                                   const std::function<bool(RadioLink&, Feedback&, ExchangeResult&)>& exchange,
                                   const std::optional<UserMessage>& failureMessage) {
    RadioLink& link = m_link();
    ExchangeResult result;
    result.kind = kind;
    result.port = link.portLabel();
    for (ExchangeObserver* o : m_observers)
        o->exchangeStarted(kind, result.port);

    link.clearFailure();
    link.setCancelToken(m_cancel);
    link.setHandshakeObserver([&](const RadioLink::Handshake& h) {
        result.radio.modelCode = h.modelCode;
        result.radio.dataVersion = h.identity.dataVersion;
        notifyIdentified(kind, result.radio);
    });
    Tap tap(*this, kind);
    const bool ok = exchange(link, tap, result);
    link.setHandshakeObserver({});
    link.setCancelToken(nullptr);

    if (ok) {
        result.status = ExchangeResult::Status::Ok;
    } else if (tap.declined) {
        result.status = ExchangeResult::Status::Cancelled;
    } else {
        result.status = ExchangeResult::Status::Failed;
        result.reason = link.failure();
        if (failureMessage)
            tap.message(failureMessage->text, failureMessage->title, failureMessage->icon);
    }
    result.message = m_unshownMessage.isEmpty() ? tap.lastMessage : std::exchange(m_unshownMessage, QString());
    for (ExchangeObserver* o : m_observers)
        o->exchangeFinished(result);
    return result;
}

// ---------------------------------------------------------------------------------------------
// The exchanges

ExchangeResult ExchangeRunner::read(const RadioData& current, ReadResult* out) {
    std::optional<ReadResult> got;
    ExchangeResult result = run(ExchangeKind::Read, [&](RadioLink& link, Feedback& feedback, ExchangeResult& r) {
        got = readRadio(link, feedback, current);
        if (got) {
            // A read that succeeded names the radio by its ID too.
            r.radio.radioId = radioIdText(got->data);
            r.image = got->data;
        }
        return got.has_value();
    });
    if (got && out)
        *out = *got;
    return result;
}

ExchangeResult ExchangeRunner::write(RadioData& data, int& dataVersion, const WriteRequest& request) {
    return run(ExchangeKind::Write, [&](RadioLink& link, Feedback& feedback, ExchangeResult& r) {
        const bool written = writeRadio(link, feedback, data, dataVersion, request);
        r.image = data;
        r.image->modelBlock()[1] = std::uint8_t(dataVersion & 0xFF); // travels as the data version
        return written;
    });
}

ExchangeResult ExchangeRunner::readNamingRadio(ExchangeKind kind, const ImageRead& read, RadioData* out) {
    std::optional<RadioData> got;
    ExchangeResult result = run(kind, [&](RadioLink& link, Feedback& feedback, ExchangeResult& r) {
        got = read(link, feedback);
        if (got)
            r.radio.radioId = radioIdText(*got);
        return got.has_value();
    });
    if (got && out)
        *out = *got;
    return result;
}

ExchangeResult ExchangeRunner::readInfo(const RadioData& current, RadioData* out) {
    return readNamingRadio(
        ExchangeKind::InfoRead, [&](RadioLink& link, Feedback& feedback) { return readEmbedInfo(link, feedback, current); },
        out);
}

ExchangeResult ExchangeRunner::writeInfo(const RadioData& data) {
    return run(ExchangeKind::InfoWrite,
               [&](RadioLink& link, Feedback& feedback) { return writeEmbedInfo(link, feedback, data); });
}

ExchangeResult ExchangeRunner::enterTune(const RadioData& current, TuneModeEntry* out) {
    std::optional<TuneModeEntry> got;
    ExchangeResult result = run(ExchangeKind::TuneEnter, [&](RadioLink& link, Feedback& feedback) {
        got = orv::enterTuneMode(link, feedback, current);
        return got.has_value();
    });
    if (got && out)
        *out = *got;
    return result;
}

ExchangeResult ExchangeRunner::enterTuneItem(int code, int testChannel, const RadioData& data,
                                             const UserMessage& failureMessage) {
    return run(
        ExchangeKind::TuneItem,
        [&](RadioLink& link, Feedback&) { return orv::enterTuneItem(link, code, testChannel, data) == 1; },
        failureMessage);
}

ExchangeResult ExchangeRunner::sendTuneValue(int code, int value, const UserMessage& failureMessage) {
    return run(
        ExchangeKind::TuneValue, [&](RadioLink& link, Feedback&) { return orv::sendTuneValue(link, code, value); },
        failureMessage);
}

ExchangeResult ExchangeRunner::leaveTuneItem(int code, int testChannel, int value, bool store,
                                             const UserMessage& failureMessage) {
    return run(
        store ? ExchangeKind::TuneStore : ExchangeKind::TuneCancel,
        [&](RadioLink& link, Feedback&) { return orv::leaveTuneItem(link, code, testChannel, value, store) == 1; },
        failureMessage);
}

ExchangeResult ExchangeRunner::writeTestChannels(const RadioData& data, const std::optional<UserMessage>& failureMessage) {
    return run(
        ExchangeKind::TuneWriteChannels,
        [&](RadioLink& link, Feedback& feedback) { return orv::writeTuneChannels(link, feedback, data) == 1; },
        failureMessage);
}

ExchangeResult ExchangeRunner::leaveTune(bool itemWasLeft) {
    return run(ExchangeKind::TuneLeave,
               [&](RadioLink& link, Feedback&) { return leaveTuneModeProbe(link, itemWasLeft); });
}

} // namespace orv

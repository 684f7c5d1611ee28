#include "fleet/PortWorker.h"

#include "WorkerFeedback.h"
#include "compare/CompareSide.h"
#include "fleet/FleetShared.h"
#include "fleet/RadioSteps.h"
#include "history/RadioIdNames.h"
#include "link/Exchanges.h"
#include "link/RadioConnection.h"

#include <algorithm>

namespace orv::fleet {

QString connectNextRadioText() { return QStringLiteral("Connect the next radio"); }

// The worker's feedback: questions answered by the run's options, and every message (and
// what a progress display would be labelled) the port's last message.
class PortWorker::PortFeedback : public WorkerFeedback {
public:
    PortFeedback(Policy policy, PortWorker& worker) : WorkerFeedback(std::move(policy)), m_worker(worker) {}
    void message(const QString& text, const QString& title, Icon icon) override {
        WorkerFeedback::message(text, title, icon);
        m_worker.said(text);
    }
    // The progress window's label says what the exchange is doing.
    void progressOpen(const QString& label, int maximum, const QString& caption) override {
        WorkerFeedback::progressOpen(label, maximum, caption);
        m_worker.said(label);
    }

private:
    PortWorker& m_worker;
};

// Everything the port's thread makes for itself.
struct PortWorker::Tools {
    std::unique_ptr<Clock> clock;
    RadioConnection connection;
    PortFeedback feedback;
    ExchangeRunner runner;
    HistoryRecorder history;
    compare::SideOpener opener;
    RadioSteps steps;

    Tools(PortWorker& w, std::unique_ptr<Clock> ownClock)
        : clock(std::move(ownClock)), connection(*clock),
          feedback(
              [allow = w.m_options.allowOtherModel](const QString& text, Buttons) {
                  // Only the model question can be allowed; a newer radio never is.
                  return allow && text.startsWith(otherModelText()) ? Answer::Yes : Answer::No;
              },
              w),
          runner([this]() -> RadioLink& { return connection.link(); }, feedback),
          history(w.m_setup.history, *clock), opener(w.m_payload.catalog, w.m_payload.numbers),
          steps{runner,
                history,
                w.m_payload,
                w.m_options,
                opener,
                *clock,
                [&w](PortState s) {
                    w.update([s](PortStatus& st) {
                        st.state = s;
                        st.value = st.maximum = 0;
                    });
                },
                [&w] { return w.m_historyWarning; }} {}
};

PortWorker::PortWorker(PortSetup setup, const FleetPayload& payload, const FleetOptions& options,
                       FleetShared& shared, const CancelToken& stopNow, FleetEvents& events)
    : m_setup(std::move(setup)), m_payload(payload), m_options(options), m_shared(shared), m_stopNow(stopNow),
      m_events(events) {}

void PortWorker::run() {
    Tools tools(*this, m_setup.makeClock ? m_setup.makeClock(m_setup.index) : std::make_unique<SystemClock>());
    if (m_setup.port.virtualRadio)
        tools.connection.useVirtualRadio(*m_setup.port.virtualRadio, m_setup.port.name);
    else
        tools.connection.usePortName(m_setup.port.name, m_setup.programIni);
    // The trace file was tried before the run started.
    if (!m_setup.tracePath.isEmpty())
        tools.connection.traceTo(m_setup.tracePath, nullptr);
    tools.runner.setCancelToken(&m_stopNow);
    tools.history.setKeepBackups(m_options.backup);
    tools.history.setWarningSink([this](const QString& warning) {
        m_historyWarning = warning;
        m_events.historyWarning(warning);
    });
    tools.runner.addObserver(&tools.history);
    tools.runner.addObserver(this);

    m_status.index = m_setup.index;
    update([&](PortStatus& s) { s.port = tools.connection.label(); });
    for (bool first = true; nextRadio(tools, first); first = false) {
    }
    tools.connection.close();
    update([&](PortStatus& s) {
        s.awaitingNext = false;
        s.finished = true;
        if (s.radio == 0 && m_shared.stopRequested())
            s.message = QStringLiteral("Stopped");
    });
}

bool PortWorker::nextRadio(Tools& tools, bool first) {
    if ((!m_options.swap() && !first) || m_shared.over())
        return false;
    std::optional<ExchangeResult> found;
    if (!m_options.swap())
        found = identify(tools);
    else
        found = m_options.prompt ? promptForRadio(tools, first) : pollForRadio(tools);
    if (!found)
        return false;
    // A radio polled for has its place already; the others take one now.
    const bool placed = m_options.swap() && !m_options.prompt;
    if (!placed && m_shared.reserve(true) != FleetShared::Place::Taken)
        return false;
    const int number = m_shared.numberRadio(m_setup.index, first);
    if (found->ok())
        program(tools, *found, number);
    else
        ended(failedRadio(*found, number, tools.clock->localDateTime()));
    return m_options.swap() && !m_stopNow.isCancelled();
}

ExchangeResult PortWorker::identify(Tools& tools) {
    update([](PortStatus& s) {
        s.state = PortState::Identifying;
        s.awaitingNext = false;
        s.value = s.maximum = 0;
    });
    return tools.runner.readRadioId(RadioData{});
}

std::optional<ExchangeResult> PortWorker::pollForRadio(Tools& tools) {
    m_quiet = true;
    std::optional<ExchangeResult> found;
    bool told = false;
    while (!found && !m_shared.over()) {
        const ExchangeResult id = tools.runner.readRadioId(RadioData{});
        const QString radioId = radioIdLabel(id.radio.radioId);
        if (!id.ok())
            m_lastRadio.reset(); // the port is free: a radio connected now is the next one
        else if (radioId != m_lastRadio && !m_shared.programmedAlready(radioId)) {
            // While the radios under way make the count, the port waits; it looks again after
            // its pause, for one of them may fail.
            const FleetShared::Place place = m_shared.reserve(false);
            if (place == FleetShared::Place::Over)
                break;
            if (place == FleetShared::Place::Taken)
                found = id;
        }
        if (found)
            break;
        if (!told)
            waitingForNext(connectNextRadioText());
        told = true;
        if (!sleep(*tools.clock, NextRadioPollMs))
            break;
    }
    m_quiet = false;
    if (found)
        update([](PortStatus& s) { s.awaitingNext = false; });
    return found;
}

std::optional<ExchangeResult> PortWorker::promptForRadio(Tools& tools, bool first) {
    QString waiting = connectNextRadioText();
    for (bool wait = !first;; wait = true) {
        if (wait) {
            waitingForNext(waiting);
            if (!m_shared.waitForNext(m_setup.index))
                return std::nullopt;
        }
        const ExchangeResult id = identify(tools);
        if (id.ok())
            return id;
        if (m_shared.over())
            return std::nullopt;
        waiting = QStringLiteral("No radio answered. ") + connectNextRadioText();
    }
}

bool PortWorker::sleep(Clock& clock, int ms) {
    for (int left = ms; left > 0; left -= StopCheckMs) {
        if (m_shared.over() || m_stopNow.isCancelled())
            return false;
        clock.delayMs(std::min(StopCheckMs, left));
    }
    return !m_shared.over();
}

void PortWorker::program(Tools& tools, const ExchangeResult& identified, int number) {
    update([&](PortStatus& s) {
        s.radio = number;
        s.radioId = radioIdLabel(identified.radio.radioId);
    });
    ended(tools.steps.program(identified, number));
}

void PortWorker::ended(const RadioRecord& record) {
    m_shared.radioEnded(record.ok, record.radioId);
    m_lastRadio = record.radioId;
    update([&](PortStatus& s) {
        s.radio = record.radio;
        s.radioId = record.radioId;
        s.state = record.ok ? PortState::Done : PortState::Failed;
        s.message = record.message;
        s.value = s.maximum = 0;
    });
    m_events.radioDone(record);
}

void PortWorker::waitingForNext(const QString& message) {
    update([&](PortStatus& s) {
        s.awaitingNext = true;
        s.message = message;
    });
}

void PortWorker::exchangeProgress(ExchangeKind, int value, int maximum) {
    if (m_quiet)
        return;
    update([&](PortStatus& s) {
        s.value = value;
        s.maximum = maximum;
    });
}

void PortWorker::said(const QString& text) {
    if (!m_quiet)
        update([&](PortStatus& s) { s.message = text; });
}

void PortWorker::update(const std::function<void(PortStatus&)>& change) {
    change(m_status);
    m_events.portUpdated(m_status);
}

} // namespace orv::fleet

#pragma once
// One port of a fleet run, on a thread of its own: it makes its own connection (a serial
// port belongs to the thread that opened it), clock, feedback, exchange runner and history
// recorder (its own database connection on the shared history file), then programs radio
// after radio until its turn ends:
//  - batch: the one radio on the port, identified by a radio ID read, then programmed;
//  - swap, by radio ID: the port polls every 2 s with a radio ID read until a radio answers
//    that is not the one it just had and was not programmed in this run, programs it, and
//    waits for the next, until the run has its count;
//  - swap, by prompt: after each radio the port waits for Next, then programs whatever radio
//    answers (radio IDs empty or all alike).
// Stop ends the port after its radio; Stop Now (the run's cancel token) ends it at the next
// block. A worker never opens a dialog: questions are answered by the run's options, and
// everything it has to say goes to its events as the port's status and one record a radio.

#include "CancelToken.h"
#include "Clock.h"
#include "exchange/ExchangeRunner.h"
#include "fleet/FleetTypes.h"
#include "history/HistoryRecorder.h"

#include <QMutex>
#include <functional>
#include <memory>
#include <optional>

namespace orv::fleet {

class FleetShared;

// How long a port waiting for the next radio leaves between two radio ID reads.
inline constexpr int NextRadioPollMs = 2000;
// A port's waits look at Stop this often.
inline constexpr int StopCheckMs = 100;
// What a port waiting for the next radio says.
QString connectNextRadioText(); // "Connect the next radio"

// Where the ports tell how they are getting on; called from the ports' threads.
class FleetEvents {
public:
    virtual ~FleetEvents() = default;
    virtual void portUpdated(const PortStatus& status) = 0;
    virtual void radioDone(const RadioRecord& record) = 0;
    // The port's radio history cannot be written ("Warning: radio history ..."); at most once
    // a port.
    virtual void historyWarning(const QString& warning) = 0;
};

// The clock of port `index` (a test gives each port a virtual clock of its own).
using ClockMaker = std::function<std::unique_ptr<Clock>(int index)>;

struct PortSetup {
    int index = 0;
    FleetPort port;
    QString programIni; // the COM number mapping
    QString tracePath;  // every byte of the port traced there ("" none)
    HistoryRecorder::Settings history;
    ClockMaker makeClock; // nothing: the system clock
};

class PortWorker : public ExchangeObserver {
public:
    PortWorker(PortSetup setup, const FleetPayload& payload, const FleetOptions& options, FleetShared& shared,
               const CancelToken& stopNow, FleetEvents& events);
    // The port's whole turn; returns when it has ended.
    void run();

    void exchangeProgress(ExchangeKind kind, int value, int maximum) override;

private:
    class PortFeedback;
    struct Tools;
    // One radio found and programmed; false when the port's turn is over.
    bool nextRadio(Tools& tools, bool first);
    // The radio a swap run programs next on this port: its identification, or nothing when
    // the run is over first.
    std::optional<ExchangeResult> pollForRadio(Tools& tools);
    std::optional<ExchangeResult> promptForRadio(Tools& tools, bool first);
    // A radio ID read for the radio about to be programmed (batch, prompt).
    ExchangeResult identify(Tools& tools);
    // Waits `ms` on the port's clock in steps, false as soon as the run is over.
    bool sleep(Clock& clock, int ms);
    void program(Tools& tools, const ExchangeResult& identified, int number);
    void ended(const RadioRecord& record);
    void waitingForNext(const QString& message);
    void said(const QString& text);
    void update(const std::function<void(PortStatus&)>& change);

    PortSetup m_setup;
    const FleetPayload& m_payload;
    const FleetOptions& m_options;
    FleetShared& m_shared;
    const CancelToken& m_stopNow;
    FleetEvents& m_events;
    PortStatus m_status;
    bool m_quiet = false;     // the polls' messages are not the row's
    QString m_historyWarning; // the history's warning, for a backup that was not kept
    // Swap: the radio ID the port had last, until a poll finds the port without a radio.
    std::optional<QString> m_lastRadio;
};

} // namespace orv::fleet

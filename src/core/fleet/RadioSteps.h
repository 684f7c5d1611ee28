#pragma once
// The steps one radio of a fleet goes through once it has been identified: the model and
// data-version checks, the backup (a full read kept as an automatic backup; no backup, no
// write), the write as the window's Write sends the data, the verify, and the information
// text. Each step is one exchange of the port's runner, so the history records each as it
// ends. What became of the radio is one record, the fleet log's row.

#include "Clock.h"
#include "compare/CompareSide.h"
#include "exchange/ExchangeRunner.h"
#include "fleet/FleetTypes.h"

#include <functional>

namespace orv {
class HistoryRecorder;
}

namespace orv::fleet {

struct RadioSteps {
    ExchangeRunner& runner;
    HistoryRecorder& history; // keeps the backup of the read
    const FleetPayload& payload;
    const FleetOptions& options;
    const compare::SideOpener& opener;
    Clock& clock;
    std::function<void(PortState)> entering; // told as each step begins
    // The last warning the history gave (a backup that could not be written), for the row.
    std::function<QString()> historyWarning;

    // Programs the radio `identified` (the radio ID read that found it) as radio `number`.
    RadioRecord program(const ExchangeResult& identified, int number) const;
};

// The record of a radio that failed before its checks (its identification), as radio `number`.
RadioRecord failedRadio(const ExchangeResult& identified, int number, const QDateTime& when);

} // namespace orv::fleet

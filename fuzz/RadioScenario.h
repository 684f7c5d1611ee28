#pragma once
// The exchanges the hostile-radio fuzzer puts the program through, in order: read, write,
// the information read and write, tune-mode entry, a tune item with a live value and its
// storing, the test-channel write and leaving tune mode. The fuzzer and the program that makes
// its seeds run exactly the same steps, so that a seed recorded against the virtual radio
// replays request for request.
//
// Every piece of the caller's data sits in a heap block of its own, so that AddressSanitizer
// sees any access outside it.

#include "exchange/ExchangeRunner.h"

#include <cstdint>
#include <memory>

namespace orv::fuzz {

enum class Step {
    Read,
    Write,
    InfoRead,
    InfoWrite,
    TuneEnter,
    TuneItem,
    TuneValue,
    TuneStore,
    TuneWriteChannels,
    TuneLeave,
};
inline constexpr int StepCount = 10;

// The longest any one exchange may take on the virtual clock. The longest there is, a full
// read whose every block waits out all of its polls, takes under 111 s.
inline constexpr std::int64_t ExchangeTimeLimitMs = 120'000;

struct ScenarioData {
    // The caller's data: what the window holds, and what the write sends (it is stamped).
    std::unique_ptr<RadioData> held = std::make_unique<RadioData>();
    // Where the read, the information read and the tune entry put what they got.
    std::unique_ptr<ReadResult> readOut = std::make_unique<ReadResult>();
    std::unique_ptr<RadioData> infoOut = std::make_unique<RadioData>();
    std::unique_ptr<TuneModeEntry> tuneOut = std::make_unique<TuneModeEntry>();
    int dataVersion = 2;
    int itemCode = 0;    // 0..6
    int testChannel = 1; // 1..11
    int value = 0x80;
};

// The data a scenario starts from: a pattern in the image and the spare table, the model of
// value 7, and the outputs filled with other patterns so that any change to them shows.
// `params` picks the tune item and the test channel.
ScenarioData startingData(std::uint8_t params);

// Runs one step through the runner with the scenario's data.
ExchangeResult runStep(ExchangeRunner& runner, Step step, ScenarioData& data);

} // namespace orv::fuzz

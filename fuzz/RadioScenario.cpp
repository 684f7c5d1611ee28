#include "RadioScenario.h"

namespace orv::fuzz {

namespace {

void fillPattern(RadioData& d, int multiplier, int offset) {
    for (std::size_t i = 0; i < d.image.size(); ++i)
        d.image[i] = std::uint8_t(int(i) * multiplier + offset);
    for (std::size_t i = 0; i < d.spare.size(); ++i)
        d.spare[i] = std::uint8_t(int(i) * multiplier + offset + 1);
}

const UserMessage TuneFailure{QStringLiteral("Tune failed"), QStringLiteral("Tune"), Icon::Exclamation};

} // namespace

ScenarioData startingData(std::uint8_t params) {
    ScenarioData s;
    fillPattern(*s.held, 13, 5);
    s.held->modelBlock()[2] = 7;
    fillPattern(s.readOut->data, 7, 99);
    s.readOut->dataVersion = -7;
    fillPattern(*s.infoOut, 11, 42);
    fillPattern(s.tuneOut->data, 3, 17);
    s.tuneOut->modelCode = -3;
    s.itemCode = params % 7;
    s.testChannel = 1 + (params / 7) % addr::TestChannelCount;
    return s;
}

ExchangeResult runStep(ExchangeRunner& runner, Step step, ScenarioData& s) {
    switch (step) {
    case Step::Read:
        return runner.read(*s.held, s.readOut.get());
    case Step::Write:
        return runner.write(*s.held, s.dataVersion, {7, QStringLiteral("Fuzz")});
    case Step::InfoRead:
        return runner.readInfo(*s.held, s.infoOut.get());
    case Step::InfoWrite:
        return runner.writeInfo(*s.held);
    case Step::TuneEnter:
        return runner.enterTune(*s.held, s.tuneOut.get());
    case Step::TuneItem:
        return runner.enterTuneItem(s.itemCode, s.testChannel, *s.held, TuneFailure);
    case Step::TuneValue:
        return runner.sendTuneValue(s.itemCode, s.value, TuneFailure);
    case Step::TuneStore:
        return runner.leaveTuneItem(s.itemCode, s.testChannel, s.value, true, TuneFailure);
    case Step::TuneWriteChannels:
        return runner.writeTestChannels(*s.held, TuneFailure);
    case Step::TuneLeave:
        return runner.leaveTune(true);
    }
    return {};
}

} // namespace orv::fuzz

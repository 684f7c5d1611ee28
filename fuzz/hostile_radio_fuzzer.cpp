// A hostile radio: the fuzzer's bytes script the radio's side of every exchange (see
// ScriptedRadio.h), which run one after another on the virtual clock from the step the first
// byte picks (the second picks the tune item and test channel). After each exchange:
//  - it ended within ExchangeTimeLimitMs of virtual time, with a reason when it failed;
//  - a failed read, information read or tune entry left the caller's data and the output
//    byte-identical;
//  - a successful one changed only bytes of its own area, each to a value the radio sent for
//    that very address (the model byte also from the identity reply), and never the spare
//    table that follows the image in memory;
//  - every block the program wrote lies inside the image, in the area of that exchange, and
//    carries the caller's bytes for its address.
// AddressSanitizer and UBSan watch the rest: the caller's data are heap blocks of their own.
#include "FuzzCheck.h"
#include "RadioScenario.h"
#include "ScriptedRadio.h"

#include "link/Exchanges.h"

#include <array>
#include <bitset>
#include <cstdio>

using namespace orv;
using namespace orv::fuzz;

namespace {

struct Area {
    int begin = 0;
    int end = 0; // exclusive
    bool contains(int a) const { return a >= begin && a < end; }
};
constexpr Area NoArea{0, 0};
constexpr Area WholeImage{0, addr::ImageSize};
constexpr Area InfoArea{addr::InfoText, addr::ImageSize}; // what the information read may take
constexpr Area InfoTextArea{addr::InfoText, addr::InfoText + addr::InfoTextSize};
constexpr Area TestChannelArea{addr::TestChannels, addr::TestChannelsEnd};
constexpr Area TuneValueArea{addr::TuneValues, addr::TuneValues + 16};

// For each image address, the values the radio sent for it in block replies ("W", address
// high, address low, count, bytes) and, for the model byte, in the identity reply.
class SentByRadio {
public:
    explicit SentByRadio(const QList<ScriptedRadio::Turn>& turns) {
        for (const ScriptedRadio::Turn& t : turns) {
            const QByteArray& r = t.reply;
            if (t.request == QByteArray(1, protocol::IdentityRequest) && r.size() >= protocol::IdentityReplySize)
                m_values[addr::ModelBlock].set(std::uint8_t(r[7]));
            if (r.size() < 4 || r[0] != protocol::WriteCommand)
                continue;
            const int address = 256 * std::uint8_t(r[1]) + std::uint8_t(r[2]);
            const int count = std::uint8_t(r[3]);
            for (int k = 0; k < count && 4 + k < r.size(); ++k)
                if (address + k < addr::ImageSize)
                    m_values[std::size_t(address + k)].set(std::uint8_t(r[4 + k]));
        }
    }
    bool sent(int address, std::uint8_t value) const { return m_values[std::size_t(address)].test(value); }

private:
    std::array<std::bitset<256>, addr::ImageSize> m_values{};
};

// `after` differs from `before` only inside `areas` and only by bytes the radio sent there.
void checkTaken(const RadioData& before, const RadioData& after, std::initializer_list<Area> areas,
                const SentByRadio& sent) {
    FUZZ_CHECK(after.spare == before.spare);
    for (int a = 0; a < addr::ImageSize; ++a) {
        const std::uint8_t v = after.image[std::size_t(a)];
        if (v == before.image[std::size_t(a)])
            continue;
        bool inside = false;
        for (const Area& area : areas)
            inside = inside || area.contains(a);
        FUZZ_CHECK(inside && sent.sent(a, v));
    }
}

// Every block written lies in `area` and carries the caller's bytes (byte 1 of both blocks of
// the model block is the data version the write sends instead).
void checkWrites(const QList<ScriptedRadio::Turn>& turns, const RadioData& data, Area area, int dataVersion) {
    for (const ScriptedRadio::Turn& t : turns) {
        const QByteArray& q = t.request;
        if (q.isEmpty() || q[0] != protocol::WriteCommand)
            continue;
        FUZZ_CHECK(q.size() == 4 + addr::BlockSize && q[3] == char(addr::BlockSize));
        const int address = 256 * std::uint8_t(q[1]) + std::uint8_t(q[2]);
        FUZZ_CHECK(address % addr::BlockSize == 0 && area.contains(address) && area.contains(address + addr::BlockSize - 1));
        for (int k = 0; k < addr::BlockSize; ++k) {
            std::uint8_t expected = data.image[std::size_t(address + k)];
            if (address >= addr::ModelBlock && address < addr::ModelBlock + 16 && k == 1)
                expected = std::uint8_t(dataVersion & 0xFF);
            FUZZ_CHECK(std::uint8_t(q[4 + k]) == expected);
        }
    }
}

Area writeArea(Step step) {
    switch (step) {
    case Step::Write: return WholeImage;
    case Step::InfoWrite: return InfoTextArea;
    case Step::TuneWriteChannels: return TestChannelArea;
    default: return NoArea;
    }
}

void checkStep(Step step, const ExchangeResult& result, const ScenarioData& before, const ScenarioData& after,
               const ScriptedRadio& radio) {
    FUZZ_CHECK(result.status != ExchangeResult::Status::Cancelled); // every question is answered Yes
    FUZZ_CHECK(result.ok() == (result.reason == LinkFailure::None));
    const SentByRadio sent(radio.turns());
    checkWrites(radio.turns(), *after.held, writeArea(step), after.dataVersion);

    switch (step) {
    case Step::Read:
        FUZZ_CHECK(*after.held == *before.held);
        if (!result.ok()) {
            FUZZ_CHECK(after.readOut->data == before.readOut->data && after.readOut->dataVersion == before.readOut->dataVersion);
            break;
        }
        checkTaken(*before.held, after.readOut->data, {WholeImage}, sent);
        break;
    case Step::InfoRead:
        FUZZ_CHECK(*after.held == *before.held);
        if (!result.ok()) {
            FUZZ_CHECK(*after.infoOut == *before.infoOut);
            break;
        }
        checkTaken(*before.held, *after.infoOut, {InfoArea}, sent);
        break;
    case Step::TuneEnter:
        FUZZ_CHECK(*after.held == *before.held);
        if (!result.ok()) {
            FUZZ_CHECK(after.tuneOut->data == before.tuneOut->data && after.tuneOut->modelCode == before.tuneOut->modelCode);
            break;
        }
        checkTaken(*before.held, after.tuneOut->data, {TestChannelArea, TuneValueArea, Area{addr::ModelBlock, addr::ModelBlock + 1}},
                   sent);
        break;
    case Step::Write: {
        // The write stamps the date and takes the radio's model byte; nothing else changes.
        RadioData unstamped = *after.held;
        const auto stamp = before.held->dateStamp();
        std::copy(stamp.begin(), stamp.end(), unstamped.dateStamp().begin());
        unstamped.modelBlock()[0] = before.held->modelBlock()[0];
        FUZZ_CHECK(unstamped == *before.held);
        break;
    }
    default:
        FUZZ_CHECK(*after.held == *before.held);
        break;
    }
}

ScenarioData copyOf(const ScenarioData& s) {
    ScenarioData c;
    *c.held = *s.held;
    *c.readOut = *s.readOut;
    *c.infoOut = *s.infoOut;
    *c.tuneOut = *s.tuneOut;
    c.dataVersion = s.dataVersion;
    c.itemCode = s.itemCode;
    c.testChannel = s.testChannel;
    c.value = s.value;
    return c;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    // ORV_FUZZ_VERBOSE=1 tells how each exchange ended (to replay one input).
    static const bool verbose = qEnvironmentVariableIsSet("ORV_FUZZ_VERBOSE");
    if (size < 2)
        return 0;
    const int first = input[0] % StepCount;
    ScenarioData data = startingData(input[1]);
    VirtualClock clock;
    ScriptedRadio radio(input + 2, size - 2);
    RadioLink link(radio, clock, QStringLiteral("COM1"));
    SilentFeedback feedback(Answer::Yes);
    ExchangeRunner runner(link, feedback);

    for (int s = first; s < StepCount; ++s) {
        const Step step = Step(s);
        const ScenarioData before = copyOf(data);
        radio.clearTurns();
        const std::int64_t start = clock.nowMs();
        const ExchangeResult result = runStep(runner, step, data);
        if (verbose)
            std::fprintf(stderr, "%s: %s %s, %lld ms\n", qPrintable(exchangeKindName(result.kind)),
                         result.ok() ? "ok" : "failed", qPrintable(linkFailureName(result.reason)),
                         static_cast<long long>(clock.nowMs() - start));
        FUZZ_CHECK(clock.nowMs() - start <= ExchangeTimeLimitMs);
        checkStep(step, result, before, data, radio);
    }
    return 0;
}

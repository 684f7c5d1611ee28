// Writes the hostile-radio fuzzer's seeds into the folder given: the scenario run against the
// virtual radio from a few starting steps, with the radio's replies recorded request by
// request as a script. Each seed replays, request for request, an exchange that succeeds.
#include "RadioScenario.h"
#include "ScriptedRadio.h"

#include "sim/MemoryLink.h"
#include "sim/VirtualRadio.h"

#include <QDir>
#include <QFile>
#include <cstdio>

using namespace orv;
using namespace orv::fuzz;

namespace {

// Passes everything on to the virtual radio's link and notes, for each request, every byte
// taken until the next one: the reply the script has to give.
class Recorder : public SerialLink {
public:
    explicit Recorder(SerialLink& inner) : m_inner(inner) {}
    QByteArray script;

    bool setSettings(const QString& s) override { return m_inner.setSettings(s); }
    bool open() override { return m_inner.open(); }
    void close() override { m_inner.close(); }
    bool isOpen() const override { return m_inner.isOpen(); }
    int inBufferCount() override { return m_inner.inBufferCount(); }
    int outBufferCount() override { return m_inner.outBufferCount(); }
    bool discardInput() override { return m_inner.discardInput(); }
    bool discardOutput() override { return m_inner.discardOutput(); }
    bool send(const QByteArray& bytes) override {
        finishTurn();
        m_inTurn = true;
        return m_inner.send(bytes);
    }
    QByteArray takeAll() override {
        const QByteArray bytes = m_inner.takeAll();
        m_reply += bytes;
        return bytes;
    }
    void finishTurn() {
        if (m_inTurn)
            script += scriptChunk(m_reply);
        m_inTurn = false;
        m_reply.clear();
    }

private:
    SerialLink& m_inner;
    bool m_inTurn = false;
    QByteArray m_reply;
};

QByteArray recordFrom(Step first, std::uint8_t params, int* failures) {
    VirtualClock clock;
    sim::VirtualRadio radio(sim::demoRadioImage());
    sim::MemoryLink wire(radio, clock);
    Recorder recorder(wire);
    RadioLink link(recorder, clock, QStringLiteral("COM1"));
    SilentFeedback feedback(Answer::Yes);
    ExchangeRunner runner(link, feedback);
    ScenarioData data = startingData(params);
    for (int s = int(first); s < StepCount; ++s)
        if (!runStep(runner, Step(s), data).ok())
            ++*failures;
    recorder.finishTurn();
    return QByteArray(1, char(first)) + QByteArray(1, char(params)) + recorder.script;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: hostile_radio_seeds <folder>\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    struct Seed {
        const char* name;
        Step first;
        std::uint8_t params; // item code + 7 * (test channel - 1)
    };
    // Item 1 (squelch) on test channel 2, item 5 (CTC deviation, narrow) on test channel 4.
    const Seed seeds[] = {{"all-steps", Step::Read, 8},
                          {"from-info-read", Step::InfoRead, 8},
                          {"from-tune-entry", Step::TuneEnter, 26},
                          {"from-test-channel-write", Step::TuneWriteChannels, 8}};
    int status = 0;
    for (const Seed& seed : seeds) {
        int failures = 0;
        const QByteArray bytes = recordFrom(seed.first, seed.params, &failures);
        if (failures > 0)
            std::fprintf(stderr, "%s: %d exchanges failed against the virtual radio\n", seed.name, failures);
        QFile f(dir.filePath(QLatin1String(seed.name)));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", seed.name);
            status = 1;
        }
    }
    return status;
}

// The radio commands of orvante-cli: read, write, info-read, info-write, over a serial port
// or the built-in virtual radio.

#include "CliCommands.h"
#include "CliFeedback.h"
#include "files/DataFile.h"
#include "image/RadioInfoText.h"
#include "link/Exchanges.h"
#include "link/PortMap.h"
#include "link/QtSerialLink.h"
#include "link/Trace.h"
#include "session/Session.h"
#include "sim/MemoryLink.h"
#include "sim/VirtualRadio.h"

#include <QFileInfo>
#include <cstdio>

namespace orv::cli {

namespace {

// Messages appear as they come: completions on stdout, warnings and failures on stderr (one
// line each, so a failure's message is the last line). Questions are answered from --yes and
// said on stderr.
class RadioFeedback : public Feedback {
public:
    explicit RadioFeedback(bool yes) : m_yes(yes) {}
    void message(const QString& text, const QString&, Icon icon) override {
        const QString line = oneLine(text);
        std::FILE* to = (icon == Icon::None) ? stdout : stderr;
        std::fprintf(to, "%s\n", line.toUtf8().constData());
        std::fflush(to);
        last = line;
    }
    Answer ask(const QString& text, const QString&, Icon, Buttons) override {
        const QString line = oneLine(text);
        std::fprintf(stderr, "%s %s\n", line.toUtf8().constData(), m_yes ? "Yes (--yes)" : "No");
        stoppedAt = m_yes ? QString() : line;
        return m_yes ? Answer::Yes : Answer::No;
    }
    static QString oneLine(const QString& text) {
        return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
    }
    QString last;
    QString stoppedAt;

private:
    bool m_yes;
};

// The port the command talks to, with its tracing. Owns whatever it had to make.
class Connection {
public:
    bool setUp(const RadioOptions& r, const QString& programIni, const RadioData& demoMemory) {
        Clock& clock = SystemClock::instance();
        if (r.demo) {
            m_radio = std::make_unique<sim::VirtualRadio>();
            m_radio->memory() = demoMemory;
            m_serial = std::make_unique<sim::MemoryLink>(*m_radio, clock);
            m_label = QStringLiteral("Demo radio");
        } else {
            QString device = r.port;
            int number = portNumberFromName(r.port);
            if (r.port.isEmpty())
                number = storedPortNumber(programIni);
            if (number > 0) {
                device = deviceForPort(number, programIni, systemSerialDevices());
                m_label = QStringLiteral("COM%1").arg(number);
            } else {
                m_label = r.port;
            }
            m_serial = std::make_unique<QtSerialLink>(device);
        }
        SerialLink* link = m_serial.get();
        if (!r.trace.isEmpty()) {
            m_trace = std::make_unique<TraceFile>(r.trace, clock);
            if (!m_trace->ok()) {
                fail(QStringLiteral("The trace file %1 cannot be written: %2").arg(r.trace, m_trace->errorString()));
                return false;
            }
            m_tracing = std::make_unique<TracingLink>(*link, *m_trace);
            link = m_tracing.get();
        }
        m_link = std::make_unique<RadioLink>(*link, clock, m_label);
        return true;
    }
    RadioLink& link() { return *m_link; }

private:
    std::unique_ptr<sim::VirtualRadio> m_radio;
    std::unique_ptr<SerialLink> m_serial;
    std::unique_ptr<TraceFile> m_trace;
    std::unique_ptr<TracingLink> m_tracing;
    std::unique_ptr<RadioLink> m_link;
    QString m_label;
};

// One radio command's start-up (or start-up with FILE opened), connection and feedback.
struct RadioRun {
    CliFeedback startFeedback;
    std::unique_ptr<Session> session;
    Connection connection;
    RadioFeedback feedback;
    explicit RadioRun(const RadioOptions& r) : feedback(r.yes) {}
    bool start(const Options& o, const RadioOptions& r, const QString& file = {}) {
        session = file.isEmpty() ? startSession(o, startFeedback) : openSession(o, file, startFeedback);
        return session && connection.setUp(r, session->startup().productIniPath, sim::demoRadioImage());
    }
    RadioLink& link() { return connection.link(); }
};

int failedExchange(const RadioFeedback& feedback) {
    // The exchange's own message is already the last line of stderr.
    if (!feedback.stoppedAt.isEmpty())
        return fail(QStringLiteral("Stopped at the question: ") + feedback.stoppedAt);
    return ExitFailed;
}

} // namespace

int cmdRead(const Options& o, const RadioOptions& r, const QString& file) {
    RadioRun run(r);
    if (!run.start(o, r))
        return ExitFailed;
    Session* session = run.session.get();
    RadioFeedback& feedback = run.feedback;
    const auto result = readRadio(run.link(), feedback, session->data());
    if (!result)
        return failedExchange(feedback);
    if (result->dataVersion >= 3)
        feedback.message(QStringLiteral("New Version Radio. Please update program software."),
                         QStringLiteral("Error"), Icon::Information);
    int version = result->dataVersion;
    const SaveStatus saved = writeDataFile(QFileInfo(file).absoluteFilePath(), result->data, &version);
    if (saved != SaveStatus::Ok)
        return fail(QStringLiteral("The data read cannot be saved to %1.").arg(file));
    std::printf("Saved to %s\n", qPrintable(file));
    return ExitOk;
}

int cmdWrite(const Options& o, const RadioOptions& r, const QString& file, bool raw) {
    RadioRun run(r);
    if (!run.start(o, r, file))
        return ExitFailed;
    Session* session = run.session.get();
    RadioData data;
    if (raw) {
        // The file's bytes as they are, without the editors' round trip.
        const LoadOutcome loaded = readDataFile(QFileInfo(file).absoluteFilePath(), session->data());
        data = loaded.data;
    } else {
        session->encodeSettings();
        data = session->data();
    }
    RadioFeedback& feedback = run.feedback;
    const ModelInfo* model = session->selectedModelInfo();
    int version = session->dataVersion();
    if (!writeRadio(run.link(), feedback, data, version, {model ? model->value : -1, session->title()}))
        return failedExchange(feedback);
    return ExitOk;
}

int cmdInfoRead(const Options& o, const RadioOptions& r) {
    RadioRun run(r);
    if (!run.start(o, r))
        return ExitFailed;
    RadioFeedback& feedback = run.feedback;
    const auto data = readEmbedInfo(run.link(), feedback, RadioData{});
    if (!data)
        return failedExchange(feedback);
    // NUL characters would cut a terminal line short: the text ends at its trailing NULs,
    // the radio ID shows them as middle dots.
    QString text = infoTextFromImage(*data);
    while (text.endsWith(QChar(0)))
        text.chop(1);
    QString id = radioIdText(*data);
    id.replace(QChar(0), QChar(0x00B7));
    text.replace(QChar(0), QChar(0x00B7));
    std::printf("%s\n%s\n%s\n", text.toUtf8().constData(), id.toUtf8().constData(),
                dateStampText(*data).toUtf8().constData());
    return ExitOk;
}

int cmdInfoWrite(const Options& o, const RadioOptions& r, const QString& text) {
    RadioRun run(r);
    if (!run.start(o, r))
        return ExitFailed;
    Session* session = run.session.get();
    RadioFeedback& feedback = run.feedback;
    RadioData data = session->data();
    storeInfoText(text.left(InfoTextChars), data);
    if (!writeEmbedInfo(run.link(), feedback, data))
        return failedExchange(feedback);
    return ExitOk;
}

} // namespace orv::cli

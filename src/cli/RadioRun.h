#pragma once
// What every radio command of orvante-cli shares: its feedback on the terminal, its
// connection (a port or the virtual radio, with the trace) and its start-up.

#include "CliCommands.h"
#include "CliFeedback.h"
#include "CliHistory.h"
#include "link/RadioConnection.h"
#include "document/Document.h"
#include "exchange/ExchangeRunner.h"
#include "sim/VirtualRadio.h"

#include <cstdio>

namespace orv::cli {

// Messages appear as they come: completions on stdout, warnings and failures on stderr (one
// line each, so a failure's message is the last line). Questions are answered from --yes and
// said on stderr.
class RadioFeedback : public Feedback {
public:
    explicit RadioFeedback(bool yes) : m_yes(yes) {}
    void message(const QString& text, const QString&, Icon icon) override {
        const QString line = oneLine(text);
        std::FILE* to = (icon == Icon::None) ? completionsTo : stderr;
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
    std::FILE* completionsTo = stdout; // where messages without an icon (completions) go

private:
    bool m_yes;
};

// The port (or virtual radio) of a command, with its tracing.
inline bool setUpConnection(RadioConnection& c, const RadioOptions& r, const QString& programIni) {
    if (r.demo)
        c.useDemoRadio(sim::demoRadioImage());
    else
        c.usePortName(r.port, programIni);
    QString why;
    if (!r.trace.isEmpty() && !c.traceTo(r.trace, &why)) {
        fail(QStringLiteral("The trace file %1 cannot be written: %2").arg(r.trace, why));
        return false;
    }
    return true;
}

// One radio command's start-up (or start-up with FILE opened), connection and feedback.
struct RadioRun {
    CliFeedback startFeedback;
    std::unique_ptr<Document> session;
    RadioConnection connection;
    RadioFeedback feedback;
    ExchangeRunner runner;
    CliHistory history; // every exchange recorded, a read kept as a backup
    explicit RadioRun(const RadioOptions& r)
        : connection(SystemClock::instance()), feedback(r.yes),
          runner([this]() -> RadioLink& { return connection.link(); }, feedback) {}
    bool start(const Options& o, const RadioOptions& r, const QString& file = {}) {
        session = file.isEmpty() ? startSession(o, startFeedback) : openSession(o, file, startFeedback);
        if (session)
            history.attach(runner, session->startup().productIniPath, r.backup);
        return session && setUpConnection(connection, r, session->startup().productIniPath);
    }
    RadioLink& link() { return connection.link(); }
};

inline int failedExchange(const RadioFeedback& feedback) {
    // The exchange's own message is already the last line of stderr.
    if (!feedback.stoppedAt.isEmpty())
        return fail(QStringLiteral("Stopped at the question: ") + feedback.stoppedAt);
    return ExitFailed;
}

} // namespace orv::cli

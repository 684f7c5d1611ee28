// orvante-radio-sim: a virtual radio on a pseudo-terminal, for trying the program (and its
// tests) against a real serial device without a radio. Prints the device path as the first
// line of standard output, serves one client after another until SIGTERM, SIGINT, SIGHUP or
// the end of standard input, then saves the radio's memory when asked to. With --radios N it
// is N radios, each on its own pseudo-terminal, their paths the first N lines.
#include "PtyRadio.h"

#include "files/DataFile.h"
#include "fleet/NumberedPath.h"
#include "link/Protocol.h"
#include "sim/NumberedRadios.h"
#include "sim/VirtualRadio.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

using namespace orv;
using namespace orv::sim;

namespace {

enum Exit { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

// The most radios one simulator serves.
constexpr int MaxRadios = 64;

int complain(const QString& text, int status) {
    std::fprintf(stderr, "orvante-radio-sim: %s\n", qPrintable(text));
    return status;
}

bool byteOption(const QCommandLineParser& parser, const QString& name, int& value) {
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const QString text = parser.value(name);
    const int v = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? text.mid(2).toInt(&ok, 16)
                                                                            : text.toInt(&ok, 10);
    if (!ok || v < 0 || v > 255)
        return false;
    value = v;
    return true;
}

QString loadProblem(LoadStatus status) {
    switch (status) {
    case LoadStatus::NotFound:
        return QStringLiteral("no such file");
    case LoadStatus::WrongHeader:
        return QStringLiteral("not a data file");
    case LoadStatus::UnsupportedVersion:
        return QStringLiteral("a data file version this program does not know");
    default:
        return QStringLiteral("the file is damaged");
    }
}

} // namespace

int main(int argc, char** argv) {
    // The stop signals are taken through a descriptor, so the serving loop ends cleanly and
    // the memory is saved. Blocked before anything else so every thread inherits the mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    const int stopFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvante-radio-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANTE_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A virtual ORVANTE radio on a pseudo-terminal. The device to open is printed as the "
                       "first line of output; the radio serves until SIGTERM, SIGINT, SIGHUP or the end of standard "
                       "input.\n\nFaults (--fault, repeatable):\n  ") +
        RadioFaults::syntax().join(QLatin1String("\n  ")) +
        QStringLiteral("\nB is a block number (address / 8, 0..127); L is a tune item letter (B, M, m, Q or D); "
                       "numbers may be written 0x..."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    parser.addOptions({
        {QStringLiteral("image"), QStringLiteral("The radio's memory from a data file (default: a demo radio)."),
         QStringLiteral("FILE")},
        {QStringLiteral("model-code"), QStringLiteral("Model code in the identity reply (default 7)."),
         QStringLiteral("N")},
        {QStringLiteral("data-version"), QStringLiteral("Data version in the identity reply (default 2)."),
         QStringLiteral("N")},
        {QStringLiteral("identity"),
         QStringLiteral("Identity text of the radio (default %1).")
             .arg(QLatin1String(protocol::bytes(protocol::IdentityText))),
         QStringLiteral("TEXT")},
        {QStringLiteral("fault"), QStringLiteral("Make the radio misbehave (see above)."), QStringLiteral("SPEC")},
        {QStringLiteral("trace"), QStringLiteral("Log every byte sent and received to FILE."),
         QStringLiteral("FILE")},
        {QStringLiteral("save-on-exit"), QStringLiteral("Save the radio's memory to a data file when stopping."),
         QStringLiteral("FILE")},
        {QStringLiteral("radios"),
         QStringLiteral("Serve N radios, each on its own pseudo-terminal (their paths are the first N lines); "
                        "radio i has the radio ID SIM and i in four digits. With N > 1 --save-on-exit and --trace "
                        "give one file per radio, \"-i\" before the extension."),
         QStringLiteral("N")},
        {QStringLiteral("radio-id"), QStringLiteral("The radio ID of every radio (16 characters at most)."),
         QStringLiteral("TEXT")},
        {QStringLiteral("fault-radio"), QStringLiteral("Make radio I misbehave (I from 1; SPEC as for --fault)."),
         QStringLiteral("I:SPEC")},
    });
    if (!parser.parse(QCoreApplication::arguments()))
        return complain(parser.errorText(), ExitUsage);
    if (parser.isSet(helpOption) || parser.isSet(QStringLiteral("help-all")))
        parser.showHelp(ExitOk);
    if (parser.isSet(versionOption))
        parser.showVersion();
    if (!parser.positionalArguments().isEmpty())
        return complain(QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()),
                        ExitUsage);

    int count = 1;
    if (parser.isSet(QStringLiteral("radios"))) {
        bool ok = false;
        count = parser.value(QStringLiteral("radios")).toInt(&ok);
        if (!ok || count < 1 || count > MaxRadios)
            return complain(QStringLiteral("--radios takes a number from 1 to %1").arg(MaxRadios), ExitUsage);
    }
    int modelCode = VirtualRadio().modelCode(), dataVersion = VirtualRadio().dataVersion();
    if (!byteOption(parser, QStringLiteral("model-code"), modelCode))
        return complain(QStringLiteral("--model-code takes a number from 0 to 255"), ExitUsage);
    if (!byteOption(parser, QStringLiteral("data-version"), dataVersion))
        return complain(QStringLiteral("--data-version takes a number from 0 to 255"), ExitUsage);
    RadioFaults common;
    for (const QString& spec : parser.values(QStringLiteral("fault"))) {
        QString why;
        if (!RadioFaults::parse(spec, common, &why))
            return complain(why, ExitUsage);
    }
    std::vector<RadioFaults> faults(size_t(count), common);
    for (const QString& text : parser.values(QStringLiteral("fault-radio"))) {
        bool ok = false;
        const int i = text.section(QLatin1Char(':'), 0, 0).toInt(&ok);
        if (!ok || i < 1 || i > count)
            return complain(QStringLiteral("--fault-radio takes I:SPEC with I a radio from 1 to %1").arg(count), ExitUsage);
        QString why;
        if (!RadioFaults::parse(text.section(QLatin1Char(':'), 1), faults[size_t(i - 1)], &why))
            return complain(why, ExitUsage);
    }
    const QString radioId = parser.value(QStringLiteral("radio-id"));
    if (radioId.toLatin1().size() > 16)
        return complain(QStringLiteral("--radio-id takes 16 characters at most"), ExitUsage);

    RadioData memory = demoRadioImage();
    if (parser.isSet(QStringLiteral("image"))) {
        const QString path = parser.value(QStringLiteral("image"));
        const LoadOutcome loaded = readDataFile(path, RadioData{});
        if (loaded.status != LoadStatus::Ok)
            return complain(QStringLiteral("cannot use %1 as the radio's memory: %2").arg(path, loadProblem(loaded.status)),
                            ExitFailed);
        memory = loaded.data;
    }
    // One file per radio when there are several: "-i" before the extension.
    const auto fileOf = [count](const QString& path, int i) { return count > 1 ? fleet::numberedPath(path, i) : path; };

    std::vector<std::unique_ptr<VirtualRadio>> radios;
    std::vector<std::unique_ptr<QFile>> traces;
    for (int i = 1; i <= count; ++i) {
        RadioData own = memory;
        if (!radioId.isEmpty())
            own = withRadioId(own, radioIdBytes(radioId));
        else if (parser.isSet(QStringLiteral("radios")))
            own = withRadioId(own, numberedRadioId(i));
        auto radio = std::make_unique<VirtualRadio>(own);
        radio->setModelCode(modelCode);
        radio->setDataVersion(dataVersion);
        if (parser.isSet(QStringLiteral("identity")))
            radio->setIdentity(parser.value(QStringLiteral("identity")).toLatin1());
        radio->setFaults(faults[size_t(i - 1)]);
        radios.push_back(std::move(radio));
        if (parser.isSet(QStringLiteral("trace"))) {
            auto trace = std::make_unique<QFile>(fileOf(parser.value(QStringLiteral("trace")), i));
            if (!trace->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
                return complain(QStringLiteral("cannot write the trace %1: %2").arg(trace->fileName(), trace->errorString()),
                                ExitFailed);
            traces.push_back(std::move(trace));
        }
    }
    if (stopFd < 0)
        return complain(QStringLiteral("cannot watch for stop signals"), ExitFailed);

    std::vector<std::unique_ptr<PtyRadio>> ptys;
    std::vector<PtyRadio*> serving;
    QString error;
    for (size_t i = 0; i < radios.size(); ++i) {
        ptys.push_back(std::make_unique<PtyRadio>(*radios[i]));
        if (!ptys.back()->open(&error))
            return complain(error, ExitFailed);
        if (!traces.empty())
            ptys.back()->setTrace(traces[i].get());
        serving.push_back(ptys.back().get());
    }
    for (const auto& pty : ptys)
        std::printf("%s\n", qPrintable(pty->devicePath()));
    std::fflush(stdout);

    const bool watchStdin = fcntl(STDIN_FILENO, F_GETFD) != -1;
    const bool served = PtyRadio::serve(serving, stopFd, watchStdin, &error);
    int status = ExitOk;
    if (!served)
        status = complain(error, ExitFailed);

    for (int i = 1; parser.isSet(QStringLiteral("save-on-exit")) && i <= count; ++i) {
        const QString path = fileOf(parser.value(QStringLiteral("save-on-exit")), i);
        if (writeDataFile(path, radios[size_t(i - 1)]->memory()) != SaveStatus::Ok)
            status = complain(QStringLiteral("cannot save the radio's memory to %1").arg(path), ExitFailed);
    }
    return status;
}

// orvante-cli: the radio data on a terminal, for scripts and for checking files.

#include "CliCommands.h"
#include "DiffCommand.h"
#include "FleetCommand.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <memory>

using namespace orv::cli;

namespace {

int usage(const QString& why) {
    std::fprintf(stderr, "orvante-cli: %s\nTry 'orvante-cli --help'.\n", qPrintable(why));
    return ExitUsage;
}

std::optional<int> intOption(const QCommandLineParser& p, const QString& name, bool* ok) {
    if (!p.isSet(name))
        return std::nullopt;
    bool good = false;
    const int v = p.value(name).trimmed().toInt(&good);
    if (!good)
        *ok = false;
    return v;
}

bool expectArgs(const QStringList& rest, int n) { return rest.size() == n; }

// Drawing a report needs fonts, which only a GUI application has; it never opens a window,
// so it needs no display either. The other commands stay without one.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char* argv[]) {
    bool drawing = false;
    for (int i = 1; i < argc; ++i)
        drawing = drawing || std::strcmp(argv[i], "print") == 0;
    if (!drawing)
        return std::make_unique<QCoreApplication>(argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

int main(int argc, char* argv[]) {
    const auto app = makeApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvante-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANTE_VERSION));

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "ORVANTE Programming Software on the command line.\n\n"
        "Commands:\n"
        "  new (--model-value V | --model-position P) -o FILE   a new data file for a model\n"
        "  show FILE                                            what the window shows for FILE\n"
        "  export FILE [--format json|csv]                      the same for scripts\n"
        "  convert IN OUT                                       rewrite IN in the format OUT's name asks for\n"
        "  dump FILE                                            the image and spare bytes in hex\n"
        "  print FILE --pdf OUT [--view channels|tune]          the printed report of FILE as a PDF: the channel\n"
        "                                                       and function pages, or the tune page\n"
        "  check FILE                                           the warnings about FILE's plan, one a line\n"
        "                                                       (exit 0: none, 1: warnings)\n"
        "  diff A B [--scope all|programming] [--format text|json]\n"
        "                                                       the differences between two data files; exit 0\n"
        "                                                       none, 1 some, 2 trouble\n"
        "  import IN [--base FILE | --model-value V | --model-position P] -o OUT [--keep-going]\n"
        "                                                       apply a CSV or JSON channel plan to a data file\n"
        "                                                       and write OUT (nothing written on an error)\n"
        "\nRadio commands (add --port PORT or --demo, --trace FILE, --yes):\n"
        "  read -o FILE                                         read the radio's memory into FILE\n"
        "  write [--raw] [--verify] FILE                        write FILE to the radio (--verify: then read it back\n"
        "                                                       and check the radio holds it)\n"
        "  diff FILE --radio [--scope ...] [--format ...]       the differences between FILE and the radio\n"
        "  info-read                                            print the radio information\n"
        "  info-write TEXT                                      write TEXT as the information text\n"
        "  tune-read -o FILE                                    enter tune mode, leave it, save the test\n"
        "                                                       channels and tune values read in FILE\n"
        "  tune --channel N --item KEY --value V (--store|--cancel)\n"
        "                                                       align one item on test channel N (1-11);\n"
        "                                                       KEY: Battery, SqlTight, SqlOpen, CTCDevW,\n"
        "                                                       DCSDevW, CTCDevN, DCSDevN; V: 0-255\n"
        "  tune-write-channels FILE                             write the test channels of FILE\n"
        "  (a read is kept as a backup in the data folder unless --no-backup is given)\n"
        "\nhistory [--radio-id ID] [--format text|json|csv]       the radio history, newest first"
        "\n\nfleet FILE (--port PORT)... | --demo-radios N            write FILE into many radios at once; options\n"
        "  [--backup] [--verify] [--info TEMPLATE] [--count N] [--next auto|prompt] [--allow-other-model] [--log CSV]"));
    p.addHelpOption();
    p.addVersionOption();
    p.addOption({QStringLiteral("catalog"), QStringLiteral("The model catalog INI (default: the shipped vuxPC.ini)."),
                 QStringLiteral("FILE")});
    p.addOption({QStringLiteral("model-value"), QStringLiteral("new, import: the model value (first catalog model with it)."),
                 QStringLiteral("V")});
    p.addOption({QStringLiteral("model-position"), QStringLiteral("new, import: the catalog position of the model."),
                 QStringLiteral("P")});
    p.addOption({{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("new, read, tune-read, import: the file to write."),
                 QStringLiteral("FILE")});
    p.addOption({QStringLiteral("port"),
                 QStringLiteral("Radio commands: COM1..COM16 or a device path (default: the port stored in the program's INI); "
                                "fleet: one for each port, repeated."),
                 QStringLiteral("PORT")});
    p.addOption({QStringLiteral("demo"), QStringLiteral("Radio commands: talk to the built-in virtual radio.")});
    p.addOption({QStringLiteral("trace"), QStringLiteral("Radio commands: log every byte sent and received to FILE (fleet: one file for each port, "
                                "-i before the extension)."),
                 QStringLiteral("FILE")});
    p.addOption({QStringLiteral("yes"), QStringLiteral("Radio commands: answer Yes to the questions (default: No).")});
    p.addOption({QStringLiteral("raw"), QStringLiteral("write: send the file's bytes unchanged.")});
    p.addOption({QStringLiteral("no-backup"), QStringLiteral("Radio commands: keep no backup of the memory read.")});
    p.addOption({QStringLiteral("radio-id"), QStringLiteral("history: only the events of this radio ID."),
                 QStringLiteral("ID")});
    p.addOption({QStringLiteral("verify"), QStringLiteral("write, fleet: read back what was written and compare.")});
    p.addOption({QStringLiteral("scope"), QStringLiteral("diff: all (default) or programming."), QStringLiteral("SCOPE")});
    p.addOption({QStringLiteral("radio"), QStringLiteral("diff: compare FILE with the radio.")});
    p.addOption({QStringLiteral("channel"), QStringLiteral("tune: the test channel, 1-11."), QStringLiteral("N")});
    p.addOption({QStringLiteral("item"), QStringLiteral("tune: the tune item."), QStringLiteral("KEY")});
    p.addOption({QStringLiteral("value"), QStringLiteral("tune: the new value, 0-255."), QStringLiteral("V")});
    p.addOption({QStringLiteral("store"), QStringLiteral("tune: store the value in the radio (OK).")});
    p.addOption({QStringLiteral("cancel"), QStringLiteral("tune: leave the item without storing (Cancel).")});
    p.addOption({QStringLiteral("format"),
                 QStringLiteral("export: json (default) or csv; history: text (default), json or csv; diff: text "
                                "(default) or json."),
                 QStringLiteral("FORMAT")});
    p.addOption({QStringLiteral("pdf"), QStringLiteral("print: the PDF file to write."), QStringLiteral("OUT")});
    p.addOption({QStringLiteral("view"), QStringLiteral("print: channels (default) or tune."), QStringLiteral("VIEW")});
    addImportOptions(p);
    addFleetOptions(p);
    p.addPositionalArgument(QStringLiteral("command"),
                            QStringLiteral("new, show, export, convert, dump, print, check, diff, read, write, info-read, "
                                           "info-write, tune-read, tune, tune-write-channels, import, history or fleet."));

    if (!p.parse(QCoreApplication::arguments()))
        return usage(p.errorText());
    // --help-all (which addHelpOption adds) has no Qt options to add here: it is --help.
    if (p.isSet(QStringLiteral("help")) || p.isSet(QStringLiteral("help-all"))) {
        std::fputs(qPrintable(p.helpText()), stdout);
        return ExitOk;
    }
    if (p.isSet(QStringLiteral("version"))) {
        std::printf("orvante-cli %s\n", ORVANTE_VERSION);
        return ExitOk;
    }

    const QStringList args = p.positionalArguments();
    if (args.isEmpty())
        return usage(QStringLiteral("no command given"));
    const QString command = args.first();
    const QStringList rest = args.mid(1);

    Options o;
    o.catalogPath = p.value(QStringLiteral("catalog"));
    bool numbersOk = true;
    o.modelValue = intOption(p, QStringLiteral("model-value"), &numbersOk);
    o.modelPosition = intOption(p, QStringLiteral("model-position"), &numbersOk);
    if (!numbersOk)
        return usage(QStringLiteral("--model-value and --model-position take a whole number"));
    o.output = p.value(QStringLiteral("output"));
    if (p.isSet(QStringLiteral("format")))
        o.format = p.value(QStringLiteral("format"));
    if (p.isSet(QStringLiteral("format")) && !QStringList{"export", "diff", "history"}.contains(command))
        return usage(QStringLiteral("--format belongs to 'export', 'diff' and 'history'"));
    if (command == QLatin1String("import"))
        return cmdImport(p, o, rest, usage);
    if (importOptionsSet(p))
        return usage(QStringLiteral("--base and --keep-going belong to 'import'"));
    if (command == QLatin1String("fleet"))
        return cmdFleet(p, o, rest, usage);
    if (fleetOptionsSet(p))
        return usage(QStringLiteral("--backup, --info, --count, --next, --allow-other-model, --log and --demo-radios "
                                    "belong to 'fleet'"));

    RadioOptions r;
    r.port = p.value(QStringLiteral("port"));
    r.demo = p.isSet(QStringLiteral("demo"));
    r.trace = p.value(QStringLiteral("trace"));
    r.yes = p.isSet(QStringLiteral("yes"));
    r.backup = !p.isSet(QStringLiteral("no-backup"));
    const bool raw = p.isSet(QStringLiteral("raw"));
    const QStringList radioCommands{"read", "write", "info-read", "info-write", "tune-read", "tune",
                                    "tune-write-channels"};
    const bool radioCommand =
        radioCommands.contains(command) || (command == QLatin1String("diff") && p.isSet(QStringLiteral("radio")));

    // Options that belong to one command only are refused elsewhere.
    const bool modelOptions = o.modelValue || o.modelPosition;
    if (command != QLatin1String("new") && modelOptions)
        return usage(QStringLiteral("--model-value and --model-position belong to 'new'"));
    if (command != QLatin1String("new") && command != QLatin1String("read") && command != QLatin1String("tune-read") &&
        p.isSet(QStringLiteral("output")))
        return usage(QStringLiteral("-o belongs to 'new', 'read' and 'tune-read'"));
    const bool tuneOptions = p.isSet(QStringLiteral("channel")) || p.isSet(QStringLiteral("item")) ||
                             p.isSet(QStringLiteral("value")) || p.isSet(QStringLiteral("store")) ||
                             p.isSet(QStringLiteral("cancel"));
    if (command != QLatin1String("tune") && tuneOptions)
        return usage(QStringLiteral("--channel, --item, --value, --store and --cancel belong to 'tune'"));
    const bool radioOptions = p.isSet(QStringLiteral("port")) || r.demo || p.isSet(QStringLiteral("trace")) || r.yes;
    if (!radioCommand && radioOptions)
        return usage(QStringLiteral("--port, --demo, --trace and --yes belong to the radio commands"));
    if (!radioCommand && !r.backup)
        return usage(QStringLiteral("--no-backup belongs to the radio commands"));
    if (command != QLatin1String("history") && p.isSet(QStringLiteral("radio-id")))
        return usage(QStringLiteral("--radio-id belongs to 'history'"));
    if (command == QLatin1String("history")) {
        const QString format = p.isSet(QStringLiteral("format")) ? p.value(QStringLiteral("format")) : QStringLiteral("text");
        if (!expectArgs(rest, 0))
            return usage(QStringLiteral("'history' takes no argument besides its options"));
        if (format != QLatin1String("text") && format != QLatin1String("json") && format != QLatin1String("csv"))
            return usage(QStringLiteral("--format is text, json or csv"));
        return cmdHistory(o, p.isSet(QStringLiteral("radio-id")) ? std::optional(p.value(QStringLiteral("radio-id")))
                                                                  : std::nullopt,
                          format);
    }
    if (r.demo && p.isSet(QStringLiteral("port")))
        return usage(QStringLiteral("give either --port or --demo"));
    if (command != QLatin1String("write") && raw)
        return usage(QStringLiteral("--raw belongs to 'write'"));
    if (command != QLatin1String("write") && p.isSet(QStringLiteral("verify")))
        return usage(QStringLiteral("--verify belongs to 'write'"));
    if (command != QLatin1String("diff") && (p.isSet(QStringLiteral("scope")) || p.isSet(QStringLiteral("radio"))))
        return usage(QStringLiteral("--scope and --radio belong to 'diff'"));
    const bool printOptions = p.isSet(QStringLiteral("pdf")) || p.isSet(QStringLiteral("view"));
    if (command != QLatin1String("print") && printOptions)
        return usage(QStringLiteral("--pdf and --view belong to 'print'"));
    if (command == QLatin1String("diff"))
        return runDiff(p, o, r, rest, usage);
    if (command == QLatin1String("read")) {
        if (!expectArgs(rest, 0) || o.output.isEmpty())
            return usage(QStringLiteral("'read' takes no file argument; name the file with -o"));
        return cmdRead(o, r, o.output);
    }
    if (command == QLatin1String("write")) {
        if (!expectArgs(rest, 1))
            return usage(QStringLiteral("'write' takes one FILE"));
        return cmdWrite(o, r, rest[0], raw, p.isSet(QStringLiteral("verify")));
    }
    if (command == QLatin1String("info-read")) {
        if (!expectArgs(rest, 0))
            return usage(QStringLiteral("'info-read' takes no argument"));
        return cmdInfoRead(o, r);
    }
    if (command == QLatin1String("info-write")) {
        if (!expectArgs(rest, 1))
            return usage(QStringLiteral("'info-write' takes one TEXT"));
        return cmdInfoWrite(o, r, rest[0]);
    }
    if (command == QLatin1String("tune-read")) {
        if (!expectArgs(rest, 0) || o.output.isEmpty())
            return usage(QStringLiteral("'tune-read' takes no file argument; name the file with -o"));
        return cmdTuneRead(o, r, o.output);
    }
    if (command == QLatin1String("tune-write-channels")) {
        if (!expectArgs(rest, 1))
            return usage(QStringLiteral("'tune-write-channels' takes one FILE"));
        return cmdTuneWriteChannels(o, r, rest[0]);
    }
    if (command == QLatin1String("tune")) {
        if (!expectArgs(rest, 0))
            return usage(QStringLiteral("'tune' takes no argument besides its options"));
        TuneRequest t;
        bool channelOk = false, valueOk = false;
        t.channel = p.value(QStringLiteral("channel")).trimmed().toInt(&channelOk);
        t.value = p.value(QStringLiteral("value")).trimmed().toInt(&valueOk);
        t.item = p.value(QStringLiteral("item"));
        t.store = p.isSet(QStringLiteral("store"));
        if (!channelOk || t.channel < 1 || t.channel > 11)
            return usage(QStringLiteral("'tune' needs --channel N with N from 1 to 11"));
        if (tuneItemKeys().indexOf(t.item) < 0)
            return usage(QStringLiteral("--item is one of %1").arg(tuneItemKeys().join(QStringLiteral(", "))));
        if (!valueOk || t.value < 0 || t.value > 255)
            return usage(QStringLiteral("'tune' needs --value V with V from 0 to 255"));
        if (t.store == p.isSet(QStringLiteral("cancel")))
            return usage(QStringLiteral("'tune' needs exactly one of --store and --cancel"));
        return cmdTune(o, r, t);
    }
    if (command == QLatin1String("print")) {
        if (!expectArgs(rest, 1))
            return usage(QStringLiteral("'print' takes one FILE"));
        const QString pdf = p.value(QStringLiteral("pdf"));
        if (pdf.isEmpty())
            return usage(QStringLiteral("'print' needs --pdf OUT"));
        const QString view = p.isSet(QStringLiteral("view")) ? p.value(QStringLiteral("view")) : QStringLiteral("channels");
        if (view != QLatin1String("channels") && view != QLatin1String("tune"))
            return usage(QStringLiteral("--view is channels or tune"));
        return cmdPrint(o, rest[0], pdf, view);
    }

    if (command == QLatin1String("check")) {
        if (!expectArgs(rest, 1))
            return usage(QStringLiteral("'check' takes one FILE"));
        return cmdCheck(o, rest[0]);
    }
    if (command == QLatin1String("new")) {
        if (!expectArgs(rest, 0))
            return usage(QStringLiteral("'new' takes no file argument; name the file with -o"));
        if (bool(o.modelValue) == bool(o.modelPosition))
            return usage(QStringLiteral("'new' needs exactly one of --model-value and --model-position"));
        if (o.output.isEmpty())
            return usage(QStringLiteral("'new' needs -o FILE"));
        return cmdNew(o);
    }
    if (command == QLatin1String("show") || command == QLatin1String("export") || command == QLatin1String("dump")) {
        if (!expectArgs(rest, 1))
            return usage(QStringLiteral("'%1' takes one FILE").arg(command));
        if (command == QLatin1String("show"))
            return cmdShow(o, rest[0]);
        if (command == QLatin1String("dump"))
            return cmdDump(o, rest[0]);
        if (o.format != QLatin1String("json") && o.format != QLatin1String("csv"))
            return usage(QStringLiteral("--format is json or csv"));
        return cmdExport(o, rest[0]);
    }
    if (command == QLatin1String("convert")) {
        if (!expectArgs(rest, 2))
            return usage(QStringLiteral("'convert' takes IN and OUT"));
        return cmdConvert(o, rest[0], rest[1]);
    }
    return usage(QStringLiteral("unknown command '%1'").arg(command));
}

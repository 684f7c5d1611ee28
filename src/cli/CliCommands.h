#pragma once
// The commands of orvante-cli. Each returns the process exit status: 0 success, 1 the
// program refused or failed (its message is the last line of stderr), 2 a usage error.

#include <QString>
#include <memory>
#include <QStringList>
#include <optional>

class QCommandLineParser;

namespace orv {
class Document;
class Feedback;
}

namespace orv::cli {

enum Exit { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

struct Options {
    QString catalogPath; // empty: the shipped catalog
    std::optional<int> modelValue;
    std::optional<int> modelPosition;
    QString output;
    QString format = QStringLiteral("json");
};

int cmdNew(const Options& o);
int cmdShow(const Options& o, const QString& file);
int cmdExport(const Options& o, const QString& file);
int cmdConvert(const Options& o, const QString& in, const QString& out);
int cmdDump(const Options& o, const QString& file);
// The window's report after opening FILE, as a PDF; view is "channels" or "tune".
int cmdPrint(const Options& o, const QString& file, const QString& pdfPath, const QString& view);
// The check of FILE: one warning a line; 0 none, 1 warnings, 2 FILE cannot be read.
int cmdCheck(const Options& o, const QString& file);

// Shared by the commands: a failure message as the last line of stderr (returns ExitFailed),
// the window's start-up, and start-up followed by opening FILE (nullptr after a failure).
class CliFeedback;
int fail(const QString& message);
std::unique_ptr<Document> startSession(const Options& o, CliFeedback& feedback);
std::unique_ptr<Document> openSession(const Options& o, const QString& file, CliFeedback& feedback);
// The model --model-value or --model-position names chosen as the window chooses it (the
// question answered by feedback); true without either. False after the failure message when
// the catalog has no such model.
bool chooseModelOption(const Options& o, Document& doc, Feedback& feedback);
// Save As to path; ExitFailed after the failure message.
int saveAs(Document& doc, const QString& path, CliFeedback& feedback);

// import: the options and the help text it adds to the parser, whether one of them is given, and the command
// (usage errors through `usage`).
void addImportOptions(QCommandLineParser& p);
bool importOptionsSet(const QCommandLineParser& p);
int cmdImport(const QCommandLineParser& p, const Options& o, const QStringList& rest, int (*usage)(const QString&));

// Radio commands.
struct RadioOptions {
    QString port;      // "COMn" or a device path; empty: the port stored in the program's INI
    bool demo = false; // the built-in virtual radio
    QString trace;     // trace file
    bool yes = false;  // answer Yes to the questions
    bool backup = true; // keep a backup of a read (--no-backup: none)
};
int cmdRead(const Options& o, const RadioOptions& r, const QString& file);
// verify: then read back what was written and check the radio holds it.
int cmdWrite(const Options& o, const RadioOptions& r, const QString& file, bool raw, bool verify = false);
int cmdInfoRead(const Options& o, const RadioOptions& r);
int cmdInfoWrite(const Options& o, const RadioOptions& r, const QString& text);

// Tune-mode commands.
struct TuneRequest {
    int channel = 0;  // test channel 1..11
    QString item;     // tree key: "Battery", "SqlTight", "SqlOpen", "CTCDevW", "DCSDevW", "CTCDevN", "DCSDevN"
    int value = 0;    // 0..255
    bool store = false; // OK (store) or Cancel
};
// The item keys "tune --item" takes.
QStringList tuneItemKeys();
int cmdTuneRead(const Options& o, const RadioOptions& r, const QString& file);
int cmdTune(const Options& o, const RadioOptions& r, const TuneRequest& t);
int cmdTuneWriteChannels(const Options& o, const RadioOptions& r, const QString& file);

// The radio history, newest first (only `radioId`'s events when given); format is "text",
// "json" or "csv".
int cmdHistory(const Options& o, const std::optional<QString>& radioId, const QString& format);

} // namespace orv::cli

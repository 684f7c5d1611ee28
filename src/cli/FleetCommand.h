#pragma once
// orvante-cli fleet: one data file into many radios, on several ports at once (or on N
// virtual radios in the process), each radio backed up, written, verified and stamped with
// its information text as asked, one stdout line and one log row per radio.

#include "CliCommands.h"

#include <QCommandLineParser>
#include <QStringList>

namespace orv::cli {

// The options fleet adds to the parser, and whether one of its own is given.
void addFleetOptions(QCommandLineParser& p);
bool fleetOptionsSet(const QCommandLineParser& p);

// fleet FILE (--port PORT)... | --demo-radios N, with the options. Exit status: 0 every radio
// programmed, 1 any failed or the run could not start (its message the last line of stderr),
// 2 a usage error (said through `usage`).
int cmdFleet(const QCommandLineParser& p, const Options& o, const QStringList& rest, int (*usage)(const QString&));

} // namespace orv::cli

#pragma once
// orvante-cli diff (two data files, or a data file and the radio) and the verify after a
// write.

#include "CliCommands.h"

#include <QCommandLineParser>
#include <QStringList>

namespace orv {
struct RadioData;
}

namespace orv::cli {

struct RadioRun;

// diff A B [--scope all|programming] [--format text|json], or diff FILE --radio with the
// radio options. Exit status as diff and cmp have it: 0 no difference in the scope, 1
// differences, 2 a usage error (said through `usage`) or a failure (its message the last line
// of stderr).
int runDiff(const QCommandLineParser& p, const Options& o, const RadioOptions& r, const QStringList& files,
            int (*usage)(const QString&));

// write --verify: reads back what the write sent (the data after the write and the data
// version it went out with) and says whether the radio holds it. 0 when it does; 1 with the
// differences and "Verify failed: ..." on stderr when it does not, or with the exchange's
// message when the read back failed.
int verifyAfterWrite(RadioRun& run, const RadioData& written, int dataVersion);

} // namespace orv::cli

#include "CliCommands.h"

#include "CliFeedback.h"
#include "check/PlanCheck.h"
#include "document/Document.h"

#include <cstdio>

namespace orv::cli {

// The check of FILE as the window's Operate > Check gives it after opening FILE: one warning
// a line on stdout. The exit status tells a script the outcome: 0 nothing to say, 1 warnings,
// 2 a file that cannot be read (its message the last line of stderr), as for a usage error.
int cmdCheck(const Options& o, const QString& file) {
    CliFeedback feedback;
    const auto session = openSession(o, file, feedback);
    if (!session)
        return ExitUsage;
    const std::vector<CheckWarning> warnings = checkPlan(*session);
    for (const CheckWarning& w : warnings)
        std::fprintf(stdout, "%s\n", w.text.toUtf8().constData());
    return warnings.empty() ? ExitOk : ExitFailed;
}

} // namespace orv::cli

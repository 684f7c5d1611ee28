#include "compare/Verify.h"

#include "compare/Compare.h"

namespace orv::compare {

QString verifyPassedText() { return QStringLiteral("Verify: the radio holds what was written."); }

QString verifyFailedText(qsizetype differences) {
    return QStringLiteral("Verify failed: %1 difference(s) between what was written and what the radio holds.")
        .arg(differences);
}

Differences writtenDifferences(const RadioData& sent, const RadioData& readBack, int dataVersion, const SideOpener& opener) {
    return compareDataSets({sent, dataVersion}, {readBack, dataVersion}, opener, Scope::All);
}

} // namespace orv::compare

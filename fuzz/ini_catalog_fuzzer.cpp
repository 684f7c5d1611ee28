// Any bytes as the shared catalog INI and as the program's own INI, through the start-up the
// window and the command line tool share: it must not crash, must not allocate without bound
// (libFuzzer's -malloc_limit_mb catches that), and must give a catalog no larger than its cap
// and a COM port in range. Then one key is written to the program's INI: it must read back as
// written, and a key elsewhere in the file must read as it did.
#include "catalog/IniFile.h"
#include "catalog/ProgramSetup.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace orv;

namespace {

// A failed check names itself before the abort the fuzzer reports.
void failCheck(const char* condition, int line) {
    std::fprintf(stderr, "check failed, line %d: %s\n", line, condition);
    std::abort();
}
#define check(condition) ((condition) ? void() : failCheck(#condition, __LINE__))

void putFile(const QString& path, const std::uint8_t* data, std::size_t size) {
    QFile f(path);
    check(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    check(f.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir folder;
    check(folder.isValid());
    const QString catalogPath = folder.filePath(QStringLiteral("vuxPC.ini"));
    const QString programIni = folder.filePath(QStringLiteral("ORVANTE.ini"));
    putFile(catalogPath, data, size);
    putFile(programIni, data, size);

    // The program folder counts as writable, so the program's INI is looked for beside it.
    const ProgramSetup setup = loadProgramSetup(catalogPath, folder.path(), [](const QString&) { return true; });
    check(setup.startup.modelCount >= 0 && setup.startup.modelCount <= MaxCatalogModels);
    check(setup.catalog.size() == setup.startup.modelCount);
    check(setup.comPort >= MinPort && setup.comPort <= MaxPort);
    for (int p = 0; p < setup.catalog.size(); ++p)
        check(setup.catalog.at(p) != nullptr);

    IniFile ini(programIni);
    const QString other = ini.readString(QStringLiteral("Radio List"), QStringLiteral("RadioName1"), QStringLiteral("-"));
    if (ini.writeString(QStringLiteral("Comm Port"), QStringLiteral("Common Port"), QStringLiteral("5"))) {
        check(ini.readString(QStringLiteral("Comm Port"), QStringLiteral("Common Port"), {}) == QLatin1String("5"));
        check(IniFile(programIni).readString(QStringLiteral("Comm Port"), QStringLiteral("Common Port"), {}) ==
              QLatin1String("5"));
        check(ini.readString(QStringLiteral("Radio List"), QStringLiteral("RadioName1"), QStringLiteral("-")) == other);
    }
    return 0;
}

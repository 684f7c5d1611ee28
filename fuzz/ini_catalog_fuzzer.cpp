// Any bytes as the shared catalog INI and as the program's own INI, through the start-up the
// window and the command line tool share: it must not crash, must not allocate without bound
// (libFuzzer's -malloc_limit_mb catches that), and must give a catalog no larger than its cap
// and a COM port in range. Then one key is written to the program's INI: it must read back as
// written, and a key elsewhere in the file must read as it did.
#include "FuzzCheck.h"

#include "catalog/IniFile.h"
#include "catalog/ProgramSetup.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

using namespace orv;

namespace {

void putFile(const QString& path, const std::uint8_t* data, std::size_t size) {
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(f.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir folder;
    FUZZ_CHECK(folder.isValid());
    const QString catalogPath = folder.filePath(QStringLiteral("vuxPC.ini"));
    const QString programIni = folder.filePath(QStringLiteral("ORVANTE.ini"));
    putFile(catalogPath, data, size);
    putFile(programIni, data, size);

    // The program folder counts as writable, so the program's INI is looked for beside it.
    const ProgramSetup setup = loadProgramSetup(catalogPath, folder.path(), [](const QString&) { return true; });
    FUZZ_CHECK(setup.startup.modelCount >= 0 && setup.startup.modelCount <= MaxCatalogModels);
    FUZZ_CHECK(setup.catalog.size() == setup.startup.modelCount);
    FUZZ_CHECK(setup.comPort >= MinPort && setup.comPort <= MaxPort);
    for (int p = 0; p < setup.catalog.size(); ++p)
        FUZZ_CHECK(setup.catalog.at(p) != nullptr);

    IniFile ini(programIni);
    const QString other = ini.readString(QStringLiteral("Radio List"), QStringLiteral("RadioName1"), QStringLiteral("-"));
    if (ini.writeString(QStringLiteral("Comm Port"), QStringLiteral("Common Port"), QStringLiteral("5"))) {
        FUZZ_CHECK(ini.readString(QStringLiteral("Comm Port"), QStringLiteral("Common Port"), {}) == QLatin1String("5"));
        FUZZ_CHECK(IniFile(programIni).readString(QStringLiteral("Comm Port"), QStringLiteral("Common Port"), {}) ==
              QLatin1String("5"));
        FUZZ_CHECK(ini.readString(QStringLiteral("Radio List"), QStringLiteral("RadioName1"), QStringLiteral("-")) == other);
    }
    return 0;
}

// Writes the fuzzer's seed files into the folder given: one current and one old data file.
#include "files/DataFile.h"

#include <QDir>
#include <cstdio>

using namespace orv;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: data_file_seeds <folder>\n");
        return 2;
    }
    RadioData d;
    for (size_t i = 0; i < d.image.size(); ++i)
        d.image[i] = std::uint8_t(i);
    for (size_t i = 0; i < d.spare.size(); ++i)
        d.spare[i] = std::uint8_t(0xFF - i);
    d.functionSettings()[0] = 0x7D;
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    for (const char* name : {"current.kvd", "old.pvlt"}) {
        if (writeDataFile(dir.filePath(QLatin1String(name)), d) != SaveStatus::Ok) {
            std::fprintf(stderr, "cannot write %s\n", name);
            return 1;
        }
    }
    return 0;
}

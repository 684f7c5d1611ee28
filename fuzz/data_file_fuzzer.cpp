// Feeds arbitrary bytes to the data file reader. A rejected file must leave the data held
// exactly as it was; an accepted one must write out again as a file that reads back the same.
#include "files/DataFile.h"
#include "image/SettingsCodec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace orv;

namespace {

RadioData heldData() {
    RadioData d;
    for (size_t i = 0; i < d.image.size(); ++i)
        d.image[i] = std::uint8_t(i * 13 + 5);
    d.spare.fill(0xC3);
    return d;
}

void check(bool ok) {
    if (!ok)
        std::abort();
}

void checkWritesBack(const LoadOutcome& out, const RadioData& held, bool oldFormat) {
    const QByteArray file = serializeDataFile(out.data, oldFormat);
    check(file.size() == DataFileSize);
    const LoadOutcome back = parseDataFile(file, held);
    check(back.status == LoadStatus::Ok);
    check(back.dataVersion == (oldFormat ? 0 : 2));
    RadioData expected = out.data;
    if (oldFormat) { // the old layout has no room for bit 7 of the settings byte
        std::uint8_t& b = expected.functionSettings()[0];
        b = oldToNewSettingsByte(newToOldSettingsByte(b));
    }
    check(back.data == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const RadioData held = heldData();
    // Raw data: the reader sees exactly the fuzzer's buffer, so any overread is caught.
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const LoadOutcome out = parseDataFile(bytes, held);
    if (out.status != LoadStatus::Ok) {
        check(out.data == held);
        return 0;
    }
    check(out.dataVersion == 0 || out.dataVersion == 2);
    checkWritesBack(out, held, false);
    checkWritesBack(out, held, true);
    return 0;
}

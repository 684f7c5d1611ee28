#include "DataFile.h"

#include "../image/SettingsCodec.h"

#include <QByteArrayView>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <span>

namespace orv {

namespace {

// Both texts are plain ASCII, so they are compared and written byte for byte.
constexpr QByteArrayView HeaderText("KESTOV Radio PC Software.");
constexpr QByteArrayView CurrentVersionText("Version = 2.0");
constexpr QByteArrayView OldVersionText("Version = 1.1");

constexpr quint16 TextType = 0x0008;      // a counted string
constexpr quint16 ByteArrayType = 0x2011; // an array of bytes with its bounds

constexpr int Columns = 16; // every two-dimensional table is 16 bytes wide
constexpr int SettingsSlot = 5;

// One of the fifteen tables a file carries. A table with rows == 0 is one-dimensional;
// address -1 is the spare table, which has no place in the image.
struct Slot {
    int address;
    int rows;
    int size;
};

constexpr std::array<Slot, 15> Slots{{
    {addr::Channels, 16, 256},
    {-1, 5, addr::SpareSize},
    {addr::TestChannels, 11, 176},
    {0x1B0, 5, 80},
    {0x200, 11, 176},
    {addr::FunctionSettings, 0, 16},
    {0x2C0, 0, 16},
    {addr::ModelBlock, 0, 16},
    {0x2E0, 0, 16},
    {addr::TuneValues, 0, 16},
    {addr::InfoText, 0, addr::InfoTextSize},
    {addr::DateStamp, 0, 16},
    {0x3D0, 0, 16},
    {addr::RadioId, 0, 16},
    {0x3F0, 0, 16},
}};

// The image slots must tile the whole image in address order, and the shapes must agree
// with the sizes.
constexpr bool slotsCoverImage() {
    int next = 0;
    for (const Slot& s : Slots) {
        if (s.rows > 0 && s.rows * Columns != s.size)
            return false;
        if (s.address < 0)
            continue;
        if (s.address != next)
            return false;
        next += s.size;
    }
    return next == addr::ImageSize;
}
static_assert(slotsCoverImage());
static_assert(Slots[SettingsSlot].address == addr::FunctionSettings);

std::span<std::uint8_t> slotBytes(RadioData& data, const Slot& s) {
    if (s.address < 0)
        return data.spare;
    return std::span<std::uint8_t>(data.image.data() + s.address, size_t(s.size));
}

// ---- writing -------------------------------------------------------------------------

void putU16(QByteArray& out, quint16 v) {
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}

void putU32(QByteArray& out, quint32 v) {
    putU16(out, quint16(v & 0xFFFF));
    putU16(out, quint16(v >> 16));
}

void putText(QByteArray& out, QByteArrayView text) {
    putU16(out, TextType);
    putU16(out, quint16(text.size()));
    out.append(text);
}

void putBound(QByteArray& out, int count) {
    putU32(out, quint32(count));
    putU32(out, 0); // lower bound
}

// A two-dimensional table goes out column by column, the row index varying fastest.
void putSlot(QByteArray& out, const Slot& s, std::span<const std::uint8_t> table) {
    putU16(out, ByteArrayType);
    if (s.rows == 0) {
        putU16(out, 1);
        putBound(out, s.size);
        out.append(reinterpret_cast<const char*>(table.data()), qsizetype(table.size()));
        return;
    }
    putU16(out, 2);
    putBound(out, Columns);
    putBound(out, s.rows);
    for (int c = 0; c < Columns; ++c)
        for (int r = 0; r < s.rows; ++r)
            out.append(char(table[size_t(r * Columns + c)]));
}

// ---- reading -------------------------------------------------------------------------

// Little-endian reads that refuse to run past the end of the bytes.
class Reader {
  public:
    explicit Reader(const QByteArray& bytes) : m_bytes(bytes) {}

    bool u16(quint16& v) {
        QByteArrayView b;
        if (!take(2, b))
            return false;
        v = quint16(quint8(b[0]) | quint8(b[1]) << 8);
        return true;
    }
    bool u32(quint32& v) {
        quint16 lo = 0, hi = 0;
        if (!u16(lo) || !u16(hi))
            return false;
        v = quint32(lo) | quint32(hi) << 16;
        return true;
    }
    bool take(qint64 n, QByteArrayView& out) {
        if (n < 0 || n > m_bytes.size() - m_pos)
            return false;
        out = QByteArrayView(m_bytes).sliced(m_pos, qsizetype(n));
        m_pos += qsizetype(n);
        return true;
    }

  private:
    const QByteArray& m_bytes;
    qsizetype m_pos = 0;
};

// A complete text record: type, length, characters.
bool readText(Reader& in, QByteArrayView& text) {
    quint16 type = 0, length = 0;
    return in.u16(type) && type == TextType && in.u16(length) && in.take(length, text);
}

struct Bound {
    qint64 count = 0;
    qint64 lower = 0;
};

bool readBound(Reader& in, Bound& b) {
    quint32 count = 0, lower = 0;
    if (!in.u32(count) || !in.u32(lower))
        return false;
    if (count > quint32(std::numeric_limits<qint32>::max()))
        return false; // a negative count
    b.count = count;
    b.lower = qint32(lower);
    return true;
}

// A table is taken only when the record has exactly its shape, starting at index 0; bounds
// stored rows first do not count as the table's shape.
bool hasShape(const Slot& s, const std::array<Bound, 2>& b) {
    if (s.rows == 0)
        return b[0].lower == 0 && b[0].count == s.size;
    return b[0].lower == 0 && b[0].count == Columns && b[1].lower == 0 && b[1].count == s.rows;
}

enum class SlotRead { Taken, Kept, Damaged };

SlotRead readSlot(Reader& in, const Slot& s, std::span<std::uint8_t> table) {
    quint16 type = 0, dims = 0;
    if (!in.u16(type) || type != ByteArrayType || !in.u16(dims))
        return SlotRead::Damaged;
    if (dims != (s.rows > 0 ? 2 : 1))
        return SlotRead::Damaged; // wrong rank, or not 1 or 2 at all
    std::array<Bound, 2> bounds{};
    qint64 elements = 1; // two counts below 2^31 cannot overflow this
    for (int i = 0; i < dims; ++i) {
        if (!readBound(in, bounds[size_t(i)]))
            return SlotRead::Damaged;
        elements *= bounds[size_t(i)].count;
    }
    QByteArrayView data;
    if (!in.take(elements, data))
        return SlotRead::Damaged;
    if (!hasShape(s, bounds))
        return SlotRead::Kept;
    if (s.rows == 0) {
        std::copy(data.begin(), data.end(), table.begin());
        return SlotRead::Taken;
    }
    for (int c = 0; c < Columns; ++c)
        for (int r = 0; r < s.rows; ++r)
            table[size_t(r * Columns + c)] = std::uint8_t(data[c * s.rows + r]);
    return SlotRead::Taken;
}

LoadOutcome failed(LoadStatus status, const RadioData& current) {
    LoadOutcome out;
    out.status = status;
    out.data = current;
    return out;
}

} // namespace

LoadOutcome parseDataFile(const QByteArray& bytes, const RadioData& current) {
    Reader in(bytes);
    QByteArrayView text;
    if (!readText(in, text) || text != HeaderText)
        return failed(LoadStatus::WrongHeader, current);
    if (!readText(in, text))
        return failed(LoadStatus::Damaged, current);
    int version = 2;
    if (text == OldVersionText)
        version = 0;
    else if (text != CurrentVersionText)
        return failed(LoadStatus::UnsupportedVersion, current);

    LoadOutcome out;
    out.data = current;
    bool settingsFromFile = false;
    for (size_t i = 0; i < Slots.size(); ++i) {
        switch (readSlot(in, Slots[i], slotBytes(out.data, Slots[i]))) {
        case SlotRead::Damaged:
            return failed(LoadStatus::Damaged, current);
        case SlotRead::Taken:
            settingsFromFile = settingsFromFile || i == SettingsSlot;
            break;
        case SlotRead::Kept:
            break;
        }
    }
    // Only a settings byte that came from an old file is in the old layout; a kept one
    // already has the current layout.
    if (version == 0 && settingsFromFile) {
        std::uint8_t& b = out.data.functionSettings()[0];
        b = oldToNewSettingsByte(b);
    }
    out.status = LoadStatus::Ok;
    out.dataVersion = version;
    return out;
}

LoadOutcome readDataFile(const QString& path, const RadioData& current) {
    if (path.isEmpty() || !QFileInfo::exists(path))
        return failed(LoadStatus::NotFound, current);
    // Only a regular file is read: a FIFO, a terminal or /proc/kmsg would block the program,
    // /dev/zero would never end.
    if (!QFileInfo(path).isFile())
        return failed(LoadStatus::Damaged, current);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(LoadStatus::Damaged, current);
    // No file the reader accepts is longer: 17 records of at most 65535 bytes each.
    constexpr qint64 LongestReadable = 2 * 1024 * 1024;
    const QByteArray bytes = file.read(LongestReadable);
    if (file.error() != QFileDevice::NoError)
        return failed(LoadStatus::Damaged, current);
    return parseDataFile(bytes, current);
}

UserMessage loadFailureMessage(LoadStatus status) {
    switch (status) {
    case LoadStatus::Ok:
        break;
    case LoadStatus::NotFound:
        return {QStringLiteral("The file isnot exit. Please confirm it."), QStringLiteral("File Error"),
                Icon::Information};
    case LoadStatus::WrongHeader:
        return {QStringLiteral("The file is not PALUVIN data file!"), QStringLiteral("Error File"),
                Icon::Information};
    case LoadStatus::UnsupportedVersion:
        return {QStringLiteral("New data file. Please update program software."), QStringLiteral("Error"),
                Icon::Information};
    case LoadStatus::Damaged:
        return {QStringLiteral("The file is damaged! Please confirm it."), QStringLiteral("Error File"),
                Icon::Information};
    }
    return {};
}

bool isOldFormatName(const QString& path) {
    return path.endsWith(QLatin1String(".pvlt"), Qt::CaseSensitive);
}

QByteArray serializeDataFile(const RadioData& data, bool oldFormat) {
    QByteArray out;
    out.reserve(DataFileSize);
    putText(out, HeaderText);
    putText(out, oldFormat ? OldVersionText : CurrentVersionText);

    // The old layout is applied to the file's copy of the settings only.
    RadioData copy = data;
    if (oldFormat) {
        std::uint8_t& b = copy.functionSettings()[0];
        b = newToOldSettingsByte(b);
    }
    for (const Slot& s : Slots)
        putSlot(out, s, slotBytes(copy, s));
    Q_ASSERT(out.size() == DataFileSize);
    return out;
}

SaveStatus writeDataFile(const QString& path, const RadioData& data, int* dataVersion) {
    const bool oldFormat = isOldFormatName(path);
    // QSaveFile writes a temporary file beside the target and renames it over the target
    // only on commit; when anything fails the old file stays as it was.
    QSaveFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly))
        return SaveStatus::OpenFailed;
    const QByteArray bytes = serializeDataFile(data, oldFormat);
    if (file.write(bytes) != bytes.size() || !file.commit())
        return SaveStatus::WriteFailed; // the destructor throws the temporary file away
    if (dataVersion)
        *dataVersion = oldFormat ? 0 : 2;
    return SaveStatus::Ok;
}

UserMessage saveFailureMessage() {
    return {QStringLiteral("Save File Error!"), QStringLiteral("File Error"), Icon::Exclamation};
}

} // namespace orv

#pragma once
// The radio's 1024-byte memory image plus the 80-byte spare table that only data files
// carry. Every region of the image is reached through the named views below, so no other
// code does address arithmetic. Copying is cheap: operations that can fail work on a copy
// and commit it only when they succeed.

#include <array>
#include <cstdint>
#include <span>

namespace orv {

namespace addr {
inline constexpr int ImageSize = 1024;
inline constexpr int BlockSize = 8;
inline constexpr int ChannelCount = 16;
inline constexpr int TestChannelCount = 11;
inline constexpr int RecordSize = 16;

inline constexpr int Channels = 0x000;        // 16 channel records
inline constexpr int TestChannels = 0x100;    // 11 test-channel records
inline constexpr int TestChannelsEnd = 0x1B0; // exclusive
inline constexpr int FunctionSettings = 0x2B0;
inline constexpr int ModelBlock = 0x2D0;
inline constexpr int TuneValues = 0x2F0;
inline constexpr int InfoText = 0x300; // 192 bytes
inline constexpr int InfoTextSize = 192;
inline constexpr int DateStamp = 0x3C0;
inline constexpr int RadioId = 0x3E0;
inline constexpr int SpareSize = 80; // 5 rows of 16, data files only
} // namespace addr

using Record = std::span<std::uint8_t, 16>;
using ConstRecord = std::span<const std::uint8_t, 16>;

struct RadioData {
    std::array<std::uint8_t, addr::ImageSize> image{};
    std::array<std::uint8_t, addr::SpareSize> spare{};

    Record channel(int n) { return Record(image.data() + addr::Channels + 16 * n, 16); }
    ConstRecord channel(int n) const { return ConstRecord(image.data() + addr::Channels + 16 * n, 16); }
    Record testChannel(int t) { return Record(image.data() + addr::TestChannels + 16 * t, 16); }
    ConstRecord testChannel(int t) const {
        return ConstRecord(image.data() + addr::TestChannels + 16 * t, 16);
    }
    Record functionSettings() { return at16(addr::FunctionSettings); }
    ConstRecord functionSettings() const { return at16(addr::FunctionSettings); }
    Record modelBlock() { return at16(addr::ModelBlock); }
    ConstRecord modelBlock() const { return at16(addr::ModelBlock); }
    Record tuneValues() { return at16(addr::TuneValues); }
    ConstRecord tuneValues() const { return at16(addr::TuneValues); }
    Record dateStamp() { return at16(addr::DateStamp); }
    ConstRecord dateStamp() const { return at16(addr::DateStamp); }
    Record radioId() { return at16(addr::RadioId); }
    ConstRecord radioId() const { return at16(addr::RadioId); }
    std::span<std::uint8_t, addr::InfoTextSize> infoText() {
        return std::span<std::uint8_t, addr::InfoTextSize>(image.data() + addr::InfoText, addr::InfoTextSize);
    }
    std::span<const std::uint8_t, addr::InfoTextSize> infoText() const {
        return std::span<const std::uint8_t, addr::InfoTextSize>(image.data() + addr::InfoText,
                                                                 addr::InfoTextSize);
    }

    // The byte naming the radio model (ModelBlock byte 2).
    std::uint8_t modelByte() const { return image[addr::ModelBlock + 2]; }

    bool operator==(const RadioData&) const = default;

private:
    Record at16(int a) { return Record(image.data() + a, 16); }
    ConstRecord at16(int a) const { return ConstRecord(image.data() + a, 16); }
};

} // namespace orv

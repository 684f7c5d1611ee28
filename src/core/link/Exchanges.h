#pragma once
// The programming exchanges with the radio: read the whole memory, write the user's
// programming, read and write the radio information. Each runs the handshake, its blocks and
// "END", shows its progress and messages through the feedback and closes the port at the
// end. Reads fill a copy and hand it back only when the whole exchange succeeded, so a
// failure leaves the caller's data as they were. A failure leaves its reason on the link
// (RadioLink::failure()). The window's own steps around them (caption, decode, views) are the
// caller's.

#include "Feedback.h"
#include "image/RadioData.h"
#include "link/RadioLink.h"

#include <optional>

namespace orv {

struct ReadResult {
    RadioData data;      // the caller's data with every block the radio sent
    int dataVersion = 2; // from the radio's identity
};

// The Read command's exchange: handshake, 128 block reads, "END", the completion message.
// `current` is the starting point: a block whose reply is dropped keeps these bytes.
std::optional<ReadResult> readRadio(RadioLink& link, Feedback& feedback, const RadioData& current);

// The write's two checks of the radio it found, as the write asks about them (followed by
// " Do you want to continue?") and as a fleet run, which asks nobody, reports them.
QString otherModelText();  // "The selected model is different from the destination radio model."
QString newerRadioText();  // "New Version Radio. Please update program software."

struct WriteRequest {
    int selectedModelValue = -1; // the selected catalog model's value (-1: none)
    QString appTitle;            // title of the questions
};

// The Write command's exchange. `data` must already hold the editors' contents. The
// handshake updates `dataVersion` and ModelBlock byte 0; the date stamp is written into
// `data` just before the blocks go out. Returns true when the radio took every block. A
// question answered No returns false with no failure noted on the link: nothing went wrong.
bool writeRadio(RadioLink& link, Feedback& feedback, RadioData& data, int& dataVersion,
                const WriteRequest& request);

// The radio information read (text, date stamp, radio ID). Returns the caller's data with
// them on success; nothing on failure.
std::optional<RadioData> readEmbedInfo(RadioLink& link, Feedback& feedback, const RadioData& current);
// Writes the information text of `data`. Returns true when the radio took every block.
bool writeEmbedInfo(RadioLink& link, Feedback& feedback, const RadioData& data);

// The blocks the Write command sends, in order.
inline constexpr int WriteBlockCount = 38;
const std::array<int, WriteBlockCount>& writeBlockOrder();
// The image as the Write command puts its blocks on the wire: the data version (low byte)
// in ModelBlock bytes 1 and 9 instead of the image's own.
RadioData imageAsWritten(const RadioData& data, int dataVersion);

} // namespace orv

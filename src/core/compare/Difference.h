#pragma once
// One difference between two radio data sets, as the compare engine lists it: where it is
// (section, channel or index, field, or a byte range for what only raw bytes show) and the
// value on each side, both as the JSON form gives it and as the text form shows it. The
// window lists these, filters them by scope and jumps from one to its cell or settings list;
// orvante-cli prints them.

#include <QJsonValue>
#include <QList>
#include <QString>
#include <optional>

namespace orv::compare {

enum class Section {
    Model,       // the model byte (ModelBlock byte 2) and the data version
    Channel,     // channel 1..16: each grid column, "No CH" and "No Tx"
    Settings,    // each settings list, by caption
    TestChannel, // test channel 1..11: each tune grid column and its two boxes
    TuneValue,   // tune value 0..6
    RadioInfo,   // the information text, the radio ID, the date of the last programming
    Bytes,       // a byte range that differs where no field of its region shows a difference
};
// "model", "channel", "settings", "test_channel", "tune_value", "radio_info", "bytes".
QString sectionName(Section section);

enum class Scope {
    All,         // everything
    Programming, // what Write sends (channels, settings, ModelBlock) without the two
                 // data-version bytes it replaces on the wire and without the date stamp
};
// "all", "programming".
QString scopeName(Scope scope);
std::optional<Scope> scopeFromName(const QString& name);

// Where a byte range lies: the 1024-byte image or the 80-byte spare table of data files.
enum class ByteArea { Image, Spare };
// "image", "spare".
QString byteAreaName(ByteArea area);

struct Difference {
    Section section = Section::Bytes;
    // The channel (1..16) or test channel (1..11), or the tune value index (0..6); 0 for the
    // other sections.
    int number = 0;
    // The field as the JSON form names it: export's key for channels and test channels
    // ("rx_freq", "in_use"), the list caption for settings ("Tx TOT"), "model_byte",
    // "data_version", the tune item's key ("Battery"), "text", "radio_id", "last_programmed",
    // "bytes".
    QString field;
    // The field as the text form and the window name it: the grid header ("Rx Freq(MHz)",
    // "No CH"), the caption, "Model byte", the tune item ("Battery Level"), "Text", "bytes".
    QString label;
    // The two sides as the JSON form gives them: texts, booleans for the boxes (in_use and
    // tx_allowed, as export has them), numbers for the model and the tune values, null for a
    // settings list with nothing selected, hex bytes ("12 34 56 78") for a byte range.
    QJsonValue a;
    QJsonValue b;
    // The two sides as the text form shows them.
    QString aText;
    QString bText;
    // Byte ranges: the area and the first and last address (inclusive) of the range.
    ByteArea area = ByteArea::Image;
    int start = 0;
    int end = 0;

    // "CH 3", "Test CH 2", "Settings", "Model", "Tune Items", "Radio Information",
    // "Image 0x1B0-0x1B3", "Spare 0x04".
    QString place() const;
    bool operator==(const Difference&) const = default;
};

using Differences = QList<Difference>;

} // namespace orv::compare

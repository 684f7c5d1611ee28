#pragma once
// One side of a comparison: a radio data set (image, spare table, data version) and what the
// window shows for it after opening it - the channel grid, the settings lists, the tune grid
// and the radio information texts, exactly the window's and export's.

#include "catalog/ModelCatalog.h"
#include "catalog/NumberText.h"
#include "image/ChannelTable.h"
#include "image/RadioData.h"
#include "image/SettingsCodec.h"
#include "image/TuneTable.h"

#include <QString>
#include <optional>
#include <utility>

namespace orv {
class Document;
}

namespace orv::compare {

// A radio data set as a data file or a read gives it.
struct DataSet {
    RadioData data;
    int dataVersion = 2;
    bool operator==(const DataSet&) const = default;
};

struct ShownSide {
    DataSet set;
    ChannelTable channels;
    // The settings lists as the panel holds them (settingText gives a list's text).
    SettingsSelection settings;
    TuneTable tune;
    QString infoText;       // without its trailing zero characters, as export gives it
    QString radioId;        // the 16 ID bytes as characters
    QString lastProgrammed; // "2005-04-29, 13:45:02"
    bool operator==(const ShownSide&) const = default;
};

// The text a settings list shows; nothing when it has nothing selected.
std::optional<QString> settingText(const SettingsSelection& settings, Setting s);
// Whether two settings lists are at the same entry of the same list, so that they show the
// same text without making it (lists at different entries may still show the same text).
bool sameSettingEntry(const SettingsSelection& a, const SettingsSelection& b, Setting s);

// What `document` shows now, with its data and data version.
ShownSide sideOf(const Document& document);
// The window's data in a comparison with `other`: what `document` shows, with the image
// that Save would write and Write send now (the editors collected into a copy of the image,
// Document::collected), so that its bytes say what its cells say. Only the model block's
// bytes 0, 1 and 9 are the other side's: they are not the window's own, for Write fills them
// from the radio's handshake (the radio's byte 0, the data version), collecting clears 0 and
// 1, and the window holds the data version apart (compared as the data_version field). So a
// Read, or an Open, followed by a comparison with the same radio or file finds nothing. The
// document is not changed.
ShownSide windowSide(const Document& document, const DataSet& other);

// Opens data sets as the window opens a file: the settings lists start from where a started
// window has them, then the data set's settings, channels (with the global band width) and
// test channels are shown in them, as the document shows a file it opens. A value: it holds
// nothing that one data set could leave for the next.
class SideOpener {
public:
    SideOpener(ModelCatalog catalog, NumberFormat numbers);

    // Everything the window shows for `set`.
    ShownSide open(const DataSet& set) const;
    // The two sides of a comparison, each shown only where it can differ from the other: a
    // channel, a test channel, the information text, the radio ID or the date whose bytes are
    // equal on both (for the channels, with the same global band width) is left unshown on
    // both, so it compares equal. What is shown is what open() shows.
    std::pair<ShownSide, ShownSide> openPair(const DataSet& a, const DataSet& b) const;

private:
    struct Parts;
    SettingsSelection settingsOf(const DataSet& set) const;
    void show(const DataSet& set, const Parts& parts, ShownSide& side) const;

    NumberFormat m_numbers;
    SettingsSelection m_started; // the lists of a started window, before anything is opened
};

} // namespace orv::compare

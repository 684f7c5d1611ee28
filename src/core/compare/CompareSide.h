#pragma once
// One side of a comparison: a radio data set (image, spare table, data version) and what the
// window shows for it after opening it - the channel grid, the settings lists, the tune grid
// and the radio information texts. The texts come from a Document, so they are exactly the
// window's and export's.

#include "catalog/ModelCatalog.h"
#include "catalog/NumberText.h"
#include "image/ChannelTable.h"
#include "image/RadioData.h"
#include "image/SettingsCodec.h"
#include "image/TuneTable.h"

#include <QString>
#include <array>
#include <memory>
#include <optional>

namespace orv {
class Document;
class VirtualClock;
} // namespace orv

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
    // The text each settings list shows; nothing when the list has nothing selected.
    std::array<std::optional<QString>, SettingCount> settings;
    TuneTable tune;
    QString infoText;       // without its trailing zero characters, as export gives it
    QString radioId;        // the 16 ID bytes as characters
    QString lastProgrammed; // "2005-04-29, 13:45:02"
};

// What `document` shows now, with its data and data version.
ShownSide sideOf(const Document& document);

// Opens data sets as the window opens a file: a document started as the window starts,
// then given the data set, and its texts taken. One opener serves any number of data sets;
// it belongs to the thread that made it.
class SideOpener {
public:
    SideOpener(ModelCatalog catalog, NumberFormat numbers);
    ~SideOpener();
    SideOpener(const SideOpener&) = delete;
    SideOpener& operator=(const SideOpener&) = delete;

    ShownSide open(const DataSet& set);

private:
    std::unique_ptr<VirtualClock> m_clock;
    std::unique_ptr<Document> m_document;
};

} // namespace orv::compare

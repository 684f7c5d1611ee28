#include "compare/CompareSide.h"

#include "Clock.h"
#include "document/Document.h"
#include "files/ChannelExport.h"
#include "image/RadioInfoText.h"

#include <algorithm>
#include <bitset>

namespace orv::compare {

std::optional<QString> settingText(const SettingsSelection& settings, Setting s) {
    return settings.index(s) < 0 ? std::nullopt : std::optional(settings.text(s));
}

bool sameSettingEntry(const SettingsSelection& a, const SettingsSelection& b, Setting s) {
    return a.index(s) == b.index(s) && (s != Setting::Monitor || a.monitorFullForm() == b.monitorFullForm());
}

ShownSide sideOf(const Document& document) {
    ShownSide side;
    side.set = {document.data(), document.dataVersion()};
    side.channels = document.channels();
    side.settings = document.settings();
    side.tune = document.tune();
    side.infoText = exportedInfoText(document.data());
    side.radioId = document.radioId();
    side.lastProgrammed = document.lastProgrammed();
    return side;
}

ShownSide windowSide(const Document& document, const DataSet& other) {
    ShownSide side = sideOf(document);
    side.set.data = document.collected();
    for (int offset : {0, 1, 9})
        side.set.data.modelBlock()[offset] = other.data.modelBlock()[offset];
    return side;
}

// Which parts of a side to show.
struct SideOpener::Parts {
    std::bitset<addr::ChannelCount> channels = std::bitset<addr::ChannelCount>().set();
    std::bitset<addr::TestChannelCount> testChannels = std::bitset<addr::TestChannelCount>().set();
    bool infoText = true;
    bool radioId = true;
    bool lastProgrammed = true;
};

SideOpener::SideOpener(ModelCatalog catalog, NumberFormat numbers) : m_numbers(numbers), m_started(numbers) {
    // The lists as a started window holds them: what a settings byte naming no entry keeps.
    VirtualClock clock;
    StartupValues startup;
    startup.modelCount = catalog.size();
    Document started(startup, std::move(catalog), clock, numbers);
    SilentFeedback quiet;
    started.startUp(quiet);
    m_started = started.settings();
}

SettingsSelection SideOpener::settingsOf(const DataSet& set) const {
    SettingsSelection settings = m_started;
    decodeSettings(set.data.functionSettings(), settings);
    return settings;
}

// As the document shows an opened file: the settings (already in `side`), the channels with
// the global band width applied, the test channels, the radio information.
void SideOpener::show(const DataSet& set, const Parts& parts, ShownSide& side) const {
    side.set = set;
    for (int n = 0; n < addr::ChannelCount; ++n)
        if (parts.channels[std::size_t(n)])
            showChannel(set.data, n, side.channels.rows[std::size_t(n)], m_numbers);
    applyBandWidth(side.channels, side.settings.text(Setting::BandWidth));
    for (int t = 0; t < addr::TestChannelCount; ++t)
        if (parts.testChannels[std::size_t(t)])
            showTuneChannel(set.data, t, side.tune.rows[std::size_t(t)], m_numbers);
    if (parts.infoText)
        side.infoText = exportedInfoText(set.data);
    if (parts.radioId)
        side.radioId = radioIdText(set.data);
    if (parts.lastProgrammed)
        side.lastProgrammed = dateStampText(set.data);
}

ShownSide SideOpener::open(const DataSet& set) const {
    ShownSide side;
    side.settings = settingsOf(set);
    show(set, Parts(), side);
    return side;
}

std::pair<ShownSide, ShownSide> SideOpener::openPair(const DataSet& a, const DataSet& b) const {
    const RadioData& x = a.data;
    const RadioData& y = b.data;
    std::pair<ShownSide, ShownSide> sides;
    sides.first.settings = settingsOf(a);
    const bool sameSettings = std::ranges::equal(x.functionSettings(), y.functionSettings());
    sides.second.settings = sameSettings ? sides.first.settings : settingsOf(b);
    Parts parts;
    // The global band width shows on every channel.
    const bool allChannels =
        !sameSettings && sides.first.settings.text(Setting::BandWidth) != sides.second.settings.text(Setting::BandWidth);
    for (int n = 0; n < addr::ChannelCount; ++n)
        parts.channels[std::size_t(n)] = allChannels || !std::ranges::equal(x.channel(n), y.channel(n));
    for (int t = 0; t < addr::TestChannelCount; ++t)
        parts.testChannels[std::size_t(t)] = !std::ranges::equal(x.testChannel(t), y.testChannel(t));
    parts.infoText = !std::ranges::equal(x.infoText(), y.infoText());
    parts.radioId = !std::ranges::equal(x.radioId(), y.radioId());
    parts.lastProgrammed = !std::ranges::equal(x.dateStamp(), y.dateStamp());
    show(a, parts, sides.first);
    show(b, parts, sides.second);
    return sides;
}

} // namespace orv::compare

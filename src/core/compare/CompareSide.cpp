#include "compare/CompareSide.h"

#include "Clock.h"
#include "document/Document.h"
#include "files/ChannelExport.h"
#include "link/Exchanges.h"

namespace orv::compare {

ShownSide sideOf(const Document& document) {
    ShownSide side;
    side.set = {document.data(), document.dataVersion()};
    side.channels = document.channels();
    for (int i = 0; i < SettingCount; ++i) {
        const auto setting = Setting(i);
        if (document.settings().index(setting) >= 0)
            side.settings[std::size_t(i)] = document.settings().text(setting);
    }
    side.tune = document.tune();
    side.infoText = exportedInfoText(document.data());
    side.radioId = document.radioId();
    side.lastProgrammed = document.lastProgrammed();
    return side;
}

SideOpener::SideOpener(ModelCatalog catalog, NumberFormat numbers) : m_clock(std::make_unique<VirtualClock>()) {
    StartupValues startup;
    startup.modelCount = catalog.size();
    m_document = std::make_unique<Document>(startup, std::move(catalog), *m_clock, numbers);
}

SideOpener::~SideOpener() = default;

ShownSide SideOpener::open(const DataSet& set) {
    // Started afresh each time, so what one data set left in the lists (a settings byte that
    // names no entry keeps the list's previous choice) never shows in the next one.
    SilentFeedback quiet;
    m_document->startUp(quiet);
    m_document->applyRead(ReadResult{set.data, set.dataVersion}, quiet);
    return sideOf(*m_document);
}

} // namespace orv::compare

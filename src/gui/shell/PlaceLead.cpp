#include "shell/PlaceLead.h"

#include "editors/ChannelEditor.h"
#include "editors/SettingsPanel.h"
#include "shell/EditingArea.h"
#include "shell/MainWindow.h"
#include "tune/TuneChannelsPage.h"
#include "tune/TuneWorkspace.h"

#include <QComboBox>
#include <QTableView>

namespace orv::gui {

QString leadToPlace(MainWindow& window, const CheckPlace& place) {
    const bool tuneView = window.viewMode() == MainWindow::TuneView;
    const QString channelView = QStringLiteral("Option > Channel and Function shows it.");
    QTableView* grid = nullptr;
    switch (place.area) {
    case CheckPlace::ChannelGrid:
        if (tuneView)
            return QStringLiteral("%1 is in the channel table: %2").arg(checkPlaceName(place), channelView);
        grid = window.channelEditor()->grid();
        break;
    case CheckPlace::SettingsList:
        if (tuneView)
            return QStringLiteral("%1 is in the Global Radio Settings: %2").arg(checkPlaceName(place), channelView);
        break;
    case CheckPlace::TuneGrid: {
        const TuneWorkspace* tune = window.findChild<TuneWorkspace*>();
        if (!tuneView || !tune || !tune->channelsPage()->isVisible())
            return QStringLiteral("%1 is a test channel: the tune view shows it on its page \"Tune Channels Setting\" "
                                  "(Operate > Tune).")
                .arg(checkPlaceName(place));
        grid = tune->channelsPage()->grid();
        break;
    }
    }

    // An open cell edit ends first; then the place is made current, scrolled into view and
    // given the keyboard.
    window.CommitCellEdits();
    QWidget* focus = nullptr;
    if (grid) {
        const QModelIndex cell = grid->model()->index(place.row, place.column);
        grid->setCurrentIndex(cell);
        window.editingArea()->ensureVisible(grid->viewport(), grid->visualRect(cell));
        focus = grid;
    } else {
        focus = window.settingsPanel()->list(place.setting);
        window.editingArea()->ensureVisible(focus);
    }
    window.activateWindow();
    focus->setFocus(Qt::OtherFocusReason);
    return {};
}

} // namespace orv::gui

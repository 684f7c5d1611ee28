#pragma once
// The tune view: the tree TreeView2 with the test-channel page (fraTuneSet) and the page of one
// tune item (fraTune) beside it, and the radio it tunes (model and range) above them. It also
// carries the window's Tune command (Operate > Tune), which reads the test channels and tune
// values and puts the radio into tune mode.
//
// What each page and button does to the radio is the document's tune state machine
// (TuneSession); this class turns the user's clicks and keys into its actions, runs them
// through the window's exchange runner with the hourglass, and shows the pages it says are
// visible.
//
// Wiring: `new TuneWorkspace(window, runner)` places itself on the window's editing surface as
// the tune view and plugs in MainWindow::Command::Tune.

#include <QWidget>

#include <functional>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace orv {
class ExchangeRunner;
class TuneSession;
} // namespace orv

namespace orv::gui {

class MainWindow;
class TuneChannelsPage;
class TuneItemPage;

class TuneWorkspace : public QWidget {
    Q_OBJECT
public:
    TuneWorkspace(MainWindow& window, ExchangeRunner& runner);

    QTreeWidget* tree() const { return m_tree; }
    TuneChannelsPage* channelsPage() const { return m_channels; }
    TuneItemPage* itemPage() const { return m_item; }
    QLabel* radioLabel() const { return m_lblRadio; }
    QLabel* rangeLabel() const { return m_lblRange; }
    // The tree's node with this key ("testfreq", "adjust", "Battery".."DCSDevN", "exit").
    QTreeWidgetItem* node(const QString& key) const;

public slots:
    // Operate > Tune.
    void mnuTune_Click();
    // A node of the tree chosen by a click, Enter or Space.
    void nodeClicked(const QString& key);
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildTree();
    void valueMoved(int value);
    void writeTestChannels();
    // Shows the pages the tune session says are visible; fills the item page.
    void showPages();
    TuneSession& tuning();

    MainWindow& m_window;
    ExchangeRunner& m_runner;
    QTreeWidget* m_tree = nullptr;
    QLabel* m_lblRadio = nullptr;
    QLabel* m_lblRange = nullptr;
    TuneChannelsPage* m_channels = nullptr;
    TuneItemPage* m_item = nullptr;
};

} // namespace orv::gui

#include "tune/TuneWorkspace.h"

#include "editors/Twips.h"
#include "exchange/ExchangeRunner.h"
#include "image/TuneTable.h"
#include "link/TuneExchanges.h"
#include "document/Document.h"
#include "document/TuneSession.h"
#include "shell/BusyCursor.h"
#include "shell/MainWindow.h"
#include "tune/TuneChannelsPage.h"
#include "tune/TuneItemPage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace orv::gui {

namespace {

constexpr int KeyRole = Qt::UserRole;

} // namespace

TuneWorkspace::TuneWorkspace(MainWindow& window, ExchangeRunner& runner)
    : QWidget(nullptr), m_window(window), m_runner(runner) {
    setObjectName(QStringLiteral("tuneView"));
    Document& document = window.document();

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("TreeView2"));
    m_tree->setAccessibleName(QStringLiteral("Tune pages"));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);
    m_tree->installEventFilter(this);
    m_tree->viewport()->installEventFilter(this);
    buildTree();
    // Wide enough for every caption, as tall as the test-channel page.
    int captionWidth = 0;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        captionWidth = std::max(captionWidth, m_tree->fontMetrics().horizontalAdvance((*it)->text(0)) +
                                                  ((*it)->parent() ? 2 : 1) * m_tree->indentation());
    m_tree->setFixedWidth(std::max(twipsToPixels(2700, this), captionWidth + twipsToPixels(200, this)));
    connect(m_tree, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { nodeClicked(item->data(0, KeyRole).toString()); });

    m_lblRadio = new QLabel(this);
    m_lblRadio->setObjectName(QStringLiteral("lblTuneRadio"));
    m_lblRange = new QLabel(this);
    m_lblRange->setObjectName(QStringLiteral("lblTuneFreqRange"));
    QFont strong = m_lblRadio->font();
    strong.setBold(true);
    m_lblRadio->setFont(strong);

    m_channels = new TuneChannelsPage(document, window.feedback(), this);
    m_item = new TuneItemPage(this);
    m_channels->hide();
    m_item->hide();
    m_tree->setMinimumHeight(m_channels->sizeHint().height());
    connect(m_channels, &TuneChannelsPage::writeRequested, this, &TuneWorkspace::writeTestChannels);
    connect(m_channels, &TuneChannelsPage::backgroundClicked, &window, &MainWindow::CommitCellEdits);
    connect(m_channels, &TuneChannelsPage::noted, &window, &MainWindow::showStatusNote);
    connect(m_item, &TuneItemPage::valueMoved, this, &TuneWorkspace::valueMoved);
    connect(m_item->cmdOK(), &QPushButton::clicked, this, &TuneWorkspace::cmdOK_Click);
    connect(m_item->cmdCancel(), &QPushButton::clicked, this, &TuneWorkspace::cmdCancel_Click);

    auto* header = new QHBoxLayout;
    header->addWidget(new QLabel(QStringLiteral("Radio:"), this));
    header->addWidget(m_lblRadio);
    header->addSpacing(twipsToPixels(360, this));
    header->addWidget(new QLabel(QStringLiteral("Frequency Range:"), this));
    header->addWidget(m_lblRange);
    header->addStretch(1);
    auto* pages = new QVBoxLayout;
    pages->addLayout(header);
    pages->addWidget(m_channels);
    pages->addWidget(m_item);
    pages->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree);
    layout->addLayout(pages, 1);

    // The test channels follow the document themselves; the frequency editor is one of the
    // window's cell editors.
    // Read, Write and the others leave an active item first: the pages follow.
    connect(&window, &MainWindow::commandRun, this, &TuneWorkspace::showPages);
    window.addCellEditor([this] { return m_channels->frequencyEditor(); },
                         [this] { m_channels->commitCellEdits(); });
    window.setCommandHandler(MainWindow::Command::Tune, [this] { mnuTune_Click(); });
    window.addToTuneView(this);
}

void TuneWorkspace::buildTree() {
    auto add = [this](QTreeWidgetItem* parent, const QString& key, const QString& caption) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
        item->setText(0, caption);
        item->setData(0, KeyRole, key);
        return item;
    };
    add(nullptr, QStringLiteral("testfreq"), QStringLiteral("Tune Channels Setting"));
    QTreeWidgetItem* adjust = add(nullptr, QStringLiteral("adjust"), QStringLiteral("Tune Items"));
    for (int code = 0; code < TuneItemCount; ++code)
        add(adjust, QString::fromLatin1(tuneItem(code).key), QString::fromLatin1(tuneItem(code).caption));
    add(nullptr, QStringLiteral("exit"), QStringLiteral("Exit Tune"));
    adjust->setExpanded(true);
}

QTreeWidgetItem* TuneWorkspace::node(const QString& key) const {
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        if ((*it)->data(0, KeyRole).toString() == key)
            return *it;
    return nullptr;
}

TuneSession& TuneWorkspace::tuning() { return m_window.document().tuning(); }

// ---------------------------------------------------------------------------------------------
// Operate > Tune

void TuneWorkspace::mnuTune_Click() {
    m_window.CommitCellEdits();
    BusyCursor busy;
    // The radio cannot take the opening code while it adjusts an item: that item is left
    // first, as Read and Write do.
    if (tuning().state() == TuneSession::ItemActive)
        m_window.runCommand(MainWindow::Command::LeaveTuneMode);
    if (!tuning().enterTuneMode(m_runner))
        return;
    m_channels->showTuneChannels();
    m_lblRadio->setText(tuning().modelName());
    m_lblRange->setText(tuning().rangeText());
    m_window.showTuneViewContainers();
    m_window.checkView(MainWindow::TuneView);
    m_window.setViewMode(MainWindow::TuneView);
    m_tree->setCurrentItem(node(QStringLiteral("testfreq")));
    showPages();
}

// ---------------------------------------------------------------------------------------------
// The tree and the item page

void TuneWorkspace::nodeClicked(const QString& key) {
    if (key == QLatin1String("adjust") || key.isEmpty())
        return;
    if (key == QLatin1String("exit")) {
        m_window.mnuChannel_Click();
        return;
    }
    BusyCursor busy;
    if (key == QLatin1String("testfreq")) {
        const bool wasShown = tuning().testPageVisible();
        tuning().chooseTestPage(m_runner);
        if (!wasShown)
            m_channels->showTuneChannels();
    } else {
        const int code = tuneItemCode(key);
        if (code < 0)
            return;
        tuning().chooseItem(code + 1, m_runner);
    }
    showPages();
}

void TuneWorkspace::valueMoved(int value) {
    m_item->lblTuneVal()->setText(QString::number(value));
    BusyCursor busy;
    tuning().moveValue(value, m_runner);
    m_item->setVisible(tuning().itemPageVisible());
}

// The status bar says what became of the value (a failure has shown its message).
void TuneWorkspace::cmdOK_Click() {
    BusyCursor busy;
    const QString item = tuning().itemCaption();
    const int value = tuning().value();
    if (tuning().ok(m_runner))
        m_window.showStatusNote(QStringLiteral("Stored in the radio: %1 = %2").arg(item).arg(value));
    showPages();
}

void TuneWorkspace::cmdCancel_Click() {
    BusyCursor busy;
    const QString item = tuning().itemCaption();
    const int code = tuning().currentItem() - 1;
    if (tuning().cancel(m_runner))
        m_window.showStatusNote(QStringLiteral("Not stored: %1 keeps %2")
                                    .arg(item)
                                    .arg(m_window.document().tuneValue(code)));
    showPages();
}

void TuneWorkspace::writeTestChannels() {
    m_channels->commitCellEdits();
    BusyCursor busy;
    tuning().writeTestChannels(m_runner);
    showPages();
}

// The item page shows the test channel as the radio holds it (the records, which the grid
// only reaches when the test channels are written).
void TuneWorkspace::showPages() {
    const TuneSession& t = tuning();
    m_channels->setVisible(t.testPageVisible());
    if (t.itemPageVisible() && t.currentItem() >= 1) {
        const int testChannel = t.currentTestChannel();
        TuneItemView view;
        view.caption = t.itemCaption();
        view.testChannel = testChannel;
        view.value = t.value();
        view.note = t.itemNote();
        if (testChannel >= 1 && testChannel <= addr::TestChannelCount) {
            const TuneRow row = m_window.document().storedTestChannel(testChannel);
            view.rxFrequency = row.cells[TuneColRxFreq];
            view.rxSignal = row.cells[TuneColRxSignal];
            view.txFrequency = row.noTx ? QStringLiteral("--------") : row.cells[TuneColTxFreq];
            view.txSignal = row.noTx ? QStringLiteral("----") : row.cells[TuneColTxSignal];
        }
        m_item->showItem(view);
        if (m_item->isHidden()) {
            m_item->show();
            m_item->hsbTune()->setFocus();
        }
    } else {
        m_item->hide();
    }
}

// A mouse press on the tree finishes open cell edits; Enter and Space choose the current node.
bool TuneWorkspace::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_tree->viewport() && event->type() == QEvent::MouseButtonPress)
        m_window.CommitCellEdits();
    if (watched == m_tree && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) && m_tree->currentItem()) {
            m_window.CommitCellEdits();
            nodeClicked(m_tree->currentItem()->data(0, KeyRole).toString());
            if (!m_item->isVisible() && m_tree->isVisible())
                m_tree->setFocus();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace orv::gui

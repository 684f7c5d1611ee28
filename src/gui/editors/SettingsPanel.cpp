#include "editors/SettingsPanel.h"

#include "image/SettingsCodec.h"
#include "document/Document.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace orv::gui {

namespace {

constexpr int FirstScanSetting = int(Setting::ScanMode);

// The lists row by row, left to right, as they stand on the panel.
constexpr Setting Layout[4][4] = {
    {Setting::TxTot, Setting::BeepTone, Setting::BandWidth, Setting::RevertCh},
    {Setting::PreAlertTime, Setting::SquelchLevel, Setting::ScanMode, Setting::DropoutDelay},
    {Setting::TotRekeyTime, Setting::ManualTune, Setting::PriorityCh, Setting::Monitor},
    {Setting::TotResetTime, Setting::BatterySave, Setting::LookBack, Setting::PowerSelect},
};

// "cboRadio_n" for the first eleven lists, "cmbScan_n" for the scan group.
QString listName(Setting s, const char* cboPrefix, const char* cmbPrefix) {
    const int i = int(s);
    return i < FirstScanSetting ? QStringLiteral("%1_%2").arg(QLatin1String(cboPrefix)).arg(i)
                                : QStringLiteral("%1_%2").arg(QLatin1String(cmbPrefix)).arg(i - FirstScanSetting);
}

const QColor MarkColour{255, 0, 0};

} // namespace

SettingsPanel::SettingsPanel(Document& document, Feedback& feedback, QWidget* parent)
    : QFrame(parent), m_document(document), m_feedback(feedback) {
    setObjectName(QStringLiteral("frmScan"));

    auto* box = new QGroupBox(QStringLiteral("Global Radio Settings"), this);
    box->setObjectName(QStringLiteral("fraGlobalSettings"));
    auto* grid = new QGridLayout(box);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            const Setting s = Layout[row][column];
            auto* caption = new QLabel(settingCaption(s), box);
            caption->setObjectName(listName(s, "lblRadio", "lblScan"));
            auto* list = new QComboBox(box);
            list->setObjectName(listName(s, "cboRadio", "cmbScan"));
            list->addItems(settingItems(s, document.numbers()));
            list->setCurrentIndex(-1);
            list->setAccessibleName(settingCaption(s));
            caption->setBuddy(list);
            grid->addWidget(caption, row * 2, column);
            grid->addWidget(list, row * 2 + 1, column);
            m_lists[size_t(s)] = list;
            connect(list, &QComboBox::activated, this, [this, s](int index) { selected(s, index); });
        }
    }
    list(Setting::PriorityCh)
        ->setToolTip(QStringLiteral(
            "Must be not beyond Max Number of channels and only valid when set to be not null channel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);

    showSettings();
    connect(&document, &Document::changed, this, &SettingsPanel::documentChanged);
}

void SettingsPanel::documentChanged(const DocumentChange& change) {
    if (change.has(DocumentChange::Settings) || change.has(DocumentChange::Replaced))
        showSettings();
}

QComboBox* SettingsPanel::list(Setting s) const { return m_lists[size_t(s)]; }

void SettingsPanel::showList(Setting s) {
    const SettingsSelection& sel = m_document.settings();
    QComboBox* combo = list(s);
    const QSignalBlocker block(combo);
    if (s == Setting::Monitor) {
        const QStringList items = sel.items(s);
        if (combo->count() != items.size()) {
            combo->clear();
            combo->addItems(items);
        }
    }
    combo->setCurrentIndex(sel.index(s));
    if (sel.isMarked(s)) {
        QPalette red = combo->palette();
        for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
            red.setColor(role, MarkColour);
        combo->setPalette(red);
    } else {
        combo->setPalette(QPalette());
    }
}

void SettingsPanel::showSettings() {
    for (int i = 0; i < SettingCount; ++i)
        showList(Setting(i));
}

void SettingsPanel::selected(Setting s, int index) {
    // The document's change shows the lists again (Power Select reshapes the Monitor list).
    if (m_document.selectSetting(s, index) && s == Setting::PowerSelect)
        list(s)->setFocus();
}

void SettingsPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit backgroundClicked();
    QFrame::mousePressEvent(event);
}

} // namespace orv::gui

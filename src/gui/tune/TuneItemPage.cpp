#include "tune/TuneItemPage.h"

#include "editors/Twips.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace orv::gui {

namespace {

QLabel* valueLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

TuneItemPage::TuneItemPage(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("fraTune"));
    setTitle(QStringLiteral("Tune Parameter"));

    m_fraTuneCH = new QGroupBox(QStringLiteral("Tune CH"), this);
    m_fraTuneCH->setObjectName(QStringLiteral("fraTuneCH"));
    m_lblRxfreq = valueLabel("lblRxfreq", m_fraTuneCH);
    m_lblRxCTC = valueLabel("lblRxCTC", m_fraTuneCH);
    m_lblTxFreq = valueLabel("lblTxFreq", m_fraTuneCH);
    m_lblTxCTC = valueLabel("lblTxCTC", m_fraTuneCH);
    auto* channel = new QGridLayout(m_fraTuneCH);
    channel->setHorizontalSpacing(twipsToPixels(120, this));
    const std::pair<const char*, QLabel*> rows[] = {{"Rx Freq(MHz): ", m_lblRxfreq},
                                                    {"Rx CTC/DCS: ", m_lblRxCTC},
                                                    {"Tx Freq(MHz): ", m_lblTxFreq},
                                                    {"Tx CTC/DCS: ", m_lblTxCTC}};
    for (int i = 0; i < 4; ++i) {
        const int row = i % 2, column = 2 * (i / 2);
        channel->addWidget(new QLabel(QLatin1String(rows[i].first), m_fraTuneCH), row, column);
        channel->addWidget(rows[i].second, row, column + 1);
        rows[i].second->setMinimumWidth(twipsToPixels(1200, this));
    }

    m_lblTuneNote = valueLabel("lblTuneNote", this);
    m_lblTuneNote->setWordWrap(true);
    m_lblTuneNote->hide();
    QFont strong = m_lblTuneNote->font();
    strong.setBold(true);
    m_lblTuneNote->setFont(strong);

    m_lblTuneVal = valueLabel("lblTuneVal", this);
    m_lblTuneVal->setMinimumWidth(twipsToPixels(600, this));
    m_hsbTune = new QScrollBar(Qt::Horizontal, this);
    m_hsbTune->setObjectName(QStringLiteral("hsbTune"));
    m_hsbTune->setRange(0, 255);
    m_hsbTune->setSingleStep(1);
    m_hsbTune->setPageStep(16);
    // Right and Up raise the value, Left and Down lower it.
    m_hsbTune->setInvertedControls(false);
    m_hsbTune->setFocusPolicy(Qt::StrongFocus);
    m_hsbTune->setAccessibleName(QStringLiteral("Tune value"));
    m_hsbTune->setMinimumWidth(twipsToPixels(5200, this));
    connect(m_hsbTune, &QScrollBar::valueChanged, this, &TuneItemPage::valueMoved);

    m_cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    for (QPushButton* b : {m_cmdOK, m_cmdCancel}) {
        b->setAutoDefault(true); // Enter presses the button that has the focus
        b->setMinimumWidth(twipsToPixels(1200, this));
    }

    auto* value = new QHBoxLayout;
    value->addWidget(new QLabel(QStringLiteral("Tune Value: "), this));
    value->addWidget(m_lblTuneVal);
    value->addWidget(m_hsbTune, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(twipsToPixels(180, this));
    layout->addWidget(m_fraTuneCH);
    layout->addWidget(m_lblTuneNote);
    layout->addLayout(value);
    layout->addLayout(buttons);
    layout->addStretch(1);

    setTabOrder(m_hsbTune, m_cmdOK);
    setTabOrder(m_cmdOK, m_cmdCancel);
}

void TuneItemPage::showItem(const TuneItemView& view) {
    setTitle(view.caption);
    m_fraTuneCH->setTitle(QStringLiteral("Tune CH ") + QString::number(view.testChannel));
    m_lblRxfreq->setText(view.rxFrequency);
    m_lblRxCTC->setText(view.rxSignal);
    m_lblTxFreq->setText(view.txFrequency);
    m_lblTxCTC->setText(view.txSignal);
    m_lblTuneVal->setText(QString::number(view.value));
    m_lblTuneNote->setText(view.note);
    m_lblTuneNote->setVisible(!view.note.isEmpty());
    const QSignalBlocker quiet(m_hsbTune);
    m_hsbTune->setValue(view.value);
}

void TuneItemPage::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_cmdOK->click();
        return;
    case Qt::Key_Escape:
        m_cmdCancel->click();
        return;
    default:
        QGroupBox::keyPressEvent(event);
    }
}

} // namespace orv::gui

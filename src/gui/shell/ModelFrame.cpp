#include "shell/ModelFrame.h"

#include "shell/ShellUnits.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

namespace orv::gui {

ModelFrame::ModelFrame(QWidget* parent) : QGroupBox(QStringLiteral("Radio Model"), parent) {
    setObjectName(QStringLiteral("frmModel"));

    m_cboModel = new QComboBox(this);
    m_cboModel->setObjectName(QStringLiteral("cboModel"));
    m_cboModel->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_cboModel->setMinimumWidth(twipsToPixels(2400, this));
    auto* modelCaption = new QLabel(QStringLiteral("&Model:"), this);
    modelCaption->setBuddy(m_cboModel);

    auto* radioCaption = new QLabel(QStringLiteral("Radio:"), this);
    m_lblRadio = new QLabel(this);
    m_lblRadio->setObjectName(QStringLiteral("lblRadio"));
    QFont bold = m_lblRadio->font();
    bold.setBold(true);
    m_lblRadio->setFont(bold);

    auto* bandCaption = new QLabel(QStringLiteral("Frequency Band:"), this);
    m_lblFreqBand = new QLabel(this);
    m_lblFreqBand->setObjectName(QStringLiteral("lblFreqBand"));
    m_lblFreqBand->setFont(bold);

    m_lblFreqRange = new QLabel(this);
    m_lblFreqRange->setObjectName(QStringLiteral("lblFreqRange"));
    m_lblFreqRange->hide();

    auto* layout = new QHBoxLayout(this);
    const int gap = twipsToPixels(360, this);
    layout->addWidget(modelCaption);
    layout->addWidget(m_cboModel);
    layout->addSpacing(gap);
    layout->addWidget(radioCaption);
    layout->addWidget(m_lblRadio);
    layout->addSpacing(gap);
    layout->addWidget(bandCaption);
    layout->addWidget(m_lblFreqBand);
    layout->addWidget(m_lblFreqRange);
    layout->addStretch(1);

    connect(m_cboModel, &QComboBox::activated, this, &ModelFrame::modelPicked);
}

void ModelFrame::setModelNames(const QStringList& names) {
    const QSignalBlocker block(m_cboModel);
    m_cboModel->clear();
    m_cboModel->addItems(names);
    m_cboModel->setCurrentIndex(-1);
}

void ModelFrame::showModel(int position, const QString& name, const QString& band) {
    {
        const QSignalBlocker block(m_cboModel);
        m_cboModel->setCurrentIndex(position);
    }
    m_lblRadio->setText(name);
    m_lblFreqBand->setText(band);
    m_lblFreqRange->setText(band);
}

} // namespace orv::gui

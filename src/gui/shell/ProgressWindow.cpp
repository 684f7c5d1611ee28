#include "shell/ProgressWindow.h"

#include "shell/BusyCursor.h"
#include "shell/ShellUnits.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>

namespace orv::gui {

ProgressWindow::ProgressWindow(const QString& appTitle, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_appTitle(appTitle) {
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("Read"));
    // While an exchange runs the main window takes no commands.
    setWindowModality(Qt::ApplicationModal);

    m_label = new QLabel(QStringLiteral("Read data from the radio ......"), this);
    m_label->setObjectName(QStringLiteral("lblProgress"));
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("prbRdOrWt"));
    m_bar->setRange(0, 500);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    m_caption = m_label->text();

    auto* layout = new QVBoxLayout(this);
    const int margin = twipsToPixels(180, this);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(twipsToPixels(120, this));
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    setFixedWidth(twipsToPixels(5400, this));
}

void ProgressWindow::PrgChange() { m_bar->setValue(std::min(m_value, m_bar->maximum())); }

void ProgressWindow::setPrgCaption(const QString& text) { m_caption = text.isEmpty() ? m_appTitle : text; }

void ProgressWindow::setMaximum(int maximum) { m_bar->setMaximum(maximum); }

void ProgressWindow::finish() {
    m_finishing = true;
    close();
    m_finishing = false;
}

void ProgressWindow::showEvent(QShowEvent* e) {
    if (!m_loaded)
        load();
    QWidget::showEvent(e);
}

// The window's load: the label takes PrgCaption, under the hourglass while it runs.
void ProgressWindow::load() {
    BusyCursor busy;
    m_loaded = true;
    m_label->setText(m_caption);
    adjustSize();
    if (const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr)
        move(owner->geometry().center() - rect().center());
}

void ProgressWindow::closeEvent(QCloseEvent* e) {
    if (m_finishing)
        e->accept();
    else
        e->ignore();
}

} // namespace orv::gui

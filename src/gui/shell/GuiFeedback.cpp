#include "shell/GuiFeedback.h"

#include "shell/ProgressWindow.h"

#include <QCoreApplication>

namespace orv::gui {

GuiFeedback::GuiFeedback(QString appTitle, QWidget* parent) : m_appTitle(std::move(appTitle)), m_parent(parent) {}

GuiFeedback::~GuiFeedback() { delete m_progress; }

std::unique_ptr<QMessageBox> GuiFeedback::makeBox(const QString& text, const QString& title, Icon icon,
                                                  Buttons buttons, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setObjectName(QStringLiteral("msgBox"));
    box->setWindowTitle(title);
    box->setText(text);
    box->setTextFormat(Qt::PlainText);
    switch (icon) {
    case Icon::None: box->setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box->setIcon(QMessageBox::Information); break;
    case Icon::Exclamation: box->setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box->setIcon(QMessageBox::Critical); break;
    case Icon::Question: box->setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case Buttons::Ok:
        box->setStandardButtons(QMessageBox::Ok);
        box->setDefaultButton(QMessageBox::Ok);
        box->setEscapeButton(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::Cancel);
        break;
    }
    return box;
}

Answer GuiFeedback::answerFor(int pressed, Buttons buttons) {
    switch (pressed) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Ok: return Answer::Ok;
    default: break;
    }
    // A box closed some other way counts as its escape button.
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::YesNo: return Answer::No;
    case Buttons::YesNoCancel: return Answer::Cancel;
    }
    return Answer::Cancel;
}

void GuiFeedback::message(const QString& text, const QString& title, Icon icon) {
    makeBox(text, title, icon, Buttons::Ok, m_parent)->exec();
}

Answer GuiFeedback::ask(const QString& text, const QString& title, Icon icon, Buttons buttons) {
    auto box = makeBox(text, title, icon, buttons, m_parent);
    return answerFor(box->exec(), buttons);
}

void GuiFeedback::progressOpen(const QString& label, int maximum, const QString& windowCaption) {
    progressClose();
    m_progress = new ProgressWindow(m_appTitle, m_parent);
    m_progress->setAttribute(Qt::WA_DeleteOnClose);
    m_progress->setPrgCaption(label);
    m_progress->setMaximum(maximum);
    if (!windowCaption.isEmpty())
        m_progress->setWindowTitle(windowCaption);
    m_progress->show();
    // The exchange runs on this thread: let the window appear before the first step.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_progress->repaint();
}

void GuiFeedback::progressSet(int value) {
    if (!m_progress)
        return;
    m_progress->setPrgValue(value);
    m_progress->PrgChange();
    m_progress->repaint();
}

void GuiFeedback::progressClose() {
    if (m_progress)
        m_progress->finish();
}

} // namespace orv::gui

#pragma once
// The window's way of telling the user: message boxes with the program's exact texts, titles,
// icons and buttons, and the progress window for the radio exchanges.

#include "Feedback.h"
#include "shell/ProgressWindow.h"

#include <QMessageBox>
#include <QPointer>
#include <memory>

namespace orv::gui {


class GuiFeedback : public Feedback {
public:
    // appTitle: what the progress window shows for an empty label text.
    explicit GuiFeedback(QString appTitle, QWidget* parent = nullptr);
    ~GuiFeedback() override;

    // The window that owns the message boxes and the progress window.
    void setParentWidget(QWidget* parent) { m_parent = parent; }
    void setAppTitle(const QString& title) { m_appTitle = title; }

    void message(const QString& text, const QString& title, Icon icon) override;
    Answer ask(const QString& text, const QString& title, Icon icon, Buttons buttons) override;

    // Shown without waiting; each step repaints the window at once.
    void progressOpen(const QString& label, int maximum, const QString& windowCaption) override;
    void progressSet(int value) override;
    void progressClose() override;
    ProgressWindow* progressWindow() const { return m_progress; }

    // The box as message() and ask() show it; the answer a pressed button stands for.
    static std::unique_ptr<QMessageBox> makeBox(const QString& text, const QString& title, Icon icon,
                                                Buttons buttons, QWidget* parent);
    static Answer answerFor(int pressed, Buttons buttons);

private:
    QString m_appTitle;
    QPointer<QWidget> m_parent;
    QPointer<ProgressWindow> m_progress;
};

} // namespace orv::gui

#pragma once
// How the program talks to the user: messages, questions and the progress display.
// The window implements it with message boxes and the progress window, the command line
// tool with stderr and --yes, and the tests with a recorder that answers from a script.

#include <QString>

namespace orv {

enum class Icon { None, Information, Exclamation, Critical, Question };
enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

// A message as the user sees it: text, title and icon.
struct UserMessage {
    QString text;
    QString title;
    Icon icon = Icon::None;
};

class Feedback {
public:
    virtual ~Feedback() = default;

    // A modal message box with an OK button.
    virtual void message(const QString& text, const QString& title, Icon icon) = 0;
    // A modal question; returns the button the user chose.
    virtual Answer ask(const QString& text, const QString& title, Icon icon, Buttons buttons) = 0;

    // Progress display (the progress window): opened with its label text, bar maximum and
    // window caption, advanced to a value (shown at most at the maximum), then closed.
    virtual void progressOpen(const QString& label, int maximum, const QString& windowCaption) {
        (void)label, (void)maximum, (void)windowCaption;
    }
    virtual void progressSet(int value) { (void)value; }
    virtual void progressClose() {}
};

// Feedback that shows nothing and answers every question with a fixed answer.
class SilentFeedback : public Feedback {
public:
    explicit SilentFeedback(Answer answer = Answer::Yes) : m_answer(answer) {}
    void message(const QString&, const QString&, Icon) override {}
    Answer ask(const QString&, const QString&, Icon, Buttons) override { return m_answer; }

private:
    Answer m_answer;
};

} // namespace orv

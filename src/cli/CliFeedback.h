#pragma once
// Feedback on a terminal: messages are collected (and failures printed to stderr by the
// command), questions are answered from a fixed answer.

#include "Feedback.h"

#include <QStringList>

namespace orv::cli {

class CliFeedback : public Feedback {
public:
    explicit CliFeedback(Answer answer = Answer::No) : m_answer(answer) {}

    void message(const QString& text, const QString&, Icon) override { messages.append(text); }
    Answer ask(const QString& text, const QString&, Icon, Buttons) override {
        questions.append(text);
        return m_answer;
    }

    QStringList messages;
    QStringList questions;

private:
    Answer m_answer;
};

} // namespace orv::cli

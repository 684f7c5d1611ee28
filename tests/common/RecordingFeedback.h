#pragma once
// Feedback for tests: records every message, question and progress step, and answers
// questions from a script (then from a default).

#include "Feedback.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>

namespace orv::test {

struct Shown {
    enum Kind { Message, Question } kind;
    QString text;
    QString title;
    Icon icon;
    Buttons buttons = Buttons::Ok;
};

class RecordingFeedback : public Feedback {
public:
    explicit RecordingFeedback(Answer fallback = Answer::Yes) : m_fallback(fallback) {}

    void message(const QString& text, const QString& title, Icon icon) override {
        shown.append({Shown::Message, text, title, icon, Buttons::Ok});
    }
    Answer ask(const QString& text, const QString& title, Icon icon, Buttons buttons) override {
        shown.append({Shown::Question, text, title, icon, buttons});
        if (answers.empty())
            return m_fallback;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void progressOpen(const QString& label, int maximum, const QString& caption) override {
        progress.append(QStringLiteral("open %1|%2|%3").arg(label).arg(maximum).arg(caption));
    }
    void progressSet(int value) override { progress.append(QStringLiteral("set %1").arg(value)); }
    void progressClose() override { progress.append(QStringLiteral("close")); }

    QStringList texts() const {
        QStringList t;
        for (const Shown& s : shown)
            t.append(s.text);
        return t;
    }
    void clear() {
        shown.clear();
        progress.clear();
    }

    std::deque<Answer> answers;
    QList<Shown> shown;
    QStringList progress;

private:
    Answer m_fallback;
};

} // namespace orv::test

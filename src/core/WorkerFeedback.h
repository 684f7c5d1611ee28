#pragma once
// Feedback for exchanges that run without a user in front of them (a worker thread of the
// fleet, a script): no dialog ever opens. Every message and question is recorded, questions
// are answered by a policy, and the progress is kept for whoever watches. The record can be
// read from another thread while the worker writes it.

#include "Feedback.h"

#include <QList>
#include <QMutex>
#include <functional>

namespace orv {

class WorkerFeedback : public Feedback {
public:
    using Policy = std::function<Answer(const QString& text, Buttons buttons)>;
    // The policy that answers every question with `answer`.
    static Policy always(Answer answer) {
        return [answer](const QString&, Buttons) { return answer; };
    }

    explicit WorkerFeedback(Policy policy) : m_policy(std::move(policy)) {}

    struct Entry {
        bool question = false;
        QString text;
        QString title;
        Icon icon = Icon::None;
        Answer answer = Answer::Ok; // the policy's answer, for a question
    };

    void message(const QString& text, const QString& title, Icon icon) override {
        const QMutexLocker lock(&m_mutex);
        m_entries.append({false, text, title, icon, Answer::Ok});
    }
    Answer ask(const QString& text, const QString& title, Icon icon, Buttons buttons) override {
        const Answer a = m_policy ? m_policy(text, buttons) : Answer::No;
        const QMutexLocker lock(&m_mutex);
        m_entries.append({true, text, title, icon, a});
        return a;
    }
    void progressOpen(const QString&, int maximum, const QString&) override {
        const QMutexLocker lock(&m_mutex);
        m_maximum = maximum;
        m_value = 0;
    }
    void progressSet(int value) override {
        const QMutexLocker lock(&m_mutex);
        m_value = value;
    }

    QList<Entry> entries() const {
        const QMutexLocker lock(&m_mutex);
        return m_entries;
    }
    // The text of the last message, "" before the first.
    QString lastMessage() const {
        const QMutexLocker lock(&m_mutex);
        for (auto it = m_entries.crbegin(); it != m_entries.crend(); ++it)
            if (!it->question)
                return it->text;
        return {};
    }
    // The progress as last set, and its maximum (0 before any progress was opened).
    std::pair<int, int> progress() const {
        const QMutexLocker lock(&m_mutex);
        return {m_value, m_maximum};
    }

private:
    Policy m_policy;
    mutable QMutex m_mutex;
    QList<Entry> m_entries;
    int m_value = 0;
    int m_maximum = 0;
};

} // namespace orv

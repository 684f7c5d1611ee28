#include "shell/ListedQuestion.h"

#include <algorithm>

namespace orv::gui {

QString listedQuestion(const QString& heading, const QStringList& items, const QString& question) {
    const int n = int(items.size());
    QString text = heading + QStringLiteral("\n\n");
    for (int i = 0; i < std::min(n, QuestionLines); ++i)
        text += items[i] + QLatin1Char('\n');
    if (n > QuestionLines)
        text += QStringLiteral("... and %1 more\n").arg(n - QuestionLines);
    return text + QLatin1Char('\n') + question;
}

} // namespace orv::gui

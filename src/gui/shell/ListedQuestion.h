#pragma once
// The text of a question about a list (the warnings before a write, the differences a verify
// found): a heading, the first items one a line, how many more there are, then the question.
// The window that shows the whole list is named in the items' stead when there are many.

#include <QString>
#include <QStringList>

namespace orv::gui {

// The question lists this many items at most.
inline constexpr int QuestionLines = 10;

// "heading\n\nitem 1\n...\nitem 10\n... and 3 more\n\nquestion".
QString listedQuestion(const QString& heading, const QStringList& items, const QString& question);

} // namespace orv::gui

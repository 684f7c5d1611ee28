#include "shell/HelpViewer.h"

#include "shell/ShellUnits.h"

#include <QAction>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace orv::gui {

namespace {

// Marking every place of a common word would cost more than it helps.
constexpr int MaxMarks = 500;

QStringList wordsOf(const QString& text) {
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return text.toLower().split(space, Qt::SkipEmptyParts);
}

QString anchorOf(const QTextBlock& block) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QStringList names = it.fragment().charFormat().anchorNames();
        if (!names.isEmpty())
            return names.constFirst();
    }
    return {};
}

} // namespace

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmHelp"));

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("txtHelp"));
    m_browser->setOpenExternalLinks(true);

    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("txtSearch"));
    m_search->setPlaceholderText(QStringLiteral("Search the manual"));
    m_search->setClearButtonEnabled(true);
    m_search->setAccessibleName(QStringLiteral("Search the manual"));
    m_results = new QListWidget(this);
    m_results->setObjectName(QStringLiteral("lstSections"));
    m_results->setAccessibleName(QStringLiteral("Sections found"));
    m_results->setWordWrap(true);
    m_results->setTextElideMode(Qt::ElideNone);
    m_found = new QLabel(this);
    m_found->setObjectName(QStringLiteral("lblFound"));
    m_found->setWordWrap(true);
    auto* searchLabel = new QLabel(QStringLiteral("&Search for:"), this);
    searchLabel->setBuddy(m_search);

    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("tbHelp"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const QStyle* s = style();
    QAction* back = toolBar->addAction(s->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Back"));
    back->setObjectName(QStringLiteral("actBack"));
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    QAction* forward =
        toolBar->addAction(s->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Forward"));
    forward->setObjectName(QStringLiteral("actForward"));
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    QAction* home = toolBar->addAction(s->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Contents"));
    home->setObjectName(QStringLiteral("actHome"));
    home->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    for (QAction* a : {back, forward, home})
        a->setToolTip(
            QStringLiteral("%1 (%2)").arg(a->text(), a->shortcut().toString(QKeySequence::NativeText)));
    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(home, &QAction::triggered, this, &HelpViewer::showContents);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    auto* side = new QWidget(this);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(searchLabel);
    sideLayout->addWidget(m_search);
    sideLayout->addWidget(m_found);
    sideLayout->addWidget(m_results, 1);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(side);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({twipsToPixels(3600, this), twipsToPixels(9000, this)});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(toolBar);
    layout->addWidget(splitter, 1);
    resize(twipsToPixels(12600, this), twipsToPixels(9600, this));

    connect(m_search, &QLineEdit::returnPressed, this, &HelpViewer::searchOrNext);
    connect(m_results, &QListWidget::currentRowChanged, this, &HelpViewer::showSection);
    connect(m_results, &QListWidget::itemActivated, this, [this] { showSection(m_results->currentRow()); });
    m_search->installEventFilter(this);

    auto* next = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(next, &QShortcut::activated, this, [this] { findNext(); });
    auto* previous = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this);
    connect(previous, &QShortcut::activated, this, [this] { findNext(true); });
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, &HelpViewer::showSearch);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

void HelpViewer::setManual(const QString& path) {
    m_home = path.startsWith(QLatin1Char(':')) ? QUrl(QStringLiteral("qrc") + path)
                                               : QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    m_browser->clearHistory();
    m_browser->setSource(m_home);
    indexSections();
    m_results->clear();
    m_hits.clear();
    m_searched.clear();
    m_found->clear();
    m_marks.clear();
    showMarks();
}

// The manual's sections: every heading starts one, which runs to the next heading.
void HelpViewer::indexSections() {
    m_sections.clear();
    QString parentTitle;
    for (QTextBlock block = m_browser->document()->begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level > 0) {
            if (!m_sections.empty())
                m_sections.back().end = block.position();
            const QString heading = block.text().simplified();
            Section s;
            s.anchor = anchorOf(block);
            s.title = level == 3 && !parentTitle.isEmpty()
                          ? parentTitle + QStringLiteral(" \u203a ") + heading
                          : heading;
            if (level <= 2)
                parentTitle = level == 2 ? heading : QString();
            s.start = block.position();
            m_sections.push_back(s);
        }
        if (!m_sections.empty())
            m_sections.back().text += block.text().toLower() + QLatin1Char('\n');
    }
    if (!m_sections.empty())
        m_sections.back().end = m_browser->document()->characterCount();
}

void HelpViewer::showContents() {
    m_browser->setSource(m_home);
    m_browser->verticalScrollBar()->setValue(0);
    m_browser->setFocus();
}

void HelpViewer::showSearch() {
    m_search->setFocus();
    m_search->selectAll();
}

int HelpViewer::search(const QString& words) {
    m_searched = words;
    m_hits.clear();
    const QStringList wanted = wordsOf(words);
    for (size_t i = 0; i < m_sections.size() && !wanted.isEmpty(); ++i) {
        const QString& text = m_sections[i].text;
        if (std::all_of(wanted.begin(), wanted.end(), [&](const QString& w) { return text.contains(w); }))
            m_hits.push_back(int(i));
    }
    // F3 looks for the words as typed where they stand together, else for the first one.
    const QString phrase = words.simplified();
    m_term = wanted.isEmpty() || !m_browser->document()->find(phrase).isNull() ? phrase : wanted.constFirst();

    m_marks.clear();
    QTextCharFormat wordLook;
    wordLook.setBackground(QColor(255, 236, 140));
    for (const QString& w : wanted)
        for (QTextCursor c = m_browser->document()->find(w); !c.isNull() && m_marks.size() < MaxMarks;
             c = m_browser->document()->find(w, c))
            m_marks.append({c, wordLook});
    showMarks();

    const QSignalBlocker quiet(m_results);
    m_results->clear();
    for (int i : m_hits)
        m_results->addItem(m_sections[size_t(i)].title);
    if (wanted.isEmpty())
        m_found->clear();
    else if (m_hits.empty())
        m_found->setText(QStringLiteral("No section contains \u201c%1\u201d.").arg(phrase));
    else
        m_found->setText(m_hits.size() == 1 ? QStringLiteral("1 section found.")
                                            : QStringLiteral("%1 sections found.").arg(m_hits.size()));
    if (!m_hits.empty()) {
        m_results->setCurrentRow(0);
        showSection(0);
    }
    return int(m_hits.size());
}

// Jumps to a section found (the page scrolls its heading into view, Back returns) and marks
// the first place of the words in it.
void HelpViewer::showSection(int row) {
    if (row < 0 || size_t(row) >= m_hits.size())
        return;
    const Section& s = m_sections[size_t(m_hits[size_t(row)])];
    if (!s.anchor.isEmpty()) {
        QUrl target = m_home;
        target.setFragment(s.anchor);
        m_browser->setSource(target);
    }
    QTextDocument* doc = m_browser->document();
    QTextCursor at(doc);
    at.setPosition(s.start);
    const QTextCursor match = doc->find(m_term, at);
    if (!match.isNull() && match.selectionStart() < s.end) {
        m_browser->setTextCursor(match);
        m_browser->ensureCursorVisible();
    } else {
        m_browser->setTextCursor(at);
    }
    showMarks();
}

// The words searched in light yellow, the place reached in orange: visible also while the
// focus stays in the search field.
void HelpViewer::showMarks() {
    QList<QTextEdit::ExtraSelection> marks = m_marks;
    const QTextCursor current = m_browser->textCursor();
    if (current.hasSelection()) {
        QTextCharFormat look;
        look.setBackground(QColor(255, 170, 60));
        marks.append({current, look});
    }
    m_browser->setExtraSelections(marks);
}

bool HelpViewer::findNext(bool backward) {
    if (m_term.isEmpty())
        return false;
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool found = m_browser->find(m_term, flags);
    if (!found) {
        // Round the end (or the start) of the page.
        QTextCursor restart(m_browser->document());
        restart.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        m_browser->setTextCursor(restart);
        found = m_browser->find(m_term, flags);
    }
    showMarks();
    return found;
}

void HelpViewer::searchOrNext() {
    const QString text = m_search->text();
    if (text == m_searched && !m_hits.empty())
        findNext();
    else
        search(text);
}

QStringList HelpViewer::foundSections() const {
    QStringList titles;
    for (int i : m_hits)
        titles << m_sections[size_t(i)].title;
    return titles;
}

// Down in the search field goes on to the list of sections found.
bool HelpViewer::eventFilter(QObject* watched, QEvent* e) {
    if (watched == m_search && e->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(e)->key() == Qt::Key_Down && m_results->count() > 0) {
        m_results->setFocus();
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

} // namespace orv::gui

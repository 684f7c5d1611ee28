#pragma once
// The program's manual in a window of its own, beside the main window (not modal): the page
// in a browser with Back, Forward and Home (the contents at the top of the manual), and on
// the left a search field with the list of the sections found. Searching lists the sections
// whose text contains every word typed and jumps to the first one, marking the words there.
// Keys: Enter in the field searches, Enter again or F3 goes to the next match and Shift+F3
// to the previous one; the arrow keys in the list move from section to section; Alt+Left,
// Alt+Right and Alt+Home go back, forward and home; Escape closes the window.

#include <QTextEdit>
#include <QUrl>
#include <QWidget>

#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace orv::gui {

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // Loads the manual (a file or resource path); its top is the contents page.
    void setManual(const QString& path);
    QUrl manualUrl() const { return m_home; }

    // The contents page, with the focus in the page.
    void showContents();
    // The search field focused, its text selected for a new search.
    void showSearch();

    // Lists the sections that contain every word of `words` (letter case ignored) and jumps
    // to the first one. Returns how many were found.
    int search(const QString& words);
    // The next (or previous) place of the words searched, from the marked one on, round the
    // end of the page. False when there is none.
    bool findNext(bool backward = false);
    // Titles of the sections the last search found, in page order.
    QStringList foundSections() const;

    QTextBrowser* browser() const { return m_browser; }
    QLineEdit* searchField() const { return m_search; }
    QListWidget* results() const { return m_results; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    struct Section {
        QString anchor;
        QString title;
        QString text; // heading and body, lower case
        int start = 0;
        int end = 0;
    };
    void indexSections();
    void showSection(int row);
    void searchOrNext();
    void showMarks();

    QTextBrowser* m_browser = nullptr;
    QLineEdit* m_search = nullptr;
    QListWidget* m_results = nullptr;
    QLabel* m_found = nullptr;
    QUrl m_home;
    std::vector<Section> m_sections;
    std::vector<int> m_hits;  // indexes into m_sections
    QString m_searched;       // the text of the last search
    QString m_term;           // what F3 looks for: the words as typed, or the first word
    QList<QTextEdit::ExtraSelection> m_marks; // every place of the words searched
};

} // namespace orv::gui

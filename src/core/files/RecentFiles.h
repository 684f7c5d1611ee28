#pragma once
// The four most recently used data files, kept in the program's INI file: section
// "Recent Files", keys "RecentFile1" (the most recent) to "RecentFile4". A key holds an entry
// when its value is not empty and does not begin with "No File" (what an absent key reads
// as); an empty value is a free place. Every call reads the file afresh and writes one key at
// a time, keeping the rest of the file.

#include <QString>
#include <QStringList>

namespace orv {

class RecentFiles {
public:
    static constexpr int Count = 4;

    explicit RecentFiles(QString iniPath) : m_iniPath(std::move(iniPath)) {}

    // Entry i (1..4) as the menu shows it: the path, or the empty text for a free place.
    QString entry(int i) const;
    // Entries 1..4 in that order, free places as empty texts.
    QStringList entries() const;

    // Makes the path (without surrounding spaces) entry 1. An entry that matches it moves to the top and the
    // entries above it move one place down; a new path pushes entries 1..3 down and entry 4 is lost.
    void addRecentFile(const QString& path);
    // Deletes the first entry that matches the path; the entries behind it move up until the
    // first free place, and the places from the last one moved up to 4 are emptied.
    void removeRecentFile(const QString& path);

    // An entry matches a path when its first characters, as many as the path has, equal the
    // path without its leading and trailing spaces, ignoring letter case. A free place never
    // matches.
    static bool matches(const QString& entryValue, const QString& path);

private:
    QString m_iniPath;
};

} // namespace orv

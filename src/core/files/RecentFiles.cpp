#include "RecentFiles.h"

#include "catalog/IniFile.h"

#include <array>

namespace orv {

namespace {

const QString Section = QStringLiteral("Recent Files");
const QString AbsentKey = QStringLiteral("No File");

QString keyFor(int i) {
    return QStringLiteral("RecentFile") + QString::number(i);
}

bool holdsEntry(const QString& value) {
    return !value.isEmpty() && !value.startsWith(AbsentKey);
}

// The four values as the file holds them, index 0 = key 1, free places as empty texts.
std::array<QString, RecentFiles::Count> readEntries(const IniFile& ini) {
    std::array<QString, RecentFiles::Count> values;
    for (int i = 1; i <= RecentFiles::Count; ++i) {
        const QString v = ini.readString(Section, keyFor(i), AbsentKey);
        values[size_t(i - 1)] = holdsEntry(v) ? v : QString();
    }
    return values;
}

QString trimSpaces(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == u' ')
        ++b;
    while (e > b && s[e - 1] == u' ')
        --e;
    return s.mid(b, e - b);
}

} // namespace

bool RecentFiles::matches(const QString& entryValue, const QString& path) {
    if (!holdsEntry(entryValue))
        return false;
    return entryValue.left(path.size()).compare(trimSpaces(path), Qt::CaseInsensitive) == 0;
}

QString RecentFiles::entry(int i) const {
    if (i < 1 || i > Count)
        return {};
    return readEntries(IniFile(m_iniPath))[size_t(i - 1)];
}

QStringList RecentFiles::entries() const {
    const auto values = readEntries(IniFile(m_iniPath));
    return QStringList(values.begin(), values.end());
}

void RecentFiles::addRecentFile(const QString& path) {
    if (trimSpaces(path).isEmpty())
        return;
    IniFile ini(m_iniPath);
    const auto values = readEntries(ini);
    int k = 0;
    for (int i = Count; i >= 1 && k == 0; --i)
        if (matches(values[size_t(i - 1)], path))
            k = i;
    if (k == 1)
        return;
    // Entries above the match (or 1..3 for a new path) move one place down; free places are
    // skipped, and the match itself, or entry 4, is overwritten.
    for (int j = (k == 0 ? Count : k) - 1; j >= 1; --j)
        if (!values[size_t(j - 1)].isEmpty())
            ini.writeString(Section, keyFor(j + 1), values[size_t(j - 1)]);
    // Stored without surrounding spaces, which a profile read would drop anyway.
    ini.writeString(Section, keyFor(1), trimSpaces(path));
}

void RecentFiles::removeRecentFile(const QString& path) {
    if (trimSpaces(path).isEmpty())
        return;
    IniFile ini(m_iniPath);
    const auto values = readEntries(ini);
    int k = 0;
    for (int i = 1; i <= Count && k == 0; ++i)
        if (matches(values[size_t(i - 1)], path))
            k = i;
    if (k == 0)
        return;
    int j = k + 1;
    for (; j <= Count && !values[size_t(j - 1)].isEmpty(); ++j)
        ini.writeString(Section, keyFor(j - 1), values[size_t(j - 1)]);
    // From the last place moved from (the removed one when nothing moved) up to 4.
    for (int i = j - 1; i <= Count; ++i)
        ini.writeString(Section, keyFor(i), QString());
}

} // namespace orv

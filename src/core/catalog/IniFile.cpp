#include "IniFile.h"

#define SI_CONVERT_ICU
#include <SimpleIni.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <optional>
#include <vector>

// SimpleIni parses the file for reading. Writing does not go through SimpleIni's own
// serialiser, which rewrites the whole file (it drops comments after the last key and lines
// it does not understand, and respaces every "key=value"); a write edits or inserts one line
// and leaves every other byte of the file alone. Both sides share the same idea of what a
// section line and a key line are, so the line a write changes is the line a read finds.

namespace orv {

namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF");

bool isBlank(char c) { return c == ' ' || c == '\t'; }

QString trimBlanks(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && (s[b] == u' ' || s[b] == u'\t'))
        ++b;
    while (e > b && (s[e - 1] == u' ' || s[e - 1] == u'\t'))
        --e;
    return s.mid(b, e - b);
}

QByteArray trimBlanks(const QByteArray& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

bool isQuote(QChar c) { return c == u'"' || c == u'\''; }

// One pair of matching quotes around the whole value is dropped, single or double, the way
// the platform's profile calls do it.
QString unquote(const QString& s) {
    if (s.size() >= 2 && isQuote(s.front()) && s.back() == s.front())
        return s.mid(1, s.size() - 2);
    return s;
}

// Values are UTF-8; a file in an 8-bit code page still reads, as Latin-1.
QString decodeText(const char* raw) {
    const QByteArray bytes(raw);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return QString::fromLatin1(bytes);
    return text;
}

// Section and key names compare without regard to ASCII letter case, as SimpleIni does.
char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool sameName(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    return true;
}

// No INI file of the program comes anywhere near this size. A longer one is not read.
constexpr qint64 LongestIniFile = 1024 * 1024;

// The whole file, an empty text for a missing file, nothing for a file that cannot be read.
// Only a regular file of at most LongestIniFile bytes is read: a FIFO or a terminal named as
// the program's INI would block the program, /dev/zero or a huge file would fill the memory.
std::optional<QByteArray> readFileBytes(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return QByteArray();
    if (!info.isFile() || info.size() > LongestIniFile)
        return std::nullopt;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = f.read(LongestIniFile + 1);
    if (f.error() != QFileDevice::NoError || bytes.size() > LongestIniFile)
        return std::nullopt;
    return bytes;
}

// ---- the line editor used by writeString ------------------------------------------------

struct Line {
    QByteArray text;
    QByteArray eol; // "\r\n", "\n", "\r" or empty on a last line without an ending
};

std::vector<Line> splitLines(const QByteArray& data) {
    std::vector<Line> lines;
    qsizetype pos = 0;
    while (pos < data.size()) {
        qsizetype end = pos;
        while (end < data.size() && data[end] != '\n' && data[end] != '\r')
            ++end;
        qsizetype next = end;
        if (next < data.size())
            next += (data[next] == '\r' && next + 1 < data.size() && data[next + 1] == '\n') ? 2 : 1;
        lines.push_back({data.mid(pos, end - pos), data.mid(end, next - end)});
        pos = next;
    }
    return lines;
}

QByteArray joinLines(const std::vector<Line>& lines) {
    QByteArray out;
    for (const Line& l : lines)
        out += l.text + l.eol;
    return out;
}

enum class LineKind { Other, Section, Key };

struct LineInfo {
    LineKind kind = LineKind::Other;
    QByteArray name; // section or key name, trimmed
};

// SimpleIni stops reading at a NUL byte: a NUL counts as a blank instead, for the parser and
// for the line editor alike, so that nothing after it is lost and a write lands where a read
// finds it.
QByteArray nulAsBlank(QByteArray bytes) { return bytes.replace('\0', ' '); }

// The text SimpleIni parses: NUL bytes as blanks, and a line that opens a section without
// closing it ("[Comm Port") made a comment. SimpleIni means to skip such a line, as the line
// editor does, but takes its text as the section of the keys that follow it.
QByteArray parserText(const QByteArray& bytes) {
    QByteArray text = nulAsBlank(bytes);
    qsizetype pos = text.startsWith(Utf8Bom) ? Utf8Bom.size() : 0;
    while (pos < text.size()) {
        qsizetype end = pos;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r')
            ++end;
        qsizetype first = pos;
        while (first < end && isBlank(text[first]))
            ++first;
        if (first < end && text[first] == '[' && !QByteArrayView(text).sliced(first, end - first).contains(']'))
            text[first] = ';';
        pos = end + 1;
    }
    return text;
}

LineInfo classify(const QByteArray& line) {
    const QByteArray t = trimBlanks(nulAsBlank(line));
    if (t.isEmpty() || t[0] == ';' || t[0] == '#')
        return {};
    if (t[0] == '[') {
        const qsizetype close = t.indexOf(']');
        if (close < 0)
            return {};
        return {LineKind::Section, trimBlanks(t.mid(1, close - 1))};
    }
    const qsizetype eq = t.indexOf('=');
    if (eq <= 0)
        return {};
    return {LineKind::Key, trimBlanks(t.left(eq))};
}

// Keeps the key and the spacing around '=' as the file has them, replaces what follows.
QByteArray withValue(const QByteArray& text, const QByteArray& value) {
    qsizetype pos = text.indexOf('=') + 1;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    return text.left(pos) + value;
}

QByteArray lineEnding(const std::vector<Line>& lines) {
    for (const Line& l : lines)
        if (!l.eol.isEmpty())
            return l.eol;
#ifdef Q_OS_WIN
    return "\r\n";
#else
    return "\n";
#endif
}

// Sets section/key in the file text: the first line that a read would find is changed, or a
// new key line follows the last key of the section, or a new section goes at the end.
QByteArray setKeyInText(const QByteArray& data, const QByteArray& section, const QByteArray& key,
                        const QByteArray& value) {
    const bool bom = data.startsWith(Utf8Bom);
    std::vector<Line> lines = splitLines(bom ? data.mid(Utf8Bom.size()) : data);
    const QByteArray eol = lineEnding(lines);

    bool inSection = false;     // inside any section of that name
    bool inFirstSection = false;
    qsizetype insertAfter = -1; // last key line (or the header) of the first such section
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
        const LineInfo info = classify(lines[size_t(i)].text);
        if (info.kind == LineKind::Section) {
            inSection = sameName(info.name, section);
            inFirstSection = inSection && insertAfter < 0;
            if (inFirstSection)
                insertAfter = i;
        } else if (info.kind == LineKind::Key && inSection) {
            if (sameName(info.name, key)) {
                lines[size_t(i)].text = withValue(lines[size_t(i)].text, value);
                return (bom ? Utf8Bom : QByteArray()) + joinLines(lines);
            }
            if (inFirstSection)
                insertAfter = i;
        }
    }

    const QByteArray keyLine = key + '=' + value;
    if (insertAfter >= 0) {
        Line& before = lines[size_t(insertAfter)];
        if (before.eol.isEmpty())
            before.eol = eol;
        lines.insert(lines.begin() + insertAfter + 1, Line{keyLine, eol});
    } else {
        if (!lines.empty()) {
            if (lines.back().eol.isEmpty())
                lines.back().eol = eol;
            if (!trimBlanks(lines.back().text).isEmpty())
                lines.push_back({QByteArray(), eol});
        }
        lines.push_back({'[' + section + ']', eol});
        lines.push_back({keyLine, eol});
    }
    return (bom ? Utf8Bom : QByteArray()) + joinLines(lines);
}

bool hasLineBreakOrNul(const QString& s) {
    return s.contains(u'\n') || s.contains(u'\r') || s.contains(QChar(0));
}

// A value that would not read back as written (surrounding blanks, or a pair of quotes of
// its own) is written inside double quotes.
QString protectForReading(const QString& value) {
    if (value.isEmpty())
        return value;
    if (trimBlanks(value) != value || unquote(value) != value)
        return u'"' + value + u'"';
    return value;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

} // namespace

struct IniFile::Impl {
    // Several values per key are kept so that a read can take the first one, as the
    // platform's profile calls do (SimpleIni alone would keep the last).
    CSimpleIniA ini{/*utf8*/ false, /*multiKey*/ true, /*multiLine*/ false};

    void load(const QByteArray& bytes) {
        ini.Reset();
        ini.SetQuotes(false); // quotes are handled in readString, single ones too
        if (!bytes.isEmpty()) {
            const QByteArray text = parserText(bytes);
            ini.LoadData(text.constData(), size_t(text.size()));
        }
    }

    // The value of the key's first line in the file, or nullptr.
    const char* firstValue(const QByteArray& section, const QByteArray& key) const {
        CSimpleIniA::TNamesDepend values;
        if (!ini.GetAllValues(section.constData(), key.constData(), values) || values.empty())
            return nullptr;
        const CSimpleIniA::Entry* first = &values.front();
        for (const CSimpleIniA::Entry& e : values)
            if (e.nOrder < first->nOrder)
                first = &e;
        return first->pItem;
    }
};

IniFile::IniFile(QString path) : m_path(std::move(path)), d(std::make_unique<Impl>()) {
    reload();
}

IniFile::~IniFile() = default;

bool IniFile::exists() const { return QFileInfo(m_path).isFile(); }

void IniFile::reload() { d->load(readFileBytes(m_path).value_or(QByteArray())); }

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const {
    const char* raw = key.isEmpty() ? nullptr : d->firstValue(section.toUtf8(), key.toUtf8());
    if (!raw)
        return trimBlanks(def);
    return unquote(trimBlanks(decodeText(raw)));
}

bool IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    const QString sec = trimBlanks(section);
    const QString k = trimBlanks(key);
    if (sec.isEmpty() || k.isEmpty() || hasLineBreakOrNul(sec) || hasLineBreakOrNul(k) ||
        hasLineBreakOrNul(value) || sec.contains(u']') || k.contains(u'=') ||
        k.startsWith(u';') || k.startsWith(u'#') || k.startsWith(u'['))
        return false;

    const std::optional<QByteArray> current = readFileBytes(m_path);
    if (!current) // never replace a file we could not read
        return false;
    const QByteArray updated =
        setKeyInText(*current, sec.toUtf8(), k.toUtf8(), protectForReading(value).toUtf8());
    if (!writeFileAtomically(m_path, updated))
        return false;
    d->load(updated);
    return true;
}

} // namespace orv

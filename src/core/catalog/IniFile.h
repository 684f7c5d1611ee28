#pragma once
// INI files read and written like the platform's profile-string calls: section and key
// names compare without regard to letter case, values come back trimmed, a missing file,
// section or key gives the caller's default, and writing one key keeps the rest of the file
// (comments, order, other keys) as it was.

#include <QString>
#include <memory>

namespace orv {

class IniFile {
public:
    // Reads the file once (a missing or unreadable file reads as empty, and so does anything
    // but a regular file, or a file over 1 MiB).
    explicit IniFile(QString path);
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const QString& path() const { return m_path; }
    bool exists() const;

    // The value of section/key, trimmed of spaces and tabs; one pair of matching quotes (double
    // or single) around the whole value is removed. If a key appears more than once, the
    // first one counts. Files are UTF-8; a value that is not valid UTF-8 reads as Latin-1. A missing file, section or key gives def (trimmed the same way).
    // A key present with an empty value gives the empty text.
    QString readString(const QString& section, const QString& key, const QString& def) const;

    // Writes one key, creating the file (and its folder) and the section when missing, keeping
    // every other line of the file as it is. A value with surrounding blanks or quotes of its
    // own is written in double quotes so that it reads back unchanged. The file is replaced
    // atomically. Returns false, writing nothing, when the file cannot be read (see above) or written, or
    // when the section, key or value holds a line break (or the key an '=', or the section
    // a ']', or either is empty).
    bool writeString(const QString& section, const QString& key, const QString& value);

    // Re-reads the file from disk.
    void reload();

private:
    struct Impl;
    QString m_path;
    std::unique_ptr<Impl> d;
};

} // namespace orv

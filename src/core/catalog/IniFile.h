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
    // Reads the file once (a missing or unreadable file reads as empty).
    explicit IniFile(QString path);
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const QString& path() const { return m_path; }
    bool exists() const;

    // The value of section/key, trimmed of spaces and tabs; one pair of surrounding double
    // quotes is removed. A missing file, section or key gives def (trimmed the same way).
    // A key present with an empty value gives the empty text.
    QString readString(const QString& section, const QString& key, const QString& def) const;

    // Writes one key, creating the file and the section when missing, keeping everything else.
    // The file is replaced atomically. Returns false when the file cannot be written.
    bool writeString(const QString& section, const QString& key, const QString& value);

    // Re-reads the file from disk.
    void reload();

private:
    struct Impl;
    QString m_path;
    std::unique_ptr<Impl> d;
};

} // namespace orv

#pragma once

#include <QString>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// settings.ini with the semantics of the home platform's profile functions: names compared
// without regard to ASCII case, first match wins, values trimmed of blanks and one pair of
// quotes, at most 2047 characters read, a write touches only its own line. The object holds
// only the path: every call goes to the file at that moment.
class TIniFile {
public:
    explicit TIniFile(QString path) : m_path(std::move(path)) {}

    const QString& FileName() const { return m_path; }

    // Missing file, section or key: empty.
    std::string ReadString(std::string_view section, std::string_view key) const;

    // Throws QuorlexError "Unable to write to %s" when the file cannot be written.
    void WriteString(std::string_view section, std::string_view key, std::string_view value) const;
    // Several keys of one section in one write of the file (key, value pairs in order).
    void WriteStrings(std::string_view section, const std::vector<std::pair<std::string, std::string>>& values) const;

    // The pure halves, over the file's bytes.
    static std::string ReadFrom(std::string_view content, std::string_view section, std::string_view key);
    static std::string WriteTo(std::string_view content, std::string_view section, std::string_view key,
                               std::string_view value);

private:
    QString m_path;
};

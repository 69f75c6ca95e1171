#include "platform/AsciiCase.h"
#include "platform/IniFile.h"

#include "platform/Error.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <vector>

namespace {

constexpr std::size_t kMaxValue = 2047;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}


struct Line {
    std::string_view text; // without its line break
    std::size_t begin;     // offset of the line in the file
    std::size_t end;       // offset behind its line break
};

std::vector<Line> SplitLines(std::string_view content)
{
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < content.size()) {
        std::size_t nl = content.find('\n', pos);
        std::size_t stop = nl == std::string_view::npos ? content.size() : nl;
        std::size_t next = nl == std::string_view::npos ? content.size() : nl + 1;
        std::string_view text = content.substr(pos, stop - pos);
        if (!text.empty() && text.back() == '\r')
            text.remove_suffix(1);
        lines.push_back({text, pos, next});
        pos = next;
    }
    return lines;
}

// "[name]" -> name; otherwise nullopt-like empty with ok=false.
bool SectionName(std::string_view line, std::string_view& name)
{
    line = TrimBlanks(line);
    if (line.size() < 2 || line.front() != '[')
        return false;
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos)
        return false;
    name = TrimBlanks(line.substr(1, close - 1));
    return true;
}

bool KeyValue(std::string_view line, std::string_view& key, std::string_view& value)
{
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    key = TrimBlanks(line.substr(0, eq));
    value = line.substr(eq + 1);
    return !key.empty() && key.front() != ';';
}

} // namespace

std::string TIniFile::ReadFrom(std::string_view content, std::string_view section, std::string_view key)
{
    bool inSection = false;
    bool sectionSeen = false;
    for (const Line& line : SplitLines(content)) {
        std::string_view name;
        if (SectionName(line.text, name)) {
            if (sectionSeen && inSection)
                break; // only the first matching section counts
            inSection = EqualsIgnoringAsciiCase(name, section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        std::string_view k, v;
        if (inSection && KeyValue(line.text, k, v) && EqualsIgnoringAsciiCase(k, key)) {
            v = TrimBlanks(v);
            if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
                v = v.substr(1, v.size() - 2);
            std::string value(v.substr(0, kMaxValue));
            if (const std::size_t nul = value.find('\0'); nul != std::string::npos)
                value.resize(nul);
            return value;
        }
    }
    return {};
}

std::string TIniFile::WriteTo(std::string_view content, std::string_view section, std::string_view key,
                              std::string_view value)
{
    const std::string newLine = std::string(key) + "=" + std::string(value) + "\r\n";
    const std::vector<Line> lines = SplitLines(content);
    bool inSection = false;
    std::size_t sectionEnd = std::string_view::npos; // where a new key of the section goes
    for (const Line& line : lines) {
        std::string_view name;
        if (SectionName(line.text, name)) {
            if (inSection)
                break;
            inSection = EqualsIgnoringAsciiCase(name, section);
            if (inSection)
                sectionEnd = line.end;
            continue;
        }
        if (!inSection)
            continue;
        std::string_view k, v;
        if (KeyValue(line.text, k, v) && EqualsIgnoringAsciiCase(k, key)) {
            return std::string(content.substr(0, line.begin)) + newLine + std::string(content.substr(line.end));
        }
        if (!TrimBlanks(line.text).empty())
            sectionEnd = line.end;
    }
    std::string out(content);
    if (sectionEnd == std::string_view::npos) {
        if (!out.empty() && out.back() != '\n')
            out += "\r\n";
        out += "[" + std::string(section) + "]\r\n" + newLine;
        return out;
    }
    std::string head(content.substr(0, sectionEnd));
    if (!head.empty() && head.back() != '\n')
        head += "\r\n";
    return head + newLine + std::string(content.substr(sectionEnd));
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key) const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return ReadFrom(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), section, key);
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) const
{
    WriteStrings(section, {{std::string(key), std::string(value)}});
}

void TIniFile::WriteStrings(std::string_view section,
                            const std::vector<std::pair<std::string, std::string>>& values) const
{
    QByteArray old;
    {
        QFile file(m_path);
        if (file.exists() && file.open(QIODevice::ReadOnly))
            old = file.readAll();
    }
    std::string updated(old.constData(), static_cast<std::size_t>(old.size()));
    for (const auto& [key, value] : values)
        updated = WriteTo(updated, section, key, value);
    QSaveFile out(m_path);
    const bool ok = out.open(QIODevice::WriteOnly) &&
                    out.write(updated.data(), static_cast<qint64>(updated.size())) ==
                        static_cast<qint64>(updated.size()) &&
                    out.commit();
    if (!ok)
        throw QuorlexError(QCoreApplication::translate("IniFile", "Unable to write to %1").arg(m_path).toStdString());
}

#include "app/Options.h"

#include "document/LineText.h"
#include "platform/ColorNames.h"
#include "platform/IniFile.h"
#include "platform/IntegerConversion.h"

#include <algorithm>

namespace {

constexpr const char* kSection = "Options";
constexpr const char* kWordWrap = "WordWrap";
constexpr const char* kStatusBar = "StatusBar";
constexpr const char* kToolBar = "ToolBar";
constexpr const char* kUndoHistory = "UndoHistory";
constexpr const char* kBackgroundColor = "BackgroundColor";
constexpr const char* kZoom = "Zoom";
constexpr const char* kRecentSection = "RecentFiles";
constexpr int kMaxZoom = 92; // the sizes run from 4 to 96 points

std::string RecentKey(int i) { return "File" + std::to_string(i + 1); }

// Reading trims blanks and one pair of quotes: a name that would lose either is quoted.
std::string QuotedIfNeeded(const std::string& value)
{
    const bool blankEnds = !value.empty() && (value.front() == ' ' || value.front() == '\t' ||
                                              value.back() == ' ' || value.back() == '\t');
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    return blankEnds || quoted ? '"' + value + '"' : value;
}

bool Storable(const std::string& value)
{
    return !value.empty() && value.size() + 2 <= 2047 && value.find_first_of("\r\n") == std::string::npos;
}

bool ReadFlag(const TIniFile& ini, const char* key, bool missing)
{
    const std::string value = ini.ReadString(kSection, key);
    if (value.empty())
        return missing;
    return AsciiLower(value) != "false";
}

void WriteFlag(TIniFile& ini, const char* key, bool on) { ini.WriteString(kSection, key, on ? "True" : "False"); }

} // namespace

Options OptionsStore::Read() const
{
    Options o;
    o.wordWrap = ReadFlag(m_ini, kWordWrap, true);
    o.statusBar = ReadFlag(m_ini, kStatusBar, true);
    o.toolBar = ReadFlag(m_ini, kToolBar, true);
    o.undoHistory = ReadFlag(m_ini, kUndoHistory, false);
    o.backgroundColor = m_ini.ReadString(kSection, kBackgroundColor);
    // A value that is no number counts as none: the zoom is the view's, nothing to warn about.
    o.zoom = std::clamp(TryStrToInt(m_ini.ReadString(kSection, kZoom)).value_or(0), -kMaxZoom, kMaxZoom);
    for (int i = 0; i < Options::kRecentFiles; ++i) {
        std::string path = m_ini.ReadString(kRecentSection, RecentKey(i));
        if (!path.empty() && std::find(o.recentFiles.begin(), o.recentFiles.end(), path) == o.recentFiles.end())
            o.recentFiles.push_back(std::move(path));
    }
    return o;
}

void OptionsStore::WriteWordWrap(bool on) { WriteFlag(m_ini, kWordWrap, on); }
void OptionsStore::WriteStatusBar(bool on) { WriteFlag(m_ini, kStatusBar, on); }
void OptionsStore::WriteToolBar(bool on) { WriteFlag(m_ini, kToolBar, on); }
void OptionsStore::WriteUndoHistory(bool on) { WriteFlag(m_ini, kUndoHistory, on); }

void OptionsStore::WriteBackgroundColor(std::uint32_t colorValue)
{
    m_ini.WriteString(kSection, kBackgroundColor, colors::ToSettingText(colorValue));
}

void OptionsStore::WriteZoom(int points) { m_ini.WriteString(kSection, kZoom, std::to_string(points)); }

void OptionsStore::WriteRecentFiles(const std::vector<std::string>& paths)
{
    std::vector<std::pair<std::string, std::string>> values;
    for (const std::string& path : paths)
        if (Storable(path) && static_cast<int>(values.size()) < Options::kRecentFiles)
            values.emplace_back(RecentKey(static_cast<int>(values.size())), QuotedIfNeeded(path));
    for (int i = static_cast<int>(values.size()); i < Options::kRecentFiles; ++i)
        values.emplace_back(RecentKey(i), std::string());
    m_ini.WriteStrings(kRecentSection, values);
}

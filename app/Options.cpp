#include "app/Options.h"

#include "document/LineText.h"
#include "platform/ColorNames.h"
#include "platform/IniFile.h"

namespace {

constexpr const char* kSection = "Options";
constexpr const char* kWordWrap = "WordWrap";
constexpr const char* kStatusBar = "StatusBar";
constexpr const char* kToolBar = "ToolBar";
constexpr const char* kUndoHistory = "UndoHistory";
constexpr const char* kBackgroundColor = "BackgroundColor";

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

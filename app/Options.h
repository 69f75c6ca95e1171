#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TIniFile;

// The settings the user changes from the menus, as settings.ini's Options section holds them.
// A value is written the moment the user changes it, never at exit.
struct Options {
    bool wordWrap = true;
    bool statusBar = true;
    bool toolBar = true;
    bool undoHistory = false;
    // The colour's text as stored (a name or a number); empty when none is stored.
    std::string backgroundColor;
    // Points added to the editor font's size by View > Zoom.
    int zoom = 0;
    // The files last opened or saved, newest first, as the bytes of their names.
    static constexpr int kRecentFiles = 8;
    std::vector<std::string> recentFiles;
};

// Reads and writes Options in one place, so each key is spelled once.
class OptionsStore {
public:
    explicit OptionsStore(TIniFile& ini) : m_ini(ini) {}

    // A flag is off only when it reads "false" (any case); a missing one takes its default.
    Options Read() const;

    void WriteWordWrap(bool on);
    void WriteStatusBar(bool on);
    void WriteToolBar(bool on);
    void WriteUndoHistory(bool on);
    void WriteBackgroundColor(std::uint32_t colorValue);
    void WriteZoom(int points);
    // All the keys of the list at once; a name the file cannot hold on one line is left out.
    void WriteRecentFiles(const std::vector<std::string>& paths);

private:
    TIniFile& m_ini;
};

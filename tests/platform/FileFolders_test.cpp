#include "platform/FileFolders.h"
#include "platform/ProgramFolder.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

struct FolderCase {
    const char* name;
    const char* executableFolder;
    bool writable;
    std::map<std::string, std::string> env;
    bool portable;
    const char* config;
    const char* cache;
    const char* data;
    const char* fallback;
};

void PrintTo(const FolderCase& c, std::ostream* os) { *os << c.name; }

class Folders : public ::testing::TestWithParam<FolderCase> {};

TEST_P(Folders, AreChosenFromExecutableEnvironmentAndWritability)
{
    const FolderCase& c = GetParam();
    const EnvironmentLookup env = [&](const char* name) {
        const auto it = c.env.find(name);
        return it == c.env.end() ? QString() : QString::fromStdString(it->second);
    };
    const FileFolders f = ChooseFileFolders(QString::fromLatin1(c.executableFolder), env, c.writable);
    EXPECT_EQ(f.portable, c.portable);
    EXPECT_EQ(f.config.toStdString(), c.config);
    EXPECT_EQ(f.cache.toStdString(), c.cache);
    EXPECT_EQ(f.data.toStdString(), c.data);
    EXPECT_EQ(f.fallback.toStdString(), c.fallback);
}

const std::map<std::string, std::string> kHome{{"HOME", "/home/ayse"}};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, Folders, ::testing::Values(
    FolderCase{"InstalledUsesXdgDefaults", "/usr/bin", false, kHome, false,
               "/home/ayse/.config/quorlex", "/home/ayse/.cache/quorlex", "/usr/share/quorlex", "/usr/bin"},
    FolderCase{"XdgVariablesWin", "/usr/local/bin", false,
               {{"HOME", "/home/ayse"}, {"XDG_CONFIG_HOME", "/cfg/"}, {"XDG_CACHE_HOME", "/var/tmp/c"}}, false,
               "/cfg/quorlex", "/var/tmp/c/quorlex", "/usr/local/share/quorlex", "/usr/local/bin"},
    FolderCase{"RelativeXdgIsIgnored", "/usr/bin", false,
               {{"HOME", "/home/ayse"}, {"XDG_CONFIG_HOME", "cfg"}, {"XDG_CACHE_HOME", "./c"}}, false,
               "/home/ayse/.config/quorlex", "/home/ayse/.cache/quorlex", "/usr/share/quorlex", "/usr/bin"},
    FolderCase{"WritableFolderIsPortable", "/home/ayse/quorlex/build", true, kHome, true,
               "/home/ayse/quorlex/build", "/home/ayse/quorlex/build", "/home/ayse/quorlex/share/quorlex",
               "/home/ayse/quorlex/build"},
    FolderCase{"HomeVariableIsPortableEvenWhenInstalled", "/usr/bin", false,
               {{"HOME", "/home/ayse"}, {"QUORLEX_HOME", "/media/stick/q/"}, {"XDG_CONFIG_HOME", "/cfg"}}, true,
               "/media/stick/q", "/media/stick/q", "/usr/share/quorlex", "/media/stick/q"},
    // Root can write to the system's program folders; its files still go to its own home.
    FolderCase{"RootInSystemFolderIsNotPortable", "/usr/bin", true, {{"HOME", "/root"}}, false,
               "/root/.config/quorlex", "/root/.cache/quorlex", "/usr/share/quorlex", "/usr/bin"},
    FolderCase{"RootInOwnPrefixIsPortable", "/opt/quorlex/bin", true, {{"HOME", "/root"}}, true,
               "/opt/quorlex/bin", "/opt/quorlex/bin", "/opt/quorlex/share/quorlex", "/opt/quorlex/bin"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// The build tree is writable, so the real answer there is portable under QUORLEX_HOME.
TEST(ProgramFiles, EveryFileLivesInThePortableFolder)
{
    TempHome home;
    for (const auto& [file, name] : std::map<ProgramFile, const char*>{
             {ProgramFile::SettingsIni, "settings.ini"}, {ProgramFile::ExtractForm, "extractform.txt"},
             {ProgramFile::Temp, "temp.txt"}, {ProgramFile::Temp001, "temp001.txt"},
             {ProgramFile::Temp002, "temp002.txt"}, {ProgramFile::Temp003, "temp003.txt"},
             {ProgramFile::VersionHistory, "versions.txt"}, {ProgramFile::ExtractHelp, "extract_help.htm"}})
        EXPECT_EQ(ProgramFilePath(file), home.File(QString::fromLatin1(name))) << name;
}

} // namespace

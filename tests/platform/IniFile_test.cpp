#include "platform/Error.h"
#include "platform/IniFile.h"
#include "tests/support/TempHome.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

struct ReadCase {
    const char* name;
    std::string content;
    std::string expected;
};

class IniRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, ReadsOptionsWordWrap)
{
    EXPECT_EQ(TIniFile::ReadFrom(GetParam().content, "Options", "WordWrap"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IniRead,
    ::testing::Values(
        ReadCase{"empty_file", "", ""}, ReadCase{"plain", "[Options]\r\nWordWrap=False\r\n", "False"},
        ReadCase{"names_ignore_case", "[options]\nwordwrap=x\n", "x"},
        ReadCase{"value_trimmed", "[Options]\nWordWrap =   spaced out  \n", "spaced out"},
        ReadCase{"one_pair_of_quotes", "[Options]\nWordWrap=\"\"q\"\"\n", "\"q\""},
        ReadCase{"first_key_wins", "[Options]\nWordWrap=1\nWordWrap=2\n", "1"},
        ReadCase{"first_section_wins", "[Options]\nToolBar=1\n[Options]\nWordWrap=2\n", ""},
        ReadCase{"other_section", "[Other]\nWordWrap=1\n", ""}, ReadCase{"no_section", "WordWrap=1\n", ""},
        ReadCase{"binary", std::string("\x00\xff[Options\x01\nWordWrap=\x02", 22), ""},
        ReadCase{"long_value_cut", "[Options]\nWordWrap=" + std::string(3000, 'v') + "\n", std::string(2047, 'v')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniWrite, ReplacesOnlyItsOwnLine)
{
    const std::string before = "; comment\r\n[Options]\r\nWordWrap=True\r\nToolBar=True\r\n[Other]\r\nWordWrap=keep\r\n";
    EXPECT_EQ(TIniFile::WriteTo(before, "options", "WORDWRAP", "False"),
              "; comment\r\n[Options]\r\nWORDWRAP=False\r\nToolBar=True\r\n[Other]\r\nWordWrap=keep\r\n");
}

TEST(IniWrite, AddsTheKeyToItsSectionOrTheSectionToTheFile)
{
    EXPECT_EQ(TIniFile::WriteTo("", "Options", "ToolBar", "False"), "[Options]\r\nToolBar=False\r\n");
    EXPECT_EQ(TIniFile::WriteTo("[Options]\r\nA=1\r\n\r\n[B]\r\nC=2\r\n", "Options", "D", "3"),
              "[Options]\r\nA=1\r\nD=3\r\n\r\n[B]\r\nC=2\r\n");
    EXPECT_EQ(TIniFile::WriteTo("[B]\nC=2", "Options", "D", "3"), "[B]\nC=2\r\n[Options]\r\nD=3\r\n");
}

TEST(IniFile, WritesAndReadsBackThroughTheFile)
{
    TempHome home;
    const TIniFile ini(home.File(QStringLiteral("settings.ini")));
    EXPECT_EQ(ini.ReadString("Options", "WordWrap"), "");
    ini.WriteString("Options", "WordWrap", "False");
    ini.WriteString("Options", "BackgroundColor", "clRed");
    ini.WriteString("Options", "WordWrap", "True");
    EXPECT_EQ(ini.ReadString("Options", "WordWrap"), "True");
    EXPECT_EQ(ini.ReadString("Options", "BackgroundColor"), "clRed");
}

TEST(IniFile, AFailedWriteIsReported)
{
    TempHome home;
    const QString path = home.File(QStringLiteral("file/settings.ini"));
    QFile blocker(home.File(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const TIniFile ini(path);
    try {
        ini.WriteString("Options", "WordWrap", "True");
        FAIL() << "no error";
    } catch (const QuorlexError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + path.toStdString());
    }
}

} // namespace

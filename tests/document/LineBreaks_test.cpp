// Line breaks at the file boundary: CR LF inside the document, LF files written back with LF.
#include "document/TextDocument.h"
#include "document/TextFile.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

namespace {

const std::string kMark = "\xEF\xBB\xBF";
const std::string kUtf8 = "\xC5\x9F"; // ş, one byte in the document

struct BreakCase {
    const char* name;
    std::string file;
    LineBreaks style;
    std::string document;
    std::string saved; // unedited
};

class OpenAndSave : public ::testing::TestWithParam<BreakCase> {};

TEST_P(OpenAndSave, KeepsTheStyleOfTheFile)
{
    const BreakCase& c = GetParam();
    TempHome home;
    WriteFileBytes(home.File(QStringLiteral("in.txt")), c.file);
    TextDocument doc;
    doc.Load(home.File(QStringLiteral("in.txt")));
    EXPECT_EQ(doc.Encoding().lineBreaks, c.style);
    EXPECT_EQ(doc.Text(), c.document);
    doc.WriteTo(home.File(QStringLiteral("out.txt")));
    EXPECT_EQ(ReadFileBytes(home.File(QStringLiteral("out.txt"))), c.saved);
}

INSTANTIATE_TEST_SUITE_P(
    Table, OpenAndSave,
    ::testing::Values(BreakCase{"lf", "a\nb\nc\n", LineBreaks::Lf, "a\r\nb\r\nc\r\n", "a\nb\nc\n"},
                      BreakCase{"crlf", "a\r\nb\r\n", LineBreaks::CrLf, "a\r\nb\r\n", "a\r\nb\r\n"},
                      BreakCase{"mixed", "a\r\nb\nc", LineBreaks::CrLf, "a\r\nb\r\nc", "a\r\nb\r\nc"},
                      BreakCase{"lone_cr", "a\rb\r", LineBreaks::CrLf, "a\r\nb\r\n", "a\r\nb\r\n"},
                      BreakCase{"none", "abc", LineBreaks::CrLf, "abc", "abc"},
                      BreakCase{"empty_lines_only", "\n\n", LineBreaks::Lf, "\r\n\r\n", "\n\n"},
                      BreakCase{"utf8_lf", kUtf8 + "\n" + kUtf8 + "\n", LineBreaks::Lf, "\xFE\r\n\xFE\r\n",
                                kUtf8 + "\n" + kUtf8 + "\n"},
                      BreakCase{"utf8_mark_lf", kMark + kUtf8 + "\n", LineBreaks::Lf, "\xFE\r\n",
                                kMark + kUtf8 + "\n"},
                      BreakCase{"utf8_mixed", kUtf8 + "\r\n" + kUtf8 + "\n", LineBreaks::CrLf,
                                "\xFE\r\n\xFE\r\n", kUtf8 + "\r\n" + kUtf8 + "\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineBreaks, EditedAndChosenStylesAreWhatSaveWrites)
{
    TempHome home;
    const QString in = home.File(QStringLiteral("in.txt")), out = home.File(QStringLiteral("out.txt"));
    WriteFileBytes(in, "a\nb\n");
    TextDocument doc;
    doc.Load(in);
    doc.Replace(0, 0, "new\r\n");
    doc.WriteTo(out);
    EXPECT_EQ(ReadFileBytes(out), "new\na\nb\n");

    FileEncoding crlf = doc.Encoding();
    crlf.lineBreaks = LineBreaks::CrLf;
    doc.SetModified(false);
    doc.SetEncoding(crlf);
    EXPECT_TRUE(doc.Modified());
    doc.WriteTo(out);
    EXPECT_EQ(ReadFileBytes(out), "new\r\na\r\nb\r\n");
    doc.Reset();
    EXPECT_EQ(doc.Encoding().lineBreaks, LineBreaks::CrLf);
}

TEST(LineBreaks, ACrLfSplitBetweenPiecesOrSlicesIsStillOneBreak)
{
    TempHome home;
    const QString out = home.File(QStringLiteral("out.txt"));
    const FileEncoding lf{false, false, LineBreaks::Lf};
    WriteTextFile(out, TextPieces{"a\r", "\nb\r"}, lf); // the edit gap between CR and LF
    EXPECT_EQ(ReadFileBytes(out), "a\nb\r");            // a lone CR stays what it is
    std::string big, expected;
    for (int i = 0; i < 400000; ++i) // 1.2 MB: a CR ends the first 1 MiB slice
        big += "\r\nx", expected += "\nx";
    WriteTextFile(out, TextPieces{big, {}}, lf);
    EXPECT_TRUE(ReadFileBytes(out) == expected);
    WriteTextFile(out, TextPieces{big, {}}, FileEncoding{true, true, LineBreaks::Lf});
    EXPECT_TRUE(ReadFileBytes(out) == kMark + expected);
}

} // namespace

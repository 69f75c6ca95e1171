#include "document/TextDocument.h"
#include "document/TextFile.h"
#include "platform/Error.h"
#include "tests/support/TempHome.h"

#include "platform/FileStamp.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

std::string ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const QuorlexError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(TextFile, EveryByteValueSurvivesAWriteAndARead)
{
    TempHome home;
    std::string bytes;
    for (int round = 0; round < 3; ++round)
        for (int b = 0; b < 256; ++b)
            bytes.push_back(static_cast<char>(b));
    const QString path = home.File(QStringLiteral("all.bin"));
    WriteFileBytes(path, bytes);
    EXPECT_EQ(ReadFileBytes(path), bytes);
}

TEST(TextFile, UnreadablePathsGiveTheOpenErrorAtOnce)
{
    TempHome home;
    const QString regular = home.File(QStringLiteral("plain.txt"));
    WriteFileBytes(regular, "x");
    // A FIFO with no writer would hold open() for ever; /dev/zero would never end.
    const QString fifo = home.File(QStringLiteral("f.fifo")), socket = home.File(QStringLiteral("s.sock"));
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socket.toLocal8Bit().constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    struct Case {
        QString path;
        const char* why;
    } cases[] = {
        {home.File(QStringLiteral("missing.txt")), "No such file or directory"},
        {home.Path(), "Not a regular file"},
        {regular + QStringLiteral("/below.txt"), "Not a directory"},
        {fifo, "Not a regular file"},
        {socket, "Not a regular file"},
        {QStringLiteral("/dev/zero"), "Not a regular file"},
    };
    QElapsedTimer clock;
    clock.start();
    for (const Case& c : cases) {
        const std::string expected = "Cannot open file \"" + c.path.toStdString() + "\". " + c.why;
        EXPECT_EQ(ErrorOf([&] { ReadFileBytes(c.path); }), expected);
        EXPECT_EQ(ErrorOf([&] { ReadTextFile(c.path); }), expected);
    }
    EXPECT_LT(clock.elapsed(), 2000);
    // Nothing to stamp: never reported as changed.
    EXPECT_EQ(CompareStamps(FileStampOf(fifo), FileStampOf(QStringLiteral("/dev/zero"))), DiskChange::None);
    ::close(listener);
}

TEST(TextFile, AFailedWriteNamesThePathAndKeepsTheOldFile)
{
    TempHome home;
    const QString missingFolder = home.File(QStringLiteral("no/such/folder/a.txt"));
    EXPECT_EQ(ErrorOf([&] { WriteFileBytes(missingFolder, "x"); }).rfind("Cannot create file \"" +
                                                                           missingFolder.toStdString() + "\". ", 0),
              0u);
    const QString regular = home.File(QStringLiteral("keep.txt"));
    WriteFileBytes(regular, "old bytes");
    // A path below a regular file cannot be created even by root.
    EXPECT_NE(ErrorOf([&] { WriteFileBytes(regular + QStringLiteral("/x"), "new"); }), "(no error)");
    EXPECT_EQ(ReadFileBytes(regular), "old bytes");
}

TEST(TextFile, A100MegabyteFileRoundTrips)
{
    TempHome home;
    std::string bytes(100u << 20, 'x');
    for (std::size_t i = 0; i < bytes.size(); i += 4099)
        bytes[i] = static_cast<char>(i % 251);
    const QString path = home.File(QStringLiteral("big.bin"));
    WriteFileBytes(path, bytes);
    EXPECT_TRUE(ReadFileBytes(path) == bytes);
}

TEST(TextFile, DeleteQuietlyIgnoresMissingFiles)
{
    TempHome home;
    DeleteFileQuietly(home.File(QStringLiteral("not-there.txt")));
    const QString path = home.File(QStringLiteral("there.txt"));
    WriteFileBytes(path, "x");
    DeleteFileQuietly(path);
    EXPECT_FALSE(QFile::exists(path));
}

// Line breaks at the file boundary: CR LF inside the document, LF files written back with LF.

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
                      BreakCase{"utf8_mark_lf", kMark + kUtf8 + "\n", LineBreaks::Lf, "\xFE\r\n",
                                kMark + kUtf8 + "\n"},
                      BreakCase{"utf8_mixed", kUtf8 + "\r\n" + kUtf8 + "\n", LineBreaks::CrLf,
                                "\xFE\r\n\xFE\r\n", kUtf8 + "\r\n" + kUtf8 + "\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineBreaks, ACrLfSplitBetweenPiecesOrSlicesIsStillOneBreak)
{
    TempHome home;
    const QString out = home.File(QStringLiteral("out.txt"));
    const FileEncoding lf{false, false, LineBreaks::Lf};
    WriteTextFile(out, TextPieces{"new\r", "\na\r"}, lf); // the edit gap between CR and LF
    EXPECT_EQ(ReadFileBytes(out), "new\na\r");          // a lone CR stays what it is
    std::string big, expected;
    for (int i = 0; i < 400000; ++i) // 1.2 MB: a CR ends the first 1 MiB slice
        big += "\r\nx", expected += "\nx";
    WriteTextFile(out, TextPieces{big, {}}, lf);
    EXPECT_TRUE(ReadFileBytes(out) == expected);
    WriteTextFile(out, TextPieces{big, {}}, FileEncoding{true, true, LineBreaks::Lf});
    EXPECT_TRUE(ReadFileBytes(out) == kMark + expected);
}

// A background save writes in small slices and reports how far it is: whatever the slice, the
// file is the same, and the report before each write ends at the whole document.
TEST(TextFile, AnyWriteSliceGivesTheSameFileAndTheProgressEndsAtTheWhole)
{
    TempHome home;
    const QString out = home.File(QStringLiteral("out.txt"));
    const std::string first = "a\xF0\r\nx\r", second = "\n\xE7\r\xFD\r\n\r"; // ğ, ç, ı
    for (const FileEncoding encoding : {FileEncoding{}, FileEncoding{false, false, LineBreaks::Lf},
                                        FileEncoding{true, true, LineBreaks::CrLf}, FileEncoding{true, false, LineBreaks::Lf}}) {
        WriteTextFile(out, TextPieces{first, second}, encoding);
        const std::string whole = ReadFileBytes(out);
        for (const std::size_t chunk : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{5}}) {
            std::vector<std::int64_t> reports;
            WriteSetup setup = DocumentWriteSetup();
            setup.chunk = chunk;
            setup.progress = [&](std::int64_t done) { reports.push_back(done); };
            WriteTextFile(out, TextPieces{first, second}, encoding, setup);
            EXPECT_EQ(ReadFileBytes(out), whole) << "slice " << chunk << ", UTF-8 " << encoding.utf8;
            EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
            EXPECT_EQ(reports.back(), static_cast<std::int64_t>(first.size() + second.size()));
        }
    }
}

} // namespace

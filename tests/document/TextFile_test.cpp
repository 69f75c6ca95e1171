#include "document/TextFile.h"
#include "platform/Error.h"
#include "tests/support/TempHome.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

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

TEST(TextFile, UnreadablePathsGiveTheOpenError)
{
    TempHome home;
    const QString regular = home.File(QStringLiteral("plain.txt"));
    WriteFileBytes(regular, "x");
    struct Case {
        QString path;
        const char* why;
    } cases[] = {
        {home.File(QStringLiteral("missing.txt")), "No such file or directory"},
        {home.Path(), "Is a directory"},
        {regular + QStringLiteral("/below.txt"), "Not a directory"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorOf([&] { ReadFileBytes(c.path); }),
                  "Cannot open file \"" + c.path.toStdString() + "\". " + c.why);
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

} // namespace

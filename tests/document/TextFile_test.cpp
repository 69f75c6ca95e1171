#include "document/TextFile.h"
#include "platform/Error.h"
#include "tests/support/TempHome.h"

#include "platform/FileStamp.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

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

} // namespace

#include "platform/Error.h"
#include "platform/PrivateFile.h"
#include "tests/support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

unsigned ModeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

std::string Contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string("<unreadable>");
}

TEST(PrivateFile, IsTheUsersAloneWhateverTheUmaskAndTheOldMode)
{
    TempHome home;
    const mode_t umask = ::umask(0);
    const QString path = home.File(QStringLiteral("extractform.txt"));
    EXPECT_EQ(WritePrivateFile(path, "one"), 0);
    EXPECT_EQ(ModeOf(path), 0600u);
    ::chmod(QFile::encodeName(path).constData(), 0644); // as an older version left it
    EXPECT_EQ(WritePrivateFile(path, "two", true), 0);
    ::umask(umask);
    EXPECT_EQ(ModeOf(path), 0600u);
    EXPECT_EQ(Contents(path), "two");
    EXPECT_EQ(QDir(home.Path()).entryList(QDir::Files).size(), 1); // no temporary file left
}

TEST(PrivateFile, FollowsALinkAndKeepsIt)
{
    TempHome home;
    const QString target = home.File(QStringLiteral("real.txt")), link = home.File(QStringLiteral("link.txt"));
    ASSERT_EQ(::symlink("real.txt", QFile::encodeName(link).constData()), 0);
    EXPECT_EQ(WritePrivateFile(link, "through"), 0);
    EXPECT_EQ(Contents(target), "through");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}

TEST(PrivateFile, FailuresGiveTheTrueReasonAndLeaveTheOldFile)
{
    TempHome home;
    const QString folder = home.File(QStringLiteral("in-the-way"));
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_EQ(WritePrivateFile(folder, "x"), EISDIR);
    EXPECT_EQ(WritePrivateFile(home.File(QStringLiteral("missing/a.txt")), "x"), ENOENT);
    try {
        WritePrivateFileOrThrow(folder, "x");
        ADD_FAILURE() << "no error";
    } catch (const QuorlexError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + folder.toStdString() + "\". Is a directory");
    }
    EXPECT_EQ(QDir(home.Path()).entryList(QDir::Files).size(), 0);
    EXPECT_EQ(SystemReason(0), "Unknown error");
}

} // namespace

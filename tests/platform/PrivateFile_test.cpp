#include "platform/PrivateFile.h"
#include "tests/support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

namespace {

TEST(PrivateFile, IsTheUsersAloneFollowsLinksAndGivesTheTrueErrno)
{
    TempHome home;
    const QString path = home.File(QStringLiteral("real.txt")), link = home.File(QStringLiteral("link.txt"));
    ASSERT_EQ(::symlink("real.txt", QFile::encodeName(link).constData()), 0); // to a file not made yet
    const mode_t umask = ::umask(0);
    EXPECT_EQ(WritePrivateFile(link, "through"), 0);
    ::umask(umask);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    ASSERT_TRUE(QDir().mkpath(home.File(QStringLiteral("in-the-way"))));
    EXPECT_EQ(WritePrivateFile(home.File(QStringLiteral("in-the-way")), "x"), EISDIR);
    EXPECT_EQ(QDir(home.Path()).entryList(QDir::Files).size(), 2); // the file and its link: no temporary left
}

} // namespace

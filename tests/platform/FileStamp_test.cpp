#include "document/TextFile.h"
#include "platform/FileStamp.h"
#include "platform/FileFolders.h"
#include "platform/ProgramFolder.h"
#include "tests/support/TempHome.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

struct StampCase {
    const char* name;
    FileStamp known, now;
    DiskChange expected;
};

class StampComparison : public ::testing::TestWithParam<StampCase> {};

TEST_P(StampComparison, Classifies)
{
    EXPECT_EQ(CompareStamps(GetParam().known, GetParam().now), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StampComparison,
    ::testing::Values(StampCase{"same", {true, 5, 100}, {true, 5, 100}, DiskChange::None},
                      StampCase{"size_only", {true, 5, 100}, {true, 6, 100}, DiskChange::Changed},
                      StampCase{"time_only", {true, 5, 100}, {true, 5, 101}, DiskChange::Changed},
                      StampCase{"gone", {true, 5, 100}, {}, DiskChange::Deleted},
                      StampCase{"missing_still", {}, {}, DiskChange::None},
                      StampCase{"appeared", {}, {true, 0, 1}, DiskChange::Changed},
                      // Size and time made to match do not hide a file put in its place.
                      StampCase{"other_inode", {true, 5, 100, 1, 7}, {true, 5, 100, 1, 8}, DiskChange::Changed},
                      StampCase{"other_device", {true, 5, 100, 1, 7}, {true, 5, 100, 2, 7}, DiskChange::Changed},
                      StampCase{"kept_without_identity", {true, 5, 100}, {true, 5, 100, 1, 7}, DiskChange::None}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileStamp, SeesSizeAndTimeOfTheFileOnDisk)
{
    TempHome home;
    const QString path = home.File(QStringLiteral("a.txt"));
    EXPECT_FALSE(FileStampOf(path).exists);
    EXPECT_FALSE(FileStampOf(QString()).exists);
    WriteFileBytes(path, "abc");
    const FileStamp first = FileStampOf(path);
    EXPECT_TRUE(first.exists);
    EXPECT_EQ(first.size, 3);
    // The same size written within the same second still differs in nanoseconds; force it.
    const timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 5}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
    const FileStamp touched = FileStampOf(path);
    EXPECT_EQ(touched.modifiedNs, 1000000000LL * 1000000000 + 5);
    EXPECT_EQ(CompareStamps(first, touched), DiskChange::Changed);
}

TEST(RecoveryFolder, PortableOrXdgState)
{
    auto state = [](bool writable, std::map<std::string, std::string> vars) {
        const EnvironmentLookup env = [&](const char* name) {
            const auto it = vars.find(name);
            return it == vars.end() ? QString() : QString::fromStdString(it->second);
        };
        return ChooseFileFolders(QStringLiteral("/opt/q"), env, writable).state.toStdString();
    };
    EXPECT_EQ(state(true, {{"XDG_STATE_HOME", "/s"}, {"HOME", "/h"}}), "/opt/q");
    EXPECT_EQ(state(false, {{"QUORLEX_HOME", "/p"}}), "/p");
    EXPECT_EQ(state(false, {{"XDG_STATE_HOME", "/s"}, {"HOME", "/h"}}), "/s/quorlex");
    // A relative XDG_STATE_HOME is not to be used.
    EXPECT_EQ(state(false, {{"XDG_STATE_HOME", "rel"}, {"HOME", "/h"}}), "/h/.local/state/quorlex");
    EXPECT_EQ(state(false, {{"HOME", "/h"}}), "/h/.local/state/quorlex");
}

TEST(RecoveryFolder, MadeWithParentsPrivateToTheUser)
{
    TempHome home;
    const QString folder = home.File(QStringLiteral("state/deeper/quorlex"));
    ASSERT_TRUE(MakePrivateFolder(folder));
    for (const QString& made : {home.File(QStringLiteral("state")), folder}) {
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(made).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u) << made.toStdString();
    }
    EXPECT_TRUE(MakePrivateFolder(folder)); // there already
    WriteFileBytes(home.File(QStringLiteral("plain")), "x");
    EXPECT_FALSE(MakePrivateFolder(home.File(QStringLiteral("plain/sub"))));
    // In the tests QUORLEX_HOME is set: portable mode, the program folder itself.
    EXPECT_EQ(ProgramStateFolder(), home.Path());
}

} // namespace

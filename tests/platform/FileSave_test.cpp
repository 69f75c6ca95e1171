// Saves that keep the file what it was. Each save runs in a child process, as the user the
// case needs, so that a case can also die half way as a crash would.
#include "platform/Error.h"
#include "platform/FileSave.h"
#include "platform/NativePath.h"

#include <QDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;
const std::string kOld = "old text\n";
const std::string kNew = std::string(4000, 'n') + '\n'; // longer than a backup of the old

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string Attr(const std::string& path, const char* name)
{
    char value[256];
    const ssize_t got = ::getxattr(path.c_str(), name, value, sizeof value);
    return got < 0 ? "(none)" : std::string(value, static_cast<std::size_t>(got));
}

// A POSIX access ACL: the owner, the user nobody, the group, the mask, the others.
std::string Acl()
{
    std::string acl = {2, 0, 0, 0};
    auto entry = [&](std::uint16_t tag, std::uint16_t perm, std::uint32_t id) {
        acl.append(reinterpret_cast<const char*>(&tag), 2).append(reinterpret_cast<const char*>(&perm), 2);
        acl.append(reinterpret_cast<const char*>(&id), 4);
    };
    entry(0x01, 6, ~0u), entry(0x02, 4, kNobody), entry(0x04, 4, ~0u), entry(0x10, 4, ~0u), entry(0x20, 4, ~0u);
    return acl;
}

enum class Who { Self, NotRoot, SecondUser, Root };
enum Outcome { kRenamed = 0, kInPlace = 1, kFailed = 2, kCrashed = 9 };

struct SaveCase {
    const char* name;
    Who who;
    // Makes dir/f.txt (holding kOld) and what goes with it; false: the system cannot.
    std::function<bool(const std::string& dir)> setUp;
    Outcome outcome;
    std::function<void(const std::string& dir)> check;
    bool crash = false;       // the process dies once the backup is written
    bool fileTooLarge = false; // the write fails half way
};

void PrintTo(const SaveCase& c, std::ostream* out) { *out << c.name; }

class Save : public ::testing::TestWithParam<SaveCase> {};

TEST_P(Save, KeepsTheFileWhatItWas)
{
    const SaveCase& c = GetParam();
    const bool root = ::geteuid() == 0;
    if ((c.who == Who::SecondUser || c.who == Who::Root) && !root)
        GTEST_SKIP() << "needs a second user: run the tests as root to run this case as nobody";
    const bool asNobody = root && (c.who == Who::SecondUser || c.who == Who::NotRoot);
    char tmpl[] = "/tmp/quorlex-save-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    const std::string top = tmpl, dir = top + "/d", backups = top + "/backups";
    ::chmod(top.c_str(), 0755);
    ::mkdir(dir.c_str(), 0755);
    ::mkdir(backups.c_str(), 0777);
    ::chmod(backups.c_str(), 0777);
    Write(dir + "/f.txt", kOld);
    if (asNobody && c.who == Who::NotRoot)
        ASSERT_EQ(::chown((dir + "/f.txt").c_str(), kNobody, kNobody), 0);
    if (!c.setUp(dir)) {
        QDir(QString::fromStdString(top)).removeRecursively();
        GTEST_SKIP() << "the file system does not allow this case";
    }
    if (asNobody && c.who == Who::NotRoot)
        ::chown(dir.c_str(), kNobody, kNobody);

    const pid_t child = ::fork();
    if (child == 0) {
        if (asNobody && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(3);
        if (c.fileTooLarge) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{1024, 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        SaveOptions options{QString::fromStdString(backups), [&](const QString& backup) {
                                Write(backups + "/seen-backup", Read(NativePath(backup).toStdString()));
                                if (c.crash)
                                    ::_exit(kCrashed);
                            }};
        bool sent = false;
        try {
            const SaveWay way = SaveFileKeepingIdentity(
                QString::fromStdString(dir + "/f.txt"),
                [&]() -> std::string_view { return sent ? std::string_view() : (sent = true, kNew); }, options);
            ::_exit(way == SaveWay::Renamed ? kRenamed : kInPlace);
        } catch (const QuorlexError& e) {
            Write(backups + "/error", e.what());
            ::_exit(kFailed);
        }
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), c.outcome) << Read(backups + "/error");
    const bool backupSeen = ::access((backups + "/seen-backup").c_str(), F_OK) == 0;
    EXPECT_EQ(backupSeen, c.outcome != kRenamed);
    if (backupSeen)
        EXPECT_EQ(Read(backups + "/seen-backup"), BackupHeader(dir + "/f.txt") + kOld);
    // Only a crash leaves the backup behind, holding the old text.
    const QStringList left = QDir(QString::fromStdString(backups)).entryList({QStringLiteral("backup-*")});
    ASSERT_EQ(left.size(), c.crash ? 1 : 0);
    if (c.crash)
        EXPECT_EQ(Read(backups + '/' + left[0].toStdString()), BackupHeader(dir + "/f.txt") + kOld);
    if (c.outcome == kRenamed || c.outcome == kInPlace)
        EXPECT_EQ(Read(dir + "/f.txt"), kNew);
    else
        EXPECT_EQ(Read(dir + "/f.txt"), kOld);
    c.check(dir);
    EXPECT_EQ(QDir(QString::fromStdString(dir)).entryList({QStringLiteral(".quorlex-save-*")}, QDir::Hidden),
              QStringList()); // no temporary file left
    ::chmod(dir.c_str(), 0755);
    QDir(QString::fromStdString(top)).removeRecursively();
}

struct stat Stat(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st;
}

auto Nothing = [](const std::string&) { return true; };
auto NoCheck = [](const std::string&) {};

INSTANTIATE_TEST_SUITE_P(
    Table, Save,
    ::testing::Values(
        SaveCase{"own_file_renamed_mode_kept", Who::Self,
                 [](const std::string& d) { return ::chmod((d + "/f.txt").c_str(), 0640) == 0; }, kRenamed,
                 [](const std::string& d) { EXPECT_EQ(Stat(d + "/f.txt").st_mode & 07777, 0640u); }},
        SaveCase{"hard_link_written_in_place", Who::Self,
                 [](const std::string& d) { return ::link((d + "/f.txt").c_str(), (d + "/g.txt").c_str()) == 0; },
                 kInPlace,
                 [](const std::string& d) {
                     EXPECT_EQ(Read(d + "/g.txt"), kNew);
                     EXPECT_EQ(Stat(d + "/f.txt").st_nlink, 2u);
                 }},
        SaveCase{"xattr_and_acl_copied", Who::Self,
                 [](const std::string& d) {
                     const std::string f = d + "/f.txt", acl = Acl();
                     return ::setxattr(f.c_str(), "user.quorlex", "kept", 4, 0) == 0 &&
                            ::setxattr(f.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) == 0;
                 },
                 kRenamed,
                 [](const std::string& d) {
                     EXPECT_EQ(Attr(d + "/f.txt", "user.quorlex"), "kept");
                     EXPECT_EQ(Attr(d + "/f.txt", "system.posix_acl_access"), Acl());
                 }},
        SaveCase{"symbolic_link_still_points_there", Who::Self,
                 [](const std::string& d) {
                     return ::rename((d + "/f.txt").c_str(), (d + "/t.txt").c_str()) == 0 &&
                            ::symlink("t.txt", (d + "/f.txt").c_str()) == 0;
                 },
                 kRenamed,
                 [](const std::string& d) {
                     struct stat st {};
                     ::lstat((d + "/f.txt").c_str(), &st);
                     EXPECT_TRUE(S_ISLNK(st.st_mode));
                     EXPECT_EQ(Read(d + "/t.txt"), kNew);
                 }},
        SaveCase{"folder_0555_written_in_place", Who::NotRoot,
                 [](const std::string& d) { return ::chmod(d.c_str(), 0555) == 0; }, kInPlace, NoCheck},
        SaveCase{"another_owner_given_back_by_root", Who::Root,
                 [](const std::string& d) { return ::chown((d + "/f.txt").c_str(), kNobody, kNobody) == 0; },
                 kRenamed, [](const std::string& d) { EXPECT_EQ(Stat(d + "/f.txt").st_uid, kNobody); }},
        SaveCase{"another_owners_file_in_a_writable_folder", Who::SecondUser,
                 [](const std::string& d) {
                     return ::chmod((d + "/f.txt").c_str(), 0666) == 0 && ::chown(d.c_str(), kNobody, kNobody) == 0;
                 },
                 kInPlace, [](const std::string& d) { EXPECT_EQ(Stat(d + "/f.txt").st_uid, 0u); }},
        SaveCase{"another_owners_file_in_a_sticky_folder", Who::SecondUser,
                 [](const std::string& d) {
                     return ::chmod((d + "/f.txt").c_str(), 0666) == 0 && ::chmod(d.c_str(), 01777) == 0;
                 },
                 kInPlace, [](const std::string& d) { EXPECT_EQ(Stat(d + "/f.txt").st_uid, 0u); }},
        SaveCase{"crash_after_the_backup_leaves_it", Who::Self,
                 [](const std::string& d) { return ::link((d + "/f.txt").c_str(), (d + "/g.txt").c_str()) == 0; },
                 kCrashed, NoCheck, true},
        SaveCase{"failed_write_puts_the_old_text_back", Who::Self,
                 [](const std::string& d) { return ::link((d + "/f.txt").c_str(), (d + "/g.txt").c_str()) == 0; },
                 kFailed, NoCheck, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

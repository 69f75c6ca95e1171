// Saves that keep the file what it was. Each save runs in a child process, as the user the
// case needs, so that a case can also die half way as a crash would.
#include "platform/Error.h"
#include "platform/FileSave.h"
#include "platform/NativePath.h"

#include <QDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;
const std::string kOld = "old text\n", kNew = std::string(4000, 'n'); // longer than a backup of the old

std::string Read(const std::string& path)
{
    std::stringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

std::string Attr(const std::string& path, const char* name)
{
    char value[256];
    const ssize_t got = ::getxattr(path.c_str(), name, value, sizeof value);
    return got < 0 ? "(none)" : std::string(value, static_cast<std::size_t>(got));
}

// A POSIX access ACL: the owner, the user nobody, the group, the mask, the others.
const std::string kAcl = [] {
    std::string acl = {2, 0, 0, 0};
    const std::uint32_t entries[][3] = {{1, 6, ~0u}, {2, 4, kNobody}, {4, 4, ~0u}, {16, 4, ~0u}, {32, 4, ~0u}};
    for (const auto& e : entries) {
        const std::uint16_t tagPerm[2] = {static_cast<std::uint16_t>(e[0]), static_cast<std::uint16_t>(e[1])};
        acl.append(reinterpret_cast<const char*>(tagPerm), 4).append(reinterpret_cast<const char*>(&e[2]), 4);
    }
    return acl;
}();

enum class Who { Self, NotRoot, SecondUser, Root };
enum Outcome { kRenamed = 0, kInPlace = 1, kFailed = 2, kCrashed = 9 };
enum class Trouble { None, Crash, FileTooLarge };

struct SaveCase {
    const char* name;
    Who who;
    // Shell commands run in the case's folder, which holds f.txt with kOld; failing: skipped.
    const char* setUp;
    Outcome outcome;
    const char* check = "true"; // run there afterwards
    Trouble trouble = Trouble::None;
    bool attributes = false; // f.txt gets user.quorlex and an ACL
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
    const std::string top = tmpl, dir = top + "/d", backups = top + "/backups", f = dir + "/f.txt";
    const std::string script = "cd " + top + " && chmod 755 . && mkdir -m 777 backups && mkdir d && cd d && " +
                               "printf 'old text\\n' >f.txt && " +
                               (asNobody && c.who == Who::NotRoot ? "chown -R nobody: . && " : "") + c.setUp;
    if (std::system(script.c_str()) != 0 ||
        (c.attributes && (::setxattr(f.c_str(), "user.quorlex", "kept", 4, 0) != 0 ||
                          ::setxattr(f.c_str(), "system.posix_acl_access", kAcl.data(), kAcl.size(), 0) != 0))) {
        QDir(QString::fromStdString(top)).removeRecursively();
        GTEST_SKIP() << "the system does not allow this case";
    }
    if (const pid_t child = ::fork(); child == 0) {
        if (asNobody && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(3);
        if (c.trouble == Trouble::FileTooLarge) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{1024, 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        const SaveOptions options{QString::fromStdString(backups), [&](const QString& backup) {
                                      std::ofstream(backups + "/seen") << Read(NativePath(backup).toStdString());
                                      if (c.trouble == Trouble::Crash)
                                          ::_exit(kCrashed);
                                  }};
        bool sent = false;
        try {
            const SaveWay way = SaveFileKeepingIdentity(
                QString::fromStdString(f),
                [&]() -> std::string_view { return sent ? std::string_view() : (sent = true, kNew); }, options);
            ::_exit(way == SaveWay::Renamed ? kRenamed : kInPlace);
        } catch (const QuorlexError& e) {
            std::ofstream(backups + "/error") << e.what();
            ::_exit(kFailed);
        }
    }
    int status = 0;
    ::wait(&status);
    EXPECT_EQ(WEXITSTATUS(status), c.outcome) << Read(backups + "/error");
    // The backup held the old text while the file was written; only a crash leaves it.
    EXPECT_EQ(Read(backups + "/seen"), c.outcome == kRenamed ? "" : BackupHeader(f) + kOld);
    const QStringList left = QDir(QString::fromStdString(backups)).entryList({QStringLiteral("backup-*")});
    ASSERT_EQ(left.size(), c.trouble == Trouble::Crash ? 1 : 0);
    if (!left.isEmpty())
        EXPECT_EQ(Read(backups + '/' + left[0].toStdString()), BackupHeader(f) + kOld);
    EXPECT_EQ(Read(f), c.outcome <= kInPlace ? kNew : kOld);
    EXPECT_EQ(std::system(("cd " + dir + " && " + c.check).c_str()), 0) << c.check;
    if (c.attributes) {
        EXPECT_EQ(Attr(f, "user.quorlex"), "kept");
        EXPECT_EQ(Attr(f, "system.posix_acl_access"), kAcl);
    }
    EXPECT_EQ(QDir(QString::fromStdString(dir)).entryList({QStringLiteral(".quorlex-save-*")}, QDir::Hidden),
              QStringList()); // no temporary file left
    ::chmod(dir.c_str(), 0755);
    QDir(QString::fromStdString(top)).removeRecursively();
}

INSTANTIATE_TEST_SUITE_P(
    Table, Save,
    ::testing::Values(
        SaveCase{"own_file_renamed_mode_kept", Who::Self, "chmod 640 f.txt", kRenamed, "test $(stat -c %a f.txt) = 640"},
        SaveCase{"hard_link_written_in_place", Who::Self, "ln f.txt g.txt", kInPlace,
                 "cmp -s f.txt g.txt && test $(stat -c %h f.txt) = 2"},
        SaveCase{"xattr_and_acl_copied", Who::Self, "true", kRenamed, "true", Trouble::None, true},
        SaveCase{"symbolic_link_still_points_there", Who::Self, "mv f.txt t.txt && ln -s t.txt f.txt", kRenamed,
                 "test -L f.txt && cmp -s f.txt t.txt"},
        SaveCase{"folder_0555_written_in_place", Who::NotRoot, "chmod 555 .", kInPlace},
        SaveCase{"another_owner_given_back_by_root", Who::Root, "chown nobody: f.txt", kRenamed,
                 "test $(stat -c %U f.txt) = nobody"},
        SaveCase{"another_owners_file_in_a_sticky_folder", Who::SecondUser, "chmod 666 f.txt && chmod 1777 .",
                 kInPlace, "test $(stat -c %U f.txt) = root"},
        SaveCase{"crash_after_the_backup_leaves_it", Who::Self, "ln f.txt g.txt", kCrashed, "true", Trouble::Crash},
        SaveCase{"failed_write_puts_the_old_text_back", Who::Self, "ln f.txt g.txt", kFailed, "cmp -s f.txt g.txt",
                 Trouble::FileTooLarge}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

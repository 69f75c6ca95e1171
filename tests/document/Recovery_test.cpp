#include "document/RecoveryFile.h"
#include "document/RecoverySchedule.h"
#include "document/RecoverySlots.h"
#include "document/RecoveryWriter.h"
#include "document/TextFile.h"
#include "tests/support/TempHome.h"

#include <QCoreApplication>
#include <QFile>
#include <QLockFile>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string Encode(const RecoveryRecord& r) { return EncodeRecoveryHeader(r, r.text.size()) + r.text; }

std::string EveryByte()
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes.push_back(static_cast<char>(b));
    return bytes + "\r\n\r\r\n\n";
}

// --- the file format ---

struct RoundTrip {
    const char* name;
    RecoveryRecord record;
};

class RecoveryFormat : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(RecoveryFormat, GivesBackWhatWasWritten)
{
    const RecoveryRecord& in = GetParam().record;
    const std::string bytes = Encode(in);
    const auto out = DecodeRecovery(bytes);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->fileName, in.fileName);
    EXPECT_EQ(out->changedMs, in.changedMs);
    EXPECT_EQ(out->fileStamp, in.fileStamp);
    EXPECT_EQ(out->text, in.text);
    // The header alone, as the start-up offer reads it.
    const auto head = DecodeRecoveryHeader(std::string_view(bytes).substr(0, bytes.size() - in.text.size()));
    ASSERT_TRUE(head);
    EXPECT_EQ(head->fileName, in.fileName);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RecoveryFormat,
    ::testing::Values(
        RoundTrip{"untitled_empty", {"", 0, {}, ""}},
        RoundTrip{"every_byte_value",
                  {"/home/u/a.txt", 1700000000123, {true, 42, 1700000000123456789, 2049, 9876543210}, EveryByte()}},
        RoundTrip{"name_with_newline_and_utf8", {"/tmp/a\nb \xc3\xa7.txt", 5, {false, 0, 0}, "x"}},
        RoundTrip{"text_that_looks_like_a_header", {"n", 1, {}, "QUORLEX-RECOVERY 1\n1 0 0 0 0 0\n"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RecoveryFormat, RefusesWhatIsNotAWholeCopy)
{
    const std::string good = Encode({"/a.txt", 7, {true, 3, 9}, "hello"});
    const std::vector<std::pair<const char*, std::string>> bad = {
        {"empty", ""},
        {"other magic", "QUORLEX-RECOVERY 3" + good.substr(18)},
        {"text cut short", good.substr(0, good.size() - 1)},
        {"text too long", good + "!"},
        {"header cut", good.substr(0, 25)},
        {"negative field", "QUORLEX-RECOVERY 1\n-7 1 3 9 6 5\n/a.txt\nhello"},
        {"name longer than file", "QUORLEX-RECOVERY 1\n7 1 3 9 600 5\n/a.txt\nhello"},
        {"exists not 0 or 1", "QUORLEX-RECOVERY 1\n7 2 3 9 6 5\n/a.txt\nhello"},
    };
    for (const auto& [name, bytes] : bad)
        EXPECT_FALSE(DecodeRecovery(bytes)) << name;
}

TEST(RecoveryFormat, ReadsTheFirstVersionWithoutFileIdentity)
{
    const auto old = DecodeRecovery("QUORLEX-RECOVERY 1\n7 1 3 9 6 5\n/a.txt\nhello");
    ASSERT_TRUE(old);
    EXPECT_EQ(old->fileStamp, (FileStamp{true, 3, 9, 0, 0}));
}

TEST(RecoveryNames, DataNamesCarryPidAndSerial)
{
    EXPECT_EQ(RecoveryDataName(1234, 1), "recovery-1234-1.dat");
    EXPECT_EQ(RecoveryLockName("recovery-1234-1.dat"), "recovery-1234-1.lock");
    const auto owner = ParseRecoveryDataName("recovery-1234-7.dat");
    ASSERT_TRUE(owner);
    EXPECT_EQ(owner->pid, 1234);
    EXPECT_EQ(owner->serial, 7);
    for (const char* name : {"recovery-1234.dat", "recovery-0-1.dat", "recovery--1-1.dat", "recovery-1-1.lock",
                             "recovery-1-1.dat.Ab12Cd", "recovery-x-1.dat", "recovery-1-1x.dat", "settings.ini"})
        EXPECT_FALSE(ParseRecoveryDataName(name)) << name;
}

// --- when copies are due ---

TEST(RecoverySchedule, WaitsForAPauseButNeverLongerThanTheCap)
{
    RecoverySchedule s(2000, 30000);
    EXPECT_FALSE(s.Due());
    EXPECT_EQ(s.Changed(1000), 3000);
    EXPECT_EQ(s.Changed(2500), 4500); // each key pushes the copy back
    // Typing on without a pause: the copy is due 30 s after the first change all the same.
    std::int64_t due = 0;
    for (std::int64_t t = 3000; t < 40000; t += 500)
        due = s.Changed(t);
    EXPECT_EQ(due, 31000);
    s.Taken();
    EXPECT_FALSE(s.Due());
    EXPECT_EQ(s.Changed(50000), 52000); // a new burst starts its own cap
}

// --- the writer thread ---

TEST(RecoveryWriter, WritesReplacesAndRemovesInOrder)
{
    TempHome home;
    const QString path = home.File(QStringLiteral("recovery-1-1.dat"));
    {
        RecoveryWriter writer(path);
        for (int i = 0; i < 20; ++i)
            writer.Write({"/a.txt", i, {}, std::string(100000 + i, 'a' + static_cast<char>(i % 26))});
        writer.WaitIdle();
        const auto last = DecodeRecovery(ReadFileBytes(path));
        ASSERT_TRUE(last);
        EXPECT_EQ(last->changedMs, 19); // the newest snapshot always reaches the disk
        EXPECT_EQ(last->text.size(), 100019u);
        EXPECT_GE(writer.Written(), 1);
        EXPECT_LE(writer.Written(), 20);
        writer.Write({"", 1, {}, "late"});
        writer.Remove();
        writer.WaitIdle();
        EXPECT_FALSE(QFile::exists(path));
        writer.Write({"", 2, {}, "kept at the end"});
    } // the destructor finishes the job that waits
    EXPECT_EQ(DecodeRecovery(ReadFileBytes(path))->text, "kept at the end");
}

// Runs `body` in a child whose files may not grow beyond `limit` bytes; its exit status.
int InChildWithFileLimit(rlim_t limit, const std::function<int()>& body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN); // the write fails with EFBIG instead of killing
        const rlimit lim{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &lim);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

TEST(RecoveryWriter, AWriteThatFailsForRealKeepsTheOldCopyWhole)
{
    TempHome home;
    const QString path = home.File(QStringLiteral("recovery-1-1.dat"));
    const RecoveryRecord old{"/a.txt", 1, {}, std::string(1000, 'o')};
    WriteFileBytes(path, Encode(old));
    const int status = InChildWithFileLimit(64 * 1024, [&] {
        RecoveryWriter writer(path);
        writer.Write({"/a.txt", 2, {}, std::string(1 << 20, 'n')});
        writer.WaitIdle();
        return writer.Written() == 0 && !writer.LastError().empty() ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    const auto kept = DecodeRecovery(ReadFileBytes(path));
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->text, old.text);
}

TEST(TextFile, ASaveThatFailsForRealKeepsTheOldFileWhole)
{
    TempHome home;
    const QString path = home.File(QStringLiteral("doc.txt"));
    WriteFileBytes(path, "the old text\r\n");
    const int status = InChildWithFileLimit(64 * 1024, [&] {
        try {
            WriteFileBytes(path, std::string(1 << 20, 'n'));
        } catch (const std::exception& e) {
            return std::string(e.what()).find("File too large") != std::string::npos ? 0 : 2;
        }
        return 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFileBytes(path), "the old text\r\n");
}

// --- who owns which copy ---

void WriteCopy(const QString& path, const RecoveryRecord& record) { WriteFileBytes(path, Encode(record)); }

// A lock as a program that is gone would have left it.
void WriteDeadLock(const QString& path)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    WriteFileBytes(path, std::to_string(child) + "\nquorlex\n\n");
}

TEST(RecoverySlots, TwoClaimsInOneFolderNeverShareAFile)
{
    TempHome home;
    auto a = RecoverySlot::Claim(home.Path());
    auto b = RecoverySlot::Claim(home.Path());
    ASSERT_TRUE(a && b);
    EXPECT_NE(a->DataPath(), b->DataPath());
    WriteCopy(a->DataPath(), {"/a", 1, {}, "a"});
    WriteCopy(b->DataPath(), {"/b", 2, {}, "b"});
    EXPECT_TRUE(FindOrphanCopies(home.Path()).empty()); // both owners live
    b.reset();
    const auto orphans = FindOrphanCopies(home.Path());
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_EQ(orphans[0]->Header().fileName, "/b");
    // While one start-up holds it, another does not offer it too.
    EXPECT_TRUE(FindOrphanCopies(home.Path()).empty());
}

TEST(RecoverySlots, FindsCopiesOfDeadRunsNewestFirstAndLeavesTheRest)
{
    TempHome home;
    const QString pid = QString::number(QCoreApplication::applicationPid());
    WriteCopy(home.File(QStringLiteral("recovery-999999-1.dat")), {"/no-lock", 10, {}, "1"});
    WriteCopy(home.File(QStringLiteral("recovery-5-1.dat")), {"/dead", 30, {}, "2"});
    WriteDeadLock(home.File(QStringLiteral("recovery-5-1.lock")));
    // This pid, from an earlier run: nothing of this process claims it.
    WriteCopy(home.File(QStringLiteral("recovery-") + pid + QStringLiteral("-900.dat")), {"/same-pid", 20, {}, "3"});
    WriteFileBytes(home.File(QStringLiteral("recovery-") + pid + QStringLiteral("-900.lock")), pid.toStdString() + "\n");
    WriteFileBytes(home.File(QStringLiteral("recovery-6-1.dat")), "not a copy");
    WriteDeadLock(home.File(QStringLiteral("recovery-7-1.lock"))); // died before its first copy
    // A live owner in this folder.
    QLockFile live(home.File(QStringLiteral("recovery-8-1.lock")));
    ASSERT_TRUE(live.tryLock(0));
    WriteCopy(home.File(QStringLiteral("recovery-8-1.dat")), {"/live", 40, {}, "4"});

    const auto orphans = FindOrphanCopies(home.Path());
    EXPECT_TRUE(QFile::exists(home.File(QStringLiteral("recovery-6-1.dat.damaged")))); // nothing to give back
    std::vector<std::string> names;
    for (const auto& o : orphans)
        names.push_back(o->Header().fileName);
    EXPECT_EQ(names, (std::vector<std::string>{"/dead", "/same-pid", "/no-lock"}));
    EXPECT_FALSE(QFile::exists(home.File(QStringLiteral("recovery-7-1.lock"))));

    // A slot claimed now never lands on a name an earlier run left.
    auto slot = RecoverySlot::Claim(home.Path());
    ASSERT_TRUE(slot);
    for (const auto& o : orphans)
        EXPECT_NE(slot->DataPath(), o->DataPath());
    // Taking one over moves it under the slot's name.
    ASSERT_TRUE(orphans[0]->MoveTo(slot->DataPath()));
    EXPECT_EQ(DecodeRecovery(ReadFileBytes(slot->DataPath()))->text, "2");
    orphans[1]->Discard();
    EXPECT_FALSE(QFile::exists(orphans[1]->DataPath()));
}

} // namespace

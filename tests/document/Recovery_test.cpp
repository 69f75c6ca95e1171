#include "document/RecoveryFile.h"
#include "document/RecoveryJournal.h"
#include "document/RecoverySchedule.h"
#include "document/RecoverySlots.h"
#include "document/RecoveryWriter.h"
#include "document/TextFile.h"
#include "tests/support/TempHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>

#include <gtest/gtest.h>

#include <csignal>
#include <random>
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

// --- the journal ---

std::string RandomBytes(std::mt19937& rng, std::size_t n)
{
    // Line breaks and the code page's upper half among them.
    static const std::string pool = std::string("\r\n\r\n\xFD\xF0\xFE", 7) + std::string(1, '\0') + "abcxyz ";
    std::string out;
    for (std::size_t i = 0; i < n; ++i)
        out.push_back(rng() % 3 ? pool[rng() % pool.size()] : static_cast<char>(rng()));
    return out;
}

// One journal file as the writer fills it: where each whole record ends, and the text that
// replaying up to there must give.
struct Track {
    bool overFile = false;
    std::uint64_t bytes = 0;
    std::vector<std::pair<std::uint64_t, std::string>> states;
    void Add(std::size_t recordBytes, std::string text)
    {
        bytes += recordBytes;
        states.emplace_back(bytes, std::move(text));
    }
    std::optional<std::string> At(std::uint64_t killedAt) const
    {
        std::optional<std::string> last;
        for (const auto& [end, text] : states)
            if (end <= killedAt)
                last = text;
        return last;
    }
};

Track Begin(RecoveryWriter& writer, bool next, const JournalIdentity& id, const std::string& text)
{
    std::string start = EncodeJournalStart(id);
    Track track{id.overFile, 0, {}};
    track.Add(start.size(), text);
    next ? writer.BeginNext(std::move(start)) : writer.Start(std::move(start));
    return track;
}

// The window's side of the protocol, driven at random: edits to the journal and, while a
// snapshot streams, to the snapshot; whole new texts; snapshots started, sliced and committed.
// Then the file is cut at random points, as a kill leaves it, and a byte is spoilt.
TEST(RecoveryJournal, ReplayAtAnyKillPointGivesTheTextOfTheLastWholeRecord)
{
    std::mt19937 rng(20240607);
    for (int round = 0; round < 12; ++round) {
        TempHome home;
        const QString path = home.File(QStringLiteral("recovery-1-1.dat"));
        RecoveryWriter writer(path);
        const std::string base = RandomBytes(rng, rng() % 3000);
        std::string text = base;
        JournalIdentity overFile{"/f.txt", 1, {true, 9, 9, 1, 2}, {}, true, static_cast<std::int64_t>(base.size())};
        Track main = Begin(writer, false, overFile, text), next;
        bool mainLive = true, streaming = false;
        SnapshotFrontier frontier;
        const auto startSnapshot = [&] {
            if (streaming)
                writer.AbortNext();
            next = Begin(writer, true, {"/f.txt", 1, {}, {}, false, 0}, "");
            frontier = {};
            streaming = true;
        };
        for (int step = 0; step < 300 || streaming; ++step) {
            const unsigned what = rng() % 16;
            if (what < 9) {
                const auto start = rng() % (text.size() + 1);
                const auto removed = std::min<std::size_t>(rng() % 8 ? rng() % 4 : rng() % 400, text.size() - start);
                const std::string added = RandomBytes(rng, rng() % 5 ? rng() % 3 : rng() % 300);
                text.replace(start, removed, added);
                const JournalEdit e{step, static_cast<std::int64_t>(start), static_cast<std::int64_t>(removed),
                                    static_cast<std::int64_t>(text.size())};
                if (mainLive) {
                    writer.Append(e, added);
                    main.Add(45 + added.size(), text);
                }
                if (streaming)
                    if (const auto f = frontier.Follow(e, static_cast<std::int64_t>(added.size()))) {
                        writer.AppendNext(*f, added);
                        next.Add(45 + added.size(), text.substr(0, static_cast<std::size_t>(f->lengthAfter)));
                    }
            } else if (what == 9 && step < 300) {
                text = RandomBytes(rng, rng() % 4000); // a whole-document command
                mainLive = false;
                startSnapshot();
            } else if (what == 10 && !streaming && step < 300) {
                startSnapshot(); // the journal grew past the text
            } else if (streaming) {
                const auto left = static_cast<std::int64_t>(text.size()) - frontier.Frontier();
                if (left > 0) {
                    const auto n = std::min<std::int64_t>(left, 1 + rng() % 700);
                    const JournalEdit slice = frontier.Slice(step, n);
                    writer.AppendNext(slice, text.substr(static_cast<std::size_t>(slice.start), static_cast<std::size_t>(n)));
                    next.Add(45 + static_cast<std::size_t>(n), text.substr(0, static_cast<std::size_t>(frontier.Frontier())));
                } else {
                    writer.CommitNext();
                    main = next;
                    mainLive = true;
                    streaming = false;
                }
            }
        }
        writer.WaitIdle();
        const std::string bytes = ReadFileBytes(path);
        ASSERT_EQ(bytes.size(), main.bytes) << "round " << round;
        const std::string replayBase = main.overFile ? base : std::string();
        EXPECT_EQ(ReplayJournal(SourceOf(bytes), bytes.size(), replayBase), text) << "round " << round;
        for (int kill = 0; kill < 40; ++kill) {
            const std::size_t at = kill == 0 ? 0 : rng() % (bytes.size() + 1);
            const std::string_view cut = std::string_view(bytes).substr(0, at);
            EXPECT_EQ(ReplayJournal(SourceOf(cut), at, replayBase), main.At(at)) << "round " << round << " cut at " << at;
        }
        std::string spoilt = bytes;
        const std::size_t at = rng() % spoilt.size();
        spoilt[at] = static_cast<char>(spoilt[at] ^ (1 + rng() % 255));
        const auto end = main.At(at);
        EXPECT_EQ(ReplayJournal(SourceOf(spoilt), spoilt.size(), replayBase), end) << "spoilt at " << at;
    }
}

TEST(RecoveryJournal, AnEditThatDoesNotFitItsTextEndsTheReplay)
{
    JournalIdentity id{"", 1, {}, {}, false, 0};
    const std::string good = EncodeJournalStart(id) + EncodeEdit({1, 0, 0, 3}, "abc");
    EXPECT_EQ(ReplayJournal(SourceOf(good), good.size(), ""), "abc");
    for (const JournalEdit& bad : {JournalEdit{2, 4, 0, 4}, JournalEdit{2, 1, 5, 0}, JournalEdit{2, 0, 0, 7}}) {
        const std::string bytes = good + EncodeEdit(bad, "x");
        EXPECT_EQ(ReplayJournal(SourceOf(bytes), bytes.size(), ""), std::nullopt);
    }
    // A base of another length than the journal was started over is not its file.
    id.overFile = true;
    id.baseLength = 5;
    const std::string over = EncodeJournalStart(id);
    EXPECT_EQ(ReplayJournal(SourceOf(over), over.size(), "1234"), std::nullopt);
    EXPECT_EQ(ReplayJournal(SourceOf(over), over.size(), "12345"), "12345");
}

// --- journals left behind, over their files ---

struct LeftJournal {
    const char* name;
    std::string fileBefore;  // on disk when the journal began; empty: no file
    FileEncoding encoding;
    bool snapshot;           // the journal holds the whole text
    const char* fileAfter;   // on disk at the next start; null: deleted; "=": as before
    bool cutTail;
    // What the offer says and Restore gives.
    bool fileChanged;
    std::string restored;
};

class LeftJournals : public ::testing::TestWithParam<LeftJournal> {};

TEST_P(LeftJournals, AreReplayedOverTheirFileOrGiveWhatTheyHold)
{
    const LeftJournal& c = GetParam();
    TempHome home;
    const QString doc = home.File(QStringLiteral("doc.txt"));
    WriteFileBytes(doc, c.fileBefore);
    JournalIdentity id{doc.toStdString(), 5, FileStampOf(doc), c.encoding, !c.snapshot, 0};
    // The document held the file as read: "\xE7" is what UTF-8 "ç" reads as, CR LF what LF does.
    std::string text = c.snapshot ? "" : "\xE7\r\nab";
    id.baseLength = static_cast<std::int64_t>(text.size());
    std::string bytes = EncodeJournalStart(id);
    const auto edit = [&](std::int64_t start, std::int64_t removed, std::string added) {
        text.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(removed), added);
        bytes += EncodeEdit({7, start, removed, static_cast<std::int64_t>(text.size())}, added);
    };
    if (c.snapshot)
        edit(0, 0, "\xE7\r\nab");
    edit(3, 0, "XY"); // typed between the line break and "ab"
    edit(7, 0, "!");  // and at the end
    edit(0, 1, "");
    if (c.cutTail)
        bytes += EncodeEdit({8, 0, 0, 99}, "lost").substr(0, 20);
    WriteFileBytes(home.File(QStringLiteral("recovery-9-1.dat")), bytes);
    if (!c.fileAfter)
        QFile::remove(doc);
    else if (std::string_view(c.fileAfter) != "=")
        WriteFileBytes(doc, c.fileAfter);

    const auto orphans = FindOrphanCopies(home.Path());
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_EQ(orphans[0]->FileChanged(), c.fileChanged);
    EXPECT_EQ(orphans[0]->TailCut(), c.cutTail);
    EXPECT_EQ(orphans[0]->Header().changedMs, 7);
    EXPECT_EQ(orphans[0]->Header().encoding, c.encoding);
    EXPECT_EQ(orphans[0]->BytesThere(), c.restored.size());
    EXPECT_EQ(orphans[0]->BytesPromised(), c.fileChanged ? 7u : c.restored.size());
    const auto record = orphans[0]->Read();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->text, c.restored);
}

const FileEncoding kUtf8Lf{true, false, LineBreaks::Lf};

INSTANTIATE_TEST_SUITE_P(
    Table, LeftJournals,
    ::testing::Values(
        LeftJournal{"file_unchanged", "\xE7\r\nab", {}, false, "=", false, false, "\r\nXYab!"},
        LeftJournal{"utf8_lf_file_read_as_it_was", "\xC3\xA7\nab", kUtf8Lf, false, "=", false, false, "\r\nXYab!"},
        LeftJournal{"cut_tail_gives_the_text_before_it", "\xE7\r\nab", {}, false, "=", true, false, "\r\nXYab!"},
        // Only what the edits put in is known once the file is another.
        LeftJournal{"file_rewritten", "\xE7\r\nab", {}, false, "\xE7\r\nzz", false, true, "XY!"},
        LeftJournal{"file_deleted", "\xE7\r\nab", {}, false, nullptr, false, true, "XY!"},
        LeftJournal{"snapshot_needs_no_file", "", {}, true, "another text", false, false, "\r\nXYab!"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LeftJournals, OfUnknownVersionOrWithoutIdentityAreSetAside)
{
    TempHome home;
    const std::string good = EncodeJournalStart({"", 1, {}, {}, false, 0}) + EncodeEdit({1, 0, 0, 1}, "a");
    WriteFileBytes(home.File(QStringLiteral("recovery-9-1.dat")), "QUORLEX-RECOVERY 4" + good.substr(18));
    WriteFileBytes(home.File(QStringLiteral("recovery-9-2.dat")), good.substr(0, 30));
    WriteFileBytes(home.File(QStringLiteral("recovery-9-3.dat")), good);
    std::vector<DamagedCopy> damaged;
    const auto orphans = FindOrphanCopies(home.Path(), &damaged);
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_EQ(orphans[0]->Read()->text, "a");
    EXPECT_EQ(damaged.size(), 2u);
    EXPECT_TRUE(QFile::exists(home.File(QStringLiteral("recovery-9-1.dat.damaged"))));
    EXPECT_TRUE(QFile::exists(home.File(QStringLiteral("recovery-9-2.dat.damaged"))));
}

// --- the writer thread ---

TEST(RecoveryWriter, RemoveDropsWhatWaitsAndTheEndFinishesIt)
{
    TempHome home;
    const QString path = home.File(QStringLiteral("recovery-1-1.dat"));
    const std::string start = EncodeJournalStart({"", 1, {}, {}, false, 0});
    {
        RecoveryWriter writer(path);
        writer.Start(start);
        writer.Append({1, 0, 0, 4}, "late");
        writer.Remove();
        writer.WaitIdle();
        EXPECT_FALSE(QFile::exists(path));
        writer.Start(start);
        writer.Append({2, 0, 0, 15}, "kept at the end");
    } // the destructor finishes what waits
    EXPECT_EQ(ReadRecoveryFile(path)->text, "kept at the end");
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

TEST(RecoveryWriter, ASnapshotThatFailsForRealKeepsTheOldJournalWhole)
{
    TempHome home;
    const QString path = home.File(QStringLiteral("recovery-1-1.dat"));
    const std::string start = EncodeJournalStart({"", 1, {}, {}, false, 0});
    const std::string old(1000, 'o');
    WriteFileBytes(path, start + EncodeEdit({1, 0, 0, 1000}, old));
    const int status = InChildWithFileLimit(64 * 1024, [&] {
        RecoveryWriter writer(path);
        writer.BeginNext(start);
        writer.AppendNext({2, 0, 0, 1 << 20}, std::string(1 << 20, 'n'));
        writer.CommitNext();
        writer.WaitIdle();
        return writer.Written() == 0 && !writer.LastError().empty() ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadRecoveryFile(path)->text, old);
    EXPECT_EQ(QDir(home.Path()).entryList(QDir::Files).size(), 1); // no half snapshot beside it
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

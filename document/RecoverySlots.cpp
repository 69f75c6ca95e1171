#include "document/RecoverySlots.h"

#include "document/RecoveryLock.h"
#include "document/LineText.h"
#include "document/TextFile.h"
#include "platform/NativePath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <mutex>
#include <set>

namespace {

// The names this process holds, its own and the orphans it is offering: a window of this
// process never offers another window's copy, whatever the locks say.
std::mutex g_claimedMutex;
std::set<QString> g_claimed;
int g_nextSerial = 1;

bool ClaimedHere(const QString& dataPath)
{
    std::lock_guard lock(g_claimedMutex);
    return g_claimed.count(dataPath) > 0;
}

void Hold(const QString& dataPath, bool held)
{
    std::lock_guard lock(g_claimedMutex);
    if (held)
        g_claimed.insert(dataPath);
    else
        g_claimed.erase(dataPath);
}

QString Native(const std::string& name) { return QString::fromStdString(name); }

JournalSource FileSource(QFile& file)
{
    return {[&file](char* into, std::size_t n) { return file.read(into, static_cast<qint64>(n)) == static_cast<qint64>(n); },
            [&file] { return static_cast<std::uint64_t>(std::max<qint64>(file.size() - file.pos(), 0)); }};
}

// Walks the journal at `path` with `walk`; false when it cannot be opened.
template <class Walk>
bool WithJournal(const QString& path, Walk&& walk)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    walk(FileSource(file), static_cast<std::uint64_t>(file.size()));
    return true;
}

} // namespace

std::unique_ptr<RecoverySlot> RecoverySlot::Claim(const QString& folder, int* error)
{
    int ignored = 0;
    int& err = error ? *error : ignored;
    err = 0;
    if (folder.isEmpty()) {
        err = ENOENT;
        return nullptr;
    }
    const qint64 pid = QCoreApplication::applicationPid();
    for (int attempt = 0; attempt < 1000; ++attempt) {
        int serial;
        {
            std::lock_guard lock(g_claimedMutex);
            serial = g_nextSerial++;
        }
        const std::string name = RecoveryDataName(pid, serial);
        const QString dataPath = folder + u'/' + Native(name);
        if (QFile::exists(dataPath))
            continue; // an earlier run with this pid left it: it is offered, not overwritten
        if (auto lock = RecoveryLock::Take(folder + u'/' + Native(RecoveryLockName(name)), &err)) {
            Hold(dataPath, true);
            return std::unique_ptr<RecoverySlot>(new RecoverySlot(dataPath, std::move(lock)));
        }
        if (err != 0)
            return nullptr; // the folder takes no lock at all
    }
    err = EAGAIN;
    return nullptr;
}

RecoverySlot::RecoverySlot(QString dataPath, std::unique_ptr<RecoveryLock> lock)
    : m_dataPath(std::move(dataPath)), m_lock(std::move(lock)) {}

RecoverySlot::~RecoverySlot()
{
    m_lock.reset();
    Hold(m_dataPath, false);
}

OrphanCopy::OrphanCopy(QString dataPath, RecoveryRecord header, std::uint64_t bytesPromised, std::uint64_t bytesThere,
                       std::unique_ptr<RecoveryLock> lock)
    : m_dataPath(std::move(dataPath)), m_header(std::move(header)), m_bytesPromised(bytesPromised),
      m_bytesThere(bytesThere), m_lock(std::move(lock))
{
    Hold(m_dataPath, true);
}

OrphanCopy::~OrphanCopy()
{
    m_lock.reset();
    Hold(m_dataPath, false);
}

OrphanCopy::OrphanCopy(QString dataPath, const JournalScan& journal, std::unique_ptr<RecoveryLock> lock)
    : m_dataPath(std::move(dataPath)), m_journal(journal), m_lock(std::move(lock))
{
    Hold(m_dataPath, true);
    const JournalIdentity& id = journal.identity;
    m_header.fileName = id.fileName;
    m_header.changedMs = journal.lastChangedMs;
    m_header.fileStamp = id.fileStamp;
    m_header.encoding = journal.encoding;
    m_bytesPromised = m_bytesThere = static_cast<std::uint64_t>(journal.length);
    if (!id.overFile)
        return;
    const FileStamp now = FileStampOf(PathFromNative(id.fileName));
    m_fileChanged = !now.exists || now.unknown || CompareStamps(id.fileStamp, now) != DiskChange::None;
    if (!m_fileChanged)
        return;
    std::string known;
    std::int64_t length = 0;
    if (WithJournal(m_dataPath, [&](JournalSource source, std::uint64_t size) {
            ReplayWithoutBase(std::move(source), size, known, length);
        }))
        m_bytesThere = known.size();
}

std::optional<RecoveryRecord> OrphanCopy::Read() const
{
    if (m_journal)
        return ReadJournal();
    try {
        auto record = DecodeRecoveryHeld(ReadFileBytes(m_dataPath));
        // A text the header promised and the file lost altogether gives nothing to restore.
        if (record && record->text.empty() && !record->whole)
            return std::nullopt;
        return record;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

namespace {

// The text of the journal at `path`, over its file unless `fileChanged`.
std::optional<RecoveryRecord> ReadJournalAt(const QString& path, const JournalScan& scan, RecoveryRecord record,
                                            bool fileChanged)
{
    record.whole = !scan.cut;
    const JournalIdentity& id = scan.identity;
    std::optional<std::string> text;
    if (!id.overFile || !fileChanged) {
        std::string base;
        bool read = true;
        if (id.overFile) {
            // The file's text as the editor held it: read as it was read, line breaks made CR LF.
            try {
                TextFileContents file = ReadTextFile(PathFromNative(id.fileName), id.encoding.utf8);
                base = HasLoneLineBreak(file.bytes) ? NormalizeLineBreaks(file.bytes) : std::move(file.bytes);
            } catch (const std::exception&) {
                read = false;
            }
        }
        if (read)
            WithJournal(path, [&](JournalSource source, std::uint64_t size) {
                text = ReplayJournal(std::move(source), size, std::move(base), scan.addedBytes);
            });
    }
    if (!text && id.overFile) {
        // The file is not the one the edits were made to: what they put in is all there is.
        std::string known;
        std::int64_t length = 0;
        bool replayed = false;
        WithJournal(path, [&](JournalSource source, std::uint64_t size) {
            replayed = ReplayWithoutBase(std::move(source), size, known, length);
        });
        if (!replayed)
            return std::nullopt;
        record.whole = static_cast<std::int64_t>(known.size()) == length;
        text = std::move(known);
    }
    if (!text)
        return std::nullopt;
    record.text = std::move(*text);
    return record;
}

} // namespace

std::optional<RecoveryRecord> OrphanCopy::ReadJournal() const
{
    return ReadJournalAt(m_dataPath, *m_journal, m_header, m_fileChanged);
}

std::optional<RecoveryRecord> ReadRecoveryFile(const QString& path)
{
    JournalScan scan;
    if (!WithJournal(path, [&](JournalSource source, std::uint64_t bytes) { scan = ScanJournal(std::move(source), bytes); }))
        return std::nullopt;
    if (!scan.journal) {
        try {
            return DecodeRecoveryHeld(ReadFileBytes(path));
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }
    RecoveryRecord header;
    header.fileName = scan.identity.fileName;
    header.changedMs = scan.lastChangedMs;
    header.fileStamp = scan.identity.fileStamp;
    header.encoding = scan.encoding;
    return ReadJournalAt(path, scan, header, false);
}

bool OrphanCopy::MoveTo(const QString& path)
{
    QFile::remove(path);
    return QFile::rename(m_dataPath, path);
}

bool OrphanCopy::SetAside()
{
    QFile::remove(SetAsidePath());
    return QFile::rename(m_dataPath, SetAsidePath());
}

void OrphanCopy::Discard() { QFile::remove(m_dataPath); }

std::vector<std::unique_ptr<OrphanCopy>> FindOrphanCopies(const QString& folder, std::vector<DamagedCopy>* damaged)
{
    std::vector<std::unique_ptr<OrphanCopy>> found;
    if (folder.isEmpty())
        return found;
    const QDir dir(folder);
    const QStringList names = dir.entryList({QStringLiteral("recovery-*")}, QDir::Files | QDir::Hidden);
    for (const QString& entry : names) {
        const std::string name = entry.toStdString();
        if (!ParseRecoveryDataName(name))
            continue;
        const QString dataPath = dir.filePath(entry);
        if (ClaimedHere(dataPath))
            continue;
        int lockError = 0;
        auto lock = RecoveryLock::Take(dir.filePath(Native(RecoveryLockName(name))), &lockError);
        // Held: its program runs. A lock that cannot even be made (a folder gone read-only)
        // is held by nobody either, and the copy is still worth giving back.
        if (!lock && lockError == 0)
            continue;
        std::string head;
        qint64 size = -1;
        if (QFile file(dataPath); file.open(QIODevice::ReadOnly)) {
            size = file.size();
            head = file.read(1 << 16).toStdString();
        }
        if (std::string_view(head).starts_with(kJournalMagic)) {
            JournalScan scan;
            WithJournal(dataPath, [&](JournalSource source, std::uint64_t bytes) {
                scan = ScanJournal(std::move(source), bytes);
            });
            if (scan.journal) {
                found.push_back(std::make_unique<OrphanCopy>(dataPath, scan, std::move(lock)));
                continue;
            }
        }
        std::size_t offset = 0;
        std::uint64_t promised = 0;
        auto header = DecodeRecoveryHeader(head, &offset, &promised);
        const auto fileBytes = static_cast<std::uint64_t>(std::max<qint64>(size, 0));
        const std::uint64_t there = fileBytes > offset ? fileBytes - offset : 0;
        if (!header || (there == 0 && promised > 0)) {
            // Nothing in it can be given back: set aside once, so no later start offers it.
            DamagedCopy d{dataPath, QFile::rename(dataPath, dataPath + QStringLiteral(".damaged"))};
            if (damaged)
                damaged->push_back(d);
            continue;
        }
        found.push_back(std::make_unique<OrphanCopy>(dataPath, std::move(*header), promised, there, std::move(lock)));
    }
    // Locks whose program died before it wrote a copy.
    for (const QString& entry : dir.entryList({QStringLiteral("recovery-*.lock")}, QDir::Files | QDir::Hidden)) {
        const QString base = entry.left(entry.size() - 5);
        const QString dataPath = dir.filePath(base + QStringLiteral(".dat"));
        if (QFile::exists(dataPath) || !ParseRecoveryDataName((base + QStringLiteral(".dat")).toStdString()) ||
            ClaimedHere(dataPath))
            continue;
        RecoveryLock::Take(dir.filePath(entry)); // taken and let go: the file goes with it
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a->Header().changedMs > b->Header().changedMs; });
    return found;
}

#include "document/RecoverySlots.h"

#include "document/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>

#include <algorithm>
#include <mutex>
#include <set>

namespace {

// The names this process holds, its own and the orphans it is offering. A lock of this process's own pid that is not among them was
// left by an earlier run that had the same pid; QLockFile would take it for a live one.
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

std::unique_ptr<QLockFile> TryLock(const QString& lockPath)
{
    auto lock = std::make_unique<QLockFile>(lockPath);
    // A lock is stale only when its process is gone, however old it is.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

QString Native(const std::string& name) { return QString::fromStdString(name); }

} // namespace

std::unique_ptr<RecoverySlot> RecoverySlot::Claim(const QString& folder)
{
    if (folder.isEmpty())
        return nullptr;
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
        if (auto lock = TryLock(folder + u'/' + Native(RecoveryLockName(name)))) {
            Hold(dataPath, true);
            return std::unique_ptr<RecoverySlot>(new RecoverySlot(dataPath, std::move(lock)));
        }
        if (!QDir(folder).exists())
            return nullptr;
    }
    return nullptr;
}

RecoverySlot::RecoverySlot(QString dataPath, std::unique_ptr<QLockFile> lock)
    : m_dataPath(std::move(dataPath)), m_lock(std::move(lock)) {}

RecoverySlot::~RecoverySlot() { Hold(m_dataPath, false); }

OrphanCopy::OrphanCopy(QString dataPath, RecoveryRecord header, std::unique_ptr<QLockFile> lock)
    : m_dataPath(std::move(dataPath)), m_header(std::move(header)), m_lock(std::move(lock))
{
    Hold(m_dataPath, true);
}

OrphanCopy::~OrphanCopy()
{
    m_lock.reset();
    Hold(m_dataPath, false);
}

std::optional<RecoveryRecord> OrphanCopy::Read() const
{
    try {
        return DecodeRecovery(ReadFileBytes(m_dataPath));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool OrphanCopy::MoveTo(const QString& path)
{
    QFile::remove(path);
    return QFile::rename(m_dataPath, path);
}

void OrphanCopy::Discard() { QFile::remove(m_dataPath); }

std::vector<std::unique_ptr<OrphanCopy>> FindOrphanCopies(const QString& folder)
{
    std::vector<std::unique_ptr<OrphanCopy>> found;
    if (folder.isEmpty())
        return found;
    const QDir dir(folder);
    const qint64 pid = QCoreApplication::applicationPid();
    const QStringList names = dir.entryList({QStringLiteral("recovery-*")}, QDir::Files | QDir::Hidden);
    for (const QString& entry : names) {
        const std::string name = entry.toStdString();
        const auto owner = ParseRecoveryDataName(name);
        if (!owner)
            continue;
        const QString dataPath = dir.filePath(entry);
        if (ClaimedHere(dataPath))
            continue;
        const QString lockPath = dir.filePath(Native(RecoveryLockName(name)));
        if (owner->pid == pid)
            QFile::remove(lockPath); // an earlier run's: this run has not claimed it
        auto lock = TryLock(lockPath);
        if (!lock)
            continue; // its program is running
        std::string head;
        if (QFile file(dataPath); file.open(QIODevice::ReadOnly))
            head = file.read(1 << 16).toStdString();
        auto header = DecodeRecoveryHeader(head);
        if (!header)
            continue; // not one we can read: left alone
        found.push_back(std::make_unique<OrphanCopy>(dataPath, std::move(*header), std::move(lock)));
    }
    // Locks whose program died before it wrote a copy.
    for (const QString& entry : dir.entryList({QStringLiteral("recovery-*.lock")}, QDir::Files | QDir::Hidden)) {
        const QString base = entry.left(entry.size() - 5);
        if (QFile::exists(dir.filePath(base + QStringLiteral(".dat"))))
            continue;
        const auto owner = ParseRecoveryDataName((base + QStringLiteral(".dat")).toStdString());
        if (!owner || ClaimedHere(dir.filePath(base + QStringLiteral(".dat"))))
            continue;
        if (auto lock = TryLock(dir.filePath(entry)))
            lock->unlock();
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a->Header().changedMs > b->Header().changedMs; });
    return found;
}

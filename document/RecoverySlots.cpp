#include "document/RecoverySlots.h"

#include "document/RecoveryLock.h"
#include "document/TextFile.h"

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

std::optional<RecoveryRecord> OrphanCopy::Read() const
{
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

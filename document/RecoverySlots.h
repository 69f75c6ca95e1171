#pragma once

#include "document/RecoveryFile.h"
#include "document/RecoveryJournal.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class RecoveryLock;

// A recovery file name claimed by this process: its lock is held for as long as the object
// lives, so no other program (and no other window of this one) takes the name or offers the
// file as left behind.
class RecoverySlot {
public:
    // Claims the first free name in `folder`; null when the folder takes no lock, with the
    // errno of why in `error`.
    static std::unique_ptr<RecoverySlot> Claim(const QString& folder, int* error = nullptr);
    ~RecoverySlot();

    const QString& DataPath() const { return m_dataPath; }

private:
    RecoverySlot(QString dataPath, std::unique_ptr<RecoveryLock> lock);
    QString m_dataPath;
    std::unique_ptr<RecoveryLock> m_lock;
};

// A recovery file that a run which died left behind. Its lock is held while the object lives,
// so two programs starting together do not both offer it (null where the folder takes none).
class OrphanCopy {
public:
    // A copy an older version wrote: its header and how much of its text is there.
    OrphanCopy(QString dataPath, RecoveryRecord header, std::uint64_t bytesPromised, std::uint64_t bytesThere,
               std::unique_ptr<RecoveryLock> lock);
    // A journal, as its scan found it.
    OrphanCopy(QString dataPath, const JournalScan& journal, std::unique_ptr<RecoveryLock> lock);
    ~OrphanCopy(); // lets go of the lock, and with it the lock file

    const QString& DataPath() const { return m_dataPath; }
    // Name, time, stamp and how the file is written; the text is made only when it is restored.
    const RecoveryRecord& Header() const { return m_header; }
    // How much of the text is there, of how much it had: they differ in a damaged copy, and in
    // a journal over a file that has changed since (only what the edits put in is there).
    std::uint64_t BytesPromised() const { return m_bytesPromised; }
    std::uint64_t BytesThere() const { return m_bytesThere; }
    bool Damaged() const { return m_bytesThere != m_bytesPromised; }
    // A journal over a file that is no longer the one its edits were made to.
    bool FileChanged() const { return m_fileChanged; }
    // A journal whose last records cannot be read: it gives the text as it was before them.
    bool TailCut() const { return m_journal && m_journal->cut; }
    // The record with whatever text the file gives (`whole` false when that is not all the
    // text was); nullopt when nothing could be read.
    std::optional<RecoveryRecord> Read() const;
    // Moves the file to `path` (the claimed slot of this run); false when it could not.
    bool MoveTo(const QString& path);
    // Renames the file to "<name>.damaged", which is never offered: true when it went.
    bool SetAside();
    QString SetAsidePath() const { return m_dataPath + QStringLiteral(".damaged"); }
    void Discard();

private:
    std::optional<RecoveryRecord> ReadJournal() const;

    QString m_dataPath;
    RecoveryRecord m_header;
    std::uint64_t m_bytesPromised = 0;
    std::uint64_t m_bytesThere = 0;
    std::optional<JournalScan> m_journal;
    bool m_fileChanged = false;
    std::unique_ptr<RecoveryLock> m_lock;
};

// A file of a dead owner that held nothing readable. It is renamed to "<name>.damaged", which
// is never offered again; `setAside` is false when even that failed.
struct DamagedCopy {
    QString path;
    bool setAside = false;
};

// Copies in `folder` whose owner is gone, newest first; the ones that hold nothing readable
// go to `damaged` instead. Lock files left without a copy are cleared on the way.
std::vector<std::unique_ptr<OrphanCopy>> FindOrphanCopies(const QString& folder,
                                                          std::vector<DamagedCopy>* damaged = nullptr);

// What the recovery file at `path` gives back (a journal over its file as that is now); for
// tests and for looking at a kept file.
std::optional<RecoveryRecord> ReadRecoveryFile(const QString& path);

#pragma once

#include "document/RecoveryFile.h"

#include <QString>

#include <memory>
#include <vector>

class QLockFile;

// A recovery file name claimed by this process: its lock is held for as long as the object
// lives, so no other program (and no other window of this one) takes the name or offers the
// file as left behind.
class RecoverySlot {
public:
    // Claims the first free name in `folder`; null when the folder takes no lock.
    static std::unique_ptr<RecoverySlot> Claim(const QString& folder);
    ~RecoverySlot();

    const QString& DataPath() const { return m_dataPath; }

private:
    RecoverySlot(QString dataPath, std::unique_ptr<QLockFile> lock);
    QString m_dataPath;
    std::unique_ptr<QLockFile> m_lock;
};

// A recovery file that a run which died left behind. Its lock is held while the object lives,
// so two programs starting together do not both offer it.
class OrphanCopy {
public:
    OrphanCopy(QString dataPath, RecoveryRecord header, std::unique_ptr<QLockFile> lock);
    ~OrphanCopy(); // lets go of the lock, and with it the lock file

    const QString& DataPath() const { return m_dataPath; }
    // Name, time and stamp; the text is read only when it is restored.
    const RecoveryRecord& Header() const { return m_header; }
    // The whole record; nullopt when the file went or is no longer whole.
    std::optional<RecoveryRecord> Read() const;
    // Moves the file to `path` (the claimed slot of this run); false when it could not.
    bool MoveTo(const QString& path);
    void Discard();

private:
    QString m_dataPath;
    RecoveryRecord m_header;
    std::unique_ptr<QLockFile> m_lock;
};

// Copies in `folder` whose owner is gone, newest first. Lock files left without a copy are
// cleared on the way.
std::vector<std::unique_ptr<OrphanCopy>> FindOrphanCopies(const QString& folder);

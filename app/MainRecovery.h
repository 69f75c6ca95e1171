#pragma once

#include "document/RecoveryFile.h"
#include "document/RecoverySchedule.h"
#include "platform/FileStamp.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstddef>
#include <memory>
#include <vector>

class RecoverySlot;
class RecoveryWriter;
class TAppForm;

// The main window's recovery copy and what it knows of its file on disk. The copy is a
// snapshot of the document taken on the window's thread and written by a worker thread.
class TRecovery : public QObject {
    Q_OBJECT
public:
    explicit TRecovery(TAppForm& form);
    ~TRecovery() override;

    // The file this window's copies go to; empty while the recovery folder takes none.
    QString FilePath() const;
    // Waits until the copy that is due has been handed over and written (or removed).
    void WaitIdle();
    // Copies written whole so far.
    int Written() const;
    // Delays of the schedule in milliseconds (tests shorten them).
    void SetDelays(std::int64_t idleMs, std::int64_t longestMs);
    // Why the text is not protected now ("Unsaved changes cannot be protected: <folder>:
    // <reason>"); empty while the copies are written.
    const QString& Failure() const { return m_failure; }
    // The copies of texts that a reload gave up, kept until the next save.
    QStringList KeptPaths() const;

private:
    friend class TAppForm;
    struct Kept;
    void Changed();
    void TakeCopy();
    void Discard();
    // The window closes normally: the copy and the kept ones go.
    void Closing();
    // The copy came into being another way (an adopted one): nothing is due.
    void CopyInPlace();
    // The text on screen is about to be replaced by the file: its copy is written now and kept
    // under a name of its own until the next save, whatever happens to the document meanwhile.
    void KeepLostText();
    void DropKept();
    // A slot and its writer, claimed now if there were none; false (and the failure shown)
    // when the folder takes no copy.
    bool EnsureWriter();
    std::unique_ptr<RecoveryWriter> MakeWriter(const QString& path);
    RecoveryRecord Snapshot(std::string text) const;
    void WriteFinished(int error);
    void Failed(int error);
    bool eventFilter(QObject* watched, QEvent* e) override;

    TAppForm& m_form;
    QString m_folder;
    std::unique_ptr<RecoverySlot> m_slot;     // outlives the writer, which drains first
    std::unique_ptr<RecoveryWriter> m_writer; // null while the folder takes no copy
    std::vector<Kept> m_kept;
    RecoverySchedule m_schedule;
    QElapsedTimer m_clock;
    QTimer m_timer;
    std::int64_t m_lastChangeMs = 0; // wall clock, for the offer's "last changed"
    bool m_copyExists = false;       // written, or on its way
    bool m_waitedForSpare = false;   // the due copy already waited once for its buffer
    static constexpr std::size_t kPagedInFrom = std::size_t{4} << 20;
    static constexpr int kSpareWaitMs = 300;

    QString m_failure; // shown in status panel 0 while it lasts
    bool m_warned = false; // the warning box comes once a run

    FileStamp m_seen;     // last state the user was told of: activation asks when it differs
    bool m_asking = false;
};

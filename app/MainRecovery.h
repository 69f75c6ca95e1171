#pragma once

#include "document/RecoveryJournal.h"
#include "platform/FileStamp.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <memory>
#include <vector>

class RecoverySlot;
class RecoveryWriter;
class TAppForm;
struct DocumentEdit;

// The main window's recovery journal and what it knows of its file on disk. Each edit is handed
// to a worker thread as a small record; a whole-document command, and a journal grown past the
// document, are written as a snapshot streamed from the document in slices between events.
class TRecovery : public QObject {
    Q_OBJECT
public:
    explicit TRecovery(TAppForm& form);
    ~TRecovery() override;

    // The file this window's journal goes to; empty while the recovery folder takes none.
    QString FilePath() const;
    // Finishes a snapshot under way and waits until everything is on the device (or removed).
    void WaitIdle();
    // Times the journal was brought up to date on the device.
    int Written() const;
    // Delays of the flush to the device, in milliseconds (tests shorten them); the idle delay
    // is also how long a journal that could not be written waits before it tries again.
    void SetDelays(std::int64_t idleMs, std::int64_t longestMs);
    // The longest time one piece of recovery work held the window's thread (a slice of a
    // snapshot, an edit handed over), in milliseconds on the clock and of processor time.
    double LongestWorkMs() const { return m_longestWorkMs; }
    double LongestWorkCpuMs() const { return m_longestWorkCpuMs; }
    // Why the text is not protected now ("Unsaved changes cannot be protected: <folder>:
    // <reason>"); empty while the journal is written.
    const QString& Failure() const { return m_failure; }
    // The journals of texts that a reload gave up, kept until the next save.
    QStringList KeptPaths() const;

private:
    friend class TAppForm;
    struct Kept;
    // What the file at FilePath() holds for the text on screen.
    enum class Journal {
        None,  // nothing
        Live,  // the text, kept up to date by each edit
        Stale, // an earlier state of it (a whole-document change has not reached it yet)
    };
    void Changed(const DocumentEdit& edit);
    void EncodingChanged();
    // The text on screen is no longer the file's (changed or deleted behind the editor's back).
    void FileChanged();
    void Discard();
    // The window closes normally: the journal and the kept ones go.
    void Closing();
    // A restored text: its file, when `moved` under this run's name, protects it until the
    // snapshot that is started now takes its place.
    void CopyInPlace(bool moved);
    // The text on screen is about to be replaced by the file: it is written whole now and kept
    // under a name of its own until the next save, whatever happens to the document meanwhile.
    void KeepLostText();
    void DropKept();
    // A slot and its writer, claimed now if there were none; false (and the failure shown)
    // when the folder takes no journal.
    bool EnsureWriter();
    std::unique_ptr<RecoveryWriter> MakeWriter(const QString& path);
    // A journal over the text the unmodified document held: the file, or an empty text.
    bool StartOverBase(std::int64_t lengthBefore);
    void WantSnapshot();
    void StartSnapshot();
    // Streams slices for at most `budgetMs` (negative: to the end, waiting for the writer).
    void Step(int budgetMs);
    void FinishSnapshot();
    // An edit made while a snapshot streams: what of it the streamed part must follow.
    void FollowInSnapshot(const JournalEdit& edit, std::string_view added);
    void WriteFinished(int error);
    void Failed(int error);
    bool eventFilter(QObject* watched, QEvent* e) override;

    TAppForm& m_form;
    QString m_folder;
    std::unique_ptr<RecoverySlot> m_slot;     // outlives the writer, which drains first
    std::unique_ptr<RecoveryWriter> m_writer; // null while the folder takes no journal
    std::vector<Kept> m_kept;
    std::int64_t m_idleMs = 2000, m_longestMs = 30000;
    QTimer m_retry;   // a journal that could not be written tries again
    QTimer m_stepper; // the next slice of a snapshot
    std::int64_t m_lastChangeMs = 0; // wall clock, for the offer's "last changed"

    Journal m_journal = Journal::None;
    bool m_journalOverFile = false;  // needs the file to give the text back
    std::int64_t m_journalBytes = 0; // its size beyond the text it gives, to know when a snapshot is smaller
    bool m_baseKnown = true;         // the text before the first edit is the file's (or empty)
    bool m_wantSnapshot = false;
    bool m_snapshotting = false;
    SnapshotFrontier m_frontier;
    double m_longestWorkMs = 0, m_longestWorkCpuMs = 0;
    std::int64_t m_snapshotBytes = 0;
    static constexpr std::size_t kInFlight = std::size_t{16} << 20;
    static constexpr int kStepMs = 4;
    static constexpr int kSaveWaitMs = 50; // between looks at whether a save has ended
    static constexpr std::int64_t kSmallJournal = std::int64_t{1} << 20;

    QString m_failure; // shown in status panel 0 while it lasts
    bool m_warned = false; // the warning box comes once a run

    FileStamp m_seen;     // last state the user was told of: activation asks when it differs
    bool m_asking = false;
};

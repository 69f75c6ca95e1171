// Recovery copies of the document, their offer at start-up, and files that another program
// changed or removed while they were open.
#include "app/MainRecovery.h"

#include "app/BackgroundSave.h"
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "document/TextDocument.h"
#include "document/RecoverySlots.h"
#include "document/RecoveryJournal.h"
#include "document/RecoveryWriter.h"
#include "platform/Error.h"
#include "platform/NativePath.h"
#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QStatusTipEvent>

#include <algorithm>
#include <ctime>

// A journal of a text that a reload gave up.
struct TRecovery::Kept {
    std::unique_ptr<RecoverySlot> slot;
    std::unique_ptr<RecoveryWriter> writer;
};

TRecovery::TRecovery(TAppForm& form) : m_form(form)
{
    // Nothing is due yet: a folder that takes no journal is said when the first edit comes.
    const StateFolder state = ProgramStateFolderStatus();
    m_folder = state.path;
    if (!state.error)
        m_slot = RecoverySlot::Claim(m_folder);
    if (m_slot)
        m_writer = MakeWriter(m_slot->DataPath());
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, [this] { WantSnapshot(); });
    m_stepper.setSingleShot(true);
    connect(&m_stepper, &QTimer::timeout, this, [this] { Step(kStepMs); });
}

TRecovery::~TRecovery() = default;

QString TRecovery::FilePath() const { return m_slot ? m_slot->DataPath() : QString(); }

QStringList TRecovery::KeptPaths() const
{
    QStringList paths;
    for (const Kept& k : m_kept)
        paths << k.slot->DataPath();
    return paths;
}

std::unique_ptr<RecoveryWriter> TRecovery::MakeWriter(const QString& path)
{
    // Heard on the writer's thread; the window learns of it on its own. The writer is gone
    // before this object, so no report outlives it.
    auto writer = std::make_unique<RecoveryWriter>(path, [this](int error) {
        QMetaObject::invokeMethod(this, [this, error] { WriteFinished(error); }, Qt::QueuedConnection);
    });
    writer->SetDelays(m_idleMs, m_longestMs);
    return writer;
}

bool TRecovery::EnsureWriter()
{
    if (m_writer)
        return true;
    const StateFolder state = ProgramStateFolderStatus();
    m_folder = state.path;
    int error = state.error;
    if (!error)
        m_slot = RecoverySlot::Claim(m_folder, &error);
    if (!m_slot) {
        Failed(error);
        return false;
    }
    m_writer = MakeWriter(m_slot->DataPath());
    return true;
}

void TRecovery::WaitIdle()
{
    if (m_retry.isActive()) {
        m_retry.stop();
        m_wantSnapshot = true; // now, not after the pause
    }
    FinishSnapshot();
    if (m_writer) {
        m_writer->Flush();
        m_writer->WaitIdle();
    }
    for (Kept& k : m_kept)
        k.writer->WaitIdle();
}

int TRecovery::Written() const { return m_writer ? m_writer->Written() : 0; }

void TRecovery::SetDelays(std::int64_t idleMs, std::int64_t longestMs)
{
    m_idleMs = idleMs;
    m_longestMs = longestMs;
    if (m_writer)
        m_writer->SetDelays(idleMs, longestMs);
}

namespace {

std::int64_t Now() { return QDateTime::currentMSecsSinceEpoch(); }

double ThreadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Notes how long a piece of recovery work held the window's thread, on the clock and in
// processor time (on a busy machine the first includes time the thread waited for a processor).
class WorkTimer {
public:
    WorkTimer(double& longest, double& longestCpu, bool on = true)
        : m_longest(longest), m_longestCpu(longestCpu), m_on(on), m_cpu(ThreadCpuMs())
    {
        m_clock.start();
    }
    ~WorkTimer()
    {
        if (!m_on)
            return;
        m_longest = std::max(m_longest, static_cast<double>(m_clock.nsecsElapsed()) / 1e6);
        m_longestCpu = std::max(m_longestCpu, ThreadCpuMs() - m_cpu);
    }
    qint64 ElapsedMs() const { return m_clock.elapsed(); }

private:
    double& m_longest;
    double& m_longestCpu;
    bool m_on;
    double m_cpu;
    QElapsedTimer m_clock;
};

} // namespace

void TRecovery::Changed(const DocumentEdit& edit)
{
    const WorkTimer timer(m_longestWorkMs, m_longestWorkCpuMs);
    const TextDocument& doc = m_form.Document();
    m_lastChangeMs = Now();
    if (edit.whole && !doc.Modified()) {
        m_baseKnown = true; // a file loaded, or the text emptied: the base of the next journal
        return;
    }
    if (edit.whole) {
        // A journal cannot follow a whole new text record by record: the text goes in once,
        // as the snapshot that starts the next journal. Until that is written the journal on
        // disk keeps the text as it was before.
        if (m_journal == Journal::Live)
            m_journal = Journal::Stale;
        if (m_snapshotting && m_writer)
            m_writer->AbortNext();
        m_snapshotting = false;
        m_baseKnown = false;
        WantSnapshot();
        return;
    }
    if (!doc.Modified())
        return;
    const std::int64_t after = doc.Length();
    if (m_journal == Journal::None && !m_snapshotting && !m_wantSnapshot &&
        !StartOverBase(after - edit.added + edit.removed)) {
        WantSnapshot();
        return;
    }
    if (edit.removed == 0 && edit.added == 0)
        return; // a change without bytes: the journal's existence says the text is modified
    const JournalEdit record{m_lastChangeMs, edit.start, edit.removed, after};
    std::string added = doc.Bytes().Slice(edit.start, edit.added);
    if (m_snapshotting)
        FollowInSnapshot(record, added);
    if (m_journal != Journal::Live || !m_writer)
        return;
    m_journalBytes += 45 + static_cast<std::int64_t>(added.size());
    m_writer->Append(record, std::move(added));
    if (!m_snapshotting && !m_wantSnapshot && m_journalBytes > std::max(after, kSmallJournal))
        WantSnapshot(); // replaying it would cost more than the text itself
}

void TRecovery::EncodingChanged()
{
    if (m_journal == Journal::Live && m_writer && m_form.Document().Modified())
        m_writer->AppendRecord(EncodeEncoding(Now(), m_form.Document().Encoding()));
    if (m_snapshotting) // the snapshot's start said the old one
        WantSnapshot();
}

void TRecovery::FileChanged()
{
    m_baseKnown = false;
    if (m_snapshotting || (m_journal == Journal::Live && !m_journalOverFile))
        return; // that journal needs no file
    if (m_journal == Journal::Live)
        m_journal = Journal::Stale; // still the best there is until the snapshot is written
    WantSnapshot();
}

bool TRecovery::StartOverBase(std::int64_t lengthBefore)
{
    const TextDocument& doc = m_form.Document();
    if (!m_baseKnown)
        return false;
    JournalIdentity id;
    id.fileName = NativePath(doc.FileName()).toStdString(); // the name's bytes, UTF-8 or not
    id.changedMs = m_lastChangeMs;
    id.encoding = doc.Encoding();
    id.baseLength = lengthBefore;
    if (!doc.FileName().isEmpty()) {
        // Over the file only while it is still what the document read.
        if (doc.FileName() != doc.StampPath() || !doc.Stamp().exists || doc.Stamp().unknown ||
            CompareStamps(doc.Stamp(), FileStampOf(doc.FileName())) != DiskChange::None)
            return false;
        id.fileStamp = doc.Stamp();
        id.overFile = true;
    } else if (lengthBefore != 0) {
        return false;
    }
    if (!EnsureWriter())
        return false;
    std::string start = EncodeJournalStart(id);
    m_journalBytes = static_cast<std::int64_t>(start.size());
    m_writer->Start(std::move(start));
    m_journal = Journal::Live;
    m_journalOverFile = id.overFile;
    m_baseKnown = false;
    return true;
}

void TRecovery::WantSnapshot()
{
    m_wantSnapshot = true;
    if (!m_retry.isActive())
        m_stepper.start(0);
}

void TRecovery::StartSnapshot()
{
    const TextDocument& doc = m_form.Document();
    m_wantSnapshot = false;
    if (!doc.Modified())
        return;
    if (!EnsureWriter()) {
        m_wantSnapshot = true;
        m_retry.start(static_cast<int>(m_idleMs));
        return;
    }
    if (m_snapshotting)
        m_writer->AbortNext();
    JournalIdentity id;
    id.fileName = NativePath(doc.FileName()).toStdString();
    id.changedMs = m_lastChangeMs ? m_lastChangeMs : Now();
    if (!doc.FileName().isEmpty() && doc.FileName() == doc.StampPath())
        id.fileStamp = doc.Stamp();
    id.encoding = doc.Encoding();
    std::string start = EncodeJournalStart(id);
    m_snapshotBytes = static_cast<std::int64_t>(start.size());
    m_writer->BeginNext(std::move(start));
    m_snapshotting = true;
    m_frontier = {};
}

void TRecovery::Step(int budgetMs)
{
    // A snapshot taken while a save writes the same text would compete with it for the disk
    // for nothing: a save that succeeds leaves nothing to protect. It waits.
    if (budgetMs >= 0 && background_save::Running()) {
        m_stepper.start(kSaveWaitMs);
        return;
    }
    if (m_wantSnapshot)
        StartSnapshot();
    if (!m_snapshotting)
        return;
    TextDocument& doc = m_form.Document();
    const WorkTimer timer(m_longestWorkMs, m_longestWorkCpuMs, budgetMs >= 0); // a wait the caller asked for is not counted
    while (m_frontier.Frontier() < doc.Length()) {
        if (m_writer->Queued() >= kInFlight) {
            if (budgetMs >= 0) {
                m_stepper.start(2); // the disk is behind: nothing more in memory meanwhile
                return;
            }
            m_writer->WaitQueuedBelow(kInFlight);
        }
        const std::int64_t n =
            std::min(static_cast<std::int64_t>(RecoveryWriter::kSliceBytes), doc.Length() - m_frontier.Frontier());
        std::string slice = m_writer->TakeBuffer();
        doc.Bytes().CopyTo(m_frontier.Frontier(), n, slice);
        m_writer->AppendNext(m_frontier.Slice(m_lastChangeMs, n), std::move(slice));
        m_snapshotBytes += 45 + n;
        if (budgetMs >= 0 && timer.ElapsedMs() >= budgetMs) {
            m_stepper.start(0);
            return;
        }
    }
    m_writer->CommitNext();
    m_snapshotting = false;
    m_journal = Journal::Live;
    m_journalOverFile = false;
    m_journalBytes = m_snapshotBytes - m_frontier.Frontier(); // what replay adds to the text
}

void TRecovery::FinishSnapshot()
{
    m_stepper.stop();
    if (m_wantSnapshot || m_snapshotting)
        Step(-1);
}

void TRecovery::FollowInSnapshot(const JournalEdit& edit, std::string_view added)
{
    if (const auto followed = m_frontier.Follow(edit, static_cast<std::int64_t>(added.size()))) {
        m_writer->AppendNext(*followed, std::string(added));
        m_snapshotBytes += 45 + static_cast<std::int64_t>(added.size());
    }
}

void TRecovery::Discard()
{
    m_retry.stop();
    m_stepper.stop();
    if (m_writer && (m_journal != Journal::None || m_snapshotting))
        m_writer->Remove();
    m_journal = Journal::None;
    m_snapshotting = false;
    m_wantSnapshot = false;
    m_baseKnown = true; // the unmodified document is what the file (or nothing) holds
}

void TRecovery::Closing()
{
    Discard();
    DropKept();
}

void TRecovery::CopyInPlace(bool moved)
{
    m_journal = moved ? Journal::Stale : Journal::None;
    m_baseKnown = false;
    WantSnapshot();
}

void TRecovery::KeepLostText()
{
    if (!m_form.Document().Modified() || !EnsureWriter())
        return; // the warning has said that nothing is protected
    m_retry.stop();
    // A journal over the file cannot give the text back once the file is what the window
    // shows: the text is written whole first (the reload that follows waits as long anyway).
    if (m_journal != Journal::Live || m_journalOverFile || m_wantSnapshot || m_snapshotting) {
        if (!m_snapshotting)
            m_wantSnapshot = true;
        FinishSnapshot();
    }
    m_writer->Flush();
    // The slot with the lost text becomes a kept one; the document's next journal goes to a
    // new slot, claimed when it is due.
    m_kept.push_back({std::move(m_slot), std::move(m_writer)});
    m_journal = Journal::None;
    m_snapshotting = false;
    m_wantSnapshot = false;
}

void TRecovery::DropKept()
{
    for (Kept& k : m_kept)
        k.writer->Remove();
    m_kept.clear(); // each writer drains (the removal last), then its lock goes
}

void TRecovery::WriteFinished(int error)
{
    if (error) {
        // Whatever failed, the file may now lack a record: a snapshot after a pause replaces it.
        if (m_journal == Journal::Live)
            m_journal = Journal::Stale;
        if (m_snapshotting && m_writer)
            m_writer->AbortNext();
        m_snapshotting = false;
        m_stepper.stop();
        m_wantSnapshot = true;
        m_retry.start(static_cast<int>(m_idleMs));
        Failed(error);
        return;
    }
    if (m_failure.isEmpty())
        return;
    QLabel* panel = m_form.StatusPanel(0);
    if (panel->text() == m_failure)
        panel->clear();
    m_failure.clear();
}

void TRecovery::Failed(int error)
{
    m_failure = tr("Unsaved changes cannot be protected: %1: %2")
                    .arg(m_folder, QString::fromStdString(SystemReason(error)));
    m_form.StatusPanel(0)->setText(m_failure);
    if (m_warned)
        return;
    m_warned = true; // before the box: its event loop may bring the next failure
    m_form.Dialogs().Warning(&m_form, m_form.windowTitle(), m_failure);
}

bool TRecovery::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == &m_form) {
        // After the activation has been handled: a box shown from inside it would be activated
        // in its turn while the window still counts as inactive.
        if (e->type() == QEvent::WindowActivate)
            QTimer::singleShot(0, this, [this] { m_form.RunGuarded([this] { m_form.CheckFileOnDisk(); }); });
        // A hint goes over the failure for as long as the pointer rests; then the failure is
        // said again.
        if (e->type() == QEvent::StatusTip && !m_failure.isEmpty() &&
            static_cast<QStatusTipEvent*>(e)->tip().isEmpty()) {
            m_form.StatusPanel(0)->setText(m_failure);
            return true;
        }
    }
    return QObject::eventFilter(watched, e);
}

void TAppForm::StartRecovery()
{
    m_recovery = std::make_unique<TRecovery>(*this);
    installEventFilter(m_recovery.get());
    connect(m_document.get(), &TextDocument::Changed, m_recovery.get(),
            [this](const DocumentEdit& edit) { m_recovery->Changed(edit); });
    connect(m_document.get(), &TextDocument::EncodingChanged, m_recovery.get(),
            [this] { m_recovery->EncodingChanged(); });
}

namespace {

QString OfferText(const OrphanCopy& orphan)
{
    const RecoveryRecord& header = orphan.Header();
    const QString name = PathFromNative(header.fileName);
    const QString when =
        QLocale::system().toString(QDateTime::fromMSecsSinceEpoch(header.changedMs), QLocale::ShortFormat);
    QString text = QStringLiteral("Quorlex did not close normally last time. A recovery copy of ") +
                   (name.isEmpty() ? QStringLiteral("an untitled document") : ShownPath(name)) +
                   QStringLiteral(", last changed ") + when + QStringLiteral(", was kept.");
    const QLocale locale = QLocale::system();
    const QString there = locale.toString(static_cast<qulonglong>(orphan.BytesThere()));
    const QString promised = locale.toString(static_cast<qulonglong>(orphan.BytesPromised()));
    if (orphan.FileChanged()) {
        // Its edits were made to a text that is gone: only what they put in can be given.
        text += QCoreApplication::translate("TRecovery", " It holds changes to the file, which has changed since: "
                                                         "%1 of its %2 bytes are there, and Restore gives those back.")
                    .arg(there, promised);
    } else if (orphan.Damaged()) {
        text += QStringLiteral(" It is damaged: ") + there + QStringLiteral(" of its ") + promised +
                QStringLiteral(" bytes are there, and Restore gives those back.");
    } else if (orphan.TailCut()) {
        text += QCoreApplication::translate("TRecovery", " It is damaged: its last changes cannot be read, and "
                                                         "Restore gives the text as it was before them.");
    }
    return text + QCoreApplication::translate("TRecovery", "\n\nRestore it? Discard deletes the copy.");
}

// The error box's text for a copy with nothing in it to give back.
QString DamagedText(const QString& path, bool setAside)
{
    return (setAside ? QCoreApplication::translate("TRecovery", "Cannot open file \"%1\". The copy is damaged; it was set aside as "
                                                             "\"%1.damaged\" and is not offered again.")
                     : QCoreApplication::translate("TRecovery", "Cannot open file \"%1\". The copy is damaged; it could not be set aside."))
        .arg(path);
}

// The file the command line names, as FormShow opens it.
QString CommandLinePath(const QStringList& arguments)
{
    QString path = arguments.join(u' ');
    qsizetype a = 0, b = path.size();
    while (a < b && path[a].unicode() <= 32)
        ++a;
    while (b > a && path[b - 1].unicode() <= 32)
        --b;
    return path.mid(a, b - a);
}

bool SameFile(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const FileStamp sa = FileStampOf(a), sb = FileStampOf(b);
    if (sa.exists && sb.exists)
        return sa.device == sb.device && sa.inode == sb.inode;
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) == QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

} // namespace

bool TAppForm::OfferRecovery()
{
    TRecovery& r = Recovery();
    const QString folder = ProgramStateFolder();
    std::vector<DamagedCopy> damaged;
    auto orphans = FindOrphanCopies(folder, &damaged);
    for (const DamagedCopy& d : damaged)
        Dialogs().Error(this, windowTitle(), DamagedText(d.path, d.setAside));
    for (const auto& orphan : orphans) {
        const QString name = PathFromNative(orphan->Header().fileName);
        switch (Dialogs().AskRestore(this, windowTitle(), OfferText(*orphan))) {
        case IDialogs::Answer::Cancel:
            return false; // kept for the next start
        case IDialogs::Answer::No:
            orphan->Discard();
            continue;
        case IDialogs::Answer::Yes:
            break;
        }
        auto record = orphan->Read();
        if (!record) {
            // Gone or unreadable since the offer: said once, and never offered again.
            Dialogs().Error(this, windowTitle(), DamagedText(orphan->DataPath(), orphan->SetAside()));
            continue;
        }
        // The bytes exactly as they were, lone line breaks included, written as the file was.
        m_document->Restore(std::move(record->text), name);
        m_document->SetEncoding(record->encoding, false);
        if (name.isEmpty())
            SetCaption(AppTitle);
        else
            SetTitleForFile();
        // Save asks before writing over the file if it changed since the copy's run knew it.
        RememberFileStamp(name, record->fileStamp);
        // The file goes on protecting the text under this run's name until its snapshot is there.
        r.CopyInPlace(r.EnsureWriter() && orphan->MoveTo(r.m_slot->DataPath()));
        return true;
    }
    return false;
}

void TAppForm::Start(const QStringList& arguments)
{
    bool restored = false;
    RunGuarded([&] { restored = OfferRecovery(); });
    if (!restored) {
        FormShow(arguments);
        return;
    }
    // The restored text is what the user looks at first: no save prompt in front of it, and
    // no other file in its place.
    const QString wanted = CommandLinePath(arguments);
    if (wanted.isEmpty() || SameFile(wanted, m_document->FileName()))
        return;
    const QString name = m_document->FileName();
    m_panels[0]->setText(tr("Restored %1; %2 was not opened")
                             .arg(name.isEmpty() ? tr("an untitled document") : FileNamePart(name), FileNamePart(wanted)));
}

void TAppForm::RememberFileStamp(const QString& path, const FileStamp& stamp)
{
    m_document->SetStamp(path, stamp);
    Recovery().m_seen = stamp;
}

void TAppForm::NoteSaved(const QString& path)
{
    Recovery().DropKept(); // the user has decided what the file holds
    if (!path.isEmpty() && path == m_document->FileName())
        RememberFileStamp(path, FileStampOf(path));
}

void TAppForm::ConfirmOverwrite(const QString& path)
{
    if (path.isEmpty() || path != m_document->StampPath())
        return;
    if (CompareStamps(m_document->Stamp(), FileStampOf(path)) != DiskChange::Changed)
        return;
    const QString text = tr("%1 was changed by another program since it was opened or saved. Overwrite it?")
                             .arg(ShownPath(path));
    if (Dialogs().AskYesNo(this, windowTitle(), text) != IDialogs::Answer::Yes)
        throw CommandCancelled();
}

void TAppForm::CheckFileOnDisk()
{
    TRecovery& r = Recovery();
    const QString path = m_document->FileName();
    // A save of ours that is writing the file is no other program's change.
    if (background_save::Running())
        return;
    if (r.m_asking || path.isEmpty() || path != m_document->StampPath())
        return;
    const FileStamp now = FileStampOf(path);
    const DiskChange change = CompareStamps(r.m_seen, now);
    if (change == DiskChange::None)
        return;
    r.m_seen = now; // asked once; again only when the file changes anew
    r.m_asking = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{r.m_asking};
    if (change == DiskChange::Deleted) {
        Dialogs().Notice(this, windowTitle(),
                         tr("%1 was deleted or moved by another program. The text is still here; Save writes the "
                            "file again.")
                             .arg(ShownPath(path)));
    } else {
        const bool unsaved = m_document->Modified();
        const QString question = (unsaved ? tr("%1 was changed by another program. Reload it and lose your changes?")
                                          : tr("%1 was changed by another program. Reload it?"))
                                     .arg(ShownPath(path));
        const auto safe = unsaved ? IDialogs::Answer::No : IDialogs::Answer::Yes;
        if (Dialogs().AskYesNo(this, windowTitle(), question, safe) == IDialogs::Answer::Yes) {
            if (unsaved)
                r.KeepLostText();
            // One step back brings the text again while the history is kept.
            m_document->Load(path, std::nullopt, ByteDocument::Undo::History);
            SetTitleForFile();
            RememberFileStamp(path, m_document->Stamp());
            return;
        }
    }
    // The text on screen is no longer what the disk holds.
    m_document->SetModified(true);
    r.FileChanged();
}

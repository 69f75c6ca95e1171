// Recovery copies of the document, their offer at start-up, and files that another program
// changed or removed while they were open.
#include "app/MainRecovery.h"

#include "app/BackgroundSave.h"
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "document/TextDocument.h"
#include "document/RecoverySlots.h"
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

// A copy of a text that a reload gave up.
struct TRecovery::Kept {
    std::unique_ptr<RecoverySlot> slot;
    std::unique_ptr<RecoveryWriter> writer;
};

TRecovery::TRecovery(TAppForm& form) : m_form(form)
{
    // Nothing is due yet: a folder that takes no copy is said when the first copy is.
    const StateFolder state = ProgramStateFolderStatus();
    m_folder = state.path;
    if (!state.error)
        m_slot = RecoverySlot::Claim(m_folder);
    if (m_slot)
        m_writer = MakeWriter(m_slot->DataPath());
    m_clock.start();
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { TakeCopy(); });
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
    return std::make_unique<RecoveryWriter>(path, [this](int error) {
        QMetaObject::invokeMethod(this, [this, error] { WriteFinished(error); }, Qt::QueuedConnection);
    });
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
    if (m_timer.isActive()) {
        m_timer.stop();
        m_waitedForSpare = true; // now, whatever the buffer
        TakeCopy();
    }
    if (m_writer)
        m_writer->WaitIdle();
    for (Kept& k : m_kept)
        k.writer->WaitIdle();
}

int TRecovery::Written() const { return m_writer ? m_writer->Written() : 0; }

void TRecovery::SetDelays(std::int64_t idleMs, std::int64_t longestMs)
{
    m_schedule = RecoverySchedule(idleMs, longestMs);
}

void TRecovery::Changed()
{
    m_lastChangeMs = QDateTime::currentMSecsSinceEpoch();
    const std::int64_t now = m_clock.elapsed();
    const std::int64_t due = m_schedule.Changed(now);
    m_timer.start(static_cast<int>(std::max<std::int64_t>(0, due - now)));
}

RecoveryRecord TRecovery::Snapshot(std::string text) const
{
    RecoveryRecord record;
    const TextDocument& doc = m_form.Document();
    record.fileName = NativePath(doc.FileName()).toStdString(); // the name's bytes, UTF-8 or not
    record.changedMs = m_lastChangeMs ? m_lastChangeMs : QDateTime::currentMSecsSinceEpoch();
    if (!doc.FileName().isEmpty() && doc.FileName() == doc.StampPath())
        record.fileStamp = doc.Stamp();
    const TextPieces bytes = doc.Bytes().Bytes();
    text.clear();
    text.reserve(static_cast<std::size_t>(bytes.Size()));
    text.assign(bytes.first);
    text.append(bytes.second);
    record.text = std::move(text);
    return record;
}

void TRecovery::TakeCopy()
{
    // A copy taken while a save writes the same text would cost the window a whole copy for
    // nothing: a save that succeeds leaves nothing to protect. It waits.
    if (background_save::Running()) {
        m_timer.start(kSpareWaitMs);
        return;
    }
    if (!m_form.Document().Modified() || !EnsureWriter()) {
        m_waitedForSpare = false;
        m_schedule.Taken(); // the next change tries again
        return;
    }
    // A big document waits a moment for a buffer the worker pages in, so that the copy made
    // here is a plain memcpy. The buffer is only asked for now, when a copy is due, so a
    // document that was merely opened costs no memory for it.
    const auto size = static_cast<std::size_t>(m_form.Document().Length());
    if (size >= kPagedInFrom && !m_waitedForSpare && !m_writer->HasSpare(size)) {
        m_writer->Prepare(size);
        m_waitedForSpare = true;
        m_timer.start(kSpareWaitMs);
        return;
    }
    m_waitedForSpare = false;
    m_schedule.Taken();
    // The only work on this thread: one copy of the bytes, into a buffer the worker has
    // already paged in. The worker writes them.
    m_writer->Write(Snapshot(m_writer->TakeSpare()));
    m_copyExists = true;
}

void TRecovery::Discard()
{
    m_timer.stop();
    m_schedule.Taken();
    if (m_writer && m_copyExists)
        m_writer->Remove();
    if (m_writer)
        m_writer->DropSpare(); // nothing to protect: give the memory back
    m_copyExists = false;
}

void TRecovery::Closing()
{
    Discard();
    DropKept();
}

void TRecovery::CopyInPlace()
{
    m_timer.stop();
    m_schedule.Taken();
    m_copyExists = true;
}

void TRecovery::KeepLostText()
{
    if (!m_form.Document().Modified() || !EnsureWriter())
        return; // the warning has said that nothing is protected
    m_timer.stop();
    m_schedule.Taken();
    m_writer->Write(Snapshot(m_writer->TakeSpare()));
    // The slot with the lost text becomes a kept one; the document's next copy goes to a new
    // slot, claimed when it is due.
    m_kept.push_back({std::move(m_slot), std::move(m_writer)});
    m_copyExists = false;
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
    connect(m_document.get(), &TextDocument::Changed, m_recovery.get(), [this] { m_recovery->Changed(); });
}

namespace {

QString OfferText(const OrphanCopy& orphan)
{
    const RecoveryRecord& header = orphan.Header();
    const QString name = PathFromNative(header.fileName);
    const QString when =
        QLocale::system().toString(QDateTime::fromMSecsSinceEpoch(header.changedMs), QLocale::ShortFormat);
    QString text = QCoreApplication::translate("TRecovery", "Quorlex did not close normally last time. A recovery copy of %1, last "
                                                           "changed %2, was kept.")
                       .arg(name.isEmpty() ? QCoreApplication::translate("TRecovery", "an untitled document") : ShownPath(name), when);
    if (orphan.Damaged()) {
        const QLocale locale = QLocale::system();
        text += QCoreApplication::translate("TRecovery", " It is damaged: %1 of its %2 bytes are there, and Restore gives those back.")
                    .arg(locale.toString(static_cast<qulonglong>(orphan.BytesThere())),
                         locale.toString(static_cast<qulonglong>(orphan.BytesPromised())));
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
        // The bytes exactly as they were, lone line breaks included.
        m_document->Restore(std::move(record->text), name);
        if (name.isEmpty())
            SetCaption(AppTitle);
        else
            SetTitleForFile();
        // Save asks before writing over the file if it changed since the copy's run knew it.
        RememberFileStamp(name, record->fileStamp);
        if (r.EnsureWriter() && orphan->MoveTo(r.m_slot->DataPath()))
            r.CopyInPlace(); // the copy goes on protecting the text under this run's name
        else
            r.TakeCopy();
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
    r.Changed();
}

// Recovery copies of the document, their offer at start-up, and files that another program
// changed or removed while they were open.
#include "app/MainRecovery.h"

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "document/TextDocument.h"
#include "document/RecoverySlots.h"
#include "document/RecoveryWriter.h"
#include "platform/Error.h"
#include "platform/NativePath.h"
#include "platform/ProgramFolder.h"

#include <QDateTime>
#include <QEvent>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

TRecovery::TRecovery(TAppForm& form) : m_form(form)
{
    m_slot = RecoverySlot::Claim(ProgramStateFolder());
    if (m_slot)
        m_writer = std::make_unique<RecoveryWriter>(m_slot->DataPath());
    m_clock.start();
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { TakeCopy(); });
}

TRecovery::~TRecovery() = default;

QString TRecovery::FilePath() const { return m_slot ? m_slot->DataPath() : QString(); }

void TRecovery::WaitIdle()
{
    if (m_timer.isActive()) {
        m_timer.stop();
        m_waitedForSpare = true; // now, whatever the buffer
        TakeCopy();
    }
    if (m_writer)
        m_writer->WaitIdle();
}

int TRecovery::Written() const { return m_writer ? m_writer->Written() : 0; }

void TRecovery::SetDelays(std::int64_t idleMs, std::int64_t longestMs)
{
    m_schedule = RecoverySchedule(idleMs, longestMs);
}

void TRecovery::Changed()
{
    if (!m_writer)
        return;
    m_lastChangeMs = QDateTime::currentMSecsSinceEpoch();
    const std::int64_t now = m_clock.elapsed();
    const std::int64_t due = m_schedule.Changed(now);
    m_timer.start(static_cast<int>(std::max<std::int64_t>(0, due - now)));
}

void TRecovery::TakeCopy()
{
    if (m_writer && m_form.Document().Modified()) {
        // A big document waits a moment for a buffer the worker pages in, so that the copy
        // made here is a plain memcpy. The buffer is only asked for now, when a copy is due,
        // so a document that was merely opened costs no memory for it.
        const auto size = static_cast<std::size_t>(m_form.Document().Length());
        if (size >= kPagedInFrom && !m_waitedForSpare && !m_writer->HasSpare(size)) {
            m_writer->Prepare(size);
            m_waitedForSpare = true;
            m_timer.start(kSpareWaitMs);
            return;
        }
    }
    m_waitedForSpare = false;
    m_schedule.Taken();
    if (!m_writer || !m_form.Document().Modified())
        return;
    RecoveryRecord record;
    const TextDocument& doc = m_form.Document();
    record.fileName = NativePath(doc.FileName()).toStdString(); // the name's bytes, UTF-8 or not
    record.changedMs = m_lastChangeMs ? m_lastChangeMs : QDateTime::currentMSecsSinceEpoch();
    if (!doc.FileName().isEmpty() && doc.FileName() == doc.StampPath())
        record.fileStamp = doc.Stamp();
    // The only work on this thread: one copy of the bytes, into a buffer the worker has
    // already paged in. The worker writes them.
    const TextPieces bytes = doc.Bytes().Bytes();
    record.text = m_writer->TakeSpare();
    record.text.reserve(static_cast<std::size_t>(bytes.Size()));
    record.text.assign(bytes.first);
    record.text.append(bytes.second);
    m_writer->Write(std::move(record));
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

void TRecovery::CopyInPlace()
{
    m_timer.stop();
    m_schedule.Taken();
    m_copyExists = true;
}

bool TRecovery::eventFilter(QObject* watched, QEvent* e)
{
    // After the activation has been handled: a box shown from inside it would be activated
    // in its turn while the window still counts as inactive.
    if (watched == &m_form && e->type() == QEvent::WindowActivate)
        QTimer::singleShot(0, this, [this] { m_form.RunGuarded([this] { m_form.CheckFileOnDisk(); }); });
    return QObject::eventFilter(watched, e);
}

void TAppForm::StartRecovery()
{
    m_recovery = std::make_unique<TRecovery>(*this);
    installEventFilter(m_recovery.get());
    connect(m_document.get(), &TextDocument::Changed, m_recovery.get(), [this] { m_recovery->Changed(); });
}

bool TAppForm::OfferRecovery()
{
    TRecovery& r = Recovery();
    const QString folder = r.m_slot ? QFileInfo(r.m_slot->DataPath()).path() : QString();
    for (const auto& orphan : FindOrphanCopies(folder)) {
        const RecoveryRecord& header = orphan->Header();
        const QString name = PathFromNative(header.fileName);
        const QString when = QLocale::system().toString(QDateTime::fromMSecsSinceEpoch(header.changedMs),
                                                        QLocale::ShortFormat);
        const QString text = QStringLiteral("Quorlex did not close normally last time. A recovery copy of ") +
                             (name.isEmpty() ? QStringLiteral("an untitled document") : ShownPath(name)) +
                             QStringLiteral(", last changed ") + when +
                             QStringLiteral(", was kept.\n\nRestore it? Discard deletes the copy.");
        switch (Dialogs().AskRestore(this, windowTitle(), text)) {
        case IDialogs::Answer::Cancel:
            return false; // kept for the next start
        case IDialogs::Answer::No:
            orphan->Discard();
            continue;
        case IDialogs::Answer::Yes:
            break;
        }
        auto record = orphan->Read();
        if (!record)
            throw QuorlexError("Cannot open file \"" + orphan->DataPath().toStdString() + "\". The copy is damaged");
        // The bytes exactly as they were, lone line breaks included.
        m_document->Restore(std::move(record->text), name);
        if (name.isEmpty())
            SetCaption(AppTitle);
        else
            SetTitleForFile();
        // Save asks before writing over the file if it changed since the copy's run knew it.
        RememberFileStamp(name, record->fileStamp);
        if (r.m_slot && orphan->MoveTo(r.m_slot->DataPath()))
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
    if (restored && !arguments.isEmpty()) {
        // The command line's file would take the place of the restored text: ask first.
        bool proceed = false;
        RunGuarded([&] { proceed = MaybeSave(false, false); });
        if (!proceed)
            return;
    }
    FormShow(arguments);
}

void TAppForm::RememberFileStamp(const QString& path, const FileStamp& stamp)
{
    m_document->SetStamp(path, stamp);
    Recovery().m_seen = stamp;
}

void TAppForm::NoteSaved(const QString& path)
{
    if (!path.isEmpty() && path == m_document->FileName())
        RememberFileStamp(path, FileStampOf(path));
}

void TAppForm::ConfirmOverwrite(const QString& path)
{
    if (path.isEmpty() || path != m_document->StampPath())
        return;
    if (CompareStamps(m_document->Stamp(), FileStampOf(path)) != DiskChange::Changed)
        return;
    const QString text = ShownPath(path) + QStringLiteral(" was changed by another program since it was opened or "
                                                          "saved. Overwrite it?");
    if (Dialogs().AskYesNo(this, windowTitle(), text) != IDialogs::Answer::Yes)
        throw CommandCancelled();
}

void TAppForm::CheckFileOnDisk()
{
    TRecovery& r = Recovery();
    const QString path = m_document->FileName();
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
                         ShownPath(path) + QStringLiteral(" was deleted or moved by another program. The text is "
                                                                     "still here; Save writes the file again."));
    } else if (Dialogs().AskYesNo(this, windowTitle(),
                                  ShownPath(path) + QStringLiteral(" was changed by another program. Reload it?")) ==
               IDialogs::Answer::Yes) {
        LoadDocument(path);
        return;
    }
    // The text on screen is no longer what the disk holds.
    m_document->SetModified(true);
    r.Changed();
}

// The document's file commands, the save prompt and dropped files.
#include "app/BackgroundSave.h"
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "editor/Memo.h"
#include "document/TextDocument.h"
#include "document/TextFile.h"
#include "platform/FileStamp.h"
#include "platform/NativePath.h"
#include "platform/ProgramFolder.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

#include <sys/stat.h>

// The script's result: one change of the document, undoable when the history is kept.
void TAppForm::LoadTextFile(const QString& path) { m_document->SetWholeTextNormalized(ReadFileBytes(path)); }

void TAppForm::LoadDocument(const QString& path)
{
    // A load that fails keeps the previous name, so a later Save cannot write the old text
    // over the file that did not open.
    m_document->Load(path);
    SetTitleForFile();
    RememberFileStamp(path, m_document->Stamp());
    NoteRecentFile(path);
}

void TAppForm::SaveDocument(const QString& path)
{
    ConfirmOverwrite(path);
    // The bytes go to disk from a worker while the window paints; the keys typed meanwhile
    // wait and arrive once this command has ended (RunGuarded), so the text cannot change
    // under the write.
    QLabel* panel = m_panels[0];
    const QString before = panel->text();
    panel->setText(tr("Saving %1...").arg(ShownPath(FileNamePart(path))));
    struct Restore {
        QLabel* panel;
        const QString& text;
        ~Restore() { panel->setText(text); }
    } restore{panel, before};
    const TextDocument& document = *m_document;
    background_save::Run(this, Memo1, path, document.Length(), DocumentWriteSetup(),
                         [&document, &path](const WriteSetup& setup) { document.WriteTo(path, setup); });
    NoteSaved(path);
}

void TAppForm::SetTitleForFile()
{
    SetCaption(AppTitle + QStringLiteral(" - ") + ShownPath(FileNamePart(m_document->FileName())));
}

void TAppForm::ResetToUntitled()
{
    m_document->Reset();
    SetCaption(AppTitle);
}

QString TAppForm::SavePromptText(bool closing) const
{
    const QString& name = m_document->FileName();
    if (name.isEmpty())
        return closing ? tr("Do you want to save the current file before exit?")
                       : tr("Do you want to save the current file?");
    return (closing ? tr("Do you want to save %1 before exit?") : tr("Do you want to save %1?")).arg(ShownPath(name));
}

QString TAppForm::WithDefaultExtension(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty() || QFileInfo(path).fileName().endsWith(u'.'))
        return path;
    return path + QStringLiteral(".txt");
}

QString TAppForm::OpenDialogPath(const QString& typed)
{
    struct stat st {};
    if (typed.isEmpty() || ::stat(NativePath(typed).constData(), &st) == 0)
        return typed;
    return WithDefaultExtension(typed);
}

std::optional<QString> TAppForm::AskSavePathUnpreset()
{
    auto chosen = Dialogs().SaveFileName(this, m_lastSaveName);
    if (!chosen)
        return std::nullopt;
    const QString path = WithDefaultExtension(*chosen);
    m_lastSaveName = path;
    return path;
}

bool TAppForm::MaybeSave(bool closing, bool nameDocument)
{
    if (!m_document->Modified())
        return true;
    switch (Dialogs().AskSave(this, SavePromptText(closing))) {
    case IDialogs::Answer::Yes: {
        QString path = m_document->FileName();
        if (path.isEmpty()) {
            const auto chosen = AskSavePathUnpreset();
            if (!chosen)
                return false;
            path = *chosen;
        }
        SaveDocument(path);
        if (nameDocument || path == m_document->FileName()) {
            m_document->SetFileName(path);
            m_document->SetModified(false);
            SetTitleForFile();
        }
        return true;
    }
    case IDialogs::Answer::No:
        return true;
    case IDialogs::Answer::Cancel:
        return false;
    }
    return false;
}

void TAppForm::FileNew1Execute()
{
    StopSimulator();
    if (MaybeSave(false, false))
        ResetToUntitled();
}

void TAppForm::FileOpen1Execute()
{
    StopSimulator();
    if (!MaybeSave(false, true))
        return;
    if (const auto path = Dialogs().OpenFileName(this))
        LoadDocument(OpenDialogPath(*path));
}

void TAppForm::FileSave1Execute()
{
    if (m_document->FileName().isEmpty()) {
        SaveAs();
        return;
    }
    SaveDocument(m_document->FileName());
    m_document->SetModified(false);
}

void TAppForm::FileSaveAsItemClick() { SaveAs(); }

void TAppForm::SaveAs()
{
    const QString& name = m_document->FileName();
    const QString preset = name.isEmpty() ? tr("Noname") : name;
    const auto chosen = Dialogs().SaveFileName(this, preset);
    if (!chosen)
        return;
    const QString path = WithDefaultExtension(*chosen);
    m_lastSaveName = path;
    m_document->SetFileName(path);
    SaveDocument(path);
    m_document->SetModified(false);
    SetTitleForFile();
    NoteRecentFile(path);
}

void TAppForm::FileExit1Execute() { close(); }

bool TAppForm::FormCloseQuery() { return MaybeSave(true, false); }

void TAppForm::DropFiles(const QStringList& paths)
{
    for (const QString& path : paths)
        if (MaybeSave(false, true))
            LoadDocument(path);
}

void TAppForm::dragEnterEvent(QDragEnterEvent* e)
{
    if (e->mimeData()->hasUrls())
        e->acceptProposedAction();
}

void TAppForm::dropEvent(QDropEvent* e)
{
    QStringList paths;
    for (const QUrl& url : e->mimeData()->urls())
        if (url.isLocalFile())
            paths << PathFromFileUrl(url); // the whole path, however long, as its bytes
    e->acceptProposedAction();
    RunGuarded([&] { DropFiles(paths); });
}

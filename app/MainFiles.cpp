// The document's file commands, the save prompt and dropped files.
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/Memo.h"
#include "document/TextFile.h"
#include "platform/FileStamp.h"
#include "platform/ProgramFolder.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

void TAppForm::LoadTextFile(const QString& path) { Memo1->AdoptText(ReadFileBytes(path)); }

void TAppForm::LoadDocument(const QString& path)
{
    // Read first: a load that fails keeps the previous name, so a later Save cannot write the
    // old text over the file that did not open.
    const FileStamp onDisk = FileStampOf(path); // before the read: a change during it shows later
    LoadUserFile(path);
    CurrentFileName = path;
    SetModified(false);
    SetTitleForFile();
    RememberFileStamp(onDisk);
}

void TAppForm::SaveDocument(const QString& path)
{
    ConfirmOverwrite(path);
    WriteFileBytes(path, FileBytesOfDocument());
    NoteSaved(path);
}

void TAppForm::SetTitleForFile() { SetCaption(AppTitle + QStringLiteral(" - ") + FileNamePart(CurrentFileName)); }

void TAppForm::ResetToUntitled()
{
    SetModified(false);
    CurrentFileName.clear();
    Memo1->Clear();
    StatusPanel(2)->setText(QStringLiteral("0 Lines"));
    StatusPanel(3)->setText(QStringLiteral("0 Bytes"));
    SetEncoding({});
    SetCaption(AppTitle);
}

QString TAppForm::SavePromptText(bool closing) const
{
    const QString tail = closing ? QStringLiteral(" before exit?") : QStringLiteral("?");
    if (CurrentFileName.isEmpty())
        return closing ? QStringLiteral("Do you want to save the current file before exit?")
                       : QStringLiteral("Do you want to save the current file?");
    return QStringLiteral("Do you want to save ") + CurrentFileName + tail;
}

QString TAppForm::WithDefaultExtension(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty() || QFileInfo(path).fileName().endsWith(u'.'))
        return path;
    return path + QStringLiteral(".txt");
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

void TAppForm::FileNew1Execute()
{
    StopSimulator();
    if (!IsModified()) {
        ResetToUntitled();
        return;
    }
    if (AskToSaveKeepingName(false))
        ResetToUntitled();
}

void TAppForm::FileOpen1Execute()
{
    StopSimulator();
    if (IsModified()) {
        switch (Dialogs().AskSave(this, SavePromptText(false))) {
        case IDialogs::Answer::Yes:
            if (!CurrentFileName.isEmpty()) {
                SaveDocument(CurrentFileName);
                SetModified(false);
            } else {
                const auto path = AskSavePathUnpreset();
                if (!path)
                    return;
                CurrentFileName = *path;
                SaveDocument(CurrentFileName);
                SetModified(false);
                SetTitleForFile();
            }
            break;
        case IDialogs::Answer::No:
            break;
        case IDialogs::Answer::Cancel:
            return;
        }
    }
    if (const auto path = Dialogs().OpenFileName(this))
        LoadDocument(*path);
}

void TAppForm::FileSave1Execute()
{
    if (CurrentFileName.isEmpty()) {
        SaveAs();
        return;
    }
    SaveDocument(CurrentFileName);
    SetModified(false);
}

void TAppForm::FileSaveAsItemClick() { SaveAs(); }

void TAppForm::SaveAs()
{
    const QString preset = CurrentFileName.isEmpty() ? QStringLiteral("Noname") : CurrentFileName;
    const auto chosen = Dialogs().SaveFileName(this, preset);
    if (!chosen)
        return;
    CurrentFileName = WithDefaultExtension(*chosen);
    m_lastSaveName = CurrentFileName;
    SaveDocument(CurrentFileName);
    SetModified(false);
    SetTitleForFile();
}

void TAppForm::FileExit1Execute() { close(); }

bool TAppForm::FormCloseQuery()
{
    return !IsModified() || AskToSaveKeepingName(true);
}

bool TAppForm::AskToSaveKeepingName(bool closing)
{
    switch (Dialogs().AskSave(this, SavePromptText(closing))) {
    case IDialogs::Answer::Yes:
        if (!CurrentFileName.isEmpty()) {
            SaveDocument(CurrentFileName);
            return true;
        }
        if (const auto path = AskSavePathUnpreset()) {
            SaveDocument(*path);
            return true;
        }
        return false;
    case IDialogs::Answer::No:
        return true;
    case IDialogs::Answer::Cancel:
        return false;
    }
    return false;
}

void TAppForm::DropFiles(const QStringList& paths)
{
    for (const QString& path : paths) {
        if (!IsModified()) {
            LoadDocument(path);
            continue;
        }
        switch (Dialogs().AskSave(this, SavePromptText(false))) {
        case IDialogs::Answer::Yes:
            if (!CurrentFileName.isEmpty()) {
                SaveDocument(CurrentFileName);
                SetModified(false);
                LoadDocument(path);
            } else if (const auto chosen = AskSavePathUnpreset()) {
                CurrentFileName = *chosen;
                SaveDocument(CurrentFileName);
                LoadDocument(path);
            }
            break;
        case IDialogs::Answer::No:
            LoadDocument(path);
            break;
        case IDialogs::Answer::Cancel:
            break;
        }
    }
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
            paths << url.toLocalFile(); // the whole path, however long
    e->acceptProposedAction();
    RunGuarded([&] { DropFiles(paths); });
}

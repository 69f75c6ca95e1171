// File > Recent Files: the files last opened or saved under a new name, newest first.
#include "app/MainWindow.h"
#include "document/TextDocument.h"
#include "platform/NativePath.h"

#include <QAction>
#include <QDir>
#include <QMenu>

#include <sys/stat.h>

#include <algorithm>

namespace {

// settings.ini keeps the bytes of a file's name, UTF-8 or not; the menu shows them decoded.
QString NameOf(const std::string& bytes) { return PathFromNative(bytes); }
std::string BytesOf(const QString& path) { return NativePath(path).toStdString(); }

bool Exists(const QString& path)
{
    struct stat st {};
    return ::stat(NativePath(path).constData(), &st) == 0;
}

} // namespace

void TAppForm::CreateRecentFilesMenu(QMenu* file)
{
    RecentFiles1 = file->addMenu(tr("Recent &Files"));
    RecentFiles1->setObjectName(QStringLiteral("RecentFiles1"));
    RecentFiles1->menuAction()->setStatusTip(tr("Open a file used lately"));
    for (int i = 0; i < Options::kRecentFiles; ++i) {
        QAction* item = RecentFiles1->addAction(QString());
        item->setObjectName(QStringLiteral("RecentFile%1").arg(i + 1));
        connect(item, &QAction::triggered, this, [this, i] { RunGuarded([this, i] { OpenRecentFile(i); }); });
        m_recentItems[i] = item;
    }
    RecentFiles1->addSeparator();
    ClearRecentFiles1 = RecentFiles1->addAction(tr("&Clear List"));
    ClearRecentFiles1->setObjectName(QStringLiteral("ClearRecentFiles1"));
    ClearRecentFiles1->setStatusTip(tr("Empty the list of recent files"));
    connect(ClearRecentFiles1, &QAction::triggered, this, [this] { RunGuarded([this] { ClearRecentFiles1Click(); }); });
    ShowRecentFiles();
}

void TAppForm::ShowRecentFiles()
{
    const std::vector<std::string>& files = m_options.recentFiles;
    for (int i = 0; i < Options::kRecentFiles; ++i) {
        QAction* item = m_recentItems[i];
        const bool used = i < static_cast<int>(files.size());
        item->setVisible(used);
        if (!used)
            continue;
        QString name = ShownPath(NameOf(files[static_cast<std::size_t>(i)]));
        item->setStatusTip(name);
        item->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(name.replace(u'&', QStringLiteral("&&"))));
    }
    RecentFiles1->menuAction()->setEnabled(!files.empty());
}

void TAppForm::WriteRecentFiles()
{
    ShowRecentFiles();
    m_store->WriteRecentFiles(m_options.recentFiles);
}

void TAppForm::NoteRecentFile(const QString& path)
{
    if (path.isEmpty())
        return;
    std::vector<std::string>& files = m_options.recentFiles;
    const std::string name = BytesOf(QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path));
    if (!files.empty() && files.front() == name)
        return; // written only when the list changes
    files.erase(std::remove(files.begin(), files.end(), name), files.end());
    files.insert(files.begin(), name);
    if (files.size() > static_cast<std::size_t>(Options::kRecentFiles))
        files.resize(Options::kRecentFiles);
    WriteRecentFiles();
}

void TAppForm::ForgetRecentFile(const QString& path)
{
    std::vector<std::string>& files = m_options.recentFiles;
    const auto gone = std::remove(files.begin(), files.end(), BytesOf(path));
    if (gone == files.end())
        return;
    files.erase(gone, files.end());
    WriteRecentFiles();
}

// As Open does, the save prompt first; a file that has gone since is reported by the load's own
// error and leaves the list.
void TAppForm::OpenRecentFile(int index)
{
    if (index >= static_cast<int>(m_options.recentFiles.size()))
        return;
    const QString path = NameOf(m_options.recentFiles[static_cast<std::size_t>(index)]);
    StopSimulator();
    if (!MaybeSave(false, true))
        return;
    try {
        LoadDocument(path);
    } catch (...) {
        if (!Exists(path))
            ForgetRecentFile(path);
        throw;
    }
}

void TAppForm::ClearRecentFiles1Click()
{
    m_options.recentFiles.clear();
    WriteRecentFiles();
}

#include "platform/ProgramFolder.h"

#include "platform/FileFolders.h"
#include "platform/NativePath.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Symbolic links resolved, so a link in a bin folder still finds the files of its real home.
QString ExecutableFolder()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::canonical("/proc/self/exe", ec);
    if (ec)
        return QDir::currentPath();
    return QString::fromStdString(exe.parent_path().string());
}

QString Environment(const char* name)
{
    if (const char* value = std::getenv(name); value && *value)
        return QString::fromLocal8Bit(value);
    // A session without HOME still has a home folder in the password database.
    if (std::string_view(name) == "HOME")
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
            return QString::fromLocal8Bit(pw->pw_dir);
    return QString();
}

struct FileEntry {
    const char* name;
    enum { Config, Cache, ReadOnly } kind;
};

FileEntry EntryOf(ProgramFile file)
{
    switch (file) {
    case ProgramFile::SettingsIni: return {"settings.ini", FileEntry::Config};
    case ProgramFile::ExtractForm: return {"extractform.txt", FileEntry::Config};
    case ProgramFile::Temp: return {"temp.txt", FileEntry::Cache};
    case ProgramFile::Temp001: return {"temp001.txt", FileEntry::Cache};
    case ProgramFile::Temp002: return {"temp002.txt", FileEntry::Cache};
    case ProgramFile::Temp003: return {"temp003.txt", FileEntry::Cache};
    case ProgramFile::VersionHistory: return {"versions.txt", FileEntry::ReadOnly};
    case ProgramFile::ExtractHelp: return {"extract_help.htm", FileEntry::ReadOnly};
    case ProgramFile::ExtractHelpTr: return {"extract_help_tr.htm", FileEntry::ReadOnly};
    }
    std::abort();
}

FileFolders FoldersOfThisRun()
{
    const QString exe = ExecutableFolder();
    return ChooseFileFolders(exe, Environment, ::access(QFile::encodeName(exe).constData(), W_OK) == 0);
}

} // namespace

bool MakePrivateFolder(const QString& folder, int* error)
{
    const auto fail = [error](int err) {
        if (error)
            *error = err;
        return false;
    };
    if (folder.isEmpty())
        return fail(ENOENT);
    const QByteArray native = QFile::encodeName(folder);
    for (qsizetype slash = native.indexOf('/', 1);; slash = native.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? native : native.left(slash);
        if (::mkdir(part.constData(), 0700) == 0)
            ::chmod(part.constData(), 0700); // whatever the umask left out
        else if (errno != EEXIST)
            return fail(errno);
        if (slash < 0)
            break;
    }
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return fail(errno);
    if (!S_ISDIR(st.st_mode))
        return fail(ENOTDIR);
    return true;
}

StateFolder ProgramStateFolderStatus()
{
    const FileFolders folders = FoldersOfThisRun();
    StateFolder state{folders.state, 0};
    if (folders.portable) {
        // The program folder is the user's to make; it is only looked at.
        struct stat st {};
        if (::stat(QFile::encodeName(state.path).constData(), &st) != 0)
            state.error = errno;
        else if (!S_ISDIR(st.st_mode))
            state.error = ENOTDIR;
    } else {
        MakePrivateFolder(state.path, &state.error);
    }
    return state;
}

QString ProgramStateFolder()
{
    const StateFolder state = ProgramStateFolderStatus();
    return state.error ? QString() : state.path;
}

QString ProgramFilePath(ProgramFile file)
{
    const FileFolders folders = FoldersOfThisRun();
    const FileEntry entry = EntryOf(file);
    const QString name = QString::fromLatin1(entry.name);
    switch (entry.kind) {
    case FileEntry::ReadOnly: {
        const QString installed = folders.data + u'/' + name;
        return QFileInfo::exists(installed) ? installed : folders.fallback + u'/' + name;
    }
    case FileEntry::Config:
    case FileEntry::Cache: {
        const QString& folder = entry.kind == FileEntry::Config ? folders.config : folders.cache;
        // A failure is left to the write that follows, which reports it with the file's name.
        if (!folders.portable)
            MakePrivateFolder(folder);
        return folder + u'/' + name;
    }
    }
    std::abort();
}

QString FileNamePart(const QString& path) { return path.mid(path.lastIndexOf(u'/') + 1); }

QString ToShortPathName(const QString& path)
{
    struct stat st {};
    if (path.isEmpty() || ::stat(NativePath(path).constData(), &st) != 0)
        return QString();
    return path;
}

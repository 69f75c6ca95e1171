#include "platform/ProgramFolder.h"

#include "platform/FileFolders.h"

#include <QDir>
#include <QFileInfo>

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

// Creates the missing folders of `path`, each private to the user. Failure is left to the
// write that follows, which reports it with the file's name.
void MakePrivateFolder(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    std::string partial;
    for (std::string_view rest(native.constData(), native.size()); !rest.empty();) {
        const std::size_t slash = rest.find('/', 1);
        partial += rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
        if (::mkdir(partial.c_str(), 0700) == 0)
            ::chmod(partial.c_str(), 0700); // whatever the umask left out
    }
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
    }
    std::abort();
}

} // namespace

QString ProgramFilePath(ProgramFile file)
{
    const QString exe = ExecutableFolder();
    const FileFolders folders =
        ChooseFileFolders(exe, Environment, ::access(QFile::encodeName(exe).constData(), W_OK) == 0);
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
    if (path.isEmpty() || !QFileInfo::exists(path))
        return QString();
    return path;
}

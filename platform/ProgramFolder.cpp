#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

#include <cstdlib>
#include <filesystem>

QString ProgramFolder()
{
    const char* home = std::getenv("QUORLEX_HOME");
    if (home && *home) {
        QString folder = QString::fromLocal8Bit(home);
        while (folder.size() > 1 && folder.endsWith(u'/'))
            folder.chop(1);
        return folder;
    }
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::canonical("/proc/self/exe", ec);
    if (ec)
        return QDir::currentPath();
    return QString::fromStdString(exe.parent_path().string());
}

QString ProgramFilePath(const QString& name) { return ProgramFolder() + u'/' + name; }

QString FileNamePart(const QString& path) { return path.mid(path.lastIndexOf(u'/') + 1); }

QString ToShortPathName(const QString& path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return QString();
    return path;
}

#include "platform/FileFolders.h"

#include <QDir>

namespace {

QString Clean(const QString& path) { return QDir::cleanPath(path); }

// XDG ignores relative values: they would depend on the folder the program was started in.
QString XdgFolder(const EnvironmentLookup& env, const char* variable, const char* underHome)
{
    const QString value = env(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return Clean(value);
    return Clean(env("HOME") + u'/' + QString::fromLatin1(underHome));
}

// Root can write to these, yet a program installed there must not scatter its files beside
// the system's programs.
bool IsSystemProgramFolder(const QString& folder)
{
    static const QString kSystem[] = {QStringLiteral("/bin"), QStringLiteral("/usr/bin"),
                                      QStringLiteral("/usr/local/bin"), QStringLiteral("/usr/games")};
    for (const QString& s : kSystem)
        if (folder == s)
            return true;
    return false;
}

} // namespace

FileFolders ChooseFileFolders(const QString& executableFolder, const EnvironmentLookup& env,
                              bool executableFolderWritable)
{
    const QString exe = Clean(executableFolder);
    FileFolders f;
    f.data = Clean(exe + QStringLiteral("/../share/quorlex"));
    const QString home = env("QUORLEX_HOME");
    if (!home.isEmpty() || (executableFolderWritable && !IsSystemProgramFolder(exe))) {
        f.portable = true;
        f.fallback = home.isEmpty() ? exe : Clean(home);
        f.config = f.cache = f.state = f.fallback;
        return f;
    }
    f.fallback = exe;
    f.config = XdgFolder(env, "XDG_CONFIG_HOME", ".config") + QStringLiteral("/quorlex");
    f.cache = XdgFolder(env, "XDG_CACHE_HOME", ".cache") + QStringLiteral("/quorlex");
    f.state = XdgFolder(env, "XDG_STATE_HOME", ".local/state") + QStringLiteral("/quorlex");
    return f;
}

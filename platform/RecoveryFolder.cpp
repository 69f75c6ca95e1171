#include "platform/RecoveryFolder.h"

#include "platform/ProgramFolder.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? QString::fromLocal8Bit(value) : QString();
}

} // namespace

QString ChooseRecoveryFolder(bool portable, const QString& programFolder, const QString& stateHome,
                             const QString& home)
{
    if (portable)
        return programFolder;
    // The base directory specification ignores a relative value.
    if (stateHome.startsWith(u'/'))
        return stateHome + QStringLiteral("/quorlex");
    if (home.isEmpty())
        return QString();
    return home + QStringLiteral("/.local/state/quorlex");
}

bool MakePrivateFolder(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    const QByteArray native = QFile::encodeName(folder);
    for (qsizetype slash = native.indexOf('/', 1); ; slash = native.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? native : native.left(slash);
        if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash < 0)
            break;
    }
    return QFileInfo(folder).isDir();
}

QString RecoveryFolder()
{
    const QString program = ProgramFolder();
    const bool portable =
        !Env("QUORLEX_HOME").isEmpty() || ::access(QFile::encodeName(program).constData(), W_OK) == 0;
    const QString folder = ChooseRecoveryFolder(portable, program, Env("XDG_STATE_HOME"), Env("HOME"));
    return MakePrivateFolder(folder) ? folder : QString();
}

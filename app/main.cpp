#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/SessionEnd.h"
#include "app/Translation.h"
#include "platform/NativePath.h"

#include <QApplication>
#include <QSessionManager>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <optional>

namespace {

// %1: the version.
const char kHelp[] = QT_TRANSLATE_NOOP("main",
    "Usage: quorlex [FILE]\n"
    "       quorlex --help | --version\n"
    "\n"
    "Quorlex %1, a plain-text editor for 8-bit text files (Windows-1254).\n"
    "All arguments together name the one file to open, so a name with blanks may be given\n"
    "without quotes.\n"
    "\n"
    "Settings (settings.ini) and the last extraction script (extractform.txt) are kept in\n"
    "$XDG_CONFIG_HOME/quorlex, working files in $XDG_CACHE_HOME/quorlex. When QUORLEX_HOME\n"
    "names a folder, or the program's own folder is writable, every file is kept there.\n"
    "\n"
    "See quorlex(1) for more.\n");

// `--help` and `--version` mean themselves only when alone: any other command line is a file
// name, whatever it starts with. They are answered before the toolkit starts, so they need
// no display.
std::optional<QByteArray> InformationText(int argc, char* argv[])
{
    if (argc != 2)
        return std::nullopt;
    if (std::strcmp(argv[1], "--help") == 0)
        return TranslatedBeforeStart("main", kHelp).arg(QStringLiteral(QUORLEX_VERSION)).toUtf8();
    if (std::strcmp(argv[1], "--version") == 0)
        return QByteArray("Quorlex " QUORLEX_VERSION "\n");
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[])
{
    if (const auto text = InformationText(argc, argv)) {
        std::fputs(text->constData(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

    QApplication app(argc, argv);
    SetUpApplication();
    InstallTranslations(app);
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUORLEX_APP_ID));
    TAppForm form;
    // The manager is only valid during the signal: answer it on the spot.
    QObject::connect(
        &app, &QGuiApplication::commitDataRequest, &form,
        [&form](QSessionManager& manager) { CommitSessionData(form, manager); }, Qt::DirectConnection);
    form.show();
    // argv itself: what Qt left of it once it took its own options, as the system's bytes.
    const QStringList arguments = ArgumentsFromArgv(argc, argv);
    QTimer::singleShot(0, &form, [&form, arguments] { form.Start(arguments); });
    return QApplication::exec();
}

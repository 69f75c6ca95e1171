#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/SessionEnd.h"
#include "platform/NativePath.h"

#include <QApplication>
#include <QSessionManager>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

const char kHelp[] =
    "Usage: quorlex [FILE]\n"
    "       quorlex --help | --version\n"
    "\n"
    "Quorlex " QUORLEX_VERSION ", a plain-text editor for 8-bit text files (Windows-1254).\n"
    "All arguments together name the one file to open, so a name with blanks may be given\n"
    "without quotes.\n"
    "\n"
    "Settings (settings.ini) and the last extraction script (extractform.txt) are kept in\n"
    "$XDG_CONFIG_HOME/quorlex, working files in $XDG_CACHE_HOME/quorlex. When QUORLEX_HOME\n"
    "names a folder, or the program's own folder is writable, every file is kept there.\n"
    "\n"
    "See quorlex(1) for more.\n";

// `--help` and `--version` mean themselves only when alone: any other command line is a file
// name, whatever it starts with. They are answered before the toolkit starts, so they need
// no display.
const char* InformationText(int argc, char* argv[])
{
    if (argc != 2)
        return nullptr;
    if (std::strcmp(argv[1], "--help") == 0)
        return kHelp;
    if (std::strcmp(argv[1], "--version") == 0)
        return "Quorlex " QUORLEX_VERSION "\n";
    return nullptr;
}

} // namespace

int main(int argc, char* argv[])
{
    if (const char* text = InformationText(argc, argv)) {
        std::fputs(text, stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

    QApplication app(argc, argv);
    SetUpApplication();
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

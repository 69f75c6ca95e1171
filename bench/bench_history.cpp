// The undo history on the 50 MB / 1,000,000-line corpus: Undo and Redo of whole-document
// commands from the menu to an idle window, typing with the history on and off, and the peak
// memory the history costs. The peak is per process, so each memory figure is a run of its own:
//   bench_history               the timings, then the two memory runs as child processes
//   bench_history --peak sort   Sort Lines alone, history off (the reference)
//   bench_history --peak undo   Sort, Undo and Redo with the history on
//   bench_history --keys        typing alone, history off then on (for a profiler)
#include "app/MainWindow.h"
#include "bench/Corpus.h"
#include "commands/FindReplace.h"
#include "document/TextFile.h"
#include "platform/Cp1254.h"
#include "tests/support/FormAccess.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void Idle() { QApplication::processEvents(); }

// Seconds from the menu item to an idle, repainted window.
double Menu(TAppForm& form, const char* action)
{
    return corpus::MedianSeconds(1, [&] {
        Act(form, action)->trigger();
        Idle();
    });
}

double KeysMs(TAppForm& form, int keys)
{
    TMemo& memo = form.Editor();
    memo.SetSelection(form.Document().Length() / 2, 0);
    const double s = corpus::MedianSeconds(1, [&] {
        for (int i = 0; i < keys; ++i) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
            QApplication::sendEvent(&memo, &press);
            Idle();
        }
    });
    return s / keys * 1000;
}

int PeakRun(const QString& big, const char* mode)
{
    TAppForm form;
    form.show();
    form.LoadDocument(big);
    Idle();
    const bool history = std::strcmp(mode, "undo") == 0;
    if (history)
        Act(form, "UndoHistory1")->trigger();
    const std::int64_t loaded = corpus::PeakRss();
    Act(form, "SortLines1")->trigger();
    Idle();
    if (history) {
        Act(form, "EditUndo1")->trigger();
        Idle();
        Act(form, "EditRedo1")->trigger();
        Idle();
    }
    std::printf("%lld %lld\n", static_cast<long long>(loaded), static_cast<long long>(corpus::PeakRss()));
    form.Document().SetModified(false);
    return 0;
}

// The peak of a child run, above what the open alone took.
std::pair<double, double> Peak(const char* self, const char* mode)
{
    const std::string command = std::string(self) + (corpus::Smoke() ? " --smoke" : "") + " --peak " + mode;
    FILE* p = popen(command.c_str(), "r");
    long long loaded = 0, peak = 0;
    char line[256];
    bool read = false;
    while (p && !read && std::fgets(line, sizeof line, p))
        read = std::sscanf(line, "%lld %lld", &loaded, &peak) == 2;
    if (!read)
        std::printf("peak run %s failed\n", mode);
    if (p)
        pclose(p);
    return {static_cast<double>(loaded), static_cast<double>(peak)};
}

} // namespace

int main(int argc, char** argv)
{
    corpus::ParseArguments(argc, argv);
    QApplication app(argc, argv);
    const QString big =
        corpus::EnsureFile(QDir::tempPath() + QStringLiteral("/quorlex-bench-1m.txt"), corpus::Lines(1000000));
    if (argc == 3 && std::strcmp(argv[1], "--peak") == 0)
        return PeakRun(big, argv[2]);
    if (argc == 2 && std::strcmp(argv[1], "--keys") == 0) {
        TAppForm form;
        form.show();
        form.LoadDocument(big);
        Idle();
        const double off = KeysMs(form, 2000);
        Act(form, "UndoHistory1")->trigger();
        std::printf("typed key, history off / on: %.3f ms / %.3f ms\n", off, KeysMs(form, 2000));
        // A command's text comes without room to type in: the first key makes it.
        Act(form, "All2")->trigger();
        Idle();
        std::printf("the first key after Make Uppercase: %.3f ms\n", KeysMs(form, 1));
        return 0;
    }

    const std::string file = big.toStdString();
    const double bytes = static_cast<double>(ReadFileBytes(big).size());
    const double wc = corpus::ShellSeconds("wc -l " + file + " >/dev/null");
    std::printf("corpus: %.1f MB; reference wc -l: %.3f s\n\n", bytes / 1e6, wc);

    TAppForm form;
    form.show();
    form.LoadDocument(big);
    Idle();
    const double keysOff = KeysMs(form, 200);
    Act(form, "UndoHistory1")->trigger();
    const double keysOn = KeysMs(form, 200);
    std::printf("typed key, history off / on: %.3f ms / %.3f ms\n", keysOff, keysOn);

    for (const char* command : {"SortLines1", "All2"}) {
        const double run = Menu(form, command);
        const double undo = Menu(form, "EditUndo1");
        const double redo = Menu(form, "EditRedo1");
        const double back = Menu(form, "EditUndo1");
        std::printf("%-12s command %.3f s, Undo %.3f s (%.1f x wc), Redo %.3f s, Undo again %.3f s\n", command, run,
                    undo, undo / wc, redo, back);
    }
    // Replace All's result enters the document as one whole-text change, as the dialog gives it.
    FindOptions options;
    const double replace = corpus::MedianSeconds(1, [&] {
        auto r = ReplaceAll(form.Document().Bytes().Bytes(), cp1254::Encode(QStringLiteral("ağaç")), "AGAC", options);
        if (r)
            form.Document().SetWholeText(std::move(r->text));
        Idle();
    });
    const double undoReplace = Menu(form, "EditUndo1");
    std::printf("Replace All   %.3f s, Undo %.3f s (%.1f x wc)\n", replace, undoReplace, undoReplace / wc);
    form.Document().SetModified(false);

    const auto [sortLoaded, sortPeak] = Peak(argv[0], "sort");
    const auto [undoLoaded, undoPeak] = Peak(argv[0], "undo");
    const double sortAbove = sortPeak - sortLoaded;
    const double undoAbove = undoPeak - undoLoaded;
    std::printf("\npeak above the open: Sort alone %.0f MB; Sort + Undo + Redo with history %.0f MB\n", sortAbove / 1e6,
                undoAbove / 1e6);
    std::printf("the history's own cost: %.2f x the file (target at most 1.5)\n", (undoAbove - sortAbove) / bytes);
    return 0;
}

// The editor on big documents, each figure beside `iconv -f CP1254 -t UTF-8` of the same file
// measured in the same run: opening until painted, every whole-document command of the Extra!
// menu against its pure operation, keys at the start, middle and end of 50 MB, a 10 MB single
// line with and without word wrap, PageDown held, and the processor time used while idle.
// `bench_editor --huge` also opens a 1 GB file (written once to the temporary folder).
#include "app/MainWindow.h"
#include "tests/support/FormAccess.h"
#include "editor/Memo.h"
#include "bench/Corpus.h"
#include "commands/CaseConversion.h"
#include "commands/LineOperations.h"
#include "commands/LineParameters.h"
#include "commands/RandomGenerator.h"
#include "commands/ui/separatelines.h"
#include "document/LineText.h"
#include "document/TextFile.h"
#include "platform/Collation.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <functional>

namespace {

std::string g_sink;
double g_reference = 1;

void Row(const char* what, double seconds, const char* target = "")
{
    std::printf("%-46s %9.4f s  %8.3f x iconv  %s\n", what, seconds, seconds / g_reference, target);
}

void RowMs(const char* what, double seconds, const char* target = "")
{
    std::printf("%-46s %9.3f ms %8.4f x iconv  %s\n", what, seconds * 1000, seconds / g_reference, target);
}

// Painted and idle: every pending event handled and the editor's rows drawn.
void Settle(TMemo* memo)
{
    QApplication::processEvents();
    memo->viewport()->repaint();
    QApplication::processEvents();
}

void Key(TMemo* memo, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(memo, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(memo, &release);
}

// Median time of one typed character at `offset`, repaint included.
double TypedKey(TMemo* memo, std::int64_t offset)
{
    memo->SetSelection(offset, 0);
    memo->EnsureCaretVisible();
    Settle(memo);
    const int keys = 200;
    std::vector<double> times;
    for (int i = 0; i < keys; ++i) {
        times.push_back(corpus::MedianSeconds(1, [&] {
            Key(memo, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
            memo->viewport()->repaint();
        }));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Processor seconds used over `wall` seconds of an idle event loop.
double IdleCpu(double wall)
{
    const double before = CpuSeconds();
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(wall * 1000), &loop, &QEventLoop::quit);
    loop.exec();
    return CpuSeconds() - before;
}

} // namespace

int main(int argc, char** argv)
{
    corpus::ParseArguments(argc, argv);
    QApplication app(argc, argv);
    const bool huge = argc > 1 && std::strcmp(argv[1], "--huge") == 0;
    const QString dir = QDir::tempPath();
    const QString big = corpus::EnsureFile(dir + QStringLiteral("/quorlex-bench-1m.txt"), corpus::Lines(1000000));
    const QString line = corpus::EnsureFile(dir + QStringLiteral("/quorlex-bench-line.txt"), corpus::SingleLine(10 << 20));
    const std::string file = big.toStdString();
    const std::int64_t size = QFileInfo(big).size();

    g_reference = corpus::ShellSeconds("iconv -f CP1254 -t UTF-8 " + file + " >/dev/null", 5);
    std::printf("reference: iconv -f CP1254 -t UTF-8 of %lld bytes, %.4f s\n\n", static_cast<long long>(size),
                g_reference);

    TAppForm form;
    form.resize(1000, 700);
    form.show();
    TMemo* memo = &form.Editor();
    Settle(memo);
    corpus::ResetPeak();
    const std::int64_t rssEmpty = corpus::StatusBytes("VmRSS:");

    // --- opening ---
    const double open = corpus::MedianSeconds(1, [&] {
        form.LoadDocument(big);
        Settle(memo);
    });
    const std::int64_t rssOpen = corpus::StatusBytes("VmHWM:");
    Row("open 50 MB until painted and idle", open, "(target 0.3 s)");
    std::printf("%-46s %9.2f x the file above the empty window (target 1.5)\n", "  peak memory",
                static_cast<double>(rssOpen - rssEmpty) / static_cast<double>(size));

    // --- keys ---
    const std::int64_t length = memo->Document().Length();
    RowMs("typed key at the start of 50 MB", TypedKey(memo, 0), "(target 2 ms)");
    RowMs("typed key in the middle of 50 MB", TypedKey(memo, length / 2), "(target 2 ms)");
    RowMs("typed key at the end of 50 MB", TypedKey(memo, memo->Document().Length()), "(target 2 ms)");
    memo->SetSelection(0, 0);
    Settle(memo);
    const int pages = 300;
    const double pageDown = corpus::MedianSeconds(1, [&] {
        for (int i = 0; i < pages; ++i) {
            Key(memo, Qt::Key_PageDown);
            memo->viewport()->repaint();
        }
    });
    RowMs("PageDown on 1,000,000 lines, per key", pageDown / pages, "(key repeat: 33 ms)");
    Act(form, "Wordwrap1")->trigger();
    Settle(memo);
    const double pageDownWrap = corpus::MedianSeconds(1, [&] {
        for (int i = 0; i < pages; ++i) {
            Key(memo, Qt::Key_PageDown);
            memo->viewport()->repaint();
        }
    });
    RowMs("  the same with word wrap", pageDownWrap / pages, "(key repeat: 33 ms)");
    RowMs("  typed key in the middle, word wrap", TypedKey(memo, length / 3), "(target 2 ms)");
    const double ctrlEndWrap = corpus::MedianSeconds(1, [&] {
        Key(memo, Qt::Key_End, Qt::ControlModifier);
        Settle(memo);
    });
    RowMs("  Ctrl+End, word wrap", ctrlEndWrap);
    Act(form, "Wordwrap1")->trigger();
    Settle(memo);

    // --- whole-document commands: pure operation, then from the menu to an idle window ---
    std::printf("\n%-34s %10s %10s %10s\n", "command on 50 MB", "pure", "window", "overhead (target 0.1 s)");
    const std::string text = ReadFileBytes(big);
    const TextCollator collator;
    auto command = [&](const char* what, const std::function<void()>& pure, const std::function<void()>& run) {
        const double p = corpus::MedianSeconds(1, pure);
        form.LoadDocument(big);
        Settle(memo);
        const double w = corpus::MedianSeconds(1, [&] {
            run();
            Settle(memo);
        });
        std::printf("%-34s %9.3f s %9.3f s %9.3f s  (%.2f x iconv)\n", what, p, w, w - p, w / g_reference);
    };
    auto dialog = [&](QAction* item, const char* entered) {
        QTimer::singleShot(0, &form, [&form, entered] {
            form.findChild<TSeparate*>()->Edit1->setText(QString::fromLatin1(entered));
            form.findChild<TSeparate*>()->BitBtn1->click();
        });
        item->trigger();
    };
    RandomGenerator random(1);
    command("Sort Lines", [&] { g_sink = SortLineList(LineView(text), collator).text; },
            [&] { Act(form, "SortLines1")->trigger(); });
    command("Make Lowercase, All", [&] { g_sink = ToLowerTurkish(text); }, [&] { Act(form, "All1")->trigger(); });
    command("Make Uppercase, All", [&] { g_sink = ToUpperTurkish(text); }, [&] { Act(form, "All2")->trigger(); });
    command("Trim Both", [&] { g_sink = TrimEachLine(LineView(text), TrimSide::Both).text; },
            [&] { Act(form, "rimBoth1")->trigger(); });
    command("Trim Left", [&] { g_sink = TrimEachLine(LineView(text), TrimSide::Left).text; },
            [&] { Act(form, "rimLeft1")->trigger(); });
    command("Trim Right", [&] { g_sink = TrimEachLine(LineView(text), TrimSide::Right).text; },
            [&] { Act(form, "rimRight1")->trigger(); });
    command("Separate Lines", [&] { g_sink = JoinLinesWithSeparator(LineView(text), ", ").text; },
            [&] { dialog(Act(form, "SeparateLines1"), ", "); });
    command("Insert To Beginning", [&] { g_sink = PrefixEachLine(LineView(text), "> ").text; },
            [&] { dialog(Act(form, "oBeginningOfLines1"), "> "); });
    command("Insert To End", [&] { g_sink = SuffixEachLine(LineView(text), ";").text; },
            [&] { dialog(Act(form, "oEndOfLines1"), ";"); });
    command("Randomize Lines", [&] { g_sink = ShuffleLineList(LineView(text), random).text; },
            [&] { Act(form, "RandomizeLines1")->trigger(); });

    // --- a 10 MB single line ---
    std::printf("\n");
    for (const bool wrap : {false, true}) {
        if (Act(form, "Wordwrap1")->isChecked() != wrap)
            Act(form, "Wordwrap1")->trigger();
        const char* mode = wrap ? "word wrap on" : "word wrap off";
        const double openLine = corpus::MedianSeconds(1, [&] {
            form.LoadDocument(line);
            Settle(memo);
        });
        std::printf("10 MB single line, %s:\n", mode);
        Row("  open until painted", openLine, "(target 0.2 s)");
        const double ctrlEnd = corpus::MedianSeconds(1, [&] {
            Key(memo, Qt::Key_End, Qt::ControlModifier);
            Settle(memo);
        });
        Row("  Ctrl+End", ctrlEnd, "(target 0.2 s)");
        RowMs("  typed key at the end", TypedKey(memo, memo->Document().Length()), "(target 5 ms)");
        RowMs("  typed key in the middle", TypedKey(memo, memo->Document().Length() / 2), "(target 5 ms)");
        const double toggle = corpus::MedianSeconds(1, [&] {
            Act(form, "Wordwrap1")->trigger();
            Settle(memo);
        });
        Row("  toggling word wrap", toggle, "(target 0.2 s)");
        Act(form, "Wordwrap1")->trigger();
        Settle(memo);
    }
    memo->setFocus();
    const double idle = IdleCpu(3.0);
    std::printf("%-46s %9.4f s of processor time over 3 s idle\n", "idle, focused, 10 MB line", idle);

    if (huge) {
        const QString gig = dir + QStringLiteral("/quorlex-bench-1g.txt");
        if (QFileInfo(gig).size() != size * 20) {
            QFile out(gig);
            if (out.open(QIODevice::WriteOnly))
                for (int i = 0; i < 20; ++i)
                    out.write(text.data(), static_cast<qint64>(text.size()));
        }
        form.Document().SetModified(false);
        Act(form, "FileNew1")->trigger();
        std::string().swap(g_sink);
        Settle(memo);
        corpus::ResetPeak();
        const std::int64_t before = corpus::StatusBytes("VmRSS:");
        const double openGig = corpus::MedianSeconds(1, [&] {
            form.LoadDocument(gig);
            Settle(memo);
        });
        const auto grown = static_cast<double>(corpus::StatusBytes("VmHWM:") - before);
        std::printf("\n1 GB file (%lld bytes): open %.3f s (%.2f x iconv of 50 MB), peak memory grew by %.2f GB "
                    "(%.2f x the file)\n",
                    static_cast<long long>(QFileInfo(gig).size()), openGig, openGig / g_reference, grown / 1e9,
                    grown / static_cast<double>(QFileInfo(gig).size()));
    }
    form.Document().SetModified(false);
    return 0;
}

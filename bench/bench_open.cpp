// Opening a big file, from the call to an idle painted window, beside `cat file | wc -l` of the
// same file measured in the same run, both with the file in the page cache; and the peak memory
// the open adds to the empty window. Then the stages of the read path one by one, so that a
// slower open shows where its time went.
// `bench_open --4g` also opens a file just under the document's capacity of 4 GiB.
#include "app/MainWindow.h"
#include "tests/support/FormAccess.h"
#include "editor/Memo.h"
#include "bench/Corpus.h"
#include "document/ByteDocument.h"
#include "document/LineScan.h"
#include "document/TextFile.h"
#include "platform/MemoryPages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

std::string g_sink;

// Painted and idle: every pending event handled and the editor's rows drawn.
void Settle(TMemo* memo)
{
    QApplication::processEvents();
    memo->viewport()->repaint();
    QApplication::processEvents();
}

// `block` repeated, then cut after the last CR LF that keeps the file within `bytes`.
QString EnsureRepeated(const QString& path, const std::string& block, std::int64_t bytes)
{
    std::int64_t size = 0;
    std::string tail;
    const auto whole = bytes / static_cast<std::int64_t>(block.size());
    size = whole * static_cast<std::int64_t>(block.size());
    const auto rest = static_cast<std::size_t>(bytes - size);
    if (rest > 0) {
        const std::size_t cut = std::string_view(block).substr(0, rest).rfind("\r\n");
        if (cut != std::string_view::npos)
            tail = block.substr(0, cut + 2);
    }
    size += static_cast<std::int64_t>(tail.size());
    if (QFileInfo(path).size() == size)
        return path;
    QFile out(path);
    if (out.open(QIODevice::WriteOnly)) {
        for (std::int64_t i = 0; i < whole; ++i)
            out.write(block.data(), static_cast<qint64>(block.size()));
        out.write(tail.data(), static_cast<qint64>(tail.size()));
    }
    return path;
}

// Seconds to write a fresh block of `bytes` (memory never used before by this process): the part
// of an open that no reading or scanning can avoid, since the document holds the bytes in memory.
double FreshMemory(std::int64_t bytes)
{
    return corpus::MedianSeconds(3, [&] {
        std::unique_ptr<char[]> block(new char[static_cast<std::size_t>(bytes)]);
        memorypages::AdviseHuge(block.get(), static_cast<std::size_t>(bytes)); // as the document's buffer
        std::memset(block.get(), 1, static_cast<std::size_t>(bytes));
        g_sink += block[static_cast<std::size_t>(bytes / 2)];
    });
}

std::string Shell(const QString& path) { return "'" + path.toStdString() + "'"; }

struct Opened {
    double seconds = 0;
    double peak = 0; // x the file, above the empty window
    int lines = 0;
};

Opened Open(TAppForm& form, const QString& path)
{
    TMemo* memo = &form.Editor();
    form.Document().SetModified(false);
    Act(form, "FileNew1")->trigger();
    Settle(memo);
    corpus::ResetPeak();
    const std::int64_t before = corpus::StatusBytes("VmRSS:");
    Opened opened;
    opened.seconds = corpus::MedianSeconds(1, [&] {
        form.LoadDocument(path);
        Settle(memo);
    });
    opened.peak = static_cast<double>(corpus::StatusBytes("VmHWM:") - before) / static_cast<double>(QFileInfo(path).size());
    opened.lines = form.Document().Count();
    return opened;
}

void Report(const char* what, const QString& path, const Opened& opened, double reference)
{
    const std::int64_t size = QFileInfo(path).size();
    std::printf("%-34s %7.3f s  %5.2f x cat|wc -l  peak memory %.2f x the file  (%lld bytes, %d lines)\n", what,
                opened.seconds, opened.seconds / reference, opened.peak, static_cast<long long>(size), opened.lines);
}

// Each stage of the read path on its own, to show where an open spends its time.
void Stages(const QString& path, double reference)
{
    const auto row = [&](const char* what, double s) {
        std::printf("  %-44s %7.3f s  %5.2f x cat|wc -l\n", what, s, s / reference);
    };
    std::string bytes;
    row("read the bytes alone, in order", corpus::MedianSeconds(1, [&] { bytes = ReadFileBytes(path); }));
    LineScan scan;
    row("scan them (line starts, lone breaks, ASCII)", corpus::MedianSeconds(1, [&] { scan = ScanText(bytes); }));
    row("  the same on one thread", corpus::MedianSeconds(1, [&] { scan = ScanText(bytes, 1); }));
    std::string().swap(bytes);
    LineScan{}.starts.swap(scan.starts);
    TextFileContents file;
    row("read and scan at once (the open's read)", corpus::MedianSeconds(1, [&] { file = ReadTextFile(path); }));
    const std::size_t starts = file.scan.starts.size();
    ByteDocument doc;
    row("the document takes bytes and starts", corpus::MedianSeconds(1, [&] {
        doc.Assign(std::move(file.bytes), std::move(file.scan.starts));
    }));
    std::printf("  (%s breaks, %s, %s lone breaks, %zu line starts)\n",
                file.encoding.lineBreaks == LineBreaks::Lf ? "LF" : "CR LF", file.encoding.utf8 ? "UTF-8" : "not UTF-8",
                file.scan.loneBreak ? "with" : "no", starts);
}

} // namespace

int main(int argc, char** argv)
{
    corpus::ParseArguments(argc, argv);
    QApplication app(argc, argv);
    const bool four = argc > 1 && std::strcmp(argv[1], "--4g") == 0;
    const QString dir = QDir::tempPath();
    const std::string block = corpus::Lines(1000000);
    const QString gig = EnsureRepeated(dir + (corpus::Smoke() ? QStringLiteral("/quorlex-bench-open-1g-smoke.txt")
                                                               : QStringLiteral("/quorlex-bench-open-1g.txt")),
                                       block, corpus::Smoke() ? std::int64_t{20} << 20 : std::int64_t{1} << 30);

    TAppForm form;
    form.resize(1000, 700);
    form.show();
    Settle(&form.Editor());

    // The reference reads the file through a pipe and counts its lines, as the open must.
    const std::string cat = "cat " + Shell(gig) + " | wc -l >/dev/null";
    const double reference = corpus::ShellSeconds(cat, 5);
    std::printf("reference: cat | wc -l of %lld bytes, %.3f s (page cache warm)\n",
                static_cast<long long>(QFileInfo(gig).size()), reference);
    std::printf("           writing fresh memory of the file's size (huge pages), %.3f s\n\n", FreshMemory(QFileInfo(gig).size()));
    Report("open 1 GB until painted and idle", gig, Open(form, gig),  reference);
    std::printf("  (target: max(0.7 s, 2 x cat|wc -l), peak at most 1.2 x the file)\n");
    Report("open 1 GB again", gig, Open(form, gig), corpus::ShellSeconds(cat, 3));

    std::printf("\nstages of the read path, 1 GB:\n");
    form.Document().SetModified(false);
    Act(form, "FileNew1")->trigger();
    Stages(gig, reference);

    if (four) {
        const std::int64_t capacity = ByteDocument::kCapacity;
        const QString huge = EnsureRepeated(dir + (corpus::Smoke() ? QStringLiteral("/quorlex-bench-open-4g-smoke.txt")
                                                                    : QStringLiteral("/quorlex-bench-open-4g.txt")),
                                            block, corpus::Smoke() ? std::int64_t{80} << 20 : capacity - (1 << 20));
        const std::string catHuge = "cat " + Shell(huge) + " | wc -l >/dev/null";
        const double referenceHuge = corpus::ShellSeconds(catHuge, 3);
        std::printf("\nreference: cat | wc -l of %lld bytes, %.3f s\n", static_cast<long long>(QFileInfo(huge).size()),
                    referenceHuge);
        std::printf("           writing fresh memory of the file's size (huge pages), %.3f s\n", FreshMemory(QFileInfo(huge).size()));
        Report("open 4 GB until painted and idle", huge, Open(form, huge), referenceHuge);
    }
    form.Document().SetModified(false);
    Act(form, "FileNew1")->trigger();
    return 0;
}

// The line commands on the 1,000,000-line corpus: each pure operation beside its
// command-line peer, then each whole command through the window. Sort Lines also on
// 1,000,000 lines of two sorted halves (a list pasted after itself, two sorted lists
// appended, a word list of 500,000 words and its upper-case copy), the orders on which the
// list's quicksort goes quadratic.
#include "app/MainWindow.h"
#include "tests/support/FormAccess.h"
#include "editor/Memo.h"
#include "bench/Corpus.h"
#include "commands/CaseConversion.h"
#include "commands/LineOperations.h"
#include "commands/LineParameters.h"
#include "commands/RandomGenerator.h"
#include "commands/ui/separatelines.h"
#include "document/TextFile.h"
#include "platform/Collation.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string_view>
#include <tuple>

namespace {

std::string g_sink; // keeps results alive so nothing is optimised away

void Row(const char* what, double ours, double peer, const char* peerName)
{
    std::printf("%-34s %7.3f s   %-30s %7.3f s   ratio %5.2f\n", what, ours, peerName, peer, ours / peer);
}

// `word0000000` ... for half the lines, then the same lines again.
std::string SameListTwice(int lines)
{
    std::string half;
    char line[32];
    for (int i = 0; i < lines / 2; ++i) {
        std::snprintf(line, sizeof line, "word%07d\r\n", i);
        half += line;
    }
    return half + half;
}

// 500,000 distinct words, sorted, then the same list in capitals: lines that compare equal
// but differ in their bytes, in two sorted halves.
std::string WordListAndItsCapitals(const TextCollator& collator)
{
    std::string list;
    for (const std::string& w : corpus::DistinctWords(static_cast<int>(corpus::Scaled(500000))))
        list += w + "\r\n";
    list = SortLineList(LineView(list), collator).text;
    return list + ToUpperTurkish(list);
}

// The corpus's first and second halves, each sorted on its own.
std::string SortedHalves(const std::string& text, const TextCollator& collator)
{
    const LineView lines(text);
    const std::size_t middle = lines.Start(lines.Count() / 2);
    const std::string_view all(text);
    return SortLineList(LineView(all.substr(0, middle)), collator).text +
           SortLineList(LineView(all.substr(middle)), collator).text;
}

} // namespace

int main(int argc, char** argv)
{
    corpus::ParseArguments(argc, argv);
    QApplication app(argc, argv);
    const QString dir = QDir::tempPath();
    const QString big = corpus::EnsureFile(dir + QStringLiteral("/quorlex-bench-1m.txt"), corpus::Lines(1000000));
    const std::string file = big.toStdString();
    const std::string utf8 = dir.toStdString() + "/quorlex-bench-1m.utf8.txt";
    [[maybe_unused]] int rc = std::system(("iconv -f CP1254 -t UTF-8 " + file + " | tr -d '\\r' > " + utf8).c_str());
    const std::string text = ReadFileBytes(big);
    const LineView lines(text);
    std::printf("corpus: %d lines, %zu bytes\n\n", lines.Count(), text.size());

    // The peers. GNU sort needs the compiled Turkish locale; LOCPATH points at one built by
    // `localedef -i tr_TR -f UTF-8 $LOCPATH/tr_TR.UTF-8` when the system has none.
    const char* locpath = std::getenv("LOCPATH");
    const std::string trLocale = std::string(locpath ? "LOCPATH=" + std::string(locpath) + " " : "") + "LC_ALL=tr_TR.UTF-8 ";
    const double sortPeer = corpus::ShellSeconds(trLocale + "sort -f " + utf8 + " >/dev/null", 1);
    // Without the compiled locale, sort falls back to byte order: the figure is then that one.
    const double sortSystem = corpus::ShellSeconds("env -u LOCPATH LC_ALL=tr_TR.UTF-8 sort -f " + utf8 + " >/dev/null", 1);
    const double trPeer = corpus::ShellSeconds("tr A-Z a-z < " + file + " >/dev/null");
    const double trimPeer =
        corpus::ShellSeconds("mawk '{ sub(/^[ \\t\\r]+/, \"\"); sub(/[ \\t\\r]+$/, \"\"); print }' " + file + " >/dev/null");
    const double joinPeer = corpus::ShellSeconds("tr -d '\\r' < " + file + " | paste -sd, >/dev/null");
    const double prefixPeer = corpus::ShellSeconds("mawk '{ print \"> \" $0 }' " + file + " >/dev/null");
    const double suffixPeer = corpus::ShellSeconds("mawk '{ print $0 \";\" }' " + file + " >/dev/null");
    const double shufPeer = corpus::ShellSeconds("shuf " + file + " >/dev/null");
    const double memchrPass = corpus::MedianSeconds(5, [&] {
        std::size_t n = 0;
        for (const char* p = text.data(); (p = static_cast<const char*>(std::memchr(p, '\n', text.data() + text.size() - p)));
             ++p)
            ++n;
        g_sink.assign(1, static_cast<char>(n));
    });

    std::printf("pure operations (median)          ours         peer                           peer\n");
    const TextCollator collator;
    const double sortPure = corpus::MedianSeconds(1, [&] { g_sink = SortLineList(LineView(text), collator).text; });
    Row("SortLineList", sortPure, sortPeer, "sort -f (tr_TR.UTF-8)");
    Row("  (same, against the system's sort)", sortPure, sortSystem, "sort -f (system's locales)");
    Row("ToLowerTurkish", corpus::MedianSeconds(5, [&] { g_sink = ToLowerTurkish(text); }), trPeer, "tr A-Z a-z");
    Row("ToUpperTurkish", corpus::MedianSeconds(5, [&] { g_sink = ToUpperTurkish(text); }), trPeer, "tr a-z A-Z");
    Row("TrimEachLine (both)",
        corpus::MedianSeconds(3, [&] { g_sink = TrimEachLine(LineView(text), TrimSide::Both).text; }), trimPeer,
        "mawk trim");
    Row("JoinLinesWithSeparator",
        corpus::MedianSeconds(3, [&] { g_sink = JoinLinesWithSeparator(LineView(text), ", ").text; }), joinPeer,
        "tr | paste -sd,");
    Row("PrefixEachLine", corpus::MedianSeconds(3, [&] { g_sink = PrefixEachLine(LineView(text), "> ").text; }),
        prefixPeer, "mawk prefix");
    Row("SuffixEachLine", corpus::MedianSeconds(3, [&] { g_sink = SuffixEachLine(LineView(text), ";").text; }),
        suffixPeer, "mawk suffix");
    RandomGenerator random(1);
    Row("ShuffleLineList", corpus::MedianSeconds(3, [&] { g_sink = ShuffleLineList(LineView(text), random).text; }),
        shufPeer, "shuf");
    Row("LineView over the text", corpus::MedianSeconds(5, [&] { g_sink.assign(1, static_cast<char>(LineView(text).Count())); }),
        memchrPass, "one memchr pass");

    std::printf("\nSort Lines on two sorted halves          ours         peer                           peer\n");
    const std::string twiceText = SameListTwice(static_cast<int>(corpus::Scaled(1000000)));
    const QString twice = corpus::EnsureFile(dir + QStringLiteral("/quorlex-bench-1m-twice.txt"), twiceText);
    const QString halves =
        corpus::EnsureFile(dir + QStringLiteral("/quorlex-bench-1m-halves.txt"), SortedHalves(text, collator));
    const std::string halvesText = ReadFileBytes(halves);
    const QString mixed =
        corpus::EnsureFile(dir + QStringLiteral("/quorlex-bench-1m-mixedcase.txt"), WordListAndItsCapitals(collator));
    const std::string mixedText = ReadFileBytes(mixed);
    for (const auto& [what, path, bytes] : {std::tuple{"SortLineList, one list twice", twice, &twiceText},
                                            std::tuple{"SortLineList, corpus halves sorted", halves, &halvesText}}) {
        const double peer = corpus::ShellSeconds("LC_ALL=C sort " + path.toStdString() + " >/dev/null");
        const double ours = corpus::MedianSeconds(3, [&] { g_sink = SortLineList(LineView(*bytes), collator).text; });
        Row(what, ours, peer, "LC_ALL=C sort (byte order)");
    }
    // Case ignored on both sides; the peer compares bytes and folds only A-Z.
    const double mixedPeer = corpus::ShellSeconds("LC_ALL=C sort -f " + mixed.toStdString() + " >/dev/null");
    const double mixedOurs =
        corpus::MedianSeconds(3, [&] { g_sink = SortLineList(LineView(mixedText), collator).text; });
    Row("SortLineList, words and capitals", mixedOurs, mixedPeer, "LC_ALL=C sort -f");

    std::printf("\nwhole commands through the window (document loaded afresh before each)\n");
    TAppForm form;
    form.show();
    QApplication::processEvents();
    auto wholeOn = [&](const QString& path, const char* what, double peer, const char* peerName,
                       const std::function<void()>& run) -> double {
        form.LoadDocument(path);
        QApplication::processEvents();
        const double t = corpus::MedianSeconds(1, [&] {
            run();
            QApplication::processEvents();
        });
        Row(what, t, peer, peerName);
        return t;
    };
    auto whole = [&](const char* what, double peer, const char* peerName, const std::function<void()>& run) {
        return wholeOn(big, what, peer, peerName, run);
    };
    auto dialog = [&](QAction* item, const char* entered) {
        QTimer::singleShot(0, &form, [&form, entered] {
            form.findChild<TSeparate*>()->Edit1->setText(QString::fromLatin1(entered));
            form.findChild<TSeparate*>()->BitBtn1->click();
        });
        item->trigger();
    };
    const double sortWhole = whole("Sort Lines", sortPeer, "sort -f (tr_TR.UTF-8)", [&] { Act(form, "SortLines1")->trigger(); });
    Row("  (same, against the system's sort)", sortWhole, sortSystem, "sort -f (system's locales)");
    wholeOn(mixed, "Sort Lines, words and capitals", mixedPeer, "LC_ALL=C sort -f",
            [&] { Act(form, "SortLines1")->trigger(); });
    wholeOn(twice, "Sort Lines, one list twice", corpus::ShellSeconds("LC_ALL=C sort " + twice.toStdString() + " >/dev/null"),
            "LC_ALL=C sort (byte order)", [&] { Act(form, "SortLines1")->trigger(); });
    whole("Make Lowercase, All", trPeer, "tr A-Z a-z", [&] { Act(form, "All1")->trigger(); });
    whole("Make Uppercase, All", trPeer, "tr a-z A-Z", [&] { Act(form, "All2")->trigger(); });
    whole("Trim Both", trimPeer, "mawk trim", [&] { Act(form, "rimBoth1")->trigger(); });
    whole("Separate Lines", joinPeer, "tr | paste -sd,", [&] { dialog(Act(form, "SeparateLines1"), ", "); });
    whole("Insert To Beginning", prefixPeer, "mawk prefix", [&] { dialog(Act(form, "oBeginningOfLines1"), "> "); });
    whole("Insert To End", suffixPeer, "mawk suffix", [&] { dialog(Act(form, "oEndOfLines1"), ";"); });
    whole("Randomize Lines", shufPeer, "shuf", [&] { Act(form, "RandomizeLines1")->trigger(); });
    form.Document().SetModified(false);
    return 0;
}

// A 10,000-line extraction script over the 1,000,000-line corpus: the evaluator alone and the
// whole OK of the Extract Text window, beside `wc -l` on the same file.
#include "app/MainWindow.h"
#include "tests/support/FormAccess.h"
#include "editor/Memo.h"
#include "bench/Corpus.h"
#include "document/LineText.h"
#include "extract/ExtractionScript.h"
#include "extract/ui/ScriptEditor.h"
#include "extract/ui/extracttext.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Every kind of line directive, spread over the whole document. Corpus lines have at least
// three words, so none of these markers or positions is missing and no notice interrupts.
std::string Script(int lines, int documentLines)
{
    std::string s;
    for (int i = 0; i < lines; ++i) {
        const std::string n = std::to_string((static_cast<long long>(i) * 7919 * 101) % documentLines);
        switch (i % 5) {
        case 0: s += "$GETLINE[" + n + "]"; break;
        case 1: s += "$GETPARTOFLINE1[" + n + "; , ]"; break;
        case 2: s += "$GETPARTOFLINE2[" + n + ";1,3]"; break;
        case 3: s += "$GETPARTOFLINE3[" + n + ";1, ]"; break;
        default: s += "$GETPARTOFLINE4[" + n + "; ,3]"; break;
        }
        s += "\r\n";
    }
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    corpus::ParseArguments(argc, argv);
    QApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("QUORLEX_HOME", home.path().toLocal8Bit());
    const QString dir = QDir::tempPath();
    const std::string document = corpus::Lines(1000000);
    const QString big = corpus::EnsureFile(dir + QStringLiteral("/quorlex-bench-1m.txt"), document);
    const std::string script = Script(10000, LineView(document).Count());

    const double wc = corpus::ShellSeconds("wc -l " + big.toStdString() + " >/dev/null");
    std::printf("reference wc -l on %lld bytes: %.3f s\n", static_cast<long long>(QFileInfo(big).size()), wc);

    int notices = 0;
    std::size_t outBytes = 0;
    const double pure = corpus::MedianSeconds(5, [&] {
        const LineView source(document); // the line view is part of every run
        const std::string out = RunExtractionScript(
            LineView(script), source, home.filePath(QStringLiteral("temp.txt")),
            [](const std::string&, const QString&) {},
            [&](const std::string&) { ++notices; });
        outBytes = out.size();
    });
    std::printf("evaluator, 10,000 directives over 1,000,000 lines: %.3f s (%.2f x wc), %zu bytes out, %d notices\n",
                pure, pure / wc, outBytes, notices);

    TAppForm form;
    form.LoadDocument(big);
    TExtract window(&form, form);
    window.Memo1->SetText(script);
    const double text = corpus::MedianSeconds(3, [&] { (void)form.Document().Text(); });
    std::printf("for comparison, a copy of the whole document text (which a run does not make): %.3f s\n", text);
    int memoNotices = 0;
    const double memoRun = corpus::MedianSeconds(3, [&] {
        struct Lines : SourceLines {
            const TMemo& memo;
            mutable std::string line;
            explicit Lines(const TMemo& m) : memo(m) {}
            int Count() const override { return memo.Document().Count(); }
            std::string_view Get(int i) const override { return line = lines::Get(memo.Document(), i); }
        } lines(*&form.Editor());
        RunExtractionScript(LineView(script), lines, home.filePath(QStringLiteral("temp.txt")), {},
                            [&](const std::string&) { ++memoNotices; });
    });
    std::printf("evaluator reading the editor's lines: %.3f s\n", memoRun);
    const double ok = corpus::MedianSeconds(1, [&] { window.BitBtn1Click(); });
    std::printf("OK in the window (run on the editor's lines, carrier file, load): %.3f s (%.2f x wc), %d lines now\n", ok,
                ok / wc, form.Document().Count());
    form.Document().SetModified(false);
    return 0;
}

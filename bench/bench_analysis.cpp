// Statistics, word list and the Analyze window on the 1,000,000-line corpus, beside a Python
// Counter script and the tr | sort -u pipeline on the same file.
#include "analysis/TextStatistics.h"
#include "analysis/WordList.h"
#include "analysis/ui/analyze.h"
#include "app/MainWindow.h"
#include "tests/support/FormAccess.h"
#include "editor/Memo.h"
#include "bench/Corpus.h"
#include "document/LineText.h"
#include "document/TextFile.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTableView>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

const char* kCounterScript = R"PY(
import collections, re, sys
data = open(sys.argv[1], 'rb').read()
lines = data.split(b'\r\n')
if lines and lines[-1] == b'':
    lines.pop()
size = sum(len(l) + 2 for l in lines)
upper = bytes.maketrans(b'abcdefghijklmnopqrstuvwxyz', b'ABCDEFGHIJKLMNOPQRSTUVWXYZ')
blanks = bytes(range(33))
word = re.compile(rb'[0-9A-Za-z\xc0-\xff]+')
chars = collections.Counter()
words = collections.Counter()
for l in lines:
    chars.update(l.translate(upper, blanks))
    words.update(word.findall(l.lower()))
def rows(counter):
    total = sum(counter.values())
    keys = sorted(counter, key=lambda k: (bytes([k]) if isinstance(k, int) else k).decode('cp1254').casefold())
    return [(k, counter[k], '%d.%d %%' % divmod(counter[k] * 1000 // total, 10)) for k in keys]
c, w = rows(chars), rows(words)
print(size, len(lines), sum(words.values()), len(words), len(chars), len(c), len(w))
)PY";

// Resident and peak memory from the kernel; the peak can be reset so that one step is measured.
std::int64_t StatusKb(const char* field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0)
            return std::stoll(line.substr(key.size()));
    return 0;
}

// Words of 5 to 7 letters that never repeat: a table of `count` distinct rows.
std::string UniqueWords(int count)
{
    std::string out;
    for (int i = 0; i < count; ++i) {
        unsigned v = static_cast<unsigned>(i) * 2654435761u;
        std::string w;
        for (int k = 0, n = 5 + i % 3; k < n; ++k, v /= 23)
            w += static_cast<char>('a' + v % 23);
        out += w + std::to_string(i % 97) + (i % 8 == 7 ? "\r\n" : " ");
    }
    return out;
}

// Shows the Analyze window through the tool bar command, paints it, optionally scrolls the
// word grid to its end, and closes it.
double OpenAnalyzeWindow(TAppForm& form, bool scrollWords)
{
    return corpus::MedianSeconds(1, [&] {
        QTimer::singleShot(0, &form, [&] {
            auto* w = qobject_cast<TAnalyzetext*>(QApplication::activeModalWidget());
            if (!w)
                return;
            QApplication::processEvents();
            if (scrollWords) {
                w->PageControl1->setCurrentIndex(2);
                w->S3->scrollToBottom();
                QApplication::processEvents();
            }
            w->close();
        });
        Act(form, "ToolButton15")->trigger();
    });
}

} // namespace

// Reference pipelines, then AnalyzeText and GenerateWordList alone, on a text of realistic
// vocabulary.
void PureOperationsOnProse(const QString& dir, const QString& script)
{
    const QString prose = corpus::EnsureFile(dir + QStringLiteral("/quorlex-bench-prose.txt"), corpus::Prose(50 << 20));
    const std::string path = prose.toStdString();
    const double counter = corpus::ShellSeconds("python3 " + script.toStdString() + " " + path + " >/dev/null", 1);
    const double trSort = corpus::ShellSeconds(
        "LC_ALL=C tr -cs 'A-Za-z0-9\\300-\\377' '\\n' <" + path + " | tr A-Z a-z | sort -u >/dev/null", 3);
    const std::string text = ReadFileBytes(prose);
    const LineView lines(text);
    TTextStatistics stats;
    const double analyze = corpus::MedianSeconds(3, [&] { stats = AnalyzeText(lines); });
    std::printf("\nprose of %zu bytes, %lld words, %lld distinct:\n", text.size(), static_cast<long long>(stats.Words),
                static_cast<long long>(stats.UniqueWords));
    std::printf("  AnalyzeText: %.3f s (%.3f x Counter script, %.3f s)\n", analyze, analyze / counter, counter);
    std::string list;
    const double words = corpus::MedianSeconds(3, [&] { list = GenerateWordList(lines); });
    std::printf("  GenerateWordList: %.3f s (%.3f x tr | sort -u, %.3f s)\n\n", words, words / trSort, trSort);
}

int main(int argc, char** argv)
{
    corpus::ParseArguments(argc, argv);
    QApplication app(argc, argv);
    const QString dir = QDir::tempPath();
    const QString big = corpus::EnsureFile(dir + QStringLiteral("/quorlex-bench-1m.txt"), corpus::Lines(1000000));
    const std::string path = big.toStdString();
    const QString script = dir + QStringLiteral("/quorlex-bench-counter.py");
    {
        QFile f(script);
        if (f.open(QIODevice::WriteOnly))
            f.write(kCounterScript);
    }

    const double counter = corpus::ShellSeconds("python3 " + script.toStdString() + " " + path + " >/dev/null", 3);
    const double trSort = corpus::ShellSeconds(
        "LC_ALL=C tr -cs 'A-Za-z0-9\\300-\\377' '\\n' <" + path + " | tr A-Z a-z | sort -u >/dev/null", 3);
    std::printf("reference Python Counter script: %.3f s\n", counter);
    std::printf("reference tr | sort -u pipeline: %.3f s\n", trSort);

    std::string text = ReadFileBytes(big);
    const double size = static_cast<double>(text.size());
    {
        const LineView lines(text);
        // The floor: one pass that only finds the words.
        std::int64_t floorWords = 0;
        const double floor = corpus::MedianSeconds(3, [&] {
            floorWords = 0;
            bool in = false;
            for (const char c : text) {
                const bool w = IsWordChar(static_cast<unsigned char>(c));
                floorWords += w && !in;
                in = w;
            }
        });
        std::printf("reference plain word-count pass: %.3f s (%lld words)\n", floor, static_cast<long long>(floorWords));

        const std::int64_t rssBefore = StatusKb("VmRSS");
        corpus::ResetPeak();
        TTextStatistics stats;
        const double analyze = corpus::MedianSeconds(1, [&] { stats = AnalyzeText(lines); });
        const std::int64_t peak = StatusKb("VmHWM");
        std::printf("AnalyzeText on %.0f bytes: %.3f s (%.3f x Counter script); peak memory %.2f x file size "
                    "(%lld words, %lld unique)\n",
                    size, analyze, analyze / counter, static_cast<double>(peak - rssBefore) * 1024 / size,
                    static_cast<long long>(stats.Words), static_cast<long long>(stats.UniqueWords));
        const double again = corpus::MedianSeconds(3, [&] { stats = AnalyzeText(lines); });
        std::printf("AnalyzeText, median of 3: %.3f s (%.3f x Counter script)\n", again, again / counter);

        std::string list;
        const double words = corpus::MedianSeconds(3, [&] { list = GenerateWordList(lines); });
        std::printf("GenerateWordList: %.3f s (%.3f x tr | sort -u)\n", words, words / trSort);
    }
    PureOperationsOnProse(dir, script);

    TAppForm form;
    form.show();
    QApplication::processEvents();
    lines::AdoptText(form.Document().Bytes(), std::move(text));
    form.Document().SetModified(false);
    const double open = OpenAnalyzeWindow(form, false);
    std::printf("Analyze window on the corpus, command to painted window: %.3f s\n", open);

    const std::string unique = UniqueWords(static_cast<int>(corpus::Scaled(400000)));
    {
        const LineView lines(unique);
        TTextStatistics stats;
        const double analyze = corpus::MedianSeconds(1, [&] { stats = AnalyzeText(lines); });
        std::printf("AnalyzeText on %zu bytes with %lld distinct words: %.3f s\n", unique.size(),
                    static_cast<long long>(stats.UniqueWords), analyze);
        StringList keys;
        const TFrequencyList counted = CountWords(lines);
        for (const TFrequencyList::Entry& e : counted.Entries())
            keys.Add(e.Key);
        const double sort = corpus::MedianSeconds(1, [&] { keys.Sort(); });
        std::printf("  of which StringList::Sort of the %d words in order of appearance: %.3f s\n", keys.Count(), sort);
    }
    form.Document().SetText(unique);
    form.Document().SetModified(false);
    const double openUnique = OpenAnalyzeWindow(form, true);
    std::printf("Analyze window on them, painted and word grid scrolled to its end: %.3f s\n", openUnique);
    return 0;
}

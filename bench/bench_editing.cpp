// Find Next, Replace, Replace All and the KeyPress simulator in a 50 MB document. References
// measured in the same run: `grep -c -F` over the same file for a search, `sed` doing the same
// replacement for Replace All, an ordinary typed key in the same document for a simulator key.
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "tests/support/FormAccess.h"
#include "editor/Memo.h"
#include "bench/Corpus.h"
#include "commands/ui/FindDialogs.h"
#include "platform/Cp1254.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Counts the boxes instead of showing them.
class CountingDialogs : public QtDialogs {
public:
    int informations = 0;
    void Information(QWidget*, const QString&) override { ++informations; }
};

void PressKey(TAppForm& form, char ch)
{
    const QString text(QChar::fromLatin1(ch));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A + (ch - 'a'), Qt::NoModifier, text);
    QApplication::sendEvent(&form.Editor(), &press);
    QApplication::processEvents();
}

double KeysMs(TAppForm& form, int keys)
{
    const double s = corpus::MedianSeconds(1, [&] {
        for (int i = 0; i < keys; ++i)
            PressKey(form, static_cast<char>('a' + i % 26));
    });
    return s / keys * 1000;
}

} // namespace

int main(int argc, char** argv)
{
    corpus::ParseArguments(argc, argv);
    QApplication app(argc, argv);
    const QString big =
        corpus::EnsureFile(QDir::tempPath() + QStringLiteral("/quorlex-bench-1m.txt"), corpus::Lines(1000000));
    const std::string path = big.toStdString();
    const double grep = corpus::ShellSeconds("grep -c -F ZQXJ " + path + " >/dev/null");
    std::printf("reference grep -c -F over %lld bytes: %.1f ms\n", static_cast<long long>(QFileInfo(big).size()),
                grep * 1000);

    auto dialogs = std::make_shared<CountingDialogs>();
    TAppForm form(dialogs);
    form.show();
    form.LoadDocument(big);
    QApplication::processEvents();
    // One occurrence, at the very end: each press searches the whole document.
    form.Editor().Document().Replace(form.Document().Length(), 0, "ZQXJ");
    const std::int64_t end = form.Document().Length();

    const double read = corpus::MedianSeconds(3, [&] { (void)form.Document().Text(); });
    std::printf("reading the document once: %.1f ms (%.2f x grep)\n", read * 1000, read / grep);

    const double open = corpus::MedianSeconds(1, [&] { Act(form, "ToolButton12")->trigger(); });
    std::printf("opening the Find dialog (the one read of the document): %.1f ms (%.2f x grep)\n", open * 1000,
                open / grep);
    FindDialogOf(form).SetFindText(QStringLiteral("ZQXJ"));
    const double find = corpus::MedianSeconds(5, [&] {
        form.Editor().SetSelection(0, 0);
        emit FindDialogOf(form).FindNext();
        QApplication::processEvents();
    });
    std::printf("Find Next from the start to the last line: %.1f ms (%.2f x grep), selection at %lld of %lld\n",
                find * 1000, find / grep, static_cast<long long>(form.Editor().SelStart()),
                static_cast<long long>(end));

    const double notFound = corpus::MedianSeconds(5, [&] {
        form.Editor().SetSelection(0, 0);
        FindDialogOf(form).SetFindText(QStringLiteral("QQQQ"));
        emit FindDialogOf(form).FindNext();
    });
    std::printf("Find Next with no match: %.1f ms (%.2f x grep), %d boxes\n", notFound * 1000, notFound / grep,
                dialogs->informations);

    const double typedThenFind = corpus::MedianSeconds(5, [&] {
        form.Editor().SetSelection(end / 2, 0);
        PressKey(form, 'x');
        form.Editor().SetSelection(0, 0);
        FindDialogOf(form).SetFindText(QStringLiteral("ZQXJ"));
        emit FindDialogOf(form).FindNext();
    });
    std::printf("a key typed mid-document, then Find Next to the end: %.1f ms (%.2f x grep)\n", typedThenFind * 1000,
                typedThenFind / grep);

    Act(form, "ToolButton13")->trigger();
    ReplaceDialogOf(form).SetFindText(QStringLiteral("ZQXJ"));
    ReplaceDialogOf(form).SetReplaceText(QStringLiteral("ZQXJ"));
    const double replace = corpus::MedianSeconds(5, [&] {
        form.Editor().SetSelection(0, 0);
        emit ReplaceDialogOf(form).Replace();
        QApplication::processEvents();
    });
    std::printf("Replace from the start to the last line: %.1f ms (%.2f x grep)\n", replace * 1000, replace / grep);

    // Simulator keys: the reference is an ordinary key typed in the middle of the same document.
    const int keys = 200;
    form.Editor().SetSelection(end / 2, 0);
    const double typed = KeysMs(form, keys);
    std::printf("reference: ordinary key in the middle of 50 MB: %.3f ms\n", typed);

    const double start = corpus::MedianSeconds(1, [&] {
        Act(form, "KeyPressSimulator1")->trigger();
        QApplication::processEvents();
    });
    std::printf("simulator start on 50 MB: %.1f ms (%.2f x grep)\n", start * 1000, start / grep);
    const double fresh = KeysMs(form, keys);
    std::printf("simulator key, 50 MB stored, document just emptied: %.3f ms (%.2f x ordinary key)\n", fresh,
                fresh / typed);
    // The worst case: a 50 MB document while the simulator is active, caret in the middle.
    lines::AdoptText(form.Document().Bytes(), ReadFileBytes(big));
    form.Editor().SetSelection(end / 2, 0);
    QApplication::processEvents();
    const double middle = KeysMs(form, keys);
    std::printf("simulator key in the middle of 50 MB: %.3f ms (%.2f x ordinary key)\n", middle, middle / typed);
    const double stop = corpus::MedianSeconds(1, [&] {
        Act(form, "KeyPressSimulator1")->trigger();
        QApplication::processEvents();
    });
    std::printf("simulator stop (50 MB restored): %.1f ms (%.2f x grep)\n", stop * 1000, stop / grep);

    // Replace All from the button to an idle window, beside `sed` doing the same replacement on
    // the same file (bytes, not the locale's characters: the corpus is Windows-1254).
    const std::string agac = "a\xF0" "a\xE7"; // ağaç
    struct AllCase {
        const char* name;
        std::string find, replace;
        bool regex, history;
        std::string sed;
    };
    const AllCase all[] = {
        {"plain", agac, "AGAC", false, false, "LC_ALL=C sed 's/" + agac + "/AGAC/g' "},
        {"plain, Undo History on", agac, "AGAC", false, true, "LC_ALL=C sed 's/" + agac + "/AGAC/g' "},
        {"regex, two groups swapped", "(a\xF0)(a\xE7)", "$2$1", true, false,
         "LC_ALL=C sed -E 's/(a\xF0)(a\xE7)/\\2\\1/g' "},
    };
    Act(form, "ToolButton13")->trigger();
    TReplaceDialog& replaceDialog = ReplaceDialogOf(form);
    for (const AllCase& c : all) {
        replaceDialog.SetFindText(cp1254::Decode(c.find));
        replaceDialog.SetReplaceText(cp1254::Decode(c.replace));
        replaceDialog.findChild<QAbstractButton*>(QStringLiteral("RegularExpression"))->setChecked(c.regex);
        if (form.Document().KeepsHistory() != c.history)
            Act(form, "UndoHistory1")->trigger();
        const double sed = corpus::ShellSeconds(c.sed + path + " > /dev/null");
        std::vector<double> runs;
        for (int i = 0; i < (corpus::Smoke() ? 1 : 3); ++i) {
            lines::AdoptTextRaw(form.Document().Bytes(), ReadFileBytes(big));
            form.Editor().SetSelection(0, 0);
            QApplication::processEvents();
            runs.push_back(corpus::MedianSeconds(1, [&] {
                emit replaceDialog.ReplaceAll();
                QApplication::processEvents();
            }));
        }
        std::sort(runs.begin(), runs.end());
        const double ours = runs[runs.size() / 2];
        std::printf("Replace All %-26s (%s): %.1f ms, sed %.1f ms: %.2f x sed\n", c.name,
                    qPrintable(form.StatusPanel(0)->text()), ours * 1000, sed * 1000, ours / sed);
    }
    form.Document().SetModified(false);
    return 0;
}

// Opening, typing into and saving a big document, beside `wc -l -c` on the same file.
#include "app/MainWindow.h"
#include "tests/support/FormAccess.h"
#include "editor/Memo.h"
#include "bench/Corpus.h"
#include "document/TextFile.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    corpus::ParseArguments(argc, argv);
    QApplication app(argc, argv);
    const QString dir = QDir::tempPath();
    const QString big = corpus::EnsureFile(dir + QStringLiteral("/quorlex-bench-1m.txt"), corpus::Lines(1000000));
    const QString line = corpus::EnsureFile(dir + QStringLiteral("/quorlex-bench-line.txt"), corpus::SingleLine(10 << 20));
    const std::int64_t size = QFileInfo(big).size();

    const double wc = corpus::ShellSeconds("wc -l -c " + big.toStdString() + " >/dev/null");
    std::printf("reference wc -l -c on %lld bytes: %.3f s\n", static_cast<long long>(size), wc);

    const std::int64_t rssBefore = corpus::PeakRss();
    TAppForm form;
    form.show();
    QApplication::processEvents();
    const double open = corpus::MedianSeconds(1, [&] {
        form.LoadDocument(big);
        QApplication::processEvents();
    });
    const std::int64_t rssAfter = corpus::PeakRss();
    std::printf("open 50 MB into the window: %.3f s (%.1f x wc); peak memory %.2f x file size\n", open, open / wc,
                static_cast<double>(rssAfter - rssBefore) / static_cast<double>(size));

    form.Editor().SetSelection(form.Document().Length(), 0);
        form.Editor().EnsureCaretVisible();
    const int keys = 200;
    const double typing = corpus::MedianSeconds(1, [&] {
        for (int i = 0; i < keys; ++i) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
            QApplication::sendEvent(&form.Editor(), &press);
            QApplication::processEvents();
        }
    });
    std::printf("one typed character at the end, counters included: %.3f ms (%s)\n", typing / keys * 1000,
                form.StatusPanel(3)->text().toUtf8().constData());

    const QString out = dir + QStringLiteral("/quorlex-bench-save.txt");
    const double save = corpus::MedianSeconds(3, [&] { form.Document().WriteTo(out); });
    std::printf("save of the 50 MB document: %.3f s (%.1f x wc)\n", save, save / wc);
    FileEncoding lf = form.Document().Encoding();
    lf.lineBreaks = LineBreaks::Lf;
    form.Document().SetEncoding(lf, false);
    const double saveLf = corpus::MedianSeconds(3, [&] { form.Document().WriteTo(out); });
    std::printf("save with LF line breaks: %.3f s (%.1f x wc)\n", saveLf, saveLf / wc);
    // A second name for the file: the save writes into it, after a backup of the old bytes.
    const QString link = out + QStringLiteral(".link");
    QFile::remove(link);
    ::link(QFile::encodeName(out).constData(), QFile::encodeName(link).constData());
    const double inPlace = corpus::MedianSeconds(3, [&] { form.Document().WriteTo(out); });
    std::printf("save in place with its backup (a hard link): %.3f s (%.1f x wc)\n", inPlace, inPlace / wc);
    QFile::remove(link);

    const double single = corpus::MedianSeconds(1, [&] {
        form.LoadDocument(line);
        QApplication::processEvents();
        form.Editor().SetSelection(form.Document().Length(), 0);
        form.Editor().EnsureCaretVisible();
        QApplication::processEvents();
    });
    std::printf("10 MB single line: open and scroll to its end %.3f s\n", single);
    form.Document().SetModified(false);
    return 0;
}

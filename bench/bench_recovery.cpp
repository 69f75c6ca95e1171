// How long the window stalls while recovery copies of a 50 MB document are written, beside
// `cp` of the same file.
#include "app/MainRecovery.h"
#include "app/MainWindow.h"
#include "tests/support/FormAccess.h"
#include "editor/Memo.h"
#include "bench/Corpus.h"
#include "document/RecoveryWriter.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

struct Stalls {
    double longestMs = 0;
    int copies = 0;
};

// Types a key every 20 ms for `seconds` while a 1 ms timer notes the longest gap between
// its ticks: the longest time the window could not answer.
Stalls TypeAndWatch(TAppForm& form, double seconds)
{
    Stalls result;
    const int copiesBefore = form.Recovery().Written();
    QElapsedTimer clock;
    clock.start();
    qint64 lastTick = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (lastTick)
            result.longestMs = std::max(result.longestMs, (now - lastTick) / 1e6);
        lastTick = now;
    });
    QTimer typist;
    QObject::connect(&typist, &QTimer::timeout, [&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(&form.Editor(), &press);
    });
    tick.start(1);
    typist.start(20);
    while (clock.elapsed() < seconds * 1000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    typist.stop();
    form.Recovery().WaitIdle();
    result.copies = form.Recovery().Written() - copiesBefore;
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    corpus::ParseArguments(argc, argv);
    QApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("QUORLEX_HOME", home.path().toLocal8Bit());
    const QString dir = QDir::tempPath();
    const QString big = corpus::EnsureFile(dir + QStringLiteral("/quorlex-bench-1m.txt"), corpus::Lines(1000000));
    const std::int64_t size = QFileInfo(big).size();

    const double cp = corpus::ShellSeconds("cp " + big.toStdString() + " " + home.path().toStdString() + "/cp.txt");
    std::printf("reference cp of %lld bytes: %.3f s\n", static_cast<long long>(size), cp);

    TAppForm form;
    form.show();
    form.LoadDocument(big);
    form.Editor().SetSelection(form.Document().Length(), 0);
    QApplication::processEvents();

    // The one piece of a copy that runs on the window's thread.
    std::string snapshot;
    const double take = corpus::MedianSeconds(3, [&] { snapshot = form.Document().Text(); });
    std::printf("snapshot of the document on the window's thread (Memo1->Text()): %.1f ms\n", take * 1000);
    // What the snapshot costs once the editor holds the bytes themselves: one plain copy.
    std::string copy;
    const double plain = corpus::MedianSeconds(3, [&] {
        std::string().swap(copy);
        copy = snapshot;
    });
    std::printf("plain copy of the same bytes (a byte document's Text()): %.1f ms\n", plain * 1000);
    std::string().swap(copy);

    // The worker's part, for comparison with cp.
    {
        RecoveryWriter writer(home.filePath(QStringLiteral("alone.dat")));
        const double write = corpus::MedianSeconds(3, [&] {
            writer.Write({big.toStdString(), 0, {}, snapshot});
            writer.WaitIdle();
        });
        std::printf("one recovery copy written by the worker: %.3f s (%.1f x cp)\n", write, write / cp);
    }
    std::string().swap(snapshot);

    form.Recovery().SetDelays(1000000000, 1000000000);
    const Stalls without = TypeAndWatch(form, 4);
    std::printf("typing, no copies: longest stall %.1f ms\n", without.longestMs);

    form.Recovery().SetDelays(100, 500);
    const Stalls with = TypeAndWatch(form, 8);
    std::printf("typing while %d copies of %lld bytes were written: longest stall %.1f ms (target < 20 ms)\n",
                with.copies, static_cast<long long>(form.Document().Length()), with.longestMs);
    form.Document().SetModified(false);
    form.Recovery().WaitIdle();
    return 0;
}

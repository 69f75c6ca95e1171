// Memory and the window's longest stall while the recovery journal of a 500 MB document is
// written: keys typed into it, then a whole-document command and its snapshot. Beside, in the
// same run: `cat` of the same file, the empty window's own memory, and the longest gap of the
// idle event loop.
#include "app/MainRecovery.h"
#include "app/MainWindow.h"
#include "tests/support/FormAccess.h"
#include "editor/Memo.h"
#include "bench/Corpus.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <functional>

namespace {

double MiB(std::int64_t bytes) { return static_cast<double>(bytes) / (1 << 20); }

struct Watched {
    double longestMs = 0; // the longest gap between the ticks of a 1 ms timer
    double seconds = 0;
    int keys = 0;
    double longestKeyMs = 0; // the longest a key took to be handled (editor and journal together)
};

// Runs the event loop until `done` (or `limitS`), a key typed every 20 ms when `typing`, while
// a 1 ms timer notes the longest time the window could not answer.
Watched Watch(TAppForm& form, bool typing, double limitS, const std::function<bool()>& done)
{
    Watched w;
    QElapsedTimer clock;
    clock.start();
    qint64 lastTick = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (lastTick)
            w.longestMs = std::max(w.longestMs, static_cast<double>(now - lastTick) / 1e6);
        lastTick = now;
    });
    QTimer typist;
    QObject::connect(&typist, &QTimer::timeout, [&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QElapsedTimer key;
        key.start();
        QApplication::sendEvent(&form.Editor(), &press);
        w.longestKeyMs = std::max(w.longestKeyMs, static_cast<double>(key.nsecsElapsed()) / 1e6);
        ++w.keys;
    });
    tick.start(1);
    if (typing)
        typist.start(20);
    while (!done() && clock.elapsed() < limitS * 1000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    w.seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    return w;
}

// The 50 MB corpus ten times over, written once.
QString EnsureBig(const QString& dir)
{
    const QString unit = corpus::EnsureFile(dir + QStringLiteral("/quorlex-bench-1m.txt"), corpus::Lines(1000000));
    QString big = unit;
    big.replace(QStringLiteral("-1m"), QStringLiteral("-500m"));
    const qint64 unitSize = QFileInfo(unit).size();
    if (QFileInfo(big).size() != unitSize * 10) {
        QFile in(unit), out(big);
        if (in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly)) {
            const QByteArray bytes = in.readAll();
            for (int i = 0; i < 10; ++i)
                out.write(bytes);
        }
    }
    return big;
}

} // namespace

int main(int argc, char** argv)
{
    corpus::ParseArguments(argc, argv);
    QApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("QUORLEX_HOME", home.path().toLocal8Bit());
    const QString big = EnsureBig(QDir::tempPath());
    const std::int64_t size = QFileInfo(big).size();
    const double cat = corpus::ShellSeconds("cat " + big.toStdString() + " > /dev/null");
    const double copy = corpus::ShellSeconds("cp " + big.toStdString() + " " + home.path().toStdString() +
                                             "/cp.txt && sync && rm " + home.path().toStdString() + "/cp.txt");
    std::printf("file: %lld bytes; references: cat > /dev/null %.3f s, cp + sync beside the journal %.3f s\n",
                static_cast<long long>(size), cat, copy);

    TAppForm form;
    form.show();
    form.Recovery().SetDelays(200, 2000);
    const Watched idle = Watch(form, false, 2.0, [] { return false; });
    const std::int64_t empty = corpus::StatusBytes("VmRSS:");
    // The same, while `cp` and `sync` write the file beside the journal: the disk's own share.
    QProcess cp;
    cp.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("cp \"%1\" \"%2/cp.txt\" && sync && rm \"%2/cp.txt\"")
                                                              .arg(big, home.path())});
    cp.waitForStarted();
    const Watched beside = Watch(form, false, 60.0, [&] { return cp.state() == QProcess::NotRunning; });
    std::printf("empty window: %.0f MiB resident; idle event loop's longest gap %.1f ms, %.1f ms while cp + sync ran "
                "(references)\n",
                MiB(empty), idle.longestMs, beside.longestMs);

    corpus::ResetPeak();
    form.LoadDocument(big);
    form.Editor().SetSelection(form.Document().Length() / 2, 0);
    Watch(form, false, 0.3, [] { return false; });
    const std::int64_t opened = corpus::StatusBytes("VmRSS:");
    const auto above = [&](std::int64_t rss) { return static_cast<double>(rss - empty) / static_cast<double>(size); };
    std::printf("after open: %.0f MiB resident, %.2f x the file above the empty window\n", MiB(opened), above(opened));

    // Keys into the middle; the journal gets each, and reaches the disk after the pause.
    const int before = form.Recovery().Written();
    const Watched typed = Watch(form, true, corpus::Smoke() ? 0.3 : 3.0, [] { return false; });
    const Watched flushed = Watch(form, false, 10.0, [&] { return form.Recovery().Written() > before; });
    const std::int64_t edited = corpus::StatusBytes("VmRSS:");
    std::printf("after %d typed keys and their journal on disk: %.0f MiB resident, %.2f x the file above the empty "
                "window (target <= 1.3); journal %lld bytes\n",
                typed.keys, MiB(edited), above(edited), static_cast<long long>(QFileInfo(form.Recovery().FilePath()).size()));
    std::printf("longest stall while typing with the journal: %.1f ms (longest key %.1f ms), until it was on disk: "
                "%.1f ms (target < 30); "
                "recovery's own longest piece of work %.2f ms (%.2f ms processor)\n",
                typed.longestMs, typed.longestKeyMs, flushed.longestMs, form.Recovery().LongestWorkMs(), form.Recovery().LongestWorkCpuMs());

    // A whole-document command: its result goes to disk once, as a snapshot streamed in slices
    // while keys go on.
    QElapsedTimer command;
    command.start();
    Act(form, "All2")->trigger();
    const double commandS = static_cast<double>(command.nsecsElapsed()) / 1e9;
    // The command's repaint comes in the first pass of the loop, with the snapshot's first slices.
    command.restart();
    QApplication::processEvents();
    const double firstPassMs = static_cast<double>(command.nsecsElapsed()) / 1e6;
    const int beforeSnapshot = form.Recovery().Written();
    const Watched snapshot = Watch(form, false, 60.0, [&] { return form.Recovery().Written() > beforeSnapshot; });
    const std::int64_t whole = corpus::StatusBytes("VmRSS:");
    std::printf("whole-document command (Upper Case) %.2f s, its repaint %.1f ms; then its snapshot on disk in %.2f s (%.1f x cp + sync): "
                "longest stall %.1f ms (target < 30), recovery's own longest piece of work %.2f ms (%.2f ms processor)\n",
                commandS, firstPassMs, snapshot.seconds, snapshot.seconds / copy, snapshot.longestMs, form.Recovery().LongestWorkMs(),
                form.Recovery().LongestWorkCpuMs());
    // Keys while a snapshot streams: each is followed in it.
    Act(form, "All1")->trigger();
    const int beforeSecond = form.Recovery().Written();
    const Watched typedInSnapshot =
        Watch(form, true, 60.0, [&] { return form.Recovery().Written() > beforeSecond; });
    std::printf("Lower Case, then %d keys typed while its snapshot streamed (%.2f s): longest stall %.1f ms "
                "(the longest key's own handling %.1f ms), "
                "recovery's own longest piece of work %.2f ms (%.2f ms processor)\n",
                typedInSnapshot.keys, typedInSnapshot.seconds, typedInSnapshot.longestMs, typedInSnapshot.longestKeyMs,
                form.Recovery().LongestWorkMs(), form.Recovery().LongestWorkCpuMs());
    std::printf("after the command and its snapshot: %.0f MiB resident, %.2f x the file above the empty window; "
                "peak since the open %.2f x\n",
                MiB(whole), above(whole), above(corpus::StatusBytes("VmHWM:")));
    form.Document().SetModified(false);
    form.Recovery().WaitIdle();
    return 0;
}

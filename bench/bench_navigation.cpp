// Go To Line and the caret's position panel on 1,000,000 lines, and zoom steps on 50 MB, each
// beside `wc -l` of the same file measured in the same run. Every step is timed until the
// window has painted it.
#include "app/GoToLineDialog.h"
#include "app/MainWindow.h"
#include "bench/Corpus.h"
#include "editor/Memo.h"
#include "tests/support/FormAccess.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <random>

namespace {

double g_reference = 1;

// Wall and processor time of a step: on a busy machine the processor time tells what the step
// itself costs.
struct Cost {
    double wall = 0;
    double cpu = 0;
};

double ThreadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void RowMs(const char* what, Cost c, const char* target = "")
{
    std::printf("%-48s %8.3f ms wall %8.3f ms cpu %9.5f x wc  %s\n", what, c.wall * 1000, c.cpu * 1000,
                c.wall / g_reference, target);
}

// Everything pending handled and drawn: whatever the step changed in the editor and the panels.
void Settle(TAppForm&)
{
    QApplication::processEvents();
    QApplication::processEvents();
}

// Medians of single steps, each one timed alone.
template <class F>
Cost MedianStep(int steps, F&& step)
{
    std::vector<double> wall, cpu;
    for (int i = 0; i < steps; ++i) {
        const double before = ThreadCpuSeconds();
        wall.push_back(corpus::MedianSeconds(1, [&] { step(i); }));
        cpu.push_back(ThreadCpuSeconds() - before);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

void Key(QWidget* w, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

} // namespace

int main(int argc, char** argv)
{
    corpus::ParseArguments(argc, argv);
    QTemporaryDir home; // zoom steps and recent files are written to a settings file of its own
    qputenv("QUORLEX_HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);
    const QString big = corpus::EnsureFile(QDir::tempPath() + QStringLiteral("/quorlex-bench-1m.txt"),
                                           corpus::Lines(1000000));
    g_reference = corpus::ShellSeconds("wc -l " + big.toStdString() + " >/dev/null", 5);
    std::printf("reference: wc -l of %lld bytes, %.4f s\n\n", static_cast<long long>(QFileInfo(big).size()),
                g_reference);

    TAppForm form;
    form.resize(1000, 700);
    form.show();
    form.LoadDocument(big);
    TMemo* memo = &form.Editor();
    Settle(form);
    const int lines = form.Document().Count();
    std::printf("%d lines\n", lines);
    QLabel* position = form.findChild<QLabel*>(QStringLiteral("PanelPosition"));
    const int steps = corpus::Smoke() ? 20 : 300;

    for (const bool wrap : {false, true}) {
        if (Act(form, "Wordwrap1")->isChecked() != wrap)
            Act(form, "Wordwrap1")->trigger();
        Settle(form);
        std::printf("\nword wrap %s:\n", wrap ? "on" : "off");

        // --- Go To Line: the jump alone, and the whole command with its dialog ---
        std::mt19937 random(7);
        const Cost jump = MedianStep(steps, [&](int) {
            const int line = static_cast<int>(random() % static_cast<unsigned>(lines));
            memo->GoTo(form.Document().Bytes().LineStart(line));
            Settle(form);
        });
        RowMs("  Go To Line: the jump to a random line, painted", jump, "(target 1 ms)");
        const Cost command = MedianStep(steps / 10 + 1, [&](int) {
            QTimer::singleShot(0, &form, [&] {
                if (auto* dialog = qobject_cast<TGoToLineDialog*>(QApplication::activeModalWidget())) {
                    dialog->Edit1->setText(QString::number(random() % static_cast<unsigned>(lines) + 1));
                    dialog->accept();
                }
            });
            Act(form, "GoToLine1")->trigger();
            Settle(form);
        });
        RowMs("  Go To Line: the whole command, dialog shown", command, "(a new window each time)");

        // --- an arrow key held: caret, panel, repaint ---
        memo->GoTo(form.Document().Bytes().LineStart(lines / 2));
        Settle(form);
        const Cost down = MedianStep(steps, [&](int) {
            Key(memo, Qt::Key_Down);
            Settle(form);
        });
        RowMs("  Down held, panel included, per step", down, "(target 1 ms)");
        const Cost right = MedianStep(steps, [&](int) {
            Key(memo, Qt::Key_Right);
            Settle(form);
        });
        RowMs("  Right held, panel included, per step", right, "(target 1 ms)");
        std::printf("  (panel shows \"%s\")\n", position->text().toUtf8().constData());
        // The panel's own part of a step: its text from the document, the status bar's layout
        // and the panel painted.
        std::vector<double> own;
        for (int i = 0; i < steps; ++i) {
            memo->blockSignals(true); // the caret moves; the panel hears of it in the timed part
            Key(memo, i % 2 ? Qt::Key_Down : Qt::Key_Right);
            memo->blockSignals(false);
            QApplication::processEvents();
            own.push_back(corpus::MedianSeconds(1, [&] {
                emit memo->CaretMoved();
                QApplication::processEvents();
                QApplication::processEvents();
            }));
        }
        std::sort(own.begin(), own.end());
        const Cost panel{own[own.size() / 2], own[own.size() / 2]};
        RowMs("  the position panel's part of a step", panel, "(target 1 ms)");
        StatusBarOf(form)->hide();
        memo->GoTo(form.Document().Bytes().LineStart(lines / 2));
        Settle(form);
        const Cost hidden = MedianStep(steps, [&](int) {
            Key(memo, Qt::Key_Down);
            Settle(form);
        });
        StatusBarOf(form)->show();
        RowMs("  the same Down, status bar hidden", hidden);

        // --- zoom ---
        const int zoomSteps = corpus::Smoke() ? 4 : 20;
        const Cost zoomIn = MedianStep(zoomSteps, [&](int) {
            Act(form, "ZoomIn1")->trigger();
            Settle(form);
        });
        RowMs("  Zoom In on 50 MB, per step", zoomIn, "(target 50 ms)");
        const Cost zoomOut = MedianStep(zoomSteps, [&](int) {
            Act(form, "ZoomOut1")->trigger();
            Settle(form);
        });
        RowMs("  Zoom Out on 50 MB, per step", zoomOut, "(target 50 ms)");
    }
    Act(form, "ResetZoom1")->trigger();
    form.Document().SetModified(false);
    return 0;
}

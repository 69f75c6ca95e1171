#include "app/BackgroundSave.h"

#include "app/SaveProgress.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <atomic>
#include <chrono>
#include <exception>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

namespace background_save {

namespace {

// Tells every waiting loop that a worker has ended; lives on the window's thread.
class Ended : public QObject {
    Q_OBJECT
signals:
    void Now();
};

struct Pace {
    std::size_t chunk = 0;
    int pauseMs = 0;
};

struct HeldEvent {
    QPointer<QObject> receiver;
    std::unique_ptr<QEvent> event;
};

int g_running = 0; // saves begun and not yet returned
int g_workers = 0; // workers whose end the window's thread has not yet heard of
Ended* g_ended = nullptr;
Pace g_pace;
std::vector<HeldEvent> g_held;
QPointer<QWidget> g_closeAfter; // a window whose close waited for the save

Ended& Notifier()
{
    if (!g_ended)
        g_ended = new Ended; // lives as long as the program
    return *g_ended;
}

bool Within(const QObject* object, const QWidget* widget)
{
    for (; object; object = object->parent())
        if (object == widget)
            return true;
    return false;
}

// Holds or refuses what would change the document, or end the window, before the save has
// ended.
class Holder : public QObject {
public:
    Holder(QWidget* window, QWidget* editor) : m_window(window), m_editor(editor), m_focus(QApplication::focusWidget())
    {
    }

    // The progress window, which must never take the keys: a platform that gives it the focus
    // all the same has them held for the widget that had the focus before.
    QPointer<QWidget> progress;
    QPointer<QWidget> Focus() const { return m_focus; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        // A window's input goes on to the widget it is for, and is held or refused there; only
        // its close is caught here too.
        if (watched->isWindowType() && e->type() != QEvent::Close)
            return false;
        // A box that some timer shows meanwhile is answered at once; it changes no text.
        if (const QWidget* modal = QApplication::activeModalWidget(); modal && Within(watched, modal))
            return false;
        switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::InputMethod:
        case QEvent::Shortcut:
            if (progress && Within(watched, progress))
                return m_focus ? Hold(m_focus, e) : true;
            return Hold(watched, e);
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::ContextMenu:
            if (Within(watched, m_editor))
                return Hold(watched, e);
            return e->type() != QEvent::MouseMove; // a hover shows hints and changes nothing
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            e->ignore();
            return true;
        case QEvent::Close:
            if (m_window && (watched == m_window || watched == m_window->windowHandle())) {
                e->ignore();
                g_closeAfter = m_window;
                return true;
            }
            return false;
        default:
            return false;
        }
    }

private:
    static bool Hold(QObject* receiver, QEvent* e)
    {
        g_held.push_back({receiver, std::unique_ptr<QEvent>(e->clone())});
        return true;
    }

    QPointer<QWidget> m_window, m_editor, m_focus;
};

} // namespace

bool Running() { return g_running > 0; }

void WaitForEnd()
{
    while (g_workers > 0) {
        QEventLoop loop;
        QObject::connect(&Notifier(), &Ended::Now, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

int ReplayHeldInput()
{
    if (Running())
        return 0;
    std::vector<HeldEvent> held = std::exchange(g_held, {});
    for (HeldEvent& h : held)
        if (h.receiver)
            QCoreApplication::sendEvent(h.receiver, h.event.get());
    if (QWidget* window = g_closeAfter.data(); window && window->isVisible())
        QMetaObject::invokeMethod(window, [window] { window->close(); }, Qt::QueuedConnection);
    g_closeAfter = nullptr;
    return static_cast<int>(held.size());
}

void SetPaceForTests(std::size_t chunk, int pauseMs) { g_pace = {chunk, pauseMs}; }

void Run(QWidget* window, QWidget* editor, const QString& path, std::int64_t documentBytes, WriteSetup setup,
         const std::function<void(const WriteSetup&)>& write)
{
    WaitForEnd();
    std::atomic<std::int64_t> done{0};
    std::atomic<bool> finished{false};
    std::exception_ptr failure;
    const Pace pace = g_pace;
    if (pace.chunk > 0)
        setup.chunk = pace.chunk;
    setup.progress = [&done, pace](std::int64_t bytes) {
        done.store(bytes, std::memory_order_relaxed);
        if (pace.pauseMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(pace.pauseMs));
    };

    Ended& ended = Notifier();
    Holder holder(window, editor);
    QCoreApplication::instance()->installEventFilter(&holder);
    ++g_running;
    ++g_workers;
    std::thread worker([&] {
        try {
            write(setup);
        } catch (...) {
            failure = std::current_exception();
        }
        finished.store(true);
        QMetaObject::invokeMethod(
            &ended,
            [&ended] {
                --g_workers;
                emit ended.Now();
            },
            Qt::QueuedConnection);
    });

    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<SaveProgress> progress;
    QTimer tick;
    tick.setInterval(50);
    QObject::connect(&tick, &QTimer::timeout, &tick, [&] {
        if (!progress && clock.elapsed() >= kShowAfterMs) {
            progress = std::make_unique<SaveProgress>(window, path, documentBytes);
            holder.progress = progress.get();
            progress->show();
        }
        if (progress)
            progress->Update(done.load(std::memory_order_relaxed));
    });
    tick.start();
    while (!finished.load()) {
        QEventLoop loop;
        QObject::connect(&ended, &Ended::Now, &loop, &QEventLoop::quit);
        if (!finished.load())
            loop.exec();
    }
    worker.join();
    tick.stop();
    if (progress && progress->isActiveWindow() && holder.Focus()) {
        progress.reset();
        holder.Focus()->activateWindow(); // the keys go on where they went before
        holder.Focus()->setFocus();
    }
    progress.reset();
    QCoreApplication::instance()->removeEventFilter(&holder);
    --g_running;
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace background_save

#include "BackgroundSave.moc"

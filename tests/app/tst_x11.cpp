// Window titles and frames as the X server holds them: Qt's xcb platform, not the offscreen
// one, decides what a title bar shows. CTest runs this under a virtual X server; without a
// display it skips.
#include "app/Application.h"
#include "app/MainWindow.h"
#include "tests/support/FormAccess.h"
#include "document/DocumentLines.h"
#include "document/TextFile.h"
#include "platform/Error.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

class TestX11 : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::unique_ptr<TAppForm> m_form;

    QString Path(const QString& name) const { return m_home.filePath(name); }

    // One property of a top-level window as xprop prints it, without the name.
    static QString Property(const QWidget& window, const char* name)
    {
        QProcess xprop;
        xprop.start(QStringLiteral("xprop"), {QStringLiteral("-notype"), QStringLiteral("-id"),
                                             QString::number(window.winId()), QString::fromLatin1(name)});
        if (!xprop.waitForFinished(10000))
            return QStringLiteral("<xprop did not run>");
        const QString out = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
        const qsizetype eq = out.indexOf(QStringLiteral(" = "));
        return eq < 0 ? out : out.mid(eq + 3);
    }
    // The title the window manager is given, quoted as xprop prints it.
    static QString Title(const QWidget& window) { return Property(window, "_NET_WM_NAME"); }
    static QString Quoted(const QString& title) { return u'"' + title + u'"'; }

    // Opens a modal window with `open`, runs `inspect` on it while it is shown, then closes it.
    void WithModal(const std::function<void()>& open, const std::function<void(QWidget&)>& inspect)
    {
        bool seen = false;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            poll.stop();
            seen = true;
            inspect(*modal);
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            else
                modal->close();
        });
        poll.start();
        open();
        poll.stop();
        QVERIFY2(seen, "no modal window was shown");
    }

    // The pointer as the window system reports it, so that a drag's own loop sees it too.
    void Pointer(QEvent::Type type, QPoint inView, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
    {
        QWidget* view = m_form->Editor().viewport();
        const QPointF local = view->mapTo(m_form.get(), inView);
        const QPointF global = view->mapToGlobal(QPointF(inView));
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, local, local, global, button, buttons, mods);
        QApplication::sendEvent(m_form->windowHandle(), &e);
    }
    QPoint PointOf(std::int64_t offset)
    {
        TMemo& memo = m_form->Editor();
        memo.SetSelection(offset, 0);
        return memo.inputMethodQuery(Qt::ImCursorRectangle).toRect().center() - memo.viewport()->geometry().topLeft();
    }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != u"xcb")
            QSKIP("needs an X display");
        QVERIFY(m_home.isValid());
        qputenv("QUORLEX_HOME", m_home.path().toLocal8Bit());
        SetUpApplication();
    }
    void init()
    {
        m_form = std::make_unique<TAppForm>();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }
    void cleanup()
    {
        if (m_form)
            m_form->Document().SetModified(false);
        m_form.reset();
    }

    // Qt appends the application display name to every title it hands to X11; the caption
    // must arrive alone, also after it changed.
    void mainWindowShowsExactlyItsCaption()
    {
        QTRY_COMPARE(Title(*m_form), Quoted(QStringLiteral("Quorlex")));
        WriteFileBytes(Path(QStringLiteral("a.txt")), "a");
        WriteFileBytes(Path(QStringLiteral("b.txt")), "b");
        m_form->LoadDocument(Path(QStringLiteral("a.txt")));
        QTRY_COMPARE(Title(*m_form), Quoted(QStringLiteral("Quorlex - a.txt")));
        m_form->LoadDocument(Path(QStringLiteral("b.txt")));
        QTRY_COMPARE(Title(*m_form), Quoted(QStringLiteral("Quorlex - b.txt")));
        m_form->setWindowTitle(QStringLiteral("37%")); // Randomize Lines' progress
        QTRY_COMPARE(Title(*m_form), Quoted(QStringLiteral("37%")));
        Act(m_form, "FileNew1")->trigger();
        QTRY_COMPARE(Title(*m_form), Quoted(QStringLiteral("Quorlex")));
    }

    void dialogsShowExactlyTheirCaptions()
    {
        WriteFileBytes(Path(QStringLiteral("x.txt")), "x");
        m_form->LoadDocument(Path(QStringLiteral("x.txt")));
        WithModal([&] { Act(m_form, "HelpAboutItem")->trigger(); },
                  [&](QWidget& w) { QTRY_COMPARE(Title(w), Quoted(QStringLiteral("About Quorlex"))); });
        WithModal([&] { Act(m_form, "SeparateLines1")->trigger(); },
                  [&](QWidget& w) { QTRY_COMPARE(Title(w), Quoted(QStringLiteral("Separate Lines"))); });
        m_form->Document().SetModified(true);
        WithModal([&] { Act(m_form, "FileNew1")->trigger(); }, // the save prompt; closing it cancels New
                  [&](QWidget& w) { QTRY_COMPARE(Title(w), Quoted(QStringLiteral("Confirmation"))); });
        QCOMPARE(m_form->Document().FileName(), Path(QStringLiteral("x.txt")));
        // The error box carries the application title of the moment: the caption.
        WithModal([&] { m_form->RunGuarded([] { throw QuorlexError("failed"); }); },
                  [&](QWidget& w) { QTRY_COMPARE(Title(w), Quoted(QStringLiteral("Quorlex - x.txt"))); });
    }

    // The selection dragged with the mouse and dropped: moved (copied with Ctrl) as one change,
    // which one Undo takes back.
    void dragAndDropMovesOrCopiesTheSelection_data()
    {
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("copy");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QByteArray>("selected");
        QTest::newRow("moved forward") << 0 << 4 << 15 << false << QByteArray("two\r\nthree one four") << QByteArray("one ");
        QTest::newRow("moved back") << 9 << 6 << 0 << false << QByteArray("three one two\r\nfour") << QByteArray("three ");
        QTest::newRow("copied with ctrl") << 0 << 3 << 20 << true << QByteArray("one two\r\nthree fourone") << QByteArray("one");
        QTest::newRow("dropped onto itself") << 4 << 3 << 6 << false << QByteArray("one two\r\nthree four") << QByteArray("two");
    }
    void dragAndDropMovesOrCopiesTheSelection()
    {
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(int, to);
        QFETCH(bool, copy);
        TMemo& memo = m_form->Editor();
        const std::string text = "one two\r\nthree four";
        lines::SetText(memo.Document(), text);
        const QPoint target = PointOf(to) + QPoint(1, 0);
        const QPoint grip = PointOf(selStart + 1) + QPoint(1, 0);
        memo.SetSelection(selStart, selLength);
        const Qt::KeyboardModifiers mods = copy ? Qt::ControlModifier : Qt::NoModifier;
        // The drag runs a loop of its own: the pointer reaches the target and lets go inside it.
        QTimer drop;
        drop.setSingleShot(true);
        connect(&drop, &QTimer::timeout, this, [&] {
            Pointer(QEvent::MouseMove, target + QPoint(0, 1), Qt::LeftButton, mods);
            QTest::qWait(50);
            Pointer(QEvent::MouseMove, target, Qt::LeftButton, mods);
            QTest::qWait(50);
            Pointer(QEvent::MouseButtonRelease, target, Qt::NoButton, mods);
        });
        drop.start(100);
        Pointer(QEvent::MouseButtonPress, grip, Qt::LeftButton, mods);
        Pointer(QEvent::MouseMove, grip + QPoint(QApplication::startDragDistance() + 2, 0), Qt::LeftButton, mods);
        QTRY_VERIFY(!drop.isActive());
        QTEST(QByteArray::fromStdString(memo.Document().Text()), "expected");
        QTEST(QByteArray::fromStdString(memo.SelText()), "selected");
        Act(m_form, "EditUndo1")->trigger();
        QCOMPARE(memo.Document().Text(), text);
    }

    // No minimise or maximise button (nor close: OK and Enter close the box): the frame hints
    // allow moving only.
    void aboutBoxHasADialogFrameWithoutButtons()
    {
        QString hints;
        WithModal([&] { Act(m_form, "HelpAboutItem")->trigger(); }, [&](QWidget& w) { hints = Property(w, "_MOTIF_WM_HINTS"); });
        const QStringList fields = hints.split(QStringLiteral(", "));
        QVERIFY2(fields.size() == 5, qPrintable(hints));
        bool ok[3] = {};
        const uint flags = fields[0].toUInt(&ok[0], 0), functions = fields[1].toUInt(&ok[1], 0),
                   decorations = fields[2].toUInt(&ok[2], 0);
        QVERIFY2(ok[0] && ok[1] && ok[2], qPrintable(hints));
        // Functions and decorations both given: a window manager fills in what is missing with
        // everything, buttons included.
        QCOMPARE(flags & 3u, 3u);
        QCOMPARE(functions, 4u);                      // move only
        QCOMPARE(decorations & (1u | 32u | 64u), 0u); // no "all", minimise, maximise
        QVERIFY(decorations & 8u);                    // a title
    }
};

int main(int argc, char* argv[])
{
    // Without a display the xcb platform would abort before the test could skip.
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestX11 test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_x11.moc"

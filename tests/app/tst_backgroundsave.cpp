#include "app/BackgroundSave.h"
#include "app/MainWindow.h"
#include "app/SaveProgress.h"
#include "document/TextFile.h"
#include "platform/FileStamp.h"
#include "tests/support/FormAccess.h"
#include "tests/support/ScriptedDialogs.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using Answer = IDialogs::Answer;

// Saves made slow on purpose (a few bytes a write, a pause after each), so that the test can
// type, click and close while the worker writes.
class TestBackgroundSave : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

    QString Path(const char* name) const { return m_home.filePath(QString::fromLatin1(name)); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("QUORLEX_HOME", m_home.path().toLocal8Bit());
        std::signal(SIGXFSZ, SIG_IGN); // a write past the size limit fails instead of ending us
    }
    void cleanup() { background_save::SetPaceForTests(0, 0); }

    void keysTypedDuringASlowSaveApplyAfterIt_data()
    {
        QTest::addColumn<bool>("writeFails");
        QTest::addColumn<bool>("closeDuring");
        QTest::newRow("saved") << false << false;
        QTest::newRow("the write fails half way") << true << false;
        QTest::newRow("closed during the save") << false << true;
    }
    void keysTypedDuringASlowSaveApplyAfterIt()
    {
        QFETCH(bool, writeFails);
        QFETCH(bool, closeDuring);
        const QString path = Path("a.txt");
        WriteFileBytes(path, std::string("old"));
        auto dialogs = std::make_shared<ScriptedDialogs>();
        TAppForm form(dialogs);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.Editor().setFocus();
        form.LoadDocument(path);
        const FileStamp loaded = form.Document().Stamp();
        std::string text;
        for (int i = 0; i < 10; ++i) // all in sight: the click below lands on the first line
            text += "line " + std::to_string(i) + ", as long as a line of prose may be\r\n";
        form.Document().SetText(text);
        form.Editor().SetSelection(form.Document().Length(), 0);
        background_save::SetPaceForTests(4, 8); // some 90 writes: most of a second

        bool running = false, unchangedMeanwhile = false, closed = true, progressShown = false;
        QTimer::singleShot(50, &form, [&] {
            running = background_save::Running();
            QTest::keyClick(&form.Editor(), Qt::Key_X);
            QTest::keyClick(&form.Editor(), Qt::Key_Backspace);
            QTest::keyClicks(&form.Editor(), QStringLiteral("yz"));
            // As the system delivers them, through the window: the caret to the start, a key.
            QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {},
                              form.Editor().viewport()->mapTo(&form, QPoint(2, 2)));
            QTest::keyClick(form.windowHandle(), Qt::Key_A);
            unchangedMeanwhile = form.Document().Text() == text;
            if (closeDuring)
                closed = form.close();
        });
        QTimer::singleShot(background_save::kShowAfterMs + 100, &form, [&] {
            auto* progress = form.findChild<SaveProgress*>();
            progressShown = progress && progress->isVisible();
            if (progress) // a platform may give it the focus: the keys are the editor's all the same
                QTest::keyClick(progress, Qt::Key_Q);
        });
        rlimit before {};
        getrlimit(RLIMIT_FSIZE, &before);
        if (writeFails) {
            rlimit small = before;
            small.rlim_cur = 300; // after the progress has shown
            setrlimit(RLIMIT_FSIZE, &small);
        }
        if (closeDuring)
            dialogs->saveAnswers = {Answer::No}; // asked at the close that waited: the keys made changes
        Act(form, "FileSave1")->trigger();
        setrlimit(RLIMIT_FSIZE, &before);
        QCoreApplication::processEvents(); // the close that waited

        QVERIFY(running);
        QVERIFY(unchangedMeanwhile);
        QVERIFY(progressShown);
        QVERIFY(!form.findChild<SaveProgress*>());
        QCOMPARE(form.Document().Text(), "aq" + text + "yz");
        QVERIFY(form.Document().Modified());
        QCOMPARE(form.StatusPanel(1)->text(), QStringLiteral("Modified"));
        if (writeFails) {
            QCOMPARE(dialogs->errors, QStringList{QStringLiteral("Cannot create file \"") + path +
                                                  QStringLiteral("\". File too large.")});
            QCOMPARE(ReadFileBytes(path), std::string("old"));
            QCOMPARE(form.Document().Stamp(), loaded);
        } else {
            QCOMPARE(dialogs->errors, QStringList{});
            QCOMPARE(ReadFileBytes(path), text);
            QCOMPARE(form.Document().Stamp(), FileStampOf(path));
        }
        QCOMPARE(form.StatusPanel(0)->text(), QString());
        QVERIFY(!(closeDuring && closed));
        QCOMPARE(dialogs->prompts.size(), closeDuring ? 1 : 0);
        QCOMPARE(form.isVisible(), !closeDuring);
        form.Document().SetModified(false);
        QCOMPARE(dialogs->unexpected, 0);
    }
};

QTEST_MAIN(TestBackgroundSave)
#include "tst_backgroundsave.moc"

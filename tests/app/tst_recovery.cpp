#include "app/MainRecovery.h"
#include "app/MainWindow.h"
#include "tests/support/FormAccess.h"
#include "editor/Memo.h"
#include "document/TextFile.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using Answer = IDialogs::Answer;

namespace {

// About 5 MB of lines, with the bytes a recovery must keep: Turkish letters, byte 0, a tab.
std::string BigText()
{
    std::string text;
    text.reserve(5 << 20);
    for (int i = 0; text.size() < (5u << 20); ++i)
        text += "Sat\xFDr " + std::to_string(i) + " \xE7\xF0\xFE\xFD\xF6\xFC\t";
        text.push_back('\0');
        text += "x\r\n";
    return text;
}

const char* kChildFlag = "--type-and-wait";
constexpr int kTypedAt = 1000;

// The child of the kill test: the real window loads `path`, gets typed into, and waits for
// its recovery copy; then it says so and idles until it is killed.
int TypeAndWait(const QString& path)
{
    auto dialogs = std::make_shared<ScriptedDialogs>();
    TAppForm form(dialogs);
    form.show();
    form.Recovery().SetDelays(100, 1000);
    form.LoadDocument(path);
    form.Editor().SetSelection(kTypedAt, 0);
    QTest::keyClicks(&form.Editor(), QStringLiteral("typed"));
    QElapsedTimer waited;
    waited.start();
    while (form.Recovery().Written() < 1 && waited.elapsed() < 20000)
        QTest::qWait(20);
    std::printf("copied %d\n", form.Recovery().Written());
    std::fflush(stdout);
    QTest::qWait(60000);
    return 3; // not reached: the test kills it
}

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;
    std::vector<std::shared_ptr<ScriptedDialogs>> m_dialogs;
    std::vector<std::unique_ptr<TAppForm>> m_forms;

    QString Path(const QString& name) const { return m_home->filePath(name); }
    TAppForm& NewForm()
    {
        m_dialogs.push_back(std::make_shared<ScriptedDialogs>());
        m_forms.push_back(std::make_unique<TAppForm>(m_dialogs.back()));
        m_forms.back()->Recovery().SetDelays(30, 300);
        return *m_forms.back();
    }
    ScriptedDialogs& DialogsOf(const TAppForm& form) const
    {
        for (std::size_t i = 0; i < m_forms.size(); ++i)
            if (m_forms[i].get() == &form)
                return *m_dialogs[i];
        throw std::logic_error("no such form");
    }
    // The window dies without closing: its lock goes, its copy stays, as after a kill.
    void Die(TAppForm& form)
    {
        form.Recovery().WaitIdle();
        for (auto& f : m_forms)
            if (f.get() == &form)
                f.reset();
    }
    static void WaitForCopy(TAppForm& form, int count = 1) { QTRY_VERIFY(form.Recovery().Written() >= count); }
    static void Activate(TAppForm& form)
    {
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&form, &activate);
        QApplication::processEvents();
    }
    static QStringList RecoveryFiles(const QString& folder)
    {
        return QDir(folder).entryList({QStringLiteral("recovery-*.dat")}, QDir::Files);
    }

private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        QVERIFY(m_home->isValid());
        qputenv("QUORLEX_HOME", m_home->path().toLocal8Bit());
    }
    void cleanup()
    {
        for (std::size_t i = 0; i < m_forms.size(); ++i) {
            if (!m_forms[i])
                continue;
            QCOMPARE(m_dialogs[i]->unexpected, 0);
            m_forms[i]->Document().SetModified(false);
        }
        m_forms.clear();
        m_dialogs.clear();
    }

    // --- the copy and its offer ---
    void killedProcessIsRestoredByTheNextRun()
    {
        const std::string original = BigText();
        WriteFileBytes(Path(QStringLiteral("big.txt")), original);
        QProcess child;
        child.setProgram(QCoreApplication::applicationFilePath());
        child.setArguments({QString::fromLatin1(kChildFlag), Path(QStringLiteral("big.txt"))});
        child.start();
        QVERIFY(child.waitForStarted());
        QVERIFY(child.waitForReadyRead(30000));
        QCOMPARE(child.readAllStandardOutput().trimmed(), QByteArray("copied 1"));
        child.kill(); // SIGKILL: no close, no destructor
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QCOMPARE(RecoveryFiles(m_home->path()).size(), 1);

        TAppForm& next = NewForm();
        DialogsOf(next).restoreAnswers = {Answer::Yes};
        next.Start({});
        QCOMPARE(DialogsOf(next).restoreOffers.size(), 1);
        QVERIFY(DialogsOf(next).restoreOffers[0].contains(Path(QStringLiteral("big.txt"))));
        std::string expected = original;
        expected.insert(kTypedAt, "typed");
        QVERIFY(next.Document().Text() == expected); // 5 MB: no dump of both sides
        QCOMPARE(next.Document().FileName(), Path(QStringLiteral("big.txt")));
        QVERIFY(next.Document().Modified());
        QCOMPARE(next.windowTitle(), QStringLiteral("Quorlex - big.txt"));
        QVERIFY(ReadFileBytes(Path(QStringLiteral("big.txt"))) == original); // nothing saved behind the user
        // The copy now protects the restored text under this run's name.
        QCOMPARE(RecoveryFiles(m_home->path()), QStringList{QFileInfo(next.Recovery().FilePath()).fileName()});
        Act(next, "FileSave1")->trigger();
        QVERIFY(ReadFileBytes(Path(QStringLiteral("big.txt"))) == expected);
        next.Recovery().WaitIdle();
        QCOMPARE(RecoveryFiles(m_home->path()), QStringList());
    }
    void windowThatDiesInProcessIsRestoredByteForByte()
    {
        TAppForm& first = NewForm();
        std::string text = BigText();
        first.Document().SetText(text);
        first.Editor().SetSelection(0, 0);
        QTest::keyClicks(&first.Editor(), QStringLiteral("ab"));
        WaitForCopy(first);
        Die(first);
        TAppForm& second = NewForm();
        DialogsOf(second).restoreAnswers = {Answer::Yes};
        second.Start({});
        QVERIFY(DialogsOf(second).restoreOffers.value(0).contains(QStringLiteral("an untitled document")));
        QVERIFY(second.Document().Text() == "ab" + text);
        QVERIFY(second.Document().FileName().isEmpty());
        QCOMPARE(second.windowTitle(), QStringLiteral("Quorlex"));
        QVERIFY(second.Document().Modified());
    }
    void twoWindowsAtOnceKeepTheirOwnCopies()
    {
        TAppForm& a = NewForm();
        TAppForm& b = NewForm();
        a.Document().SetText("text of a");
        b.Document().SetText("text of b");
        WaitForCopy(a);
        WaitForCopy(b);
        QVERIFY(a.Recovery().FilePath() != b.Recovery().FilePath());
        QCOMPARE(RecoveryFiles(m_home->path()).size(), 2);
        // A third start while both run finds nothing to offer.
        TAppForm& c = NewForm();
        c.Start({});
        QCOMPARE(DialogsOf(c).restoreOffers.size(), 0);
        // b dies; the next start offers b's copy and no other.
        Die(b);
        TAppForm& d = NewForm();
        DialogsOf(d).restoreAnswers = {Answer::Yes};
        d.Start({});
        QCOMPARE(DialogsOf(d).restoreOffers.size(), 1);
        QCOMPARE(d.Document().Text(), std::string("text of b"));
        QCOMPARE(a.Document().Text(), std::string("text of a"));
        QVERIFY(QFile::exists(a.Recovery().FilePath()));
    }
    void offerAnswers_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("copyRemains");
        QTest::newRow("discard deletes the copy") << int(Answer::No) << false;
        QTest::newRow("closing the box keeps it for the next start") << int(Answer::Cancel) << true;
    }
    void offerAnswers()
    {
        QFETCH(int, answer);
        QFETCH(bool, copyRemains);
        TAppForm& first = NewForm();
        first.Document().SetText("lost?");
        WaitForCopy(first);
        Die(first);
        TAppForm& second = NewForm();
        DialogsOf(second).restoreAnswers = {Answer(answer)};
        second.Start({});
        QCOMPARE(second.Document().Text(), std::string());
        QVERIFY(!second.Document().Modified());
        QCOMPARE(RecoveryFiles(m_home->path()).size(), copyRemains ? 1 : 0);
    }
    void commandLineFileComesAfterTheOffer_data()
    {
        QTest::addColumn<int>("offer");
        QTest::addColumn<int>("savePrompt");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("discarded: the file opens") << int(Answer::No) << -1 << QByteArray("file");
        QTest::newRow("restored, then No: the file opens") << int(Answer::Yes) << int(Answer::No) << QByteArray("file");
        QTest::newRow("restored, then Cancel: the copy stays")
            << int(Answer::Yes) << int(Answer::Cancel) << QByteArray("recovered");
    }
    void commandLineFileComesAfterTheOffer()
    {
        QFETCH(int, offer);
        QFETCH(int, savePrompt);
        QFETCH(QByteArray, expected);
        WriteFileBytes(Path(QStringLiteral("arg.txt")), "file");
        TAppForm& first = NewForm();
        first.Document().SetText("recovered");
        WaitForCopy(first);
        Die(first);
        TAppForm& second = NewForm();
        DialogsOf(second).restoreAnswers = {Answer(offer)};
        if (savePrompt >= 0)
            DialogsOf(second).saveAnswers = {Answer(savePrompt)};
        second.Start({Path(QStringLiteral("arg.txt"))});
        QCOMPARE(DialogsOf(second).restoreOffers.size(), 1);
        QCOMPARE(DialogsOf(second).prompts.size(), savePrompt >= 0 ? 1 : 0);
        QCOMPARE(QByteArray::fromStdString(second.Document().Text()), expected);
        QCOMPARE(second.Document().Modified(), expected == "recovered");
    }
    void copyOfAFileThatIsGoneSavesItAnew()
    {
        const QString gone = Path(QStringLiteral("gone.txt"));
        WriteFileBytes(gone, "old");
        TAppForm& first = NewForm();
        first.LoadDocument(gone);
        first.Document().SetText("newer");
        WaitForCopy(first);
        Die(first);
        QFile::remove(gone);
        TAppForm& second = NewForm();
        DialogsOf(second).restoreAnswers = {Answer::Yes};
        second.Start({});
        QCOMPARE(second.Document().FileName(), gone);
        QCOMPARE(second.Document().Text(), std::string("newer"));
        QVERIFY(second.Document().Modified());
        Act(second, "FileSave1")->trigger(); // nobody else's file to overwrite: no question
        QCOMPARE(DialogsOf(second).questions, QStringList());
        QCOMPARE(ReadFileBytes(gone), std::string("newer"));
        QVERIFY(!second.Document().Modified());
    }
    void copyGoesWhenTheTextIsSavedOrGivenUp_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("copyRemains");
        QTest::newRow("save") << QStringLiteral("save") << false;
        QTest::newRow("New, No") << QStringLiteral("new-no") << false;
        QTest::newRow("Open, No, file chosen") << QStringLiteral("open-no") << false;
        QTest::newRow("Open, No, open dialog cancelled") << QStringLiteral("open-no-cancel") << true;
        QTest::newRow("close, No") << QStringLiteral("close-no") << false;
        QTest::newRow("close, Cancel") << QStringLiteral("close-cancel") << true;
    }
    void copyGoesWhenTheTextIsSavedOrGivenUp()
    {
        QFETCH(QString, how);
        QFETCH(bool, copyRemains);
        WriteFileBytes(Path(QStringLiteral("a.txt")), "a");
        WriteFileBytes(Path(QStringLiteral("b.txt")), "b");
        TAppForm& form = NewForm();
        ScriptedDialogs& dialogs = DialogsOf(form);
        form.LoadDocument(Path(QStringLiteral("a.txt")));
        form.Document().SetText("edited");
        WaitForCopy(form);
        QVERIFY(QFile::exists(form.Recovery().FilePath()));
        if (how == QStringLiteral("save")) {
            Act(form, "FileSave1")->trigger();
        } else if (how == QStringLiteral("new-no")) {
            dialogs.saveAnswers = {Answer::No};
            Act(form, "FileNew1")->trigger();
        } else if (how.startsWith(QStringLiteral("open-no"))) {
            dialogs.saveAnswers = {Answer::No};
            dialogs.openNames = {how.endsWith(QStringLiteral("cancel")) ? std::optional<QString>()
                                                                          : Path(QStringLiteral("b.txt"))};
            Act(form, "FileOpen1")->trigger();
        } else {
            dialogs.saveAnswers = {how.endsWith(QStringLiteral("no")) ? Answer::No : Answer::Cancel};
            form.close();
        }
        form.Recovery().WaitIdle();
        QCOMPARE(QFile::exists(form.Recovery().FilePath()), copyRemains);
    }

    // --- files changed behind the editor's back ---
    void externalChangeThenSave_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("Yes writes over it") << int(Answer::Yes);
        QTest::newRow("No cancels the save") << int(Answer::No);
    }
    void externalChangeThenSave()
    {
        QFETCH(int, answer);
        const QString path = Path(QStringLiteral("shared.txt"));
        WriteFileBytes(path, "mine");
        TAppForm& form = NewForm();
        form.LoadDocument(path);
        form.Document().SetText("mine, edited");
        WriteFileBytes(path, "theirs, longer");
        DialogsOf(form).yesNoAnswers = {Answer(answer)};
        form.RunGuarded([&] { Act(form, "FileSave1")->trigger(); });
        QCOMPARE(DialogsOf(form).questions,
                 QStringList{path + QStringLiteral(" was changed by another program since it was opened or saved. "
                                                   "Overwrite it?")});
        QCOMPARE(DialogsOf(form).errors, QStringList()); // a No is no failure
        const bool yes = Answer(answer) == Answer::Yes;
        QCOMPARE(ReadFileBytes(path), std::string(yes ? "mine, edited" : "theirs, longer"));
        QCOMPARE(form.Document().Modified(), !yes);
        // Asked again on the next Save after No; after Yes the file is ours again.
        DialogsOf(form).yesNoAnswers = {Answer::Yes};
        Act(form, "FileSave1")->trigger();
        QCOMPARE(DialogsOf(form).questions.size(), yes ? 1 : 2);
        QCOMPARE(ReadFileBytes(path), std::string("mine, edited"));
        // The close query's Yes saves through the same check.
        form.Document().SetText("third");
        WriteFileBytes(path, "theirs again");
        DialogsOf(form).saveAnswers = {Answer::Yes};
        DialogsOf(form).yesNoAnswers = {Answer::No};
        QVERIFY(!form.close()); // No to overwriting keeps the window open
        QCOMPARE(ReadFileBytes(path), std::string("theirs again"));
    }
    void externalChangeSeenOnActivation_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("modifiedBefore");
        QTest::newRow("not modified, Yes reloads") << int(Answer::Yes) << false;
        QTest::newRow("not modified, No keeps the text") << int(Answer::No) << false;
        QTest::newRow("modified, Yes drops the changes") << int(Answer::Yes) << true;
    }
    void externalChangeSeenOnActivation()
    {
        QFETCH(int, answer);
        QFETCH(bool, modifiedBefore);
        const QString path = Path(QStringLiteral("watched.txt"));
        WriteFileBytes(path, "before");
        TAppForm& form = NewForm();
        form.LoadDocument(path);
        if (modifiedBefore)
            form.Document().SetText("typed");
        const std::string shown = form.Document().Text();
        Activate(form);
        QCOMPARE(DialogsOf(form).questions.size(), 0); // unchanged: no question
        WriteFileBytes(path, "after!");
        DialogsOf(form).yesNoAnswers = {Answer(answer)};
        Activate(form);
        QCOMPARE(DialogsOf(form).questions,
                 QStringList{path + QStringLiteral(" was changed by another program. Reload it?")});
        const bool yes = Answer(answer) == Answer::Yes;
        QCOMPARE(form.Document().Text(), yes ? std::string("after!") : shown);
        QCOMPARE(form.Document().Modified(), !yes);
        Activate(form);
        QCOMPARE(DialogsOf(form).questions.size(), 1); // once
        if (!yes) {
            WriteFileBytes(path, "changed anew");
            DialogsOf(form).yesNoAnswers = {Answer::No};
            Activate(form);
            QCOMPARE(DialogsOf(form).questions.size(), 2);
        }
    }
    void deletedFileIsSaidOnce()
    {
        const QString path = Path(QStringLiteral("doomed.txt"));
        WriteFileBytes(path, "keep me");
        TAppForm& form = NewForm();
        form.LoadDocument(path);
        QFile::remove(path);
        Activate(form);
        Activate(form);
        QCOMPARE(DialogsOf(form).notices.size(), 1);
        QVERIFY(DialogsOf(form).notices[0].startsWith(path + QStringLiteral(" was deleted")));
        QVERIFY(form.Document().Modified());
        WaitForCopy(form); // the text lives only here now
        Act(form, "FileSave1")->trigger();
        QCOMPARE(ReadFileBytes(path), std::string("keep me"));
        QCOMPARE(DialogsOf(form).questions, QStringList());
    }

    // --- a write that fails ---
    void saveThatFailsForRealKeepsFileAndFlag()
    {
        const QString path = Path(QStringLiteral("full.txt"));
        WriteFileBytes(path, "old contents\r\n");
        TAppForm& form = NewForm();
        form.LoadDocument(path);
        std::string big;
        while (big.size() < (1u << 20))
            big += "a line that will not fit\r\n";
        form.Document().SetText(big);
        const pid_t child = ::fork();
        if (child == 0) {
            // Files of this child may not grow past 64 KB: the write fails as on a full disk.
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{64 * 1024, 64 * 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            form.RunGuarded([&] { Act(form, "FileSave1")->trigger(); });
            const ScriptedDialogs& d = DialogsOf(form);
            const bool reported = d.errors.size() == 1 && d.errors[0].startsWith(QStringLiteral("Cannot create file"));
            ::_exit((reported ? 0 : 1) | (form.Document().Modified() ? 0 : 2));
        }
        int status = -1;
        ::waitpid(child, &status, 0);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(ReadFileBytes(path), std::string("old contents\r\n"));
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], kChildFlag) == 0)
        return TypeAndWait(QString::fromLocal8Bit(argv[2]));
    TestRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"

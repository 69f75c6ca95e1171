#include "app/MainRecovery.h"
#include "app/MainWindow.h"
#include "tests/support/FormAccess.h"
#include "editor/Memo.h"
#include "document/RecoveryFile.h"
#include "document/RecoverySlots.h"
#include "document/TextFile.h"
#include "extract/ExtractionScript.h"
#include "extract/UrlFetch.h"
#include "extract/ui/ScriptEditor.h"
#include "extract/ui/extracttext.h"
#include "platform/ProgramFolder.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLockFile>
#include <QProcess>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QtTest>

#include <climits>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
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

const char* kReportFlag = "--make-files-and-report";
constexpr uid_t kNobody = 65534;

unsigned ModeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// A child: two copies of a big text fall due, then each other working file is made once.
// Prints the warnings, the first of them, status panel 0 after the second copy, and the modes.
int MakeFilesAndReport()
{
    auto dialogs = std::make_shared<ScriptedDialogs>();
    TAppForm form(dialogs);
    for (const char c : {'x', 'y'}) {
        form.Document().SetText(std::string(64 << 10, c)); // more than the full disk takes
        form.Recovery().WaitIdle();
        QTest::qWait(50); // the writer's report reaches the window
    }
    const QString copy = form.Recovery().FilePath(); // empty where no folder could be made
    TExtract(&form, form).Memo1->SetText("a script");
    LoopbackServer server({{"/page", LoopbackServer::Response("200 OK", "page")}});
    unsigned carrier = 0;
    form.RunGuarded([&] { // where the folder takes no copy, it takes no other file either
        DownloadUrlToFile(server.Url("/page"), ProgramFilePath(ProgramFile::Temp));
        LoadExtractionResult("result", ProgramFilePath(ProgramFile::Temp001),
                             [&](const QString& p) { carrier = ModeOf(p); });
    });
    std::printf("warnings %lld\n%s\n%s\ncopy %o lock %o extractform %o temp %o temp001 %o\n",
                static_cast<long long>(dialogs->warnings.size()), qPrintable(dialogs->warnings.value(0)),
                qPrintable(form.StatusPanel(0)->text()), ModeOf(copy),
                ModeOf(copy.left(copy.size() - 4) + QStringLiteral(".lock")), ModeOf(ProgramFilePath(ProgramFile::ExtractForm)),
                ModeOf(ProgramFilePath(ProgramFile::Temp)), carrier);
    form.Document().SetModified(false);
    return 0;
}

// Runs that child with `variable` set, as the user nobody when `unprivileged`, its files held
// under `fileLimit` bytes when that is not 0. `root` holds a home folder, a read-only folder
// and a file.
QStringList RunChild(const QTemporaryDir& root, const QString& variable, const QString& value, bool unprivileged,
                     rlim_t fileLimit)
{
    const QString home = root.filePath(QStringLiteral("home"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QUORLEX_HOME"));
    for (const char* name : {"HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        env.insert(QString::fromLatin1(name), home);
    env.insert(variable, value);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen")); // nobody cannot reach this display
    QProcess child;
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments({QString::fromLatin1(kReportFlag)});
    child.setProcessEnvironment(env);
    child.setChildProcessModifier([=] {
        if (fileLimit) {
            std::signal(SIGXFSZ, SIG_IGN); // the write fails with EFBIG, as on a full disk
            const rlimit limit{fileLimit, fileLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (unprivileged && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(90);
    });
    child.start();
    child.waitForFinished(60000);
    return QString::fromLocal8Bit(child.readAllStandardOutput()).split(u'\n');
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
    // The restored text is the first thing the user sees: no save prompt, no other file over it.
    void commandLineFileAfterTheOffer_data()
    {
        QTest::addColumn<int>("offer");
        QTest::addColumn<bool>("copyOfTheArgument");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QString>("panel");
        QTest::newRow("discarded: the file opens") << int(Answer::No) << false << QByteArray("file") << QString();
        QTest::newRow("later: the file opens") << int(Answer::Cancel) << false << QByteArray("file") << QString();
        QTest::newRow("copy of another file restored: the file is not opened")
            << int(Answer::Yes) << false << QByteArray("recovered")
            << QStringLiteral("Restored an untitled document; arg file.txt was not opened");
        QTest::newRow("copy of that file restored: it is that file, modified")
            << int(Answer::Yes) << true << QByteArray("recovered") << QString();
    }
    void commandLineFileAfterTheOffer()
    {
        QFETCH(int, offer);
        QFETCH(bool, copyOfTheArgument);
        QFETCH(QByteArray, expected);
        QFETCH(QString, panel);
        const QString arg = Path(QStringLiteral("arg file.txt"));
        WriteFileBytes(arg, "file");
        TAppForm& first = NewForm();
        if (copyOfTheArgument)
            first.LoadDocument(arg);
        first.Document().SetText("recovered");
        WaitForCopy(first);
        Die(first);
        TAppForm& second = NewForm();
        DialogsOf(second).restoreAnswers = {Answer(offer)};
        second.Start(arg.split(u' ')); // all arguments name one file
        QCOMPARE(DialogsOf(second).restoreOffers.size(), 1);
        QCOMPARE(DialogsOf(second).prompts, QStringList());
        QCOMPARE(QByteArray::fromStdString(second.Document().Text()), expected);
        const bool restored = expected == "recovered";
        QCOMPARE(second.Document().Modified(), restored);
        QCOMPARE(second.Document().FileName(), !restored || copyOfTheArgument ? arg : QString());
        QCOMPARE(second.StatusPanel(0)->text(), panel);
        QCOMPARE(ReadFileBytes(arg), std::string("file"));
        QCOMPARE(RecoveryFiles(m_home->path()).size(), Answer(offer) == Answer::No ? 0 : 1);
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
    // A journal over its file: replayed while the file is the one it was, else only what was typed.
    void journalOverAFileChangedSinceGivesWhatWasTyped()
    {
        const QString path = Path(QStringLiteral("notes.txt"));
        WriteFileBytes(path, "line one\nline two\n"); // LF: read as CR LF, written back as LF
        TAppForm& first = NewForm();
        first.LoadDocument(path);
        first.Editor().SetSelection(8, 0);
        QTest::keyClicks(&first.Editor(), QStringLiteral(" typed"));
        WaitForCopy(first);
        Die(first);
        WriteFileBytes(path, "rewritten by another program\n");
        TAppForm& second = NewForm();
        DialogsOf(second).restoreAnswers = {Answer::Yes};
        DialogsOf(second).yesNoAnswers = {Answer::No};
        second.Start({});
        QVERIFY(DialogsOf(second).restoreOffers.value(0).contains(
            QStringLiteral(" It holds changes to the file, which has changed since: 6 of its 26 bytes are there")));
        QCOMPARE(second.Document().Text(), std::string(" typed"));
        QVERIFY(second.Document().Encoding().lineBreaks == LineBreaks::Lf);
        second.RunGuarded([&] { Act(second, "FileSave1")->trigger(); }); // asks before writing over it
        QCOMPARE(ReadFileBytes(path), std::string("rewritten by another program\n"));
    }
    // Typing goes into the journal; a snapshot comes only when replaying would cost more than
    // the text (a snapshot writes a new file in the journal's place).
    void journalIsCompactedOnlyWhenItOutgrowsTheText()
    {
        const auto inode = [](const QString& p) {
            struct stat st {};
            return ::stat(QFile::encodeName(p).constData(), &st) == 0 ? st.st_ino : 0;
        };
        TAppForm& form = NewForm();
        form.Document().SetText(std::string(1 << 20, 'x')); // a whole new text: a snapshot
        form.Recovery().WaitIdle();
        const QString path = form.Recovery().FilePath();
        const auto first = inode(path);
        const auto typeAt = [&](int at, const QString& keys) {
            form.Editor().SetSelection(at, 0);
            QTest::keyClicks(&form.Editor(), keys);
            form.Recovery().WaitIdle();
        };
        typeAt(10, QStringLiteral("typed"));
        QCOMPARE(inode(path), first);
        QVERIFY(QFileInfo(path).size() < (1 << 20) + 4096);
        // Edits that replace more bytes than the text holds.
        for (int i = 0; i < 40; ++i)
            form.Document().Replace((i % 30) << 15, 1 << 15, std::string(1 << 15, char('a' + i % 26)), ByteDocument::Undo::None);
        form.Recovery().WaitIdle();
        QVERIFY(inode(path) != first);
        QCOMPARE(ReadRecoveryFile(path)->text, form.Document().Text());
        QVERIFY(QFileInfo(path).size() < form.Document().Length() + 65536);
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
        QTest::newRow("modified, No keeps the changes") << int(Answer::No) << true;
        QTest::newRow("modified, Yes keeps their copy, and Undo brings them back") << int(Answer::Yes) << true;
    }
    void externalChangeSeenOnActivation()
    {
        QFETCH(int, answer);
        QFETCH(bool, modifiedBefore);
        const QString path = Path(QStringLiteral("watched.txt"));
        WriteFileBytes(path, "before");
        struct stat before {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &before), 0);
        TAppForm& form = NewForm();
        form.Document().SetKeepHistory(true);
        form.LoadDocument(path);
        if (modifiedBefore)
            QTest::keyClicks(&form.Editor(), QStringLiteral("typed "));
        const std::string shown = form.Document().Text();
        Activate(form);
        QCOMPARE(DialogsOf(form).questions.size(), 0); // unchanged: no question
        // Another file of the same size in its place, its time put back: only the inode tells.
        WriteFileBytes(path, "after!");
        const timespec times[2] = {before.st_atim, before.st_mtim};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
        DialogsOf(form).yesNoAnswers = {Answer(answer)};
        Activate(form);
        QCOMPARE(DialogsOf(form).questions,
                 QStringList{path + (modifiedBefore ? QStringLiteral(" was changed by another program. Reload it and "
                                                                     "lose your changes?")
                                                    : QStringLiteral(" was changed by another program. Reload it?"))});
        // With changes to lose, Enter keeps them.
        QCOMPARE(DialogsOf(form).questionDefaults, QList<Answer>{modifiedBefore ? Answer::No : Answer::Yes});
        const bool yes = Answer(answer) == Answer::Yes;
        QCOMPARE(form.Document().Text(), yes ? std::string("after!") : shown);
        QCOMPARE(form.Document().Modified(), !yes);
        Activate(form);
        QCOMPARE(DialogsOf(form).questions.size(), 1); // once
        if (yes && modifiedBefore) {
            form.Recovery().WaitIdle();
            const QStringList kept = form.Recovery().KeptPaths();
            QCOMPARE(kept.size(), 1);
            QCOMPARE(ReadRecoveryFile(kept[0])->text, std::string("typed before"));
            Act(form, "EditUndo1")->trigger(); // the reload was one step
            QCOMPARE(form.Document().Text(), std::string("typed before"));
            QVERIFY(form.Document().Modified());
            Act(form, "FileSave1")->trigger(); // and the copy is kept until the next save
            form.Recovery().WaitIdle();
            QCOMPARE(RecoveryFiles(m_home->path()), QStringList());
        } else if (!yes) {
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

    // --- copies that cannot be written ---
    void failureToProtectIsSaidOnceAndGoesWithASuccess()
    {
        const QString folder = Path(QStringLiteral("not-yet"));
        qputenv("QUORLEX_HOME", folder.toLocal8Bit());
        TAppForm& form = NewForm();
        const QString failure = QStringLiteral("Unsaved changes cannot be protected: ") + folder +
                                QStringLiteral(": No such file or directory");
        const auto change = [&](const char* text) {
            form.Document().SetText(text);
            form.Recovery().WaitIdle();
            QTest::qWait(20); // the writer's report
        };
        change("one");
        QCOMPARE(DialogsOf(form).warnings, QStringList{failure});
        QCOMPARE(form.StatusPanel(0)->text(), failure);
        // A hint covers it while the pointer rests on a command; then it is said again.
        for (const QString& tip : {QStringLiteral("Open a file"), QString()}) {
            QStatusTipEvent hint(tip);
            QApplication::sendEvent(&form, &hint);
            QCOMPARE(form.StatusPanel(0)->text(), tip.isEmpty() ? failure : tip);
        }
        QVERIFY(QDir().mkpath(folder)); // the next copy is written, and the failure goes
        change("two");
        QCOMPARE(form.Recovery().Written(), 1);
        QCOMPARE(form.StatusPanel(0)->text(), QString());
        QVERIFY(QDir(folder).removeRecursively()); // failing again: said in the panel, no second box
        change("three");
        QCOMPARE(form.StatusPanel(0)->text(), failure);
        QCOMPARE(DialogsOf(form).warnings.size(), 1);
    }

    // Each set-up in a program of its own, with its own environment and user.
    void foldersThatTakeNoCopyAndTheModesOfWorkingFiles_data()
    {
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("value"); // under the set-up's folder unless absolute
        QTest::addColumn<bool>("asNobody"); // for whom the build folder is closed: XDG folders
        QTest::addColumn<int>("fileLimit");
        QTest::addColumn<QString>("failure"); // folder: reason; empty when the copies are written
        const QString home = QStringLiteral("QUORLEX_HOME"), state = QStringLiteral("XDG_STATE_HOME");
        QTest::newRow("portable, working") << home << "home" << false << 0 << QString();
        QTest::newRow("XDG, working") << state << "home/s" << true << 0 << QString();
        QTest::newRow("missing") << home << "missing" << false << 0 << "missing: No such file or directory";
        QTest::newRow("a file") << home << "file" << false << 0 << "file: Not a directory";
        QTest::newRow("full disk") << home << "home" << false << 16384 << "home: File too large";
        QTest::newRow("unwritable") << home << "ro" << true << 0 << "ro: Permission denied";
        QTest::newRow("XDG unwritable") << state << "ro" << true << 0 << "ro/quorlex: Permission denied";
        QTest::newRow("XDG a file") << state << "file" << true << 0 << "file/quorlex: Not a directory";
        QTest::newRow("XDG on /proc") << state << "/proc" << true << 0 << "/proc/quorlex: No such file or directory";
    }
    void foldersThatTakeNoCopyAndTheModesOfWorkingFiles()
    {
        QFETCH(QString, variable);
        QFETCH(QString, value);
        QFETCH(bool, asNobody);
        QFETCH(int, fileLimit);
        QFETCH(QString, failure);
        if (asNobody && ::geteuid() != 0)
            QSKIP("needs root, to run the program as a user for whom the folders are closed");
        QTemporaryDir root;
        const auto under = [&](const QString& p) { return p.startsWith(u'/') ? p : root.filePath(p); };
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("home/s")) && QDir(root.path()).mkdir(QStringLiteral("ro")));
        WriteFileBytes(under(QStringLiteral("file")), "a file where a folder should be");
        ::chmod(QFile::encodeName(root.path()).constData(), 0755);
        ::chmod(QFile::encodeName(under(QStringLiteral("ro"))).constData(), 0555);
        if (asNobody)
            QCOMPARE(std::system(("chown -R nobody " + under(QStringLiteral("home")).toStdString()).c_str()), 0);
        const QStringList said = RunChild(root, variable, under(value), asNobody, static_cast<rlim_t>(fileLimit));
        if (failure.isEmpty()) {
            QCOMPARE(said.mid(0, 3), (QStringList{QStringLiteral("warnings 0"), QString(), QString()}));
            QCOMPARE(said.value(3), QStringLiteral("copy 600 lock 600 extractform 600 temp 600 temp001 600"));
            return;
        }
        const QString text = QStringLiteral("Unsaved changes cannot be protected: ") + under(failure);
        QCOMPARE(said.mid(0, 3),
                 (QStringList{QStringLiteral("warnings 1"), text, text})); // said still after the second
    }

    // --- copies left behind: stale locks, damaged copies ---
    void leftCopiesAreOfferedOrSetAside_data()
    {
        QTest::addColumn<QByteArray>("copy");
        QTest::addColumn<QByteArray>("lock"); // null: held by a running program
        QTest::addColumn<int>("lockMode");
        QTest::addColumn<QByteArray>("restored"); // null: not offered
        const QByteArray good = QByteArray::fromStdString(EncodeRecoveryHeader({"", 1, {}, {}}, 4)) + "kept";
        const QByteArray promises1000 = QByteArray::fromStdString(EncodeRecoveryHeader({"/d.txt", 1, {}, {}}, 1000));
        char host[HOST_NAME_MAX + 1] = {};
        ::gethostname(host, sizeof host - 1);
        const pid_t dead = ::fork();
        if (dead == 0)
            ::_exit(0);
        ::waitpid(dead, nullptr, 0);
        QTest::newRow("lock empty, as a power loss leaves it") << good << QByteArray("") << 0600 << QByteArray("kept");
        QTest::newRow("lock garbage") << good << QByteArray("\x01\xFEzz") << 0600 << QByteArray("kept");
        QTest::newRow("lock of another host") << good << QByteArray::number(dead) + "\nother-host\n" << 0600
                                              << QByteArray("kept");
        QTest::newRow("lock of this host, its pid now another program's")
            << good << QByteArray("1\n") + host + "\n" << 0600 << QByteArray("kept");
        QTest::newRow("lock unreadable") << good << QByteArray("1\n") << 0 << QByteArray("kept");
        QTest::newRow("lock held: not offered") << good << QByteArray() << 0600 << QByteArray();
        QTest::newRow("cut short: restored as far as it goes") << promises1000 + "abc" << QByteArray("") << 0600
                                                               << QByteArray("abc");
        QTest::newRow("its text all gone: set aside") << promises1000 << QByteArray("") << 0600 << QByteArray();
        QTest::newRow("not a copy at all: set aside")
            << QByteArray("garbage") << QByteArray("") << 0600 << QByteArray();
    }
    void leftCopiesAreOfferedOrSetAside()
    {
        QFETCH(QByteArray, copy);
        QFETCH(QByteArray, lock);
        QFETCH(int, lockMode);
        QFETCH(QByteArray, restored);
        const QString path = Path(QStringLiteral("recovery-4242-1.dat")),
                      lockPath = Path(QStringLiteral("recovery-4242-1.lock"));
        WriteFileBytes(path, copy.toStdString());
        QLockFile live(lockPath);
        if (lock.isNull())
            QVERIFY(live.tryLock(0));
        else
            WriteFileBytes(lockPath, lock.toStdString());
        QCOMPARE(::chmod(QFile::encodeName(lockPath).constData(), static_cast<mode_t>(lockMode)), 0);
        for (int start = 1; start <= 2; ++start) {
            TAppForm& form = NewForm();
            DialogsOf(form).restoreAnswers = {Answer::Yes};
            form.Start({});
            QCOMPARE(DialogsOf(form).restoreOffers.size(), restored.isNull() ? 0 : 1);
            if (!restored.isNull()) {
                QCOMPARE(QByteArray::fromStdString(form.Document().Text()), restored);
                QCOMPARE(DialogsOf(form).restoreOffers[0].contains(QStringLiteral(" It is damaged: 3 of its ") +
                                                                   QLocale::system().toString(1000) +
                                                                   QStringLiteral(" bytes are there")),
                         restored == "abc");
                return;
            }
            DialogsOf(form).restoreAnswers.clear();
            if (lock.isNull())
                return;
            // Nothing to give back: said at the first start only, and never offered again.
            QCOMPARE(
                DialogsOf(form).errors,
                QStringList(start == 1 ? 1 : 0, QStringLiteral("Cannot open file \"") + path +
                                                    QStringLiteral("\". The copy is damaged; it was set aside as \"") +
                                                    path + QStringLiteral(".damaged\" and is not offered again.")));
            QVERIFY(QFile::exists(path + QStringLiteral(".damaged")));
        }
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
    if (argc == 2 && qstrcmp(argv[1], kReportFlag) == 0)
        return MakeFilesAndReport();
    TestRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"

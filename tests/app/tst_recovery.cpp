#include "app/MainRecovery.h"
#include "app/MainWindow.h"
#include "tests/support/FormAccess.h"
#include "editor/Memo.h"
#include "document/RecoveryFile.h"
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

const char* kProtectFlag = "--protect";
const char* kWorkingFilesFlag = "--working-files";
constexpr uid_t kNobody = 65534;

unsigned ModeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// A child: the window's text cannot be protected. Two copies fall due; prints how many
// warnings came, the first of them and status panel 0 after the second.
int ProtectAndReport()
{
    auto dialogs = std::make_shared<ScriptedDialogs>();
    TAppForm form(dialogs);
    form.Recovery().SetDelays(10, 100);
    form.Document().SetText(std::string(64 << 10, 'x')); // more than the full disk takes
    QElapsedTimer waited;
    waited.start();
    while (dialogs->warnings.isEmpty() && form.Recovery().Written() == 0 && waited.elapsed() < 20000)
        QTest::qWait(10);
    form.Document().SetText(std::string(64 << 10, 'y'));
    form.Recovery().WaitIdle();
    QTest::qWait(50); // the writer's report reaches the window
    std::printf("warnings %lld\n%s\n%s\n", static_cast<long long>(dialogs->warnings.size()),
                qPrintable(dialogs->warnings.value(0)), qPrintable(form.StatusPanel(0)->text()));
    form.Document().SetModified(false);
    return 0;
}

// A child: makes each working file once and prints its mode.
int MakeWorkingFilesAndReport()
{
    auto dialogs = std::make_shared<ScriptedDialogs>();
    TAppForm form(dialogs);
    form.Recovery().SetDelays(10, 100);
    form.Document().SetText("unsaved");
    form.Recovery().WaitIdle();
    const QString copy = form.Recovery().FilePath();
    const QString lock = QFileInfo(copy).path() + u'/' +
                         QString::fromStdString(RecoveryLockName(QFileInfo(copy).fileName().toStdString()));
    TExtract extract(&form, form);
    extract.Memo1->SetText("a script");
    LoopbackServer server({{"/page", LoopbackServer::Response("200 OK", "page")}});
    DownloadUrlToFile(server.Url("/page"), ProgramFilePath(ProgramFile::Temp));
    unsigned carrier = 0;
    LoadExtractionResult("result", ProgramFilePath(ProgramFile::Temp001),
                         [&](const QString& path) { carrier = ModeOf(path); });
    std::printf("copy %o lock %o extractform.txt %o temp.txt %o temp001.txt %o\n", ModeOf(copy), ModeOf(lock),
                ModeOf(ProgramFilePath(ProgramFile::ExtractForm)), ModeOf(ProgramFilePath(ProgramFile::Temp)), carrier);
    form.Document().SetModified(false);
    return dialogs->errors.isEmpty() ? 0 : 1;
}

// The set-up of a child run: a folder tree under `root` in which the user nobody may work.
struct ChildSetUp {
    QTemporaryDir root;
    ChildSetUp()
    {
        ::chmod(QFile::encodeName(root.path()).constData(), 0755);
        for (const char* name : {"home", "ro"})
            QDir(root.path()).mkdir(QString::fromLatin1(name));
        ::chmod(QFile::encodeName(Path("ro")).constData(), 0555);
        if (::geteuid() == 0 && ::chown(QFile::encodeName(Path("home")).constData(), kNobody, kNobody) != 0)
            qWarning("cannot give the home folder to nobody");
        ::chmod(QFile::encodeName(Path("home")).constData(), 0700);
        WriteFileBytes(Path("file"), "a file where a folder should be");
    }
    QString Path(const char* name) const { return root.filePath(QString::fromLatin1(name)); }
};

struct ChildResult {
    int exitCode = -1;
    QString output;
};

// Runs this test program again in `mode`, with `variables` over the environment, as the user
// nobody when `unprivileged`, its files held under `fileLimit`
// bytes when that is not 0.
ChildResult RunChild(const char* mode, const std::map<QString, QString>& variables, bool unprivileged,
                     rlim_t fileLimit = 0)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QUORLEX_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        env.remove(QString::fromLatin1(name));
    for (const auto& [name, value] : variables)
        env.insert(name, value);
    // Another user cannot reach this test's display; the child needs none.
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess child;
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments({QString::fromLatin1(mode)});
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::SeparateChannels);
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
    if (!child.waitForFinished(60000))
        child.kill();
    return {child.exitCode(), QString::fromLocal8Bit(child.readAllStandardOutput())};
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
        QTest::newRow("modified, Yes gives them up") << int(Answer::Yes) << true;
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
        // With changes to lose, Enter keeps them.
        QCOMPARE(DialogsOf(form).questions,
                 QStringList{path + (modifiedBefore ? QStringLiteral(" was changed by another program. Reload it and "
                                                                     "lose your changes?")
                                                    : QStringLiteral(" was changed by another program. Reload it?"))});
        QCOMPARE(DialogsOf(form).questionDefaults, QList<Answer>{modifiedBefore ? Answer::No : Answer::Yes});
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
    void reloadOverUnsavedChangesKeepsTheirCopyAndCanBeUndone()
    {
        const QString path = Path(QStringLiteral("watched.txt"));
        WriteFileBytes(path, "before");
        TAppForm& form = NewForm();
        form.Document().SetKeepHistory(true);
        form.LoadDocument(path);
        form.Editor().SetSelection(6, 0);
        QTest::keyClicks(&form.Editor(), QStringLiteral(" typed"));
        WriteFileBytes(path, "theirs");
        DialogsOf(form).yesNoAnswers = {Answer::Yes};
        Activate(form);
        QCOMPARE(form.Document().Text(), std::string("theirs"));
        QVERIFY(!form.Document().Modified());
        // The lost text stays protected, whatever the document does meanwhile.
        form.Recovery().WaitIdle();
        const QStringList kept = form.Recovery().KeptPaths();
        QCOMPARE(kept.size(), 1);
        QCOMPARE(DecodeRecovery(ReadFileBytes(kept[0]))->text, std::string("before typed"));
        // One undo step brings the lost text back, as a change not yet saved.
        Act(form, "EditUndo1")->trigger();
        QCOMPARE(form.Document().Text(), std::string("before typed"));
        QVERIFY(form.Document().Modified());
        WaitForCopy(form);
        QVERIFY(QFile::exists(kept[0]));
        Act(form, "FileSave1")->trigger(); // the file is as the reload read it: no question
        QCOMPARE(DialogsOf(form).questions.size(), 1);
        QCOMPARE(ReadFileBytes(path), std::string("before typed"));
        form.Recovery().WaitIdle();
        QCOMPARE(form.Recovery().KeptPaths(), QStringList());
        QCOMPARE(RecoveryFiles(m_home->path()), QStringList());
    }
    void fileReplacedWithSizeAndTimePutBackIsNoticed()
    {
        const QString path = Path(QStringLiteral("same.txt"));
        WriteFileBytes(path, "mine");
        struct stat before {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &before), 0);
        TAppForm& form = NewForm();
        form.LoadDocument(path);
        // Another program writes a new file of the same size and gives it the old time.
        const QString other = Path(QStringLiteral("same.txt.new"));
        WriteFileBytes(other, "tick");
        const timespec times[2] = {before.st_atim, before.st_mtim};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(other).constData(), times, 0), 0);
        QCOMPARE(::rename(QFile::encodeName(other).constData(), QFile::encodeName(path).constData()), 0);
        DialogsOf(form).yesNoAnswers = {Answer::Yes};
        Activate(form);
        QCOMPARE(DialogsOf(form).questions.size(), 1);
        QCOMPARE(form.Document().Text(), std::string("tick"));
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
        form.Document().SetText("one");
        const QString failure =
            QStringLiteral("Unsaved changes cannot be protected: ") + folder + QStringLiteral(": No such file or directory");
        QTRY_COMPARE(form.Recovery().Failure(), failure);
        QCOMPARE(DialogsOf(form).warnings, QStringList{failure});
        QCOMPARE(form.StatusPanel(0)->text(), failure);
        // A hint covers it while the pointer rests on a command; then it is said again.
        QStatusTipEvent hint(QStringLiteral("Open a file"));
        QApplication::sendEvent(&form, &hint);
        QCOMPARE(form.StatusPanel(0)->text(), QStringLiteral("Open a file"));
        QStatusTipEvent none{QString()};
        QApplication::sendEvent(&form, &none);
        QCOMPARE(form.StatusPanel(0)->text(), failure);
        // The folder is there now: the next copy is written and the failure is gone.
        QVERIFY(QDir().mkpath(folder));
        form.Document().SetText("two");
        QTRY_COMPARE(form.Recovery().Written(), 1);
        QTRY_COMPARE(form.Recovery().Failure(), QString());
        QCOMPARE(form.StatusPanel(0)->text(), QString());
        // A failure again is said in the panel; the box came once.
        QVERIFY(QDir(folder).removeRecursively());
        form.Document().SetText("three");
        QTRY_COMPARE(form.Recovery().Failure(), failure);
        QCOMPARE(DialogsOf(form).warnings.size(), 1);
    }
    void everyFolderThatTakesNoCopyIsSaid_data()
    {
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("value"); // under the set-up's folder unless absolute
        QTest::addColumn<bool>("asNobody");
        QTest::addColumn<int>("fileLimit");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("reason");
        const QString home = QStringLiteral("QUORLEX_HOME"), state = QStringLiteral("XDG_STATE_HOME");
        QTest::newRow("missing") << home << "missing" << false << 0 << "missing" << "No such file or directory";
        QTest::newRow("a file") << home << "file" << false << 0 << "file" << "Not a directory";
        QTest::newRow("full disk") << home << "home" << false << 16384 << "home" << "File too large";
        QTest::newRow("unwritable") << home << "ro" << true << 0 << "ro" << "Permission denied";
        QTest::newRow("XDG unwritable") << state << "ro" << true << 0 << "ro/quorlex" << "Permission denied";
        QTest::newRow("XDG a file") << state << "file" << true << 0 << "file/quorlex" << "Not a directory";
        QTest::newRow("XDG on /proc") << state << "/proc" << true << 0 << "/proc/quorlex" << QString();
    }
    void everyFolderThatTakesNoCopyIsSaid()
    {
        QFETCH(QString, variable);
        QFETCH(QString, value);
        QFETCH(bool, asNobody);
        QFETCH(int, fileLimit);
        QFETCH(QString, folder);
        QFETCH(QString, reason);
        if (asNobody && ::geteuid() != 0)
            QSKIP("needs root, to run the program as a user for whom the folder is closed");
        ChildSetUp setUp;
        const auto under = [&](const QString& p) { return p.startsWith(u'/') ? p : setUp.root.filePath(p); };
        // As nobody, the build folder is not the program's to write: the XDG folders are used.
        const ChildResult result = RunChild(kProtectFlag,
                                            {{variable, under(value)},
                                             {QStringLiteral("HOME"), setUp.Path("home")},
                                             {QStringLiteral("XDG_CONFIG_HOME"), setUp.Path("home")},
                                             {QStringLiteral("XDG_CACHE_HOME"), setUp.Path("home")},
                                             {QStringLiteral("XDG_RUNTIME_DIR"), setUp.Path("home")}},
                                            asNobody, static_cast<rlim_t>(fileLimit));
        QCOMPARE(result.exitCode, 0);
        const QStringList lines = result.output.split(u'\n');
        QCOMPARE(lines.value(0), QStringLiteral("warnings 1"));
        const QString said = QStringLiteral("Unsaved changes cannot be protected: ") + under(folder) + QStringLiteral(": ");
        QVERIFY2(lines.value(1).startsWith(said) && lines.value(1).endsWith(reason), qPrintable(lines.value(1)));
        QVERIFY(lines.value(1).size() > said.size());
        QCOMPARE(lines.value(2), lines.value(1)); // still said after the second failure
    }
    void workingFilesAreTheUsersAlone_data()
    {
        QTest::addColumn<bool>("portable");
        QTest::newRow("portable") << true;
        QTest::newRow("XDG folders") << false;
    }
    void workingFilesAreTheUsersAlone()
    {
        QFETCH(bool, portable);
        if (!portable && ::geteuid() != 0)
            QSKIP("needs root, to run the program where its own folder is not writable");
        ChildSetUp setUp;
        const QString home = setUp.Path("home");
        const ChildResult result =
            portable ? RunChild(kWorkingFilesFlag, {{QStringLiteral("QUORLEX_HOME"), home}}, false)
                     : RunChild(kWorkingFilesFlag,
                                {{QStringLiteral("HOME"), home}, {QStringLiteral("XDG_RUNTIME_DIR"), home},
                                 {QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/c")},
                                 {QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/k")},
                                 {QStringLiteral("XDG_STATE_HOME"), home + QStringLiteral("/s")}},
                                true);
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.output,
                 QStringLiteral("copy 600 lock 600 extractform.txt 600 temp.txt 600 temp001.txt 600\n"));
        if (!portable) // each in its own folder
            QVERIFY(QFile::exists(home + QStringLiteral("/c/quorlex/extractform.txt")) &&
                    QFile::exists(home + QStringLiteral("/k/quorlex/temp.txt")));
    }

    // --- damaged and stale copies ---
    void damagedCopyGivesWhatItHoldsOrIsSetAside_data()
    {
        QTest::addColumn<QByteArray>("body"); // after a header that promises 1,000 bytes
        QTest::addColumn<bool>("header");
        QTest::newRow("cut short: restored as far as it goes") << QByteArray("abc") << true;
        QTest::newRow("its text all gone: set aside") << QByteArray() << true;
        QTest::newRow("not a copy at all: set aside") << QByteArray("garbage") << false;
    }
    void damagedCopyGivesWhatItHoldsOrIsSetAside()
    {
        QFETCH(QByteArray, body);
        QFETCH(bool, header);
        const QString copy = Path(QStringLiteral("recovery-77777-1.dat"));
        const RecoveryRecord record{Path(QStringLiteral("d.txt")).toStdString(), 1700000000000, {}, {}};
        WriteFileBytes(copy, (header ? EncodeRecoveryHeader(record, 1000) : std::string()) + body.toStdString());
        TAppForm& first = NewForm();
        DialogsOf(first).restoreAnswers = {Answer::Yes};
        first.Start({});
        if (!body.isEmpty() && header) {
            QCOMPARE(DialogsOf(first).restoreOffers.size(), 1);
            QVERIFY2(DialogsOf(first).restoreOffers[0].contains(
                         QStringLiteral("It is damaged: 3 of its ") + QLocale::system().toString(1000) +
                         QStringLiteral(" bytes are there, and Restore gives back those.")),
                     qPrintable(DialogsOf(first).restoreOffers[0]));
            QCOMPARE(first.Document().Text(), std::string("abc"));
            QVERIFY(first.Document().Modified());
            QCOMPARE(DialogsOf(first).errors, QStringList());
            return;
        }
        QCOMPARE(DialogsOf(first).restoreOffers, QStringList());
        QCOMPARE(DialogsOf(first).errors,
                 QStringList{QStringLiteral("Cannot open file \"") + copy +
                             QStringLiteral("\". The copy is damaged; it was set aside as \"") + copy +
                             QStringLiteral(".damaged\" and is not offered again.")});
        QVERIFY(QFile::exists(copy + QStringLiteral(".damaged")));
        DialogsOf(first).restoreAnswers.clear();
        TAppForm& second = NewForm();
        second.Start({});
        QCOMPARE(DialogsOf(second).restoreOffers, QStringList());
        QCOMPARE(DialogsOf(second).errors, QStringList());
    }
    void staleLocksAreOffered_data()
    {
        QTest::addColumn<QByteArray>("lock");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("held");
        char host[HOST_NAME_MAX + 1] = {};
        ::gethostname(host, sizeof host - 1);
        const pid_t dead = ::fork();
        if (dead == 0)
            ::_exit(0);
        ::waitpid(dead, nullptr, 0);
        QTest::newRow("empty, as a power loss leaves it") << QByteArray() << 0600 << false;
        QTest::newRow("garbage") << QByteArray("\x01\xFEzz") << 0600 << false;
        QTest::newRow("another host") << QByteArray::number(dead) + "\nother-host\nquorlex\n" << 0600 << false;
        QTest::newRow("this host, its pid taken by another program")
            << QByteArray("1\n") + host + "\nquorlex\n" << 0600 << false;
        QTest::newRow("unreadable") << QByteArray("1\n") << 0 << false;
        QTest::newRow("held by a running program: not offered") << QByteArray() << 0600 << true;
    }
    void staleLocksAreOffered()
    {
        QFETCH(QByteArray, lock);
        QFETCH(int, mode);
        QFETCH(bool, held);
        const RecoveryRecord record{"", 1700000000000, {}, "kept text"};
        WriteFileBytes(Path(QStringLiteral("recovery-4242-1.dat")),
                       EncodeRecoveryHeader(record, record.text.size()) + record.text);
        const QString lockPath = Path(QStringLiteral("recovery-4242-1.lock"));
        QLockFile live(lockPath);
        if (held) {
            QVERIFY(live.tryLock(0));
        } else {
            WriteFileBytes(lockPath, lock.toStdString());
            QVERIFY(::chmod(QFile::encodeName(lockPath).constData(), static_cast<mode_t>(mode)) == 0);
        }
        TAppForm& form = NewForm();
        DialogsOf(form).restoreAnswers = {Answer::Yes};
        form.Start({});
        QCOMPARE(DialogsOf(form).restoreOffers.size(), held ? 0 : 1);
        QCOMPARE(form.Document().Text(), std::string(held ? "" : "kept text"));
        if (held)
            DialogsOf(form).restoreAnswers.clear();
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
    if (argc == 2 && qstrcmp(argv[1], kProtectFlag) == 0)
        return ProtectAndReport();
    if (argc == 2 && qstrcmp(argv[1], kWorkingFilesFlag) == 0)
        return MakeWorkingFilesAndReport();
    TestRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"

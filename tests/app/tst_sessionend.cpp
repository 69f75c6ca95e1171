#include "app/MainWindow.h"
#include "tests/support/FormAccess.h"
#include "editor/Memo.h"
#include "app/SessionEnd.h"
#include "document/TextFile.h"
#include "tests/support/ScriptedDialogs.h"

#include <QTemporaryDir>
#include <QtTest>

using Answer = IDialogs::Answer;

namespace {

// Records what the program asks of the session manager.
struct FakeSessionManager {
    bool interactionAllowed = true;
    int interactionRequests = 0;
    int released = 0;
    int cancelled = 0;
    bool allowsInteraction()
    {
        ++interactionRequests;
        return interactionAllowed;
    }
    void release() { ++released; }
    void cancel() { ++cancelled; }
};

} // namespace

class TestSessionEnd : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

    QString Path(const char* name) const { return m_home.filePath(QString::fromLatin1(name)); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("QUORLEX_HOME", m_home.path().toLocal8Bit());
    }

    void sessionEndRunsTheCloseQuery_data()
    {
        QTest::addColumn<bool>("modified");
        QTest::addColumn<bool>("interaction");
        QTest::addColumn<QString>("fileName"); // the document's own name; empty: untitled
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QString>("saveAs"); // the save dialog's answer; empty: cancelled
        QTest::addColumn<int>("prompts");
        QTest::addColumn<bool>("cancelled");
        QTest::addColumn<QString>("written"); // the file that must now hold the text

        const QString none;
        const QString doc = Path("doc.txt");
        QTest::newRow("unmodified: nothing asked") << false << true << doc << QList<int>{} << none << 0 << false << none;
        QTest::newRow("no: the session ends") << true << true << doc << QList<int>{int(Answer::No)} << none << 1 << false
                                              << none;
        QTest::newRow("cancel holds it back") << true << true << doc << QList<int>{int(Answer::Cancel)} << none << 1
                                              << true << none;
        QTest::newRow("yes saves") << true << true << doc << QList<int>{int(Answer::Yes)} << none << 1 << false << doc;
        QTest::newRow("yes, untitled, named") << true << true << none << QList<int>{int(Answer::Yes)}
                                              << Path("new.txt") << 1 << false << Path("new.txt");
        QTest::newRow("yes, untitled, save dialog cancelled")
            << true << true << none << QList<int>{int(Answer::Yes)} << none << 1 << true << none;
        QTest::newRow("a failed save holds it back") << true << true << Path("no such folder/doc.txt")
                                                     << QList<int>{int(Answer::Yes)} << none << 1 << true << none;
        QTest::newRow("no leave to ask: nothing asked")
            << true << false << doc << QList<int>{} << none << 0 << false << none;
    }
    void sessionEndRunsTheCloseQuery()
    {
        QFETCH(bool, modified);
        QFETCH(bool, interaction);
        QFETCH(QString, fileName);
        QFETCH(QList<int>, answers);
        QFETCH(QString, saveAs);
        QFETCH(int, prompts);
        QFETCH(bool, cancelled);
        QFETCH(QString, written);

        auto dialogs = std::make_shared<ScriptedDialogs>();
        for (int a : answers)
            dialogs->saveAnswers.push_back(Answer(a));
        dialogs->saveNames.push_back(saveAs.isEmpty() ? std::nullopt : std::optional<QString>(saveAs));
        TAppForm form(dialogs);
        form.show();
        form.Document().SetText("session text");
        form.Document().SetFileName(fileName);
        form.Document().SetModified(modified);

        FakeSessionManager manager;
        manager.interactionAllowed = interaction;
        CommitSessionData(form, manager);

        QCOMPARE(dialogs->prompts.size(), prompts);
        QCOMPARE(manager.cancelled, cancelled ? 1 : 0);
        QCOMPARE(dialogs->unexpected, 0);
        // Asking leave to interact alone blocks other programs' prompts: it is asked only when
        // needed, and handed back once answered.
        QCOMPARE(manager.interactionRequests, modified ? 1 : 0);
        QCOMPARE(manager.released, prompts);
        if (!written.isEmpty())
            QCOMPARE(ReadFileBytes(written), std::string("session text"));
        QCOMPARE(form.isVisible(), true); // the session, not the program, decides what ends
        form.Document().SetModified(false);
    }
};

QTEST_MAIN(TestSessionEnd)
#include "tst_sessionend.moc"

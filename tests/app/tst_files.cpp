// Files as Linux users have them, through the window: the line-break panel and menu, odd
// files refused at once, the Open dialog's suffix, and names that are not UTF-8.
#include "app/MainRecovery.h"
#include "app/MainWindow.h"
#include "document/RecoveryFile.h"
#include "document/TextFile.h"
#include "platform/NativePath.h"
#include "tests/support/FormAccess.h"
#include "tests/support/ScriptedDialogs.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

class TestFiles : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::shared_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TAppForm> m_form;

    QString Path(const QString& name) const { return m_home.filePath(name); }
    QString Panel() const { return m_form->StatusPanel(5)->text(); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("QUORLEX_HOME", m_home.path().toLocal8Bit());
    }
    void init()
    {
        m_dialogs = std::make_shared<ScriptedDialogs>();
        m_form = std::make_unique<TAppForm>(m_dialogs);
    }
    void cleanup()
    {
        m_form->Document().SetModified(false);
        QCOMPARE(m_dialogs->unexpected, 0);
        m_form.reset();
    }

    void lineBreaksShowAndChange()
    {
        QCOMPARE(Panel(), QStringLiteral("CR LF"));
        WriteFileBytes(Path(QStringLiteral("unix.txt")), "a\nb\n");
        m_form->LoadDocument(Path(QStringLiteral("unix.txt")));
        QCOMPARE(Panel(), QStringLiteral("LF"));
        QVERIFY(Act(m_form, "LineBreaksUnix1")->isChecked());
        Act(m_form, "LineBreaksWindows1")->trigger();
        QCOMPARE(Panel(), QStringLiteral("CR LF"));
        QVERIFY(m_form->Document().Modified());
        Act(m_form, "EncodingUtf81")->trigger(); // the two choices combine
        Act(m_form, "FileSave1")->trigger();
        QCOMPARE(ReadFileBytes(Path(QStringLiteral("unix.txt"))), std::string("a\r\nb\r\n"));
        Act(m_form, "FileNew1")->trigger();
        QCOMPARE(Panel(), QStringLiteral("CR LF"));
        QCOMPARE(m_dialogs->errors, QStringList());
    }

    void oddFilesAreRefusedAtOnce()
    {
        const QString fifo = Path(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QElapsedTimer clock;
        clock.start();
        m_form->FormShow({fifo});
        for (const QString& dropped : {QStringLiteral("/dev/zero"), m_home.path()})
            m_form->RunGuarded([&] { m_form->DropFiles({dropped}); });
        QVERIFY(clock.elapsed() < 2000);
        QCOMPARE(m_dialogs->errors.size(), 3);
        for (const QString& error : m_dialogs->errors)
            QVERIFY2(error.endsWith(QStringLiteral("Not a regular file.")), qPrintable(error));
        QCOMPARE(m_form->Document().FileName(), QString());
    }

    void openDialogAddsTxtOnlyToANameThatIsNotThere_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("opened");
        QTest::newRow("both there") << QStringList{"README", "README.txt"} << "README" << "README";
        QTest::newRow("no suffix, there") << QStringList{"Makefile"} << "Makefile" << "Makefile";
        QTest::newRow("only with .txt") << QStringList{"notes.txt"} << "notes" << "notes.txt";
    }
    void openDialogAddsTxtOnlyToANameThatIsNotThere()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, typed);
        QFETCH(QString, opened);
        QTemporaryDir folder;
        for (const QString& name : present)
            WriteFileBytes(folder.filePath(name), name.toStdString());
        m_dialogs->openNames.push_back(folder.filePath(typed));
        Act(m_form, "FileOpen1")->trigger();
        QCOMPARE(m_dialogs->errors, QStringList());
        QCOMPARE(m_form->Document().FileName(), folder.filePath(opened));
        QCOMPARE(m_form->Document().Text(), opened.toStdString());
    }

    void aNameThatIsNotUtf8OpensAndSavesFromTheCommandLine()
    {
        const std::string folder = QFile::encodeName(m_home.path()).toStdString();
        const std::string file = folder + "/caf\xE9 \xFC.txt";
        WriteFileBytes(PathFromNative(file), "eski\n");
        const std::string first = folder + "/caf\xE9";
        const char* argv[] = {"quorlex", first.c_str(), "\xFC.txt"};
        m_form->FormShow(ArgumentsFromArgv(3, argv));
        QCOMPARE(m_dialogs->errors, QStringList());
        QCOMPARE(m_form->windowTitle(), QString::fromUtf8("Quorlex - caf\xEF\xBF\xBD \xEF\xBF\xBD.txt"));
        m_form->Document().Replace(0, 0, "yeni ");
        m_form->Recovery().WaitIdle(); // the recovery copy names the file by its bytes too
        const auto copy = DecodeRecoveryHeader(ReadFileBytes(m_form->Recovery().FilePath()));
        QVERIFY(copy);
        QCOMPARE(copy->fileName, file);
        Act(m_form, "FileSave1")->trigger();
        QCOMPARE(m_dialogs->errors, QStringList());
        QCOMPARE(ReadFileBytes(PathFromNative(file)), std::string("yeni eski\n"));
        int names = 0; // the same file, no second one beside it (Qt's own listing cannot tell)
        DIR* dir = ::opendir(folder.c_str());
        while (const dirent* entry = ::readdir(dir))
            names += std::strncmp(entry->d_name, "caf", 3) == 0;
        ::closedir(dir);
        QCOMPARE(names, 1);
        ::unlink(file.c_str());
    }
};

QTEST_MAIN(TestFiles)
#include "tst_files.moc"

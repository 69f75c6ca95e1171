// The installed program as an ordinary user runs it: started from a prefix it cannot write
// to, with QUORLEX_HOME unset, so its files must go to the XDG folders. CI copies this
// program into the prefix's bin folder and runs it as an unprivileged user; from the build
// tree it refuses to run, as it would prove nothing there.
#include "app/MainWindow.h"
#include "tests/support/FormAccess.h"
#include "editor/Memo.h"
#include "document/TextFile.h"
#include "extract/HelpPage.h"
#include "extract/ui/ScriptEditor.h"
#include "extract/ui/extracttext.h"
#include "platform/ProgramFolder.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

class TestInstalled : public QObject {
    Q_OBJECT

    QString m_config, m_cache, m_data;

    static QString XdgFolder(const char* variable)
    {
        const QString value = qEnvironmentVariable(variable);
        return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) + QStringLiteral("/quorlex") : QString();
    }
    static void VerifyPrivateFolder(const QString& folder)
    {
        struct stat st {};
        QVERIFY2(::stat(QFile::encodeName(folder).constData(), &st) == 0, qPrintable(folder));
        QCOMPARE(st.st_mode & 0777, 0700u);
        QCOMPARE(st.st_uid, ::getuid());
    }

private slots:
    void initTestCase()
    {
        const QString bin = QCoreApplication::applicationDirPath();
        QVERIFY2(qEnvironmentVariableIsEmpty("QUORLEX_HOME"), "QUORLEX_HOME must be unset");
        QVERIFY2(::access(QFile::encodeName(bin).constData(), W_OK) != 0,
                 "run from an installed prefix, as a user who cannot write to its bin folder");
        m_config = XdgFolder("XDG_CONFIG_HOME");
        m_cache = XdgFolder("XDG_CACHE_HOME");
        QVERIFY2(!m_config.isEmpty() && !m_cache.isEmpty(), "set XDG_CONFIG_HOME and XDG_CACHE_HOME");
        QVERIFY2(!QFileInfo::exists(m_config) && !QFileInfo::exists(m_cache), "start with fresh XDG folders");
        m_data = QDir::cleanPath(bin + QStringLiteral("/../share/quorlex"));
    }

    void readOnlyFilesComeFromTheDataFolder()
    {
        QCOMPARE(ProgramFilePath(ProgramFile::VersionHistory), m_data + QStringLiteral("/versions.txt"));
        QCOMPARE(ProgramFilePath(ProgramFile::ExtractHelp), m_data + QStringLiteral("/extract_help.htm"));
        QCOMPARE(HelpPagePath(QStringLiteral("tr")), m_data + QStringLiteral("/extract_help_tr.htm"));
        QVERIFY(QFileInfo::exists(m_data + QStringLiteral("/versions.txt")));
        QVERIFY(QFileInfo::exists(m_data + QStringLiteral("/extract_help.htm")));
    }

    void everyViewOptionIsSavedInTheConfigFolder()
    {
        auto dialogs = std::make_shared<ScriptedDialogs>();
        dialogs->colors.push_back(QColor(255, 0, 0));
        TAppForm form(dialogs);
        form.show();
        for (QAction* option : {Act(form, "Wordwrap1"), Act(form, "StatusBar1"), Act(form, "ToolBar1"), Act(form, "BackgroundColor1")})
            option->trigger();
        QCOMPARE(dialogs->errors, QStringList());
        VerifyPrivateFolder(m_config);
        const std::string ini = ReadFileBytes(m_config + QStringLiteral("/settings.ini"));
        for (const char* line : {"WordWrap=False", "StatusBar=False", "ToolBar=False", "BackgroundColor=clRed"})
            QVERIFY2(ini.find(line) != std::string::npos, line);

        // A second start reads them back from there.
        TAppForm again(dialogs);
        QVERIFY(!Act(again, "Wordwrap1")->isChecked());
        QVERIFY(!Act(again, "ToolBar1")->isChecked());
    }

    void anExtractionScriptRunsWithoutError()
    {
        auto dialogs = std::make_shared<ScriptedDialogs>();
        TAppForm form(dialogs);
        form.show();
        form.Document().SetText("zero\r\none\r\ntwo");
        TExtract window(&form, form);
        window.Memo1->SetText("picked:\r\n$GETLINE[1]");
        window.Memo1Change();
        window.BitBtn1Click();
        QCOMPARE(dialogs->errors, QStringList());
        QCOMPARE(form.Document().Text(), std::string("picked:\r\none\r\n"));
        QCOMPARE(ReadFileBytes(m_config + QStringLiteral("/extractform.txt")), std::string("picked:\r\n$GETLINE[1]"));
        VerifyPrivateFolder(m_cache);
        QVERIFY(!QFileInfo::exists(m_cache + QStringLiteral("/temp001.txt")));
        form.Document().SetModified(false);
    }
};

QTEST_MAIN(TestInstalled)
#include "tst_installed.moc"

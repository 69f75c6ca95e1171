#include "app/GoToLineDialog.h"
#include "app/MainRecovery.h"
#include "app/MainWindow.h"
#include "document/RecoveryFile.h"
#include "document/RecoverySlots.h"
#include "platform/IniFile.h"
#include "platform/NativePath.h"
#include "tests/support/FormAccess.h"
#include "editor/Memo.h"
#include "document/TextFile.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QWheelEvent>
#include <QtTest>

#include <unistd.h>

using Answer = IDialogs::Answer;

class TestMainWindow : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::shared_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TAppForm> m_form;

    QString Path(const QString& name) const { return m_home.filePath(name); }
    void Write(const QString& name, const std::string& bytes) const { WriteFileBytes(Path(name), bytes); }
    std::string Read(const QString& name) const { return ReadFileBytes(Path(name)); }
    void WriteSettings(const std::string& bytes) const { Write(QStringLiteral("settings.ini"), bytes); }
    QString Panel(int i) const { return m_form->StatusPanel(i)->text(); }
    TMemo* Memo() const { return &m_form->Editor(); }

    void NewForm()
    {
        m_form.reset();
        m_dialogs = std::make_shared<ScriptedDialogs>();
        m_form = std::make_unique<TAppForm>(m_dialogs);
    }
    // A document that holds `text`, titled `name` (empty: untitled) and modified.
    void ModifiedDocument(const QString& name, const std::string& text = "changed")
    {
        if (!name.isEmpty()) {
            Write(name, "on disk");
            m_form->LoadDocument(Path(name));
        }
        lines::SetText(Memo()->Document(), text);
        QVERIFY(m_form->Document().Modified());
    }
    void Trigger(QAction* action) const { action->trigger(); }

    QString File(const char* name) const { return Write(QString::fromUtf8(name), "text"), Path(QString::fromUtf8(name)); }
    std::string Setting(const char* section, const char* key) const
    {
        return TIniFile(Path(QStringLiteral("settings.ini"))).ReadString(section, key);
    }
    QString Position() const { return m_form->findChild<QLabel*>(QStringLiteral("PanelPosition"))->text(); }
    double Points() const { return m_form->Editor().font().pointSizeF(); }
    QAction* Item(const QString& name) const
    {
        if (auto* menu = m_form->findChild<QMenu*>(name))
            return menu->menuAction();
        return Act(m_form, name.toLatin1().constData());
    }
    QStringList RecentItems() const
    {
        QStringList items;
        for (QAction* a : m_form->findChild<QMenu*>(QStringLiteral("RecentFiles1"))->actions())
            if (a->isVisible() && a->objectName().startsWith(QLatin1String("RecentFile")))
                items << a->text();
        return items;
    }
    // Types each entry into the Go To Line dialog and presses Enter; gives the reasons shown.
    QStringList GoToLine(const QStringList& entries)
    {
        QStringList reasons;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<TGoToLineDialog*>(QApplication::activeModalWidget());
            for (const QString& entry : entries) {
                dialog->Edit1->setText(entry);
                QTest::keyClick(dialog->Edit1, Qt::Key_Return);
                reasons << (dialog->isVisible() ? dialog->Reason->text() : QString());
            }
            if (dialog->isVisible())
                dialog->reject();
        });
        Act(m_form, "GoToLine1")->trigger();
        return reasons;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("QUORLEX_HOME", m_home.path().toLocal8Bit());
    }
    void init()
    {
        QFile::remove(Path(QStringLiteral("settings.ini")));
        NewForm();
    }
    void cleanup()
    {
        if (m_form)
            m_form->Document().SetModified(false);
        QCOMPARE(m_dialogs->unexpected, 0);
        m_form.reset();
    }

    // --- start-up ---
    void startsUntitledWithEveryOptionOn()
    {
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Quorlex"));
        QCOMPARE(Panel(1), QString());
        QCOMPARE(Panel(2), QStringLiteral("0 Lines"));
        QCOMPARE(Panel(3), QStringLiteral("0 Bytes"));
        QVERIFY(Act(m_form, "Wordwrap1")->isChecked());
        QVERIFY(Memo()->WordWrap());
        QCOMPARE(Memo()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QVERIFY(Act(m_form, "StatusBar1")->isChecked());
        QVERIFY(Act(m_form, "ToolBar1")->isChecked());
        QVERIFY(!StatusBarOf(m_form)->isHidden());
        QVERIFY(!ToolBarOf(m_form)->isHidden());
        QCOMPARE(m_form->MemoBackground(), 0xFF000005u);
    }
    void sizeComesFromTheScreenWidthFromItsHeight()
    {
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        QCOMPARE(m_form->size(), QSize(screen.height(), screen.width() / 2));
    }
    void menuBarHasTheSixMenusAndTheExtraMenuIsBold()
    {
        QStringList titles;
        QAction* extra = nullptr;
        for (QAction* a : m_form->menuBar()->actions()) {
            titles << a->text();
            if (a->text() == QStringLiteral("E&xtra!"))
                extra = a;
        }
        QCOMPARE(titles, (QStringList{QStringLiteral("&File"), QStringLiteral("&Edit"), QStringLiteral("&View"),
                                      QStringLiteral("&Options"), QStringLiteral("E&xtra!"), QStringLiteral("&Help")}));
        QVERIFY(extra);
        QCOMPARE(Act(m_form, "FileNew1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
        QCOMPARE(Act(m_form, "FullScreen1")->shortcut(), QKeySequence(QStringLiteral("F11")));
        QCOMPARE(Act(m_form, "Replace1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+H")));
        QCOMPARE(Act(m_form, "EditCut1")->toolTip(), QStringLiteral("Cut"));
        QCOMPARE(Act(m_form, "EditCut1")->statusTip(), QStringLiteral("Cut the selection and put it on the Clipboard"));
    }
    void toolBarHoldsFifteenItemsAndRedoInOrder()
    {
        const QList<QAction*> items = ToolBarOf(m_form)->actions();
        QCOMPARE(items.size(), 16);
        QCOMPARE(items[0], Act(m_form, "FileNew1"));
        QCOMPARE(items[3], Act(m_form, "FilePrint1"));
        QVERIFY(items[4]->isSeparator());
        QCOMPARE(items[5], Act(m_form, "EditUndo1"));
        QCOMPARE(items[6], Act(m_form, "EditRedo1"));
        QCOMPARE(items[15], Act(m_form, "ToolButton15"));
    }
    void settingsOptions_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("wrap");
        QTest::addColumn<bool>("statusBar");
        QTest::addColumn<bool>("toolBar");
        QTest::newRow("upper FALSE turns wrap off") << QByteArray("[Options]\nWordWrap=FALSE\n") << false << true << true;
        QTest::newRow("False hides the bars") << QByteArray("[options]\nStatusBar=False\ntoolbar= false \n") << true
                                              << false << false;
        QTest::newRow("0 and no leave options on") << QByteArray("[Options]\nWordWrap=0\nStatusBar=no\nToolBar=\n")
                                                   << true << true << true;
        QTest::newRow("empty file") << QByteArray() << true << true << true;
        QTest::newRow("binary file") << QByteArray("\x00\xff\xfe[Opt\x01=\x02", 11) << true << true << true;
        QTest::newRow("no Options section") << QByteArray("[Other]\nWordWrap=False\n") << true << true << true;
    }
    void settingsOptions()
    {
        QFETCH(QByteArray, ini);
        WriteSettings(ini.toStdString());
        NewForm();
        QFETCH(bool, wrap);
        QFETCH(bool, statusBar);
        QFETCH(bool, toolBar);
        QCOMPARE(Act(m_form, "Wordwrap1")->isChecked(), wrap);
        QCOMPARE(Memo()->WordWrap(), wrap);
        QCOMPARE(Act(m_form, "StatusBar1")->isChecked(), statusBar);
        QCOMPARE(!StatusBarOf(m_form)->isHidden(), statusBar);
        QCOMPARE(Act(m_form, "ToolBar1")->isChecked(), toolBar);
        QCOMPARE(!ToolBarOf(m_form)->isHidden(), toolBar);
        QVERIFY(m_dialogs->errors.isEmpty());
    }
    void backgroundColor_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("identifier") << QByteArray("clRed");
        QTest::newRow("identifier upper case") << QByteArray("CLRED");
        QTest::newRow("hexadecimal") << QByteArray("$000000FF");
        QTest::newRow("decimal") << QByteArray("255");
    }
    void backgroundColor()
    {
        QFETCH(QByteArray, value);
        WriteSettings("[Options]\r\nBackgroundColor=" + value.toStdString() + "\r\n");
        NewForm();
        QCOMPARE(m_form->MemoBackground(), 0x000000FFu);
        QCOMPARE(Memo()->BackgroundColor(), QColor(255, 0, 0));
    }
    void aBackgroundColorThatIsNoColourIsReportedAndTheWindowStillOpens()
    {
        WriteSettings("[Options]\nBackgroundColor=reddish\n");
        NewForm();
        QCOMPARE(m_dialogs->errors, QStringList{QStringLiteral("'reddish' is not a valid integer value.")});
        QCOMPARE(m_form->MemoBackground(), 0xFF000005u);
    }
    void commandLinePathIsJoinedAndOpened()
    {
        Write(QStringLiteral("Read Me.txt"), "hello\nworld");
        const QStringList args = Path(QStringLiteral("Read Me.txt")).split(u' ');
        QCOMPARE(args.size(), 2);
        m_form->FormShow(args);
        QCOMPARE(Memo()->Document().Text(), std::string("hello\r\nworld"));
        QCOMPARE(m_form->Document().FileName(), Path(QStringLiteral("Read Me.txt"))); // case kept
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Quorlex - Read Me.txt"));
        QCOMPARE(Panel(1), QString());
        QCOMPARE(Panel(2), QStringLiteral("2 Lines"));
    }
    void commandLinePathThatDoesNotExist()
    {
        m_form->FormShow({Path(QStringLiteral("nothing.txt"))});
        QCOMPARE(m_dialogs->errors.size(), 1);
        QVERIFY(m_dialogs->errors[0].startsWith(QStringLiteral("Cannot open file \"")));
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Quorlex"));
        QCOMPARE(m_form->Document().FileName(), QString());
    }
    void commandLinePathThatIsNotUtf8OpensAndSaves()
    {
        const std::string folder = QFile::encodeName(m_home.path()).toStdString(), first = folder + "/caf\xE9";
        const std::string file = first + " \xFC.txt";
        WriteFileBytes(PathFromNative(file), "eski\n");
        const char* argv[] = {"quorlex", first.c_str(), "\xFC.txt"};
        m_form->FormShow(ArgumentsFromArgv(3, argv));
        QCOMPARE(m_form->windowTitle(), QString::fromUtf8("Quorlex - caf\xEF\xBF\xBD \xEF\xBF\xBD.txt"));
        m_form->Document().Replace(0, 0, "yeni ");
        m_form->Recovery().WaitIdle(); // the recovery copy names the file by its bytes too
        const auto copy = ReadRecoveryFile(m_form->Recovery().FilePath());
        QCOMPARE(copy ? copy->fileName : std::string(), file);
        Trigger(Act(m_form, "FileSave1"));
        QCOMPARE(m_dialogs->errors, QStringList());
        QCOMPARE(ReadFileBytes(PathFromNative(file)), std::string("yeni eski\n")); // no second file beside it
        QCOMPARE(::unlink(file.c_str()), 0); // Qt's listing cannot remove it
    }
    void closingDeletesOnlyTheTwoTempFiles()
    {
        for (const char* name : {"temp002.txt", "temp003.txt", "temp001.txt", "temp.txt"})
            Write(QString::fromLatin1(name), "x");
        QVERIFY(m_form->close());
        QVERIFY(!QFile::exists(Path(QStringLiteral("temp002.txt"))));
        QVERIFY(!QFile::exists(Path(QStringLiteral("temp003.txt"))));
        QVERIFY(QFile::exists(Path(QStringLiteral("temp001.txt"))));
        QVERIFY(QFile::exists(Path(QStringLiteral("temp.txt"))));
    }

    // --- the document model ---
    void counters_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("bytes");
        QTest::newRow("a") << QByteArray("a") << QStringLiteral("1 Lines") << QStringLiteral("1 Bytes");
        QTest::newRow("a CR LF") << QByteArray("a\r\n") << QStringLiteral("1 Lines") << QStringLiteral("3 Bytes");
        QTest::newRow("a CR LF b") << QByteArray("a\r\nb") << QStringLiteral("2 Lines") << QStringLiteral("4 Bytes");
        QTest::newRow("CR LF") << QByteArray("\r\n") << QStringLiteral("1 Lines") << QStringLiteral("2 Bytes");
        QTest::newRow("blank line inside") << QByteArray("a\r\n\r\nb") << QStringLiteral("3 Lines")
                                           << QStringLiteral("6 Bytes");
    }
    void counters()
    {
        QFETCH(QByteArray, text);
        lines::SetText(Memo()->Document(), text.toStdString());
        QCOMPARE(Panel(1), QStringLiteral("Modified"));
        QTEST(Panel(2), "lines");
        QTEST(Panel(3), "bytes");
    }
    void wrappedLongLineCountsOnce()
    {
        lines::SetText(Memo()->Document(), std::string(300, 'w'));
        QCOMPARE(Panel(2), QStringLiteral("1 Lines"));
        QCOMPARE(Panel(3), QStringLiteral("300 Bytes"));
    }
    void textSetNormalisesAndIgnoresAnEqualText()
    {
        int changes = 0;
        connect(&m_form->Document(), &TextDocument::Changed, this, [&] { ++changes; });
        lines::SetText(Memo()->Document(), "a\nb\rc\n\r");
        QCOMPARE(Memo()->Document().Text(), std::string("a\r\nb\r\nc\r\n\r\n"));
        QCOMPARE(changes, 1);
        lines::SetText(Memo()->Document(), "a\r\nb\nc\r\r\n");
        QCOMPARE(changes, 1);
        m_form->Document().Clear();
        QCOMPARE(changes, 1);
        QCOMPARE(Memo()->Document().Text(), std::string());
    }
    void everyByteSurvivesTheEditor()
    {
        std::string all;
        for (int b = 0; b < 256; ++b)
            all.push_back(static_cast<char>(b));
        all += "\r\rX\n\n\r\n"; // lone CRs and LFs kept as the bytes they are
        lines::SetTextRaw(Memo()->Document(), all);
        QCOMPARE(Memo()->Document().Text(), all);
        QCOMPARE(Memo()->Document().Length(), static_cast<std::int64_t>(all.size()));
    }
    void lineViewOperations()
    {
        lines::SetText(Memo()->Document(), "a\r\nb\r\n");
        lines::Put(Memo()->Document(), 1, "B");
        lines::Put(Memo()->Document(), 5, "nothing");
        QCOMPARE(Memo()->Document().Text(), std::string("a\r\nB\r\n"));
        lines::Insert(Memo()->Document(), 0, "first");
        QCOMPARE(Memo()->Document().Text(), std::string("first\r\na\r\nB\r\n"));
        lines::Add(Memo()->Document(), "last");
        QCOMPARE(Memo()->Document().Text(), std::string("first\r\na\r\nB\r\nlast\r\n"));
        lines::Delete(Memo()->Document(), 1);
        QCOMPARE(Memo()->Document().Text(), std::string("first\r\nB\r\nlast\r\n"));
        QCOMPARE(Memo()->Document().Count(), 3);
        QCOMPARE(lines::Get(Memo()->Document(), 2), std::string("last"));
        lines::SetText(Memo()->Document(), "a");
        lines::Add(Memo()->Document(), "s");
        QCOMPARE(Memo()->Document().Text(), std::string("a\r\ns"));
        lines::Delete(Memo()->Document(), 1);
        QCOMPARE(Memo()->Document().Text(), std::string("a\r\n"));
        Memo()->Document().Clear();
        lines::Add(Memo()->Document(), "s");
        QCOMPARE(Memo()->Document().Text(), std::string("s\r\n"));
    }
    void selectionOffsetsCountALineBreakAsTwo()
    {
        lines::SetText(Memo()->Document(), "ab\r\ncd\r\nef");
        Memo()->SetSelection(4, 4);
        QCOMPARE(Memo()->SelStart(), std::int64_t(4));
        QCOMPARE(Memo()->SelLength(), std::int64_t(4));
        QCOMPARE(Memo()->SelText(), std::string("cd\r\n"));
    }
    void replaceRangeJoinsALoneCrWithItsLf()
    {
        lines::SetText(Memo()->Document(), "ab");
        Memo()->Document().Replace(1, 0, "\r");
        QCOMPARE(Memo()->Document().Count(), 1);
        QCOMPARE(Memo()->Document().Length(), std::int64_t(3));
        Memo()->Document().Replace(2, 0, "\n");
        QCOMPARE(Memo()->Document().Text(), std::string("a\r\nb"));
        QCOMPARE(Memo()->Document().Count(), 2);
        Memo()->Document().Replace(2, 1, ""); // the LF alone: a lone CR stays
        QCOMPARE(Memo()->Document().Text(), std::string("a\rb"));
    }
    void undoKeepsOneLevelAndASecondUndoRedoes()
    {
        QVERIFY(!Act(m_form, "EditUndo1")->isEnabled());
        Memo()->setFocus();
        QTest::keyClicks(Memo(), QStringLiteral("xy"));
        QCOMPARE(Memo()->Document().Text(), std::string("xy"));
        QVERIFY(Act(m_form, "EditUndo1")->isEnabled());
        Trigger(Act(m_form, "EditUndo1"));
        QCOMPARE(Memo()->Document().Text(), std::string());
        QCOMPARE(Panel(1), QStringLiteral("Modified"));
        Trigger(Act(m_form, "EditUndo1"));
        QCOMPARE(Memo()->Document().Text(), std::string("xy"));
    }
    void editActionsFollowTheSelection()
    {
        lines::SetText(Memo()->Document(), "some text");
        QVERIFY(!Act(m_form, "EditCut1")->isEnabled());
        QVERIFY(Act(m_form, "EditSelectAll1")->isEnabled());
        Memo()->SetSelection(0, 4);
        QVERIFY(Act(m_form, "EditCut1")->isEnabled());
        QVERIFY(Act(m_form, "EditDelete1")->isEnabled());
        Trigger(Act(m_form, "EditDelete1"));
        QCOMPARE(Memo()->Document().Text(), std::string(" text"));
    }
    void clipboardCarriesTheDecodedBytes()
    {
        lines::SetText(Memo()->Document(), "\xDD\xFE\xA0x\r\ny");
        Memo()->SelectAll();
        Trigger(Act(m_form, "EditCopy1"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromUtf8("\xC4\xB0\xC5\x9F\xC2\xA0x\r\ny"));
        QGuiApplication::clipboard()->setText(QString::fromUtf8("\xC4\x9F\xE4\xB8\xAD"));
        Memo()->SetSelection(Memo()->Document().Length(), 0);
        Trigger(Act(m_form, "EditPaste1"));
        QCOMPARE(Memo()->Document().Text(), std::string("\xDD\xFE\xA0x\r\ny\xF0?"));
    }
    void tabDoesNotTypeButCtrlTabDoes()
    {
        Memo()->setFocus();
        QTest::keyClick(Memo(), Qt::Key_Tab);
        QCOMPARE(Memo()->Document().Text(), std::string());
        QTest::keyClick(Memo(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(Memo()->Document().Text(), std::string("\t"));
        QTest::keyClick(Memo(), Qt::Key_Return);
        QCOMPARE(Memo()->Document().Text(), std::string("\t\r\n"));
    }

    // --- file commands ---
    void loadSaveRoundTripsEveryByte()
    {
        std::string all;
        for (int round = 0; round < 2; ++round)
            for (int b = 0; b < 256; ++b)
                all.push_back(static_cast<char>(b));
        Write(QStringLiteral("binary.bin"), all);
        m_form->LoadDocument(Path(QStringLiteral("binary.bin")));
        QCOMPARE(Panel(1), QString());
        Trigger(Act(m_form, "FileSave1"));
        // Lone CR and LF become CR LF on load; nothing else changes, byte 0 included.
        QCOMPARE(Read(QStringLiteral("binary.bin")), NormalizeForTest(all));
    }
    static std::string NormalizeForTest(const std::string& s)
    {
        std::string out;
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') {
                out += "\r\n";
                ++i;
            } else if (s[i] == '\r' || s[i] == '\n') {
                out += "\r\n";
            } else {
                out += s[i];
            }
        }
        return out;
    }
    void loneBreaksAreShownAndSavedAsCrLf()
    {
        Write(QStringLiteral("breaks.txt"), "a\nb\rc\n\rd");
        m_form->LoadDocument(Path(QStringLiteral("breaks.txt")));
        QCOMPARE(Panel(1), QString());
        QCOMPARE(Panel(2), QStringLiteral("5 Lines"));
        Trigger(Act(m_form, "FileSave1"));
        QCOMPARE(Read(QStringLiteral("breaks.txt")), std::string("a\r\nb\r\nc\r\n\r\nd"));
    }
    void loadingAnEqualTextStillClearsTheFlag()
    {
        Write(QStringLiteral("same.txt"), "same");
        lines::SetText(Memo()->Document(), "same");
        QCOMPARE(Panel(1), QStringLiteral("Modified"));
        m_form->LoadDocument(Path(QStringLiteral("same.txt")));
        QCOMPARE(Panel(1), QString());
        QCOMPARE(Panel(3), QStringLiteral("4 Bytes"));
    }
    void aFailedLoadKeepsTextNameAndCaption()
    {
        Write(QStringLiteral("good.txt"), "good");
        m_form->LoadDocument(Path(QStringLiteral("good.txt")));
        lines::SetText(Memo()->Document(), "edited");
        m_dialogs->saveAnswers = {Answer::No};
        m_dialogs->openNames = {Path(QStringLiteral("good.txt/below"))};
        Trigger(Act(m_form, "FileOpen1"));
        QCOMPARE(m_dialogs->errors.size(), 1);
        QVERIFY(m_dialogs->errors[0].startsWith(QStringLiteral("Cannot open file \"") + Path(QStringLiteral("good.txt/below"))));
        QVERIFY(m_dialogs->errors[0].endsWith(u'.'));
        QCOMPARE(Memo()->Document().Text(), std::string("edited"));
        QCOMPARE(m_form->Document().FileName(), Path(QStringLiteral("good.txt")));
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Quorlex - good.txt"));
        QCOMPARE(Panel(1), QStringLiteral("Modified"));
    }
    void aFailedSaveKeepsTheFlagAndTheCaption()
    {
        ModifiedDocument(QString());
        m_dialogs->saveNames = {Path(QStringLiteral("no/such/folder/a.txt"))};
        Trigger(Act(m_form, "FileSave1"));
        QCOMPARE(m_dialogs->errors.size(), 1);
        QVERIFY(m_dialogs->errors[0].startsWith(QStringLiteral("Cannot create file \"")));
        QCOMPARE(Panel(1), QStringLiteral("Modified"));
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Quorlex"));
        // The chosen path is the document's name now, so Save tries it again.
        QCOMPARE(m_form->Document().FileName(), Path(QStringLiteral("no/such/folder/a.txt")));
    }
    void saveOnUntitledProposesNonameWithTxt()
    {
        ModifiedDocument(QString(), "text");
        m_dialogs->saveNames = {Path(QStringLiteral("Noname"))};
        Trigger(Act(m_form, "FileSave1"));
        QCOMPARE(m_dialogs->savePresets, QStringList{QStringLiteral("Noname")});
        QCOMPARE(Read(QStringLiteral("Noname.txt")), std::string("text"));
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Quorlex - Noname.txt"));
        QCOMPARE(Panel(1), QString());
        // Save As presets the current name and replaces the file without asking.
        lines::SetText(Memo()->Document(), "again");
        m_dialogs->saveNames = {Path(QStringLiteral("Noname.txt"))};
        Trigger(Act(m_form, "FileSaveAsItem"));
        QCOMPARE(m_dialogs->savePresets.last(), Path(QStringLiteral("Noname.txt")));
        QCOMPARE(Read(QStringLiteral("Noname.txt")), std::string("again"));
    }
    void newBranches_data()
    {
        QTest::addColumn<bool>("titled");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveDialogConfirms");
        QTest::addColumn<bool>("reset");
        QTest::addColumn<QString>("saved"); // file that must hold "changed" afterwards
        QTest::newRow("titled, Yes saves and resets") << true << int(Answer::Yes) << false << true << "a.txt";
        QTest::newRow("untitled, Yes, dialog confirmed") << false << int(Answer::Yes) << true << true << "chosen.txt";
        QTest::newRow("untitled, Yes, dialog cancelled") << false << int(Answer::Yes) << false << false << "";
        QTest::newRow("No resets without saving") << true << int(Answer::No) << false << true << "";
        QTest::newRow("Cancel changes nothing") << true << int(Answer::Cancel) << false << false << "";
    }
    void newBranches()
    {
        QFETCH(bool, titled);
        QFETCH(int, answer);
        QFETCH(bool, saveDialogConfirms);
        QFETCH(bool, reset);
        QFETCH(QString, saved);
        QFile::remove(Path(QStringLiteral("chosen.txt")));
        ModifiedDocument(titled ? QStringLiteral("a.txt") : QString());
        m_dialogs->saveAnswers = {Answer(answer)};
        if (!titled && answer == int(Answer::Yes))
            m_dialogs->saveNames = {saveDialogConfirms ? std::optional<QString>(Path(QStringLiteral("chosen")))
                                                       : std::nullopt};
        Trigger(Act(m_form, "FileNew1"));
        QCOMPARE(m_dialogs->prompts, QStringList{titled ? QStringLiteral("Do you want to save ") + Path(QStringLiteral("a.txt")) + u'?'
                                                        : QStringLiteral("Do you want to save the current file?")});
        if (!titled && answer == int(Answer::Yes))
            QCOMPARE(m_dialogs->savePresets, QStringList{QString()}); // not preset
        if (reset) {
            QCOMPARE(Memo()->Document().Text(), std::string());
            QCOMPARE(m_form->windowTitle(), QStringLiteral("Quorlex"));
            QCOMPARE(m_form->Document().FileName(), QString());
            QCOMPARE(Panel(1), QString());
            QCOMPARE(Panel(2), QStringLiteral("0 Lines"));
        } else {
            QCOMPARE(Memo()->Document().Text(), std::string("changed"));
            QCOMPARE(Panel(1), QStringLiteral("Modified"));
        }
        if (!saved.isEmpty())
            QCOMPARE(Read(saved), std::string("changed"));
        else if (titled)
            QCOMPARE(Read(QStringLiteral("a.txt")), std::string("on disk"));
    }
    void newOnAnUnmodifiedDocumentAsksNothing()
    {
        lines::SetText(Memo()->Document(), "x");
        m_form->Document().SetModified(false);
        Trigger(Act(m_form, "FileNew1"));
        QVERIFY(m_dialogs->prompts.isEmpty());
        QCOMPARE(Memo()->Document().Text(), std::string());
    }
    void openDialogAddsTxtOnlyToANameThatIsNotThere()
    {
        for (const char* name : {"README", "README.txt", "Makefile", "notes.txt"})
            Write(QString::fromLatin1(name), name);
        for (auto [typed, opened] : {std::pair{"README", "README"}, {"Makefile", "Makefile"}, {"notes", "notes.txt"}}) {
            m_dialogs->openNames.push_back(Path(QString::fromLatin1(typed)));
            Trigger(Act(m_form, "FileOpen1"));
            QCOMPARE(m_form->Document().Text(), std::string(opened));
        }
    }
    void openBranches_data()
    {
        QTest::addColumn<bool>("titled");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveConfirms");
        QTest::addColumn<bool>("openConfirms");
        QTest::addColumn<bool>("openAsked");
        QTest::addColumn<QString>("finalText");
        QTest::addColumn<bool>("finalModified");
        QTest::newRow("titled Yes saves, opens") << true << int(Answer::Yes) << false << true << true << "other" << false;
        QTest::newRow("titled Yes, open cancelled: saved, clean") << true << int(Answer::Yes) << false << false << true
                                                                  << "changed" << false;
        QTest::newRow("untitled Yes, save cancelled: no open dialog") << false << int(Answer::Yes) << false << false
                                                                      << false << "changed" << true;
        QTest::newRow("untitled Yes, saved, opens") << false << int(Answer::Yes) << true << true << true << "other"
                                                    << false;
        QTest::newRow("No, open cancelled: still modified") << true << int(Answer::No) << false << false << true
                                                            << "changed" << true;
        QTest::newRow("No, opens") << true << int(Answer::No) << false << true << true << "other" << false;
        QTest::newRow("Cancel") << true << int(Answer::Cancel) << false << false << false << "changed" << true;
    }
    void openBranches()
    {
        QFETCH(bool, titled);
        QFETCH(int, answer);
        QFETCH(bool, saveConfirms);
        QFETCH(bool, openConfirms);
        QFETCH(bool, openAsked);
        QFETCH(QString, finalText);
        QFETCH(bool, finalModified);
        Write(QStringLiteral("other.txt"), "other");
        ModifiedDocument(titled ? QStringLiteral("a.txt") : QString());
        const QString captionBefore = m_form->windowTitle();
        m_dialogs->saveAnswers = {Answer(answer)};
        if (!titled && answer == int(Answer::Yes))
            m_dialogs->saveNames = {saveConfirms ? std::optional<QString>(Path(QStringLiteral("saved.txt"))) : std::nullopt};
        if (openAsked)
            m_dialogs->openNames = {openConfirms ? std::optional<QString>(Path(QStringLiteral("other.txt"))) : std::nullopt};
        Trigger(Act(m_form, "FileOpen1"));
        QCOMPARE(Memo()->Document().Text(), finalText.toStdString());
        QCOMPARE(m_form->Document().Modified(), finalModified);
        QVERIFY(m_dialogs->openNames.empty());
        if (titled && answer == int(Answer::Yes))
            QCOMPARE(Read(QStringLiteral("a.txt")), std::string("changed"));
        if (!titled && saveConfirms)
            QCOMPARE(Read(QStringLiteral("saved.txt")), std::string("changed"));
        if (finalText == u"other")
            QCOMPARE(m_form->windowTitle(), QStringLiteral("Quorlex - other.txt"));
        else if (!(answer == int(Answer::Yes) && !titled && saveConfirms))
            QCOMPARE(m_form->windowTitle(), captionBefore);
    }
    void closeQueryBranches_data()
    {
        QTest::addColumn<bool>("titled");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveConfirms");
        QTest::addColumn<bool>("closes");
        QTest::newRow("titled Yes saves and closes") << true << int(Answer::Yes) << false << true;
        QTest::newRow("untitled Yes, saved") << false << int(Answer::Yes) << true << true;
        QTest::newRow("untitled Yes, cancelled stays open") << false << int(Answer::Yes) << false << false;
        QTest::newRow("No closes") << true << int(Answer::No) << false << true;
        QTest::newRow("Cancel stays open") << true << int(Answer::Cancel) << false << false;
    }
    void closeQueryBranches()
    {
        QFETCH(bool, titled);
        QFETCH(int, answer);
        QFETCH(bool, saveConfirms);
        QFETCH(bool, closes);
        ModifiedDocument(titled ? QStringLiteral("a.txt") : QString());
        m_form->show();
        m_dialogs->saveAnswers = {Answer(answer)};
        if (!titled && answer == int(Answer::Yes))
            m_dialogs->saveNames = {saveConfirms ? std::optional<QString>(Path(QStringLiteral("exit.txt"))) : std::nullopt};
        QCOMPARE(m_form->close(), closes);
        QCOMPARE(m_dialogs->prompts, QStringList{titled ? QStringLiteral("Do you want to save ") + Path(QStringLiteral("a.txt")) + QStringLiteral(" before exit?")
                                                        : QStringLiteral("Do you want to save the current file before exit?")});
        if (titled && answer == int(Answer::Yes))
            QCOMPARE(Read(QStringLiteral("a.txt")), std::string("changed"));
        if (!titled && saveConfirms)
            QCOMPARE(Read(QStringLiteral("exit.txt")), std::string("changed"));
    }
    void aFailedSaveOnExitKeepsTheWindowOpen()
    {
        ModifiedDocument(QString());
        m_form->show();
        m_dialogs->saveAnswers = {Answer::Yes};
        m_dialogs->saveNames = {Path(QStringLiteral("missing/dir/x.txt"))};
        QVERIFY(!m_form->close());
        QCOMPARE(m_dialogs->errors.size(), 1);
    }
    void threeDropsOnACleanDocumentLoadInTurn()
    {
        for (const char* n : {"d1.txt", "d2.txt", "d3.txt"})
            Write(QString::fromLatin1(n), n);
        m_form->DropFiles({Path(QStringLiteral("d1.txt")), Path(QStringLiteral("d2.txt")), Path(QStringLiteral("d3.txt"))});
        QVERIFY(m_dialogs->prompts.isEmpty());
        QCOMPARE(Memo()->Document().Text(), std::string("d3.txt"));
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Quorlex - d3.txt"));
    }
    void cancelAtADropPromptSkipsOnlyThatPath()
    {
        Write(QStringLiteral("d1.txt"), "one");
        Write(QStringLiteral("d2.txt"), "two");
        ModifiedDocument(QString());
        m_dialogs->saveAnswers = {Answer::Cancel, Answer::No};
        m_form->DropFiles({Path(QStringLiteral("d1.txt")), Path(QStringLiteral("d2.txt"))});
        QCOMPARE(m_dialogs->prompts.size(), 2);
        QCOMPARE(Memo()->Document().Text(), std::string("two"));
    }
    void dropYesOnUntitledSavesUnderTheChosenName()
    {
        Write(QStringLiteral("d1.txt"), "one");
        ModifiedDocument(QString());
        m_dialogs->saveAnswers = {Answer::Yes};
        m_dialogs->saveNames = {Path(QStringLiteral("kept.txt"))};
        m_form->DropFiles({Path(QStringLiteral("d1.txt"))});
        QCOMPARE(Read(QStringLiteral("kept.txt")), std::string("changed"));
        QCOMPARE(Memo()->Document().Text(), std::string("one"));
        QCOMPARE(m_form->Document().FileName(), Path(QStringLiteral("d1.txt")));
    }
    void errorBoxIsTitledWithTheCaption()
    {
        Write(QStringLiteral("t.txt"), "t");
        m_form->LoadDocument(Path(QStringLiteral("t.txt")));
        m_dialogs->openNames = {Path(QStringLiteral("gone.txt"))};
        Trigger(Act(m_form, "FileOpen1"));
        QCOMPARE(m_dialogs->errorTitles, QStringList{QStringLiteral("Quorlex - t.txt")});
    }

    // --- Go To Line, the position panel, recent files, zoom ---

    // Each new item right after the one named, and no menu with a mnemonic twice.
    void newItemsTakeTheirPlaces_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("keys");
        QTest::newRow("Recent Files") << "File1" << "RecentFiles1" << "Recent &Files" << "FileSaveAsItem" << "";
        QTest::newRow("Print Preview") << "File1" << "FilePrintPreview1" << "Print Pre&view..." << "FilePrint1" << "";
        QTest::newRow("Go To Line") << "Edit1" << "GoToLine1" << "&Go To Line..." << "Replace1" << "Ctrl+G";
        QTest::newRow("Zoom In") << "View1" << "ZoomIn1" << "Zoom &In" << "-" << "Ctrl++; Ctrl+=";
        QTest::newRow("Zoom Out") << "View1" << "ZoomOut1" << "Zoom &Out" << "ZoomIn1" << "Ctrl+-";
        QTest::newRow("Reset Zoom") << "View1" << "ResetZoom1" << "&Reset Zoom" << "ZoomOut1" << "Ctrl+0";
    }
    void newItemsTakeTheirPlaces()
    {
        QFETCH(QString, menu);
        QFETCH(QString, item);
        QFETCH(QString, after);
        const QList<QAction*> items = m_form->findChild<QMenu*>(menu)->actions();
        const qsizetype at = items.indexOf(Item(item));
        QVERIFY(at > 1);
        QTEST(items[at]->text(), "caption");
        QTEST(QKeySequence::listToString(items[at]->shortcuts(), QKeySequence::PortableText), "keys");
        if (after == u"-")
            QVERIFY(items[at - 1]->isSeparator() && items[at - 2] == Item(QStringLiteral("FullScreen1")));
        else
            QCOMPARE(items[at - 1], Item(after));
        QSet<QChar> keys;
        for (QAction* a : items) {
            const qsizetype amp = a->text().indexOf(u'&');
            if (amp >= 0) {
                QVERIFY2(!keys.contains(a->text().at(amp + 1).toLower()), qPrintable(a->text()));
                keys.insert(a->text().at(amp + 1).toLower());
            }
        }
    }

    void goToLineMovesTheCaretOrSaysWhyNot()
    {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        std::string text;
        for (int i = 1; i <= 1000; ++i)
            text += "line " + std::to_string(i) + "\r\n";
        m_form->Document().SetText(text);
        const QString range = QStringLiteral(": the lines run from 1 to 1000.");
        QCOMPARE(GoToLine({"abc", "0", "99999999999999999999", " 500 "}),
                 (QStringList{"'abc' is not a line number.", "There is no line 0" + range,
                              "There is no line 99999999999999999999" + range, QString()}));
        QCOMPARE(m_form->Editor().CaretOffset(), m_form->Document().Bytes().LineStart(499));
        const QRect caret = m_form->Editor().inputMethodQuery(Qt::ImCursorRectangle).toRect();
        QVERIFY(std::abs(caret.center().y() - m_form->Editor().viewport()->geometry().center().y()) <= caret.height());
        QTest::keyClick(&m_form->Editor(), Qt::Key_Down);
        QCOMPARE(Position(), QStringLiteral("Ln 501, Col 1"));
        QCOMPARE(GoToLine({}), QStringList()); // cancelled: the caret stays
        QCOMPARE(Position(), QStringLiteral("Ln 501, Col 1"));
    }

    // A column counts bytes, a tab one; the line behind a final break is a line of its own.
    void positionPanelFollowsTheCaret()
    {
        const struct {
            const char* text;
            int caret;
            const char* shown;
        } cases[] = {{"", 0, "Ln 1, Col 1"},      {"ab\r\ncde", 6, "Ln 2, Col 3"}, {"\t\tx", 2, "Ln 1, Col 3"},
                     {"a\r\n", 3, "Ln 2, Col 1"}, {"a\nb", 3, "Ln 1, Col 4"}};
        for (const auto& c : cases) {
            m_form->Document().SetTextRaw(c.text);
            m_form->Editor().SetSelection(c.caret, 0);
            QCOMPARE(Position(), QString::fromLatin1(c.shown));
        }
    }
    // Right of the byte counter; neither it nor the counters are ever cut.
    void panelsGrowWithTheirText()
    {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        m_form->Document().SetText(std::string(1234567, 'x'));
        m_form->Editor().SetSelection(1234567, 0);
        QApplication::processEvents();
        auto* position = m_form->findChild<QLabel*>(QStringLiteral("PanelPosition"));
        QVERIFY(m_form->StatusPanel(3)->geometry().right() < position->geometry().left());
        QVERIFY(position->geometry().right() < m_form->StatusPanel(4)->geometry().left());
        for (QLabel* panel : {m_form->StatusPanel(2), m_form->StatusPanel(3), position})
            QVERIFY2(panel->contentsRect().width() >= panel->fontMetrics().horizontalAdvance(panel->text()),
                     qPrintable(panel->text()));
    }

    // Opening, saving as and dropping put a file first; the list outlives the run (a name
    // with a blank at its end too) and holds 8; a file that has gone leaves it when chosen.
    void recentFiles()
    {
        // A name with a blank at its end, and one that is not UTF-8.
        const QString a = File("a.txt"), c = Path(QStringLiteral("c.txt"));
        const QString b = PathFromNative(QFile::encodeName(m_home.path()).toStdString() + "/b & \xFC.txt ");
        WriteFileBytes(b, "text");
        m_form->LoadDocument(a);
        m_form->LoadDocument(b);
        m_dialogs->saveNames = {c};
        Act(m_form, "FileSaveAsItem")->trigger();
        m_form->DropFiles({a});
        const QStringList expected{"&1 " + a, "&2 " + c, "&3 " + ShownPath(b).replace(u'&', QStringLiteral("&&"))};
        QCOMPARE(RecentItems(), expected);
        QCOMPARE(Setting("RecentFiles", "File3"), NativePath(b).toStdString());
        NewForm();
        QCOMPARE(RecentItems(), expected);
        m_form->Document().SetText("changed");
        m_dialogs->saveAnswers = {IDialogs::Answer::Cancel};
        Act(m_form, "RecentFile3")->trigger(); // the save prompt first; Cancel keeps the document
        QCOMPARE(m_form->Document().FileName(), QString());
        m_form->Document().SetModified(false);
        Act(m_form, "RecentFile3")->trigger();
        QCOMPARE(m_form->Document().FileName(), b);

        for (const char* name : {"4", "5", "6", "7", "8", "9"})
            m_form->LoadDocument(File(name));
        QCOMPARE(RecentItems().size(), 8);
        QCOMPARE(RecentItems().last(), "&8 " + a); // c, the oldest, went
        QFile::remove(a);
        Act(m_form, "RecentFile8")->trigger();
        QCOMPARE(m_dialogs->errors.size(), 1);
        QVERIFY(m_dialogs->errors[0].startsWith("Cannot open file \"" + a));
        QCOMPARE(RecentItems().size(), 7);
        QCOMPARE(Setting("RecentFiles", "File8"), std::string());
        Act(m_form, "ClearRecentFiles1")->trigger();
        QCOMPARE(RecentItems(), QStringList());
        QVERIFY(!Item(QStringLiteral("RecentFiles1"))->isEnabled());
        QCOMPARE(Setting("RecentFiles", "File1"), std::string());
        ::unlink(NativePath(b).constData());
    }

    // Steps of a point on top of Font Properties' font, within 4 and 96, kept for the next run.
    void zoom()
    {
        const double base = Points();
        Act(m_form, "ZoomIn1")->trigger();
        Act(m_form, "ZoomIn1")->trigger();
        Act(m_form, "ZoomOut1")->trigger();
        QWheelEvent wheel({5, 5}, {5, 5}, {}, {0, 240}, Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_form->Editor().viewport(), &wheel);
        QCOMPARE(Points(), base + 3);
        QCOMPARE(Setting("Options", "Zoom"), "3");
        NewForm();
        QCOMPARE(Points(), base + 3);
        QFont big = m_form->Editor().font();
        big.setPointSize(94);
        m_dialogs->fonts = {big};
        Act(m_form, "FontProperties1")->trigger();
        Act(m_form, "ZoomIn1")->trigger();
        QCOMPARE(Points(), 96.0);
        Act(m_form, "ZoomOut1")->trigger();
        QCOMPARE(Setting("Options", "Zoom"), "1");
        Act(m_form, "ResetZoom1")->trigger();
        QCOMPARE(Points(), 94.0);
        for (int i = 0; i < 100; ++i)
            Act(m_form, "ZoomOut1")->trigger();
        QCOMPARE(Points(), 4.0);
        QCOMPARE(Setting("Options", "Zoom"), "-90");
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

#include "analysis/ui/analyze.h"
#include "app/MainWindow.h"
#include "tests/support/FormAccess.h"
#include "editor/Memo.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

class TestAnalysis : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::shared_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TAppForm> m_form;

    TMemo* Memo() const { return &m_form->Editor(); }
    static QString Clipboard() { return QGuiApplication::clipboard()->text(); }

    // Runs `inspect` on the Analyze window while it is shown modally, then closes it; the
    // command returns when the window is closed.
    void WithAnalyzeWindow(QAction* command, const std::function<void(TAnalyzetext&)>& inspect)
    {
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            auto* w = qobject_cast<TAnalyzetext*>(QApplication::activeModalWidget());
            if (w) {
                seen = true;
                inspect(*w);
                w->close();
            }
        });
        command->trigger();
        QVERIFY(seen);
        QVERIFY(m_form->findChildren<TAnalyzetext*>().isEmpty());
    }

    static QStringList Column(const TAnalyzetext& w, const QTableView* grid, int col)
    {
        QStringList out;
        for (int r = 0; r < w.RowCount(grid); ++r)
            out << w.Cell(grid, col, r);
        return out;
    }

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
        m_form->show();
    }
    void cleanup()
    {
        m_form->Document().SetModified(false);
        QCOMPARE(m_dialogs->unexpected, 0);
        m_form.reset();
    }

    void commandsAreEnabled()
    {
        QVERIFY(Act(m_form, "Analyzethetext1")->isEnabled());
        QVERIFY(Act(m_form, "ToolButton15")->isEnabled());
        QVERIFY(Act(m_form, "GenerateWordList1")->isEnabled());
    }

    void analyzeShowsTheThreeTablesAndCopiesTheWords()
    {
        lines::SetText(Memo()->Document(), "Hello, hello\r\nHELLO world!");
        m_form->Document().SetModified(false);
        WithAnalyzeWindow(Act(m_form, "Analyzethetext1"), [&](TAnalyzetext& w) {
            QCOMPARE(w.windowTitle(), QStringLiteral("Analyze"));
            QCOMPARE(w.PageControl1->currentIndex(), 0);
            QCOMPARE(w.PageControl1->tabText(2), QStringLiteral("Word Frequency"));

            QCOMPARE(Column(w, w.S1, 0), (QStringList{QStringLiteral("Size"), QStringLiteral("Lines"),
                                                      QStringLiteral("Words"), QStringLiteral("Unique Words"),
                                                      QStringLiteral("Unique Chars")}));
            QCOMPARE(Column(w, w.S1, 1), (QStringList{QStringLiteral("28 bytes"), QStringLiteral("2"),
                                                      QStringLiteral("4"), QStringLiteral("2"), QStringLiteral("9")}));

            QCOMPARE(w.RowCount(w.S2), 10);
            QCOMPARE(w.Cell(w.S2, 0, 0), QStringLiteral("Char"));
            QCOMPARE(w.Cell(w.S2, 2, 0), QStringLiteral("%"));
            const int l = static_cast<int>(Column(w, w.S2, 0).indexOf(QStringLiteral("L")));
            QVERIFY(l > 0);
            QCOMPARE(w.Cell(w.S2, 1, l), QStringLiteral("7"));
            QCOMPARE(w.Cell(w.S2, 2, l), QStringLiteral("31.8 %"));

            QCOMPARE(Column(w, w.S3, 0), (QStringList{QStringLiteral("Word"), QStringLiteral("hello"),
                                                      QStringLiteral("world")}));
            QCOMPARE(Column(w, w.S3, 1), (QStringList{QStringLiteral("Usage"), QStringLiteral("3"),
                                                      QStringLiteral("1")}));
            QCOMPARE(Column(w, w.S3, 2), (QStringList{QStringLiteral("%"), QStringLiteral("75.0 %"),
                                                      QStringLiteral("25.0 %")}));

            // Shown at a client width of 254.
            QCOMPARE(w.width(), 254);
            QCOMPARE(w.S1->columnWidth(1), 117);
            QCOMPARE(w.S2->columnWidth(0), 72);
            QCOMPARE(w.S3->columnWidth(2), 72);

            QVERIFY(!(w.S3->model()->flags(w.S3->model()->index(0, 0)) & Qt::ItemIsEditable));
            QCOMPARE(w.S1->editTriggers(), QAbstractItemView::NoEditTriggers);
            QCOMPARE(w.S3->contextMenuPolicy(), Qt::CustomContextMenu);
            QCOMPARE(w.S1->contextMenuPolicy(), Qt::NoContextMenu);
            QCOMPARE(w.S2->contextMenuPolicy(), Qt::NoContextMenu);

            w.PageControl1->setCurrentIndex(2);
            QTest::mouseClick(w.Button1, Qt::LeftButton);
            QCOMPARE(Clipboard(), QStringLiteral("hello\r\nworld\r\n"));
            QTest::mouseClick(w.Button2, Qt::LeftButton);
            QCOMPARE(Clipboard(), QStringLiteral("hello;3;75.0 %\r\nworld;1;25.0 %\r\n"));
            w.CopyWordstoClipboard1->trigger();
            QCOMPARE(Clipboard(), QStringLiteral("hello\r\nworld\r\n"));
        });
        QCOMPARE(Memo()->Document().Text(), std::string("Hello, hello\r\nHELLO world!"));
        QVERIFY(!m_form->Document().Modified());
    }

    void emptyDocumentShowsZerosAndHeadersAndCopiesEmptyText()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        WithAnalyzeWindow(Act(m_form, "ToolButton15"), [&](TAnalyzetext& w) {
            QCOMPARE(Column(w, w.S1, 1), (QStringList{QStringLiteral("0 bytes"), QStringLiteral("0"),
                                                      QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")}));
            QCOMPARE(Column(w, w.S2, 0), QStringList{QStringLiteral("Char")});
            QCOMPARE(Column(w, w.S3, 1), QStringList{QStringLiteral("Usage")});
            w.Button1->click();
            QCOMPARE(Clipboard(), QString());
            QGuiApplication::clipboard()->setText(QStringLiteral("before"));
            w.Button2->click();
            QCOMPARE(Clipboard(), QString());
        });
    }

    void clipboardAndCellsCarryTheCodePageLetters()
    {
        // "kapı" and "Işık" in the code page; the I folds, the ı and ş do not.
        lines::SetText(Memo()->Document(), "kap\xFD I\xFE\xFDk");
        WithAnalyzeWindow(Act(m_form, "ToolButton15"), [&](TAnalyzetext& w) {
            QCOMPARE(Column(w, w.S3, 0).mid(1),
                     (QStringList{QString::fromUtf8("işık"), QString::fromUtf8("kapı")}));
            w.CopyAllinCSVformat1->trigger();
            QCOMPARE(Clipboard(), QString::fromUtf8("işık;1;50.0 %\r\nkapı;1;50.0 %\r\n"));
        });
    }

    void columnWidthsFollowTheWindowWidth()
    {
        WithAnalyzeWindow(Act(m_form, "ToolButton15"), [&](TAnalyzetext& w) {
            w.resize(300, 240);
            QCOMPARE(w.S1->columnWidth(0), 140);
            QCOMPARE(w.S2->columnWidth(1), 88);
            QCOMPARE(w.S3->columnWidth(0), 88);
        });
    }

    void generateWordListReplacesTheDocument()
    {
        lines::SetText(Memo()->Document(), "The cat saw the Dog.\r\nDogs, cats!");
        m_form->Document().SetModified(false);
        Act(m_form, "GenerateWordList1")->trigger();
        QCOMPARE(Memo()->Document().Text(), std::string("cat\r\ncats\r\ndog\r\ndogs\r\nsaw\r\nthe\r\n"));
        QCOMPARE(Memo()->SelStart(), 32);
        QCOMPARE(Memo()->SelLength(), 0);
        QVERIFY(m_form->Document().Modified());
        QCOMPARE(m_form->StatusPanel(3)->text(), QStringLiteral("32 Bytes"));
        QCOMPARE(m_form->StatusPanel(2)->text(), QStringLiteral("6 Lines"));
        QVERIFY(!Memo()->Document().CanUndo());
        UndoIn(Memo());
        QCOMPARE(Memo()->Document().Text(), std::string("cat\r\ncats\r\ndog\r\ndogs\r\nsaw\r\nthe\r\n"));
    }

    void generateWordListOnAListMarksItModifiedAgain()
    {
        lines::SetText(Memo()->Document(), "alpha\r\nbeta\r\n");
        m_form->Document().SetModified(false);
        Act(m_form, "GenerateWordList1")->trigger();
        QCOMPARE(Memo()->Document().Text(), std::string("alpha\r\nbeta\r\n"));
        QVERIFY(m_form->Document().Modified());
    }

    void generateWordListWithoutWordsLeavesOneEmptyLine()
    {
        lines::SetText(Memo()->Document(), "... -- !!");
        Act(m_form, "GenerateWordList1")->trigger();
        QCOMPARE(Memo()->Document().Text(), std::string("\r\n"));
        QCOMPARE(Memo()->SelStart(), 2);
    }
};

QTEST_MAIN(TestAnalysis)
#include "tst_analysis.moc"

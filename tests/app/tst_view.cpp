#include "app/MainWindow.h"
#include "tests/support/FormAccess.h"
#include "editor/Memo.h"
#include "app/about.h"
#include "document/TextFile.h"
#include "platform/IniFile.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenuBar>
#include <QStatusTipEvent>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include <functional>

class TestView : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    std::shared_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TAppForm> m_form;
    QList<QUrl> m_opened;

    QString Path(const QString& name) const { return m_home.filePath(name); }
    QString SettingsPath() const { return Path(QStringLiteral("settings.ini")); }
    std::string Setting(const char* key) const { return TIniFile(SettingsPath()).ReadString("Options", key); }
    TMemo* Memo() const { return &m_form->Editor(); }
    static QSize StartSize()
    {
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        return {screen.height(), screen.width() / 2};
    }

    void NewForm()
    {
        m_form.reset();
        m_dialogs = std::make_shared<ScriptedDialogs>();
        m_form = std::make_unique<TAppForm>(m_dialogs);
    }

    static QString Run(const QString& program, const QStringList& arguments)
    {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(30000))
            return QStringLiteral("<%1 did not run>").arg(program);
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    static int PdfPages(const QString& pdf)
    {
        const QString info = Run(QStringLiteral("pdfinfo"), {pdf});
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    }
    static QString PdfTitle(const QString& pdf)
    {
        const QString info = Run(QStringLiteral("pdfinfo"), {pdf});
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Title:\\s+(\\S.*)")).match(info);
        return m.hasMatch() ? m.captured(1).trimmed() : QString();
    }
    // The text of every page, cut at pdftotext's form feeds.
    static QStringList PdfPageTexts(const QString& pdf)
    {
        QStringList pages = Run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).split(u'\f');
        if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }
    // Top of every `word` on each page, in points.
    static QList<QList<double>> WordTops(const QString& pdf, const QString& word)
    {
        const QString html = Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        QList<QList<double>> pages;
        const QRegularExpression tag(QStringLiteral("<page |<word [^>]*yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
        for (auto it = tag.globalMatch(html); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            if (m.captured(0).startsWith(QLatin1String("<page")))
                pages.append(QList<double>());
            else if (m.captured(2) == word && !pages.isEmpty())
                pages.last().append(m.captured(1).toDouble());
        }
        return pages;
    }
    // Prints the document to `pdf` through the print dialog seam.
    void PrintTo(const QString& pdf)
    {
        m_form->Printer().setOutputFileName(pdf);
        m_dialogs->printAnswers = {true};
        Act(m_form, "FilePrint1")->trigger();
    }

    // Runs `inspect` on the About box while it is shown modally; the command returns when the
    // box has closed (inspect closes it, or the helper does).
    void WithAboutBox(const std::function<void(TAboutBox&)>& inspect)
    {
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            TAboutBox* box = m_form->findChild<TAboutBox*>();
            if (!box)
                return;
            seen = true;
            QPointer<TAboutBox> guard(box);
            inspect(*box);
            if (guard)
                box->close();
        });
        Act(m_form, "HelpAboutItem")->trigger();
        QVERIFY(seen);
        QVERIFY(m_form->findChildren<TAboutBox*>().isEmpty()); // released on close
    }
    static void MoveOver(QWidget* w)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    }
    static bool IsHot(const QLabel* link)
    {
        return link->palette().color(QPalette::WindowText) == QColor(255, 0, 0) && link->font().underline();
    }
    static bool IsPlainBlue(const QLabel* link)
    {
        return link->palette().color(QPalette::WindowText) == QColor(0, 0, 255) && !link->font().underline();
    }

public slots:
    void Opened(const QUrl& url) { m_opened << url; }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("QUORLEX_HOME", m_home.path().toLocal8Bit());
        for (const char* scheme : {"file", "http", "https", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Opened");
    }
    void cleanupTestCase()
    {
        for (const char* scheme : {"file", "http", "https", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    void init()
    {
        QDir(SettingsPath()).removeRecursively();
        QFile::remove(SettingsPath());
        m_opened.clear();
        NewForm();
    }
    void cleanup()
    {
        if (m_form)
            m_form->Document().SetModified(false);
        QCOMPARE(m_dialogs->unexpected, 0);
        m_form.reset();
    }

    // --- options that settings.ini remembers ---
    void optionsAreWrittenAndReadBackAfterARestart_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("word wrap off") << QStringLiteral("Wordwrap1") << 1 << QByteArray("WordWrap")
                                       << QByteArray("False");
        QTest::newRow("word wrap on again") << QStringLiteral("Wordwrap1") << 2 << QByteArray("WordWrap")
                                            << QByteArray("True");
        QTest::newRow("status bar hidden") << QStringLiteral("StatusBar1") << 1 << QByteArray("StatusBar")
                                           << QByteArray("False");
        QTest::newRow("tool bar hidden") << QStringLiteral("ToolBar1") << 1 << QByteArray("ToolBar")
                                         << QByteArray("False");
        QTest::newRow("tool bar shown again") << QStringLiteral("ToolBar1") << 2 << QByteArray("ToolBar")
                                              << QByteArray("True");
    }
    void optionsAreWrittenAndReadBackAfterARestart()
    {
        QFETCH(QString, item);
        QFETCH(int, clicks);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, written);
        lines::SetText(Memo()->Document(), "a long line that may wrap\r\nsecond");
        const QString lines = m_form->StatusPanel(2)->text();
        for (int i = 0; i < clicks; ++i)
            m_form->findChild<QAction*>(item)->trigger();
        QCOMPARE(QByteArray::fromStdString(Setting(key.constData())), written);
        QCOMPARE(m_form->StatusPanel(2)->text(), lines); // the view changes no counter

        for (int restart = 0; restart < 2; ++restart) {
            const bool on = written == "True";
            QCOMPARE(m_form->findChild<QAction*>(item)->isChecked(), on);
            if (key == "WordWrap") {
                QCOMPARE(Memo()->WordWrap(), on);
                QCOMPARE(Memo()->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff, on);
            } else {
                QWidget* bar = key == "StatusBar" ? static_cast<QWidget*>(StatusBarOf(m_form)) : ToolBarOf(m_form);
                QCOMPARE(!bar->isHidden(), on);
            }
            NewForm();
        }
        // A hidden status bar still keeps the modified flag.
        lines::SetText(Memo()->Document(), "edited");
        QVERIFY(m_form->Document().Modified());
    }
    // QMainWindow's popup on the bars held one check item that hid the tool bar behind the
    // View menu's back.
    void rightClickOnTheBarsOpensNoPopup()
    {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        QWidget* const bars[] = {m_form->menuBar(), ToolBarOf(m_form), ToolBarOf(m_form)->widgetForAction(Act(m_form, "FileNew1")),
                                 StatusBarOf(m_form), m_form->StatusPanel(2)};
        for (QWidget* bar : bars) {
            QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(2, 2), bar->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(bar, &click);
            QWidget* popup = QApplication::activePopupWidget();
            if (popup)
                popup->close();
            QVERIFY2(!popup, qPrintable(bar->objectName()));
        }
        QVERIFY(ToolBarOf(m_form)->isVisible());
    }
    // Every hint of the menus and the tool bar shows whole in panel 0, and a long one does not
    // widen the window.
    void panelZeroShowsEveryHintWhole()
    {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        const int width = m_form->width();
        QLabel* panel = m_form->StatusPanel(0);
        QStringList hints;
        for (const QAction* action : m_form->findChildren<QAction*>())
            if (!action->statusTip().isEmpty())
                hints << action->statusTip();
        QVERIFY(hints.contains(QStringLiteral("Copy the selection and put it on the Clipboard")));
        for (const QString& hint : hints) {
            QStatusTipEvent tip(hint);
            QApplication::sendEvent(m_form.get(), &tip);
            QApplication::processEvents();
            QCOMPARE(panel->text(), hint);
            QVERIFY2(panel->contentsRect().width() >= panel->fontMetrics().horizontalAdvance(hint),
                     qPrintable(QStringLiteral("%1: %2 px").arg(hint).arg(panel->contentsRect().width())));
        }
        QCOMPARE(m_form->width(), width);
        QVERIFY(m_form->StatusPanel(3)->geometry().right() <= StatusBarOf(m_form)->width());
    }
    void wordWrapKeepsTextSelectionAndModifiedFlag()
    {
        lines::SetText(Memo()->Document(), "one\r\ntwo\r\nthree");
        Memo()->Document().Replace(0, 0, "x", ByteDocument::Undo::Record);
        QVERIFY(Act(m_form, "EditUndo1")->isEnabled());
        Memo()->SetSelection(6, 3);
        m_form->Document().SetModified(false);
        Act(m_form, "Wordwrap1")->trigger();
        QCOMPARE(Memo()->Document().Text(), std::string("xone\r\ntwo\r\nthree"));
        QCOMPARE(Memo()->SelStart(), 6);
        QCOMPARE(Memo()->SelLength(), 3);
        QVERIFY(!m_form->Document().Modified());
        // The one-level undo starts afresh.
        QVERIFY(!Act(m_form, "EditUndo1")->isEnabled());
    }
    void backgroundColourIsWrittenAndReadBack_data()
    {
        QTest::addColumn<QColor>("chosen");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<uint>("value");
        QTest::newRow("white is clWhite") << QColor(255, 255, 255) << QByteArray("clWhite") << 0x00FFFFFFu;
        QTest::newRow("pure red is clRed") << QColor(255, 0, 0) << QByteArray("clRed") << 0x000000FFu;
        QTest::newRow("unnamed colour in hex, red lowest") << QColor(1, 2, 3) << QByteArray("$00030201")
                                                           << 0x00030201u;
    }
    void backgroundColourIsWrittenAndReadBack()
    {
        QFETCH(QColor, chosen);
        QFETCH(QByteArray, written);
        QFETCH(uint, value);
        m_dialogs->colors = {chosen};
        Act(m_form, "BackgroundColor1")->trigger();
        QCOMPARE(QByteArray::fromStdString(Setting("BackgroundColor")), written);
        QCOMPARE(Memo()->BackgroundColor(), chosen);
        NewForm();
        QCOMPARE(m_form->MemoBackground(), value);
        QCOMPARE(Memo()->BackgroundColor(), chosen);
    }
    void cancelledColourAndFontDialogsChangeNothing()
    {
        const QColor background = Memo()->BackgroundColor();
        const QFont font = Memo()->font();
        m_dialogs->colors = {std::nullopt};
        m_dialogs->fonts = {std::nullopt};
        Act(m_form, "BackgroundColor1")->trigger();
        Act(m_form, "FontProperties1")->trigger();
        QCOMPARE(Memo()->BackgroundColor(), background);
        QCOMPARE(Memo()->font(), font);
        QVERIFY(!QFile::exists(SettingsPath()));
    }
    void chosenFontLastsForTheRunOnly()
    {
        const QFont design = Memo()->font();
        QFont chosen(QStringLiteral("Serif"), 17);
        chosen.setItalic(true);
        m_dialogs->fonts = {chosen};
        Act(m_form, "FontProperties1")->trigger();
        QCOMPARE(Memo()->font().pointSize(), 17);
        QVERIFY(Memo()->font().italic());
        QVERIFY(!QFile::exists(SettingsPath()));
        NewForm();
        QCOMPARE(Memo()->font(), design);
    }

    // settings.ini as a folder: every write fails.
    void aFailedWriteKeepsTheStepsBeforeIt_data()
    {
        QTest::addColumn<QString>("item");
        QTest::newRow("word wrap: mark changes, wrapping does not") << QStringLiteral("Wordwrap1");
        QTest::newRow("status bar: bar already hidden") << QStringLiteral("StatusBar1");
        QTest::newRow("tool bar: bar already hidden") << QStringLiteral("ToolBar1");
        QTest::newRow("colour: editor already coloured") << QStringLiteral("BackgroundColor1");
    }
    void aFailedWriteKeepsTheStepsBeforeIt()
    {
        QFETCH(QString, item);
        QVERIFY(QDir().mkpath(SettingsPath()));
        NewForm();
        m_dialogs->colors = {QColor(0, 128, 0)};
        m_form->findChild<QAction*>(item)->trigger();
        QCOMPARE(m_dialogs->errors, QStringList{QStringLiteral("Unable to write to ") + SettingsPath() + u'.'});
        if (item == QLatin1String("Wordwrap1")) {
            QVERIFY(!Act(m_form, "Wordwrap1")->isChecked());
            QVERIFY(Memo()->WordWrap());
        } else if (item == QLatin1String("StatusBar1")) {
            QVERIFY(!Act(m_form, "StatusBar1")->isChecked());
            QVERIFY(StatusBarOf(m_form)->isHidden());
        } else if (item == QLatin1String("ToolBar1")) {
            QVERIFY(!Act(m_form, "ToolBar1")->isChecked());
            QVERIFY(ToolBarOf(m_form)->isHidden());
        } else {
            QCOMPARE(Memo()->BackgroundColor(), QColor(0, 128, 0));
            QCOMPARE(m_form->MemoBackground(), 0x00008000u);
        }
    }

    // --- full screen ---
    void fullScreenTwiceRestoresTheStartSizeWhereTheWindowStood()
    {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        m_form->move(40, 30);
        const QPoint before = m_form->pos();
        lines::SetText(Memo()->Document(), "kept\r\ntext");
        Memo()->SetSelection(2, 4);

        Act(m_form, "FullScreen1")->trigger();
        QVERIFY(Act(m_form, "FullScreen1")->isChecked());
        QVERIFY(m_form->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(m_form->windowState().testFlag(Qt::WindowFullScreen));
        QVERIFY(m_form->isVisible());
        QVERIFY(!ToolBarOf(m_form)->isHidden());
        QVERIFY(!StatusBarOf(m_form)->isHidden());

        m_form->resize(300, 200); // however the window changed meanwhile
        Act(m_form, "FullScreen1")->trigger();
        QVERIFY(!Act(m_form, "FullScreen1")->isChecked());
        QVERIFY(!m_form->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(!(m_form->windowState() & (Qt::WindowFullScreen | Qt::WindowMaximized)));
        QVERIFY(m_form->isVisible());
        QCOMPARE(m_form->size(), StartSize());
        QCOMPARE(m_form->pos(), before);
        QCOMPARE(Memo()->Document().Text(), std::string("kept\r\ntext"));
        QCOMPARE(Memo()->SelStart(), 2);
        QCOMPARE(Memo()->SelLength(), 4);
        QVERIFY(m_form->Document().Modified());
    }
    void escInTheEditorLeavesFullScreenOnly()
    {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        lines::SetText(Memo()->Document(), "abc");
        QTest::keyClick(Memo(), Qt::Key_Escape);
        QVERIFY(!Act(m_form, "FullScreen1")->isChecked());
        QCOMPARE(m_form->size(), StartSize());
        QCOMPARE(Memo()->Document().Text(), std::string("abc"));

        Act(m_form, "FullScreen1")->trigger();
        QTest::keyClick(Memo(), Qt::Key_Escape);
        QVERIFY(!Act(m_form, "FullScreen1")->isChecked());
        QVERIFY(!m_form->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(m_form->size(), StartSize());
    }

    // --- printing ---
    void printsEveryLineOnPagesByTheHeightRule()
    {
        std::string text;
        for (int i = 1; i <= 300; ++i)
            text += "Line " + std::to_string(i) + "\r\n";
        lines::SetText(Memo()->Document(), text);
        const QString pdf = Path(QStringLiteral("lines.pdf"));
        PrintTo(pdf);
        QCOMPARE(m_dialogs->errors, QStringList());

        // The rule on the printer's own metrics: a line is its text height plus 2 high, and a
        // new page begins when less than two lines are left below the next line's top.
        QPrinter& printer = m_form->Printer();
        const int h = QFontMetrics(Memo()->font(), &printer).height() + 2;
        int pages = 1, y = 0;
        QList<int> firstLines{1};
        for (int line = 1; line <= 300; ++line) {
            y += h;
            if (y > printer.height() - 2 * h && line < 300) {
                ++pages;
                y = 0;
                firstLines << line + 1;
            }
        }
        QVERIFY2(pages >= 3, "the test needs a document of several pages");
        QCOMPARE(PdfPages(pdf), pages);
        const QStringList texts = PdfPageTexts(pdf);
        QCOMPARE(texts.size(), pages);
        for (int p = 0; p < pages; ++p)
            QCOMPARE(texts[p].trimmed().section(u'\n', 0, 0), QStringLiteral("Line %1").arg(firstLines[p]));
        // Each line stands h device units below the previous one (pdftotext gives points).
        const double step = h * 72.0 / printer.resolution();
        const QList<QList<double>> tops = WordTops(pdf, QStringLiteral("Line"));
        QCOMPARE(tops.size(), pages);
        for (const QList<double>& page : tops)
            for (qsizetype i = 1; i < page.size(); ++i)
                QVERIFY2(std::abs(page[i] - page[i - 1] - step) < 0.01,
                         qPrintable(QStringLiteral("%1 then %2, step %3").arg(page[i - 1]).arg(page[i]).arg(step)));
        QString all = texts.join(u'\n');
        QCOMPARE(all.count(QStringLiteral("Line ")), 300);
        QVERIFY(all.contains(QStringLiteral("Line 300")));
    }
    void formFeedStartsAPageAndTheJobCarriesTheFileName()
    {
        WriteFileBytes(Path(QStringLiteral("report.txt")), "first page\r\nstill first\fsecond page\r\nlast");
        m_form->LoadDocument(Path(QStringLiteral("report.txt")));
        const QString pdf = Path(QStringLiteral("ff.pdf"));
        PrintTo(pdf);
        QCOMPARE(m_dialogs->errors, QStringList());
        QCOMPARE(PdfPages(pdf), 2);
        const QStringList texts = PdfPageTexts(pdf);
        QCOMPARE(texts.size(), 2);
        QVERIFY(texts[0].contains(QStringLiteral("still first")));
        QCOMPARE(texts[1].simplified(), QStringLiteral("second page last"));
        QCOMPARE(PdfTitle(pdf), QStringLiteral("report.txt"));
    }
    // The preview draws Print's pages with Print's code: the same pages, the zoom left out.
    void printPreviewShowsThePagesPrintPrints()
    {
        std::string text;
        for (int i = 1; i <= 150; ++i)
            text += "Line " + std::to_string(i) + (i % 40 ? "\r\n" : "\f");
        lines::SetText(Memo()->Document(), text);
        Act(m_form, "ZoomIn1")->trigger();
        const QString preview = Path(QStringLiteral("preview.pdf"));
        m_form->Printer().setOutputFileName(preview);
        Act(m_form, "FilePrintPreview1")->trigger();
        QCOMPARE(m_dialogs->previews, 1);
        const QString printed = Path(QStringLiteral("printed.pdf"));
        PrintTo(printed);
        QCOMPARE(m_dialogs->errors, QStringList());
        QVERIFY(PdfPages(printed) >= 4);
        QCOMPARE(PdfPageTexts(preview), PdfPageTexts(printed));
        QCOMPARE(WordTops(preview, QStringLiteral("Line")), WordTops(printed, QStringLiteral("Line")));
        Act(m_form, "ResetZoom1")->trigger();
        PrintTo(preview); // without the zoom, over the preview's file: the same lines
        QCOMPARE(WordTops(preview, QStringLiteral("Line")), WordTops(printed, QStringLiteral("Line")));
    }
    void tabsAndTurkishLettersReachThePaper()
    {
        lines::SetText(Memo()->Document(), "\xDE" "ey\t\xFD\xE7" "in\r\n"); // Şey<TAB>ıçin
        const QString pdf = Path(QStringLiteral("tr.pdf"));
        PrintTo(pdf);
        QCOMPARE(m_dialogs->errors, QStringList());
        const QString text = PdfPageTexts(pdf).join(QString());
        QVERIFY2(text.contains(QStringLiteral("Şey")) && text.contains(QStringLiteral("ıçin")), qPrintable(text));
    }
    void emptyDocumentPrintsOneBlankPage()
    {
        const QString pdf = Path(QStringLiteral("empty.pdf"));
        PrintTo(pdf);
        QCOMPARE(m_dialogs->errors, QStringList());
        QCOMPARE(PdfPages(pdf), 1);
        QCOMPARE(PdfPageTexts(pdf).join(QString()).trimmed(), QString());
    }
    void cancelledPrintDialogPrintsNothing()
    {
        lines::SetText(Memo()->Document(), "text");
        m_form->Printer().setOutputFileName(Path(QStringLiteral("never.pdf")));
        m_dialogs->printAnswers = {false};
        Act(m_form, "FilePrint1")->trigger();
        QVERIFY(!QFile::exists(Path(QStringLiteral("never.pdf"))));
        QCOMPARE(m_dialogs->errors, QStringList());
    }
    void aPrinterThatFailsIsReportedAsNotFound()
    {
        lines::SetText(Memo()->Document(), "text");
        PrintTo(Path(QStringLiteral("no such folder/out.pdf")));
        QCOMPARE(m_dialogs->errors, QStringList{QStringLiteral("Printer not found!")});
    }
    // Printing to a file proposes its name from the job's name, so the job is named before the
    // print dialog shows; a name proposed for the previous document does not stay behind.
    void printToFileIsNamedAfterTheDocument()
    {
        WriteFileBytes(Path(QStringLiteral("a.txt")), "a");
        WriteFileBytes(Path(QStringLiteral("b.txt")), "b");
        WriteFileBytes(Path(QStringLiteral("c.txt")), "c");
        m_form->LoadDocument(Path(QStringLiteral("a.txt")));
        m_dialogs->printAnswers = {false};
        Act(m_form, "FilePrint1")->trigger();
        QCOMPARE(m_dialogs->printDocNames, QStringList{QStringLiteral("a.txt")});
        QCOMPARE(m_dialogs->printFileNames, QStringList{QString()}); // the dialog proposes a.pdf itself

        PrintTo(Path(QStringLiteral("a.pdf")));
        m_form->LoadDocument(Path(QStringLiteral("b.txt")));
        m_dialogs->printAnswers = {false};
        Act(m_form, "FilePrint1")->trigger();
        QCOMPARE(m_dialogs->printDocNames.last(), QStringLiteral("b.txt"));
        QCOMPARE(m_dialogs->printFileNames.last(), Path(QStringLiteral("b.pdf")));

        PrintTo(Path(QStringLiteral("mine.pdf"))); // a name of the user's own stays
        m_form->LoadDocument(Path(QStringLiteral("c.txt")));
        m_dialogs->printAnswers = {false};
        Act(m_form, "FilePrint1")->trigger();
        QCOMPARE(m_dialogs->printFileNames.last(), Path(QStringLiteral("mine.pdf")));
        QCOMPARE(m_dialogs->errors, QStringList());
    }
    void versionHistoryOpensTheFileBesideTheProgram()
    {
        Act(m_form, "VersionHistory1")->trigger();
        QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(Path(QStringLiteral("versions.txt")))});
        QCOMPARE(m_dialogs->errors, QStringList());
    }
    void aboutBoxLayout()
    {
        WithAboutBox([](TAboutBox& box) {
            QCOMPARE(box.windowTitle(), QStringLiteral("About Quorlex"));
            QCOMPARE(box.size(), QSize(234, 161));
            QVERIFY(box.isModal());
            QVERIFY(!box.windowFlags().testFlag(Qt::WindowCloseButtonHint));
            QCOMPARE(box.Label1->text(), QStringLiteral("Morvane Software"));
            QCOMPARE(box.Label2->text(), QStringLiteral("Quorlex 1.30"));
            QVERIFY(!box.Image1->pixmap().isNull());
            QVERIFY(box.BitBtn1->isDefault());
            QCOMPARE(box.Label5->toolTip(), TAboutBox::WebAddress);
            QCOMPARE(box.Label7->toolTip(), QStringLiteral("Mailto ") + TAboutBox::EmailAddress);
            QVERIFY(IsPlainBlue(box.Label5));
            QVERIFY(IsPlainBlue(box.Label7));
            QTest::keyClick(&box, Qt::Key_Return); // the default button closes the box
        });
    }
    void linksLightUpUnderThePointer()
    {
        bool hot5 = false, other7 = false, hot7 = false, other5 = false, kept = false, reset = false;
        WithAboutBox([&](TAboutBox& box) {
            MoveOver(box.Label5);
            hot5 = IsHot(box.Label5);
            other7 = IsPlainBlue(box.Label7);
            MoveOver(box.Label8); // no handler: Label5 stays lit
            kept = IsHot(box.Label5);
            MoveOver(box.Label7);
            hot7 = IsHot(box.Label7);
            other5 = IsPlainBlue(box.Label5);
            MoveOver(box.Label3);
            reset = IsPlainBlue(box.Label5) && IsPlainBlue(box.Label7);
            MoveOver(box.Label5);
            QTest::mouseClick(box.BitBtn1, Qt::LeftButton);
        });
        QVERIFY(hot5);
        QVERIFY(other7);
        QVERIFY(kept);
        QVERIFY(hot7);
        QVERIFY(other5);
        QVERIFY(reset);
        // The next box is a fresh one, its links plain again.
        bool fresh = false;
        WithAboutBox([&](TAboutBox& box) { fresh = IsPlainBlue(box.Label5) && IsPlainBlue(box.Label7); });
        QVERIFY(fresh);
    }
    void linksOpenTheWebSiteAndTheMailLink()
    {
        WithAboutBox([](TAboutBox& box) {
            QTest::mouseClick(box.Label5, Qt::LeftButton, {}, QPoint(3, 3));
            QTest::mouseClick(box.Label7, Qt::LeftButton, {}, QPoint(3, 3));
        });
        QCOMPARE(m_opened, (QList<QUrl>{QUrl(TAboutBox::WebAddress),
                                        QUrl(QStringLiteral("mailto:") + TAboutBox::EmailAddress)}));
    }
};

QTEST_MAIN(TestView)
#include "tst_view.moc"

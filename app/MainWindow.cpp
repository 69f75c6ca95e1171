#include "app/MainWindow.h"

#include "app/BackgroundSave.h"

#include "app/Dialogs.h"
#include "app/MainRecovery.h"
#include "editor/Memo.h"
#include "app/ToolImages.h"
#include "commands/ui/separatelines.h"
#include "document/LineText.h"
#include "document/TextDocument.h"
#include "document/TextFile.h"
#include "platform/IniFile.h"
#include "platform/ColorNames.h"
#include "platform/Error.h"
#include "platform/FileStamp.h"
#include "platform/ProgramFolder.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>

namespace {

// The menu bar draws its default item ("E&xtra!") in bold; QMenuBar ignores action fonts.
class DefaultItemMenuStyle : public QProxyStyle {
public:
    explicit DefaultItemMenuStyle(QAction* defaultItem) : m_default(defaultItem) {}

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        if (element == CE_MenuBarItem && IsDefault(option)) {
            painter->save();
            QFont bold = painter->font();
            bold.setBold(true);
            painter->setFont(bold);
            QProxyStyle::drawControl(element, option, painter, widget);
            painter->restore();
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        QSize s = QProxyStyle::sizeFromContents(type, option, size, widget);
        if (type == CT_MenuBarItem && IsDefault(option)) {
            const auto* item = static_cast<const QStyleOptionMenuItem*>(option);
            QFont bold = item->font;
            bold.setBold(true);
            s.rwidth() += QFontMetrics(bold).horizontalAdvance(item->text) -
                          QFontMetrics(item->font).horizontalAdvance(item->text);
        }
        return s;
    }

private:
    bool IsDefault(const QStyleOption* option) const
    {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        return item && m_default && item->text == m_default->text();
    }

    QAction* m_default;
};

// A hint is "tool tip|status text"; one without the bar serves for both.
void SetHint(QAction* action, const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

} // namespace

TAppForm::TAppForm(std::shared_ptr<IDialogs> dialogs, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs ? std::move(dialogs) : std::make_shared<QtDialogs>())
{
    setObjectName(QStringLiteral("AppForm"));
    m_document = std::make_unique<TextDocument>();
    Memo1 = new TMemo(m_document->Bytes(), this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    m_baseFont = font;
    Memo1->setFont(font);
    Memo1->SetWordWrap(false);
    Memo1->installEventFilter(this);
    setCentralWidget(Memo1);
    setAcceptDrops(true); // the desktop may drop files on the window, and on the text
    // QMainWindow's own popup on the menu, tool and status bars would hide the tool bar behind
    // View > Tool Bar's back.
    setContextMenuPolicy(Qt::NoContextMenu);

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();

    TextDocument& doc = *m_document;
    connect(&doc, &TextDocument::Changed, this, [this] { Memo1Change(); });
    connect(&doc, &TextDocument::ModifiedChanged, this, &TAppForm::ShowModified);
    connect(&doc, &TextDocument::EncodingChanged, this, &TAppForm::ShowEncoding);
    connect(&doc, &TextDocument::UndoStateChanged, this, &TAppForm::UpdateEditActions);
    connect(Memo1, &TMemo::SelectionChanged, this, &TAppForm::UpdateEditActions);
    connect(Memo1, &TMemo::UndoRequested, this, [this] { RunGuarded([this] { EditUndo1Execute(); }); });
    connect(Memo1, &TMemo::RedoRequested, this, [this] { RunGuarded([this] { EditRedo1Execute(); }); });
    connect(Memo1, &TMemo::ZoomRequested, this, [this](int steps) { RunGuarded([this, steps] { ZoomBy(steps); }); });
    // After the drop has ended: the desktop's drag must not wait for the save prompt.
    connect(Memo1, &TMemo::FilesDropped, this, [this](const QStringList& paths) {
        RunGuarded([this, &paths] { DropFiles(paths); });
    }, Qt::QueuedConnection);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &TAppForm::UpdatePasteAction);

    FormCreate();
    StartRecovery();
    Separate = new TSeparate(this, *this);
    UpdateEditActions();
    UpdatePasteAction();
}

TAppForm::~TAppForm()
{
    // The view listens to the document: it goes first, while the document (a member) still
    // lives; left to QWidget, it would go after the members.
    delete Memo1;
    Memo1 = nullptr;
}

void TAppForm::CreateActions()
{
    auto make = [this](QAction*& slot, const char* name, const QString& caption, const QString& hint,
                       int image, void (TAppForm::*handler)()) {
        slot = new QAction(caption, this);
        slot->setObjectName(QString::fromLatin1(name));
        if (!hint.isEmpty())
            SetHint(slot, hint);
        if (image >= 0)
            slot->setIcon(ToolImage(image));
        if (handler) {
            QAction* action = slot;
            connect(action, &QAction::triggered, this, [this, action, handler] {
                // Check marks are the handlers' to set: undo the toggle of the click first.
                if (action->isCheckable())
                    action->setChecked(!action->isChecked());
                RunGuarded([this, handler] { (this->*handler)(); });
            });
        }
        return slot;
    };

    make(FileNew1, "FileNew1", tr("&New"), tr("New|Create a new file"), 5,
         &TAppForm::FileNew1Execute)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    make(FileOpen1, "FileOpen1", tr("&Open"), tr("Open|Open a file"), 6,
         &TAppForm::FileOpen1Execute)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    make(FileSave1, "FileSave1", tr("&Save"), tr("Save|Save current file"), 7,
         &TAppForm::FileSave1Execute)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    make(FilePrint1, "FilePrint1", tr("&Print..."), tr("Print|Print current file"), 13,
         &TAppForm::FilePrint1Execute);
    make(FilePrintPreview1, "FilePrintPreview1", tr("Print Pre&view..."),
         tr("Print Preview|Show the pages as Print would print them"), -1,
         &TAppForm::FilePrintPreview1Execute);
    make(FilePrintSetup1, "FilePrintSetup1", tr("Print Set&up..."),
         tr("Print Setup|Display Print Setup dialog"), -1, &TAppForm::FilePrintSetup1Execute);
    make(FileSaveAsItem, "FileSaveAsItem", tr("Save &As..."),
         tr("Save As|Save current file with a new name"), -1, &TAppForm::FileSaveAsItemClick);
    make(FileExitItem, "FileExitItem", tr("E&xit"), tr("Exit|Exit application"), -1,
         &TAppForm::FileExit1Execute);

    make(EditUndo1, "EditUndo1", tr("&Undo"), tr("Undo|Revert the last action"), 3,
         &TAppForm::EditUndo1Execute)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    make(EditRedo1, "EditRedo1", tr("R&edo"), tr("Redo|Redo the last undone action"), 8,
         &TAppForm::EditRedo1Execute)
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    make(EditCut1, "EditCut1", tr("Cu&t"),
         tr("Cut|Cut the selection and put it on the Clipboard"), 0, nullptr)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    connect(EditCut1, &QAction::triggered, Memo1, &TMemo::Cut);
    make(EditCopy1, "EditCopy1", tr("&Copy"),
         tr("Copy|Copy the selection and put it on the Clipboard"), 1, nullptr)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    connect(EditCopy1, &QAction::triggered, Memo1, &TMemo::Copy);
    make(EditPaste1, "EditPaste1", tr("&Paste"), tr("Paste|Insert Clipboard contents"), 2,
         nullptr)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    connect(EditPaste1, &QAction::triggered, Memo1, &TMemo::Paste);
    make(EditDelete1, "EditDelete1", tr("&Delete"), tr("Delete|Erase the selection"), 4,
         nullptr);
    connect(EditDelete1, &QAction::triggered, Memo1, &TMemo::DeleteSelection);
    make(EditSelectAll1, "EditSelectAll1", tr("Select &All"),
         tr("Select All|Select the entire document"), -1, nullptr)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    connect(EditSelectAll1, &QAction::triggered, Memo1, &TMemo::SelectAll);

    make(Find1, "Find1", tr("&Find..."), tr("Find|Find a string in the text"), 11,
         &TAppForm::Find1Click)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    make(Replace1, "Replace1", tr("&Replace..."), tr("Replace|Replace a string in the text"),
         12, &TAppForm::Replace1Click)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    make(GoToLine1, "GoToLine1", tr("&Go To Line..."), tr("Go To Line|Move the caret to a line"),
         -1, &TAppForm::GoToLine1Click)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    make(Wordwrap1, "Wordwrap1", tr("&WordWrap"), tr("WordWrap|Wrap the lines"), -1,
         &TAppForm::Wordwrap1Click);
    make(StatusBar1, "StatusBar1", tr("&Status Bar"),
         tr("Status Bar|Display or hide Status Bar"), -1, &TAppForm::StatusBar1Click);
    make(ToolBar1, "ToolBar1", tr("&Tool Bar"), tr("Tool Bar|Display or hide Tool Bar"), -1,
         &TAppForm::ToolBar1Click);
    make(FullScreen1, "FullScreen1", tr("&Full Screen"), tr("Full Screen|Full Screen mode"),
         -1, &TAppForm::FullScreen1Click)->setShortcut(QKeySequence(Qt::Key_F11));
    make(ZoomIn1, "ZoomIn1", tr("Zoom &In"), tr("Zoom In|Make the text larger"), -1,
         &TAppForm::ZoomIn1Click)
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    make(ZoomOut1, "ZoomOut1", tr("Zoom &Out"), tr("Zoom Out|Make the text smaller"), -1,
         &TAppForm::ZoomOut1Click)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    make(ResetZoom1, "ResetZoom1", tr("&Reset Zoom"),
         tr("Reset Zoom|Show the text in its font's own size"), -1, &TAppForm::ResetZoom1Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    make(BackgroundColor1, "BackgroundColor1", tr("&Background Color..."),
         tr("Background Color|Change the background color"), -1, &TAppForm::BackgroundColor1Click);
    make(FontProperties1, "FontProperties1", tr("&Font Properties..."),
         tr("Font Properties|Change the font properties"), -1, &TAppForm::FontProperties1Click);
    make(UndoHistory1, "UndoHistory1", tr("Undo &History"),
         tr("Undo History|Keep every change for Undo and Redo"), -1, &TAppForm::UndoHistory1Click);

    make(N8, "N8", QStringLiteral(" "), QString(), -1, &TAppForm::N8Click);
    make(N9, "N9", QStringLiteral(" "), QString(), -1, &TAppForm::N9Click);
    make(N10, "N10", QStringLiteral(" "), QString(), -1, &TAppForm::N10Click);
    make(N11, "N11", QStringLiteral(" "), QString(), -1, &TAppForm::N11Click);
    make(N12, "N12", QStringLiteral(" "), QString(), -1, &TAppForm::N12Click);
    make(N13, "N13", QStringLiteral(" "), QString(), -1, &TAppForm::N13Click);
    make(Analyzethetext1, "Analyzethetext1", tr("Analyze Text..."),
         tr("Analyze|Analyze the text statistically"), 14, &TAppForm::Analyzethetext1Click);
    make(Extract1, "Extract1", tr("&Extract Text..."),
         tr("Extract Text|Extract something from the text"), -1, &TAppForm::Extract1Click);
    make(GenerateWordList1, "GenerateWordList1", tr("Generate Word List"), QString(), -1,
         &TAppForm::GenerateWordList1Click);
    make(oBeginningOfLines1, "oBeginningOfLines1", tr("To Beginning Of Lines"), QString(), -1,
         &TAppForm::oBeginningOfLines1Click);
    make(oEndOfLines1, "oEndOfLines1", tr("To End Of Lines"), QString(), -1,
         &TAppForm::oEndOfLines1Click);
    make(KeyPressSimulator1, "KeyPressSimulator1", tr("&KeyPress Simulator"),
         tr("KeyPress Simulator|Press random keys and write the text correctly"), -1,
         &TAppForm::KeyPressSimulator1Click);
    make(All1, "All1", tr("&All"), QString(), -1, &TAppForm::All1Click);
    make(Selected1, "Selected1", tr("&Selected"), QString(), -1, &TAppForm::Selected1Click);
    make(All2, "All2", tr("&All"), QString(), -1, &TAppForm::All2Click);
    make(Selected2, "Selected2", tr("&Selected"), QString(), -1, &TAppForm::Selected2Click);
    make(RandomizeLines1, "RandomizeLines1", tr("Randomize Lines"), QString(), -1,
         &TAppForm::RandomizeLines1Click);
    make(SeparateLines1, "SeparateLines1", tr("Separate Lines..."), QString(), -1,
         &TAppForm::SeparateLines1Click);
    make(SortLines1, "SortLines1", tr("Sort Lines"), QString(), -1, &TAppForm::SortLines1Click);
    make(rimBoth1, "rimBoth1", tr("Trim Both"), QString(), -1, &TAppForm::rimBoth1Click);
    make(rimLeft1, "rimLeft1", tr("Trim Left"), QString(), -1, &TAppForm::rimLeft1Click);
    make(rimRight1, "rimRight1", tr("Trim Right"), QString(), -1, &TAppForm::rimRight1Click);
    make(VersionHistory1, "VersionHistory1", tr("&Version History"),
         tr("Version History|Display the version history"), -1, &TAppForm::VersionHistory1Click);
    make(HelpAboutItem, "HelpAboutItem", tr("&About..."), tr("About|Display program information"),
         -1, &TAppForm::HelpAbout1Execute);

    make(ToolButton12, "ToolButton12", tr("Find"), tr("Find|Find a string in the text"), 11,
         &TAppForm::ToolButton12Click);
    make(ToolButton13, "ToolButton13", tr("Replace"),
         tr("Replace|Replace a string in the text"), 12, &TAppForm::ToolButton13Click);
    make(ToolButton15, "ToolButton15", tr("Analyze"),
         tr("Analyze|Analyze the text statistically"), 14, &TAppForm::ToolButton15Click);

    for (QAction* check : {Wordwrap1, StatusBar1, ToolBar1, FullScreen1, KeyPressSimulator1, UndoHistory1})
        check->setCheckable(true);
}

void TAppForm::CreateMenus()
{
    auto menu = [this](const char* name, const QString& caption, const QString& hint) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setStatusTip(hint);
        m->setToolTipsVisible(false);
        return m;
    };
    QMenu* file = menu("File1", tr("&File"), tr("File related commands"));
    file->addAction(FileNew1);
    file->addAction(FileOpen1);
    file->addAction(FileSave1);
    file->addAction(FileSaveAsItem);
    CreateRecentFilesMenu(file);
    CreateEncodingMenu(file);
    CreateLineBreaksMenu(file);
    file->addSeparator();
    file->addAction(FilePrintSetup1);
    file->addAction(FilePrint1);
    file->addAction(FilePrintPreview1);
    file->addSeparator();
    file->addAction(FileExitItem);

    QMenu* edit = menu("Edit1", tr("&Edit"), tr("Edit commands"));
    edit->addAction(EditUndo1);
    edit->addAction(EditRedo1);
    edit->addSeparator();
    edit->addAction(EditCut1);
    edit->addAction(EditCopy1);
    edit->addAction(EditPaste1);
    edit->addAction(EditDelete1);
    edit->addSeparator();
    edit->addAction(Find1);
    edit->addAction(Replace1);
    edit->addAction(GoToLine1);
    edit->addSeparator();
    edit->addAction(EditSelectAll1);
    edit->addAction(Wordwrap1);

    QMenu* view = menu("View1", tr("&View"), tr("View related commands"));
    view->addAction(StatusBar1);
    view->addAction(ToolBar1);
    view->addSeparator();
    view->addAction(FullScreen1);
    view->addSeparator();
    view->addAction(ZoomIn1);
    view->addAction(ZoomOut1);
    view->addAction(ResetZoom1);

    QMenu* options = menu("Options1", tr("&Options"), tr("Options related commands"));
    options->addAction(BackgroundColor1);
    options->addAction(FontProperties1);
    options->addAction(UndoHistory1);

    QMenu* extra = menu("Extra1", tr("E&xtra!"), tr("Extra features"));
    auto* style = new DefaultItemMenuStyle(extra->menuAction());
    style->setParent(menuBar());
    menuBar()->setStyle(style);

    AddDate1 = extra->addMenu(tr("&Add Date"));
    AddDate1->setObjectName(QStringLiteral("AddDate1"));
    SetHint(AddDate1->menuAction(), tr("Add Date|Add date to the document"));
    for (QAction* item : {N8, N9, N10, N11, N12, N13})
        AddDate1->addAction(item);
    connect(AddDate1, &QMenu::aboutToShow, this, [this] { RunGuarded([this] { AddDate1Click(); }); });
    extra->addAction(Analyzethetext1);
    extra->addAction(Extract1);
    extra->addAction(GenerateWordList1);
    QMenu* insert = extra->addMenu(tr("Insert Text"));
    insert->setObjectName(QStringLiteral("InsertText1"));
    insert->addAction(oBeginningOfLines1);
    insert->addAction(oEndOfLines1);
    extra->addAction(KeyPressSimulator1);
    QMenu* lower = extra->addMenu(tr("Make &Lowercase"));
    lower->setObjectName(QStringLiteral("MakeLowercase1"));
    SetHint(lower->menuAction(), tr("Make Lowercase|Make the text lowercase"));
    lower->addAction(All1);
    lower->addAction(Selected1);
    QMenu* upper = extra->addMenu(tr("Make &Uppercase"));
    upper->setObjectName(QStringLiteral("MakeUppercaseABC1"));
    SetHint(upper->menuAction(), tr("Make Uppercase|Make the text uppercase"));
    upper->addAction(All2);
    upper->addAction(Selected2);
    extra->addAction(RandomizeLines1);
    extra->addAction(SeparateLines1);
    extra->addAction(SortLines1);
    QMenu* trim = extra->addMenu(tr("Trim Lines"));
    trim->setObjectName(QStringLiteral("rimLines1"));
    trim->addAction(rimBoth1);
    trim->addAction(rimLeft1);
    trim->addAction(rimRight1);

    QMenu* help = menu("Help1", tr("&Help"), tr("Help related commands"));
    help->addAction(VersionHistory1);
    help->addAction(HelpAboutItem);

    // The editor's context menu offers the edit commands.
    Memo1->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (QAction* a : {EditUndo1, EditRedo1, EditCut1, EditCopy1, EditPaste1, EditDelete1, EditSelectAll1})
        Memo1->addAction(a);
}

void TAppForm::CreateToolBar()
{
    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setMovable(false);
    ToolBar->setFloatable(false);
    ToolBar->setIconSize(QSize(16, 16));
    ToolBar->setFixedHeight(30);
    ToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, ToolBar);
    const std::pair<const char*, QAction*> buttons[] = {
        {"ToolButton9", FileNew1},   {"ToolButton1", FileOpen1},   {"ToolButton2", FileSave1},
        {"ToolButton7", FilePrint1}, {"ToolButton3", nullptr},     {"ToolButton10", EditUndo1},
        {"ToolButtonRedo", EditRedo1}, {"ToolButton8", nullptr},    {"ToolButton4", EditCut1},    {"ToolButton5", EditCopy1},
        {"ToolButton6", EditPaste1}, {"ToolButton11", nullptr},    {"ToolButton12", ToolButton12},
        {"ToolButton13", ToolButton13}, {"ToolButton14", nullptr}, {"ToolButton15", ToolButton15},
    };
    for (const auto& [name, action] : buttons) {
        if (!action) {
            ToolBar->addSeparator()->setObjectName(QString::fromLatin1(name));
            continue;
        }
        ToolBar->addAction(action);
        if (QWidget* w = ToolBar->widgetForAction(action)) {
            w->setObjectName(QString::fromLatin1(name));
            w->setFixedWidth(27);
        }
    }
}

void TAppForm::CreateStatusBar()
{
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(true);
    StatusBar->setFixedHeight(19 + 4);
    setStatusBar(StatusBar);
    const int widths[4] = {250, 55, 72, 72};
    const Qt::Alignment align[4] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignLeft, Qt::AlignLeft};
    const QString initial[4] = {QString(), QString(), tr("%1 Lines").arg(0), tr("%1 Bytes").arg(0)};
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(initial[i], StatusBar);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i));
        // The design widths were made for a smaller font: "Modified" gets the room it needs,
        // and the counters grow with their numbers, so that none is ever cut short.
        if (i == 1) {
            panel->setFixedWidth(std::max(widths[i], panel->fontMetrics().horizontalAdvance(tr("Modified")) + 10));
        } else if (i >= 2) {
            GrowWithText(panel, widths[i]);
        } else {
            // The hints are longer than the design width in Linux fonts: the hint panel takes
            // the free width, and a long hint never widens the window. In a narrow window it
            // gives way before a count would be cut.
            panel->setMinimumWidth(widths[i] * 2 / 5);
            panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        }
        panel->setAlignment(align[i] | Qt::AlignVCenter);
        if (i > 0)
            panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        StatusBar->addWidget(panel, i == 0 ? 1 : 0);
        m_panels[i] = panel;
    }
    AddPositionPanel();
    AddEncodingPanel();
    AddLineBreaksPanel();
}

// Right of the byte counter: how Save writes the document.
void TAppForm::AddEncodingPanel()
{
    auto* panel = new QLabel(QStringLiteral("Windows-1254"), StatusBar);
    panel->setObjectName(QStringLiteral("Panel4"));
    panel->setFixedWidth(panel->fontMetrics().horizontalAdvance(QStringLiteral("Windows-1254")) + 12);
    panel->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StatusBar->addWidget(panel);
    m_panels[4] = panel;
    ShowEncoding(m_document->Encoding());
}

bool TAppForm::event(QEvent* e)
{
    // Hints go to panel 0, not over the other panels as QStatusBar's message would.
    if (e->type() == QEvent::StatusTip) {
        m_panels[0]->setText(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

bool TAppForm::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == Memo1 && e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        bool used = false;
        RunGuarded([&] { used = Memo1KeyDown(key) || Memo1KeyPress(key); });
        if (used)
            return true;
    }
    return QMainWindow::eventFilter(watched, e);
}

void TAppForm::RunGuarded(const std::function<void()>& body)
{
    ++m_commandDepth;
    try {
        body();
    } catch (const CommandCancelled&) {
    } catch (const std::exception& error) {
        m_dialogs->Error(this, windowTitle(), QString::fromStdString(ErrorBoxText(error.what())));
    }
    // Keys typed while a save of this command ran come after all the command did.
    if (m_commandDepth == 1)
        while (const int handed = background_save::ReplayHeldInput())
            m_replayed += handed;
    --m_commandDepth;
}

// The caption is also the application title that the error box and notices carry. Qt's
// application display name must stay unset: Qt appends it to the title of every window.
void TAppForm::SetCaption(const QString& caption) { setWindowTitle(caption); }

void TAppForm::ShowModified(bool modified)
{
    m_panels[1]->setText(modified ? tr("Modified") : QString());
    if (!modified && m_recovery)
        m_recovery->Discard(); // saved, loaded or given up: the copy has nothing left to keep
}

void TAppForm::Memo1Change()
{
    m_panels[2]->setText(tr("%1 Lines").arg(m_document->Count()));
    m_panels[3]->setText(tr("%1 Bytes").arg(m_document->Length()));
    // A count is never cut: the panels widen with their text (and do not shrink back, so the
    // panels right of them stay put while the user types).
    for (QLabel* counter : {m_panels[2], m_panels[3]})
        if (const int wide = counter->sizeHint().width(); wide > counter->minimumWidth())
            counter->setMinimumWidth(wide);
    UpdateEditActions();
}

void TAppForm::UpdateEditActions()
{
    const bool selection = Memo1->HasSelection();
    EditUndo1->setEnabled(m_document->CanUndo());
    EditRedo1->setEnabled(m_document->CanRedo());
    EditCut1->setEnabled(selection);
    EditCopy1->setEnabled(selection);
    EditDelete1->setEnabled(selection);
    EditSelectAll1->setEnabled(m_document->Length() > 0);
}

void TAppForm::EditUndo1Execute() { ShowUndone(m_document->Undo()); }

void TAppForm::EditRedo1Execute() { ShowUndone(m_document->Redo()); }

void TAppForm::ShowUndone(const ByteDocument::Undone& done)
{
    if (done.start < 0)
        return;
    Memo1->SetSelection(done.selStart, done.selLength);
    Memo1->EnsureCaretVisible();
}

void TAppForm::UndoHistory1Click()
{
    const bool on = !UndoHistory1->isChecked();
    m_store->WriteUndoHistory(on);
    m_options.undoHistory = on;
    UndoHistory1->setChecked(on);
    m_document->SetKeepHistory(on);
}

// Apart from the others: asking the clipboard may mean a round trip to the display server,
// which a typed key must not pay.
void TAppForm::UpdatePasteAction()
{
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    EditPaste1->setEnabled(clip && clip->hasText());
}

void TAppForm::ApplyStartSize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize s = screen->geometry().size();
    // The width is taken from the screen's height, as the program always did.
    const QSize client(s.height(), s.width() / 2);
    resize(client);
    QRect r = frameGeometry();
    r.moveCenter(screen->geometry().center());
    move(r.topLeft());
}

void TAppForm::FormCreate()
{
    m_simulator = {};
    SetCaption(AppTitle);
    ApplyStartSize();
    SettingsIni = std::make_unique<TIniFile>(ProgramFilePath(ProgramFile::SettingsIni));
    m_store = std::make_unique<OptionsStore>(*SettingsIni);
    ApplyOptions();
}

void TAppForm::ApplyOptions()
{
    m_options = m_store->Read();
    Wordwrap1->setChecked(m_options.wordWrap);
    ApplyWordWrap(m_options.wordWrap);
    StatusBar1->setChecked(m_options.statusBar);
    StatusBar->setVisible(m_options.statusBar);
    ToolBar1->setChecked(m_options.toolBar);
    ToolBar->setVisible(m_options.toolBar);
    UndoHistory1->setChecked(m_options.undoHistory);
    m_document->SetKeepHistory(m_options.undoHistory);
    ApplyZoom();
    ShowRecentFiles();
    RunGuarded([this] {
        if (!m_options.backgroundColor.empty())
            SetMemoBackground(colors::FromSettingText(m_options.backgroundColor));
    });
}

void TAppForm::FormShow(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return;
    QString path;
    for (const QString& argument : arguments)
        path += u' ' + argument;
    auto trim = [](const QString& s) {
        qsizetype a = 0, b = s.size();
        while (a < b && s[a].unicode() <= 32)
            ++a;
        while (b > a && s[b - 1].unicode() <= 32)
            --b;
        return s.mid(a, b - a);
    };
    // No lower-casing: on a case-sensitive file system it would name another file.
    const QString shortPath = trim(ToShortPathName(trim(path)));
    RunGuarded([&] {
        // The name is taken only once the file has loaded, so a failed load leaves the
        // window untitled rather than pointing Save at a file that never opened.
        m_document->Load(shortPath.isEmpty() ? trim(path) : shortPath);
        m_document->SetFileName(shortPath);
        m_document->SetStamp(shortPath, m_document->Stamp());
        SetTitleForFile();
        RememberFileStamp(shortPath, m_document->Stamp());
        NoteRecentFile(shortPath);
    });
}

void TAppForm::closeEvent(QCloseEvent* e)
{
    bool mayClose = false;
    const int replayed = m_replayed;
    RunGuarded([&] { mayClose = FormCloseQuery(); });
    if (mayClose && m_replayed != replayed && m_document->Modified()) {
        // Typed while the close query's save ran: asked about again rather than lost.
        QMetaObject::invokeMethod(this, [this] { close(); }, Qt::QueuedConnection);
        mayClose = false;
    }
    if (!mayClose) {
        e->ignore();
        return;
    }
    FormClose();
    e->accept();
}

void TAppForm::FormClose()
{
    if (m_recovery)
        m_recovery->Closing();
    DeleteFileQuietly(ProgramFilePath(ProgramFile::Temp002));
    DeleteFileQuietly(ProgramFilePath(ProgramFile::Temp003));
}

#pragma once

#include "app/Options.h"
#include "document/ByteDocument.h"
#include "commands/ui/SeparateHost.h"
#include "document/StringList.h"
#include "extract/ui/ExtractHost.h"

#include <QFont>
#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QToolBar;
class QKeyEvent;
class QPrinter;
class QStatusBar;
class IDialogs;
class TextDocument;
class TIniFile;
class TMemo;
class TSeparate;
class TRecovery;
struct DocumentEdit;
struct FileEncoding;
struct FileStamp;
struct LineResult;
enum class TrimSide;
enum class DateStamp;

// The main window: it wires the document, its view and the commands together. The document
// (text, file, encoding, modified flag, undo) lives in TextDocument; the window only shows it.
// Its handlers are split by subsystem over the MainWindow*.cpp files: files and start-up here
// and in MainFiles.cpp, view and printing in MainView.cpp, find, date stamps and the simulator
// in MainEditing.cpp, line commands in MainLineCommands.cpp, analysis in MainAnalysis.cpp,
// extraction in MainExtract.cpp, recovery in MainRecovery.cpp, Go To Line and the caret's
// position in MainNavigation.cpp and the recent files in MainRecentFiles.cpp. Tests reach the
// actions by their object names.
class TAppForm : public QMainWindow, public ExtractHost, public SeparateHost {
    Q_OBJECT
public:
    // `dialogs` answers every dialog and message box; the default shows the real ones.
    explicit TAppForm(std::shared_ptr<IDialogs> dialogs = {}, QWidget* parent = nullptr);
    ~TAppForm() override;

    TextDocument& Document() const { return *m_document; }
    TMemo& Editor() const { return *Memo1; }
    IDialogs& Dialogs() const { return *m_dialogs; }
    QLabel* StatusPanel(int index) const { return m_panels[index]; }
    // The settings as the window applied them.
    const Options& CurrentOptions() const { return m_options; }

    // Start-up after the window is shown: the offer of a copy left by a run that died, then
    // the command line's file.
    void Start(const QStringList& arguments);
    // The part of start-up that reads the command line.
    void FormShow(const QStringList& arguments);
    // The close query when the desktop session ends: false keeps the session (and the window).
    bool SessionEndQuery();
    // Paths dropped by the desktop, in their order.
    void DropFiles(const QStringList& paths);
    // Makes the file the document (the name is taken only once it has loaded).
    void LoadDocument(const QString& path);
    TRecovery& Recovery() const { return *m_recovery; }
    // Runs a handler's body; an exception ends it and shows the standard error box.
    void RunGuarded(const std::function<void()>& body) override;
    // Inserts `text` at the caret (a selection stays behind it) and moves the caret by `advance`.
    void Add(std::string_view text, std::int64_t advance,
             ByteDocument::Undo undo = ByteDocument::Undo::History);
    // The editor's background as a settings colour value.
    std::uint32_t MemoBackground() const { return m_memoBackground; }
    // The printer of the run: what Print Setup and the print dialog chose stays for the next job.
    QPrinter& Printer();

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    friend class TRecovery;

    // --- start-up and the document (MainWindow.cpp) ---
    void FormCreate();
    bool FormCloseQuery();
    void FormClose();
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void AddEncodingPanel();
    void ApplyOptions();
    // Client size from the screen: width from its height, height from half its width.
    void ApplyStartSize();
    void SetCaption(const QString& caption);
    void Memo1Change();
    void ShowModified(bool modified);
    void UpdateEditActions();
    void UpdatePasteAction();
    void EditUndo1Execute();
    void EditRedo1Execute();
    // Selects what an Undo or Redo gave back and scrolls to it.
    void ShowUndone(const ByteDocument::Undone& done);
    void UndoHistory1Click();

    // --- files (MainFiles.cpp) ---
    void SaveDocument(const QString& path);
    void SetTitleForFile();
    void ResetToUntitled();
    void FileNew1Execute();
    void FileOpen1Execute();
    void FileSave1Execute();
    void FileSaveAsItemClick();
    void SaveAs();
    void FileExit1Execute();
    // The save prompt of New, Open, drop, closing, reopening and the session's end. Yes saves
    // (an untitled document to a chosen path; `nameDocument` makes that the document's name).
    // True when the caller may go on.
    bool MaybeSave(bool closing, bool nameDocument);
    QString SavePromptText(bool closing) const;
    // Save dialog without presetting its name (it keeps what it held last).
    std::optional<QString> AskSavePathUnpreset();
    static QString WithDefaultExtension(const QString& path);
    // The Open dialog's name: as typed when that names something, else with ".txt".
    static QString OpenDialogPath(const QString& typed);
    // ExtractHost: the script's result replaces the document.
    void LoadTextFile(const QString& path) override;

    // --- encoding (MainEncoding.cpp) ---
    void CreateEncodingMenu(QMenu* file);
    void ShowEncoding(const FileEncoding& encoding);
    void ChooseEncoding(bool utf8);
    void ReopenAs(bool utf8);

    // --- line breaks (MainLineBreaks.cpp) ---
    void CreateLineBreaksMenu(QMenu* file);
    void AddLineBreaksPanel();
    void ShowLineBreaks(const FileEncoding& encoding);
    void ChooseLineBreaks(bool lf);

    // --- view, appearance, printing, help (MainView.cpp) ---
    void Wordwrap1Click();
    void StatusBar1Click();
    void ToolBar1Click();
    void FullScreen1Click();
    void BackgroundColor1Click();
    void FontProperties1Click();
    void FilePrint1Execute();
    void FilePrintPreview1Execute();
    // Print's pages on `printer`; what goes wrong becomes "Printer not found!".
    void PrintPages(QPrinter& printer, const QString& title);
    QString PrintTitle() const;
    void FilePrintSetup1Execute();
    void VersionHistory1Click();
    void HelpAbout1Execute();
    // Esc in the editor; true when the key was used.
    bool Memo1KeyDown(QKeyEvent* key);
    void ApplyWordWrap(bool on);
    void SetMemoBackground(std::uint32_t colorValue);
    // Zoom: points added to the font of Font Properties, the size kept from 4 to 96 points.
    void ZoomIn1Click();
    void ZoomOut1Click();
    void ResetZoom1Click();
    void ZoomBy(int steps);
    void SetZoom(int points);
    void ApplyZoom();
    double BasePoints() const;
    // The colour a settings colour value stands for (system colours from the palette).
    QColor ColorOfValue(std::uint32_t colorValue) const;

    // --- find, replace, date stamps, simulator (MainEditing.cpp) ---
    void Find1Click();
    void Replace1Click();
    void ToolButton12Click();
    void ToolButton13Click();
    void FindDialog1Find();
    void ReplaceDialog1Find();
    void ReplaceDialog1Replace();
    void ReplaceDialog1ReplaceAll();
    // Searches from the selection; selects what it finds, the keys staying in the dialog.
    void FindWith(const QString& text, const struct FindOptions& options);
    void SelectFound(const struct TextSelection& found);
    void ShowSelectionForDialogs();
    void FindDialogClosed();
    // Both dialogs are created when first shown and then live as long as the window, so they
    // keep their texts for the whole run.
    class TFindDialog& FindDialog();
    class TReplaceDialog& ReplaceDialog();
    void AddDate1Click();
    void AddStamp(DateStamp stamp);
    void N8Click();
    void N9Click();
    void N10Click();
    void N11Click();
    void N12Click();
    void N13Click();
    void KeyPressSimulator1Click();
    // A character key in the editor; true when the simulator swallowed it.
    bool Memo1KeyPress(QKeyEvent* key);
    // Stops the simulator and gives the document its text back (New and Open begin so).
    void StopSimulator();

    // --- line commands (MainLineCommands.cpp) ---
    void SortLines1Click();
    void RandomizeLines1Click();
    void rimBoth1Click();
    void rimLeft1Click();
    void rimRight1Click();
    void All1Click();
    void Selected1Click();
    void All2Click();
    void Selected2Click();
    void SeparateLines1Click();
    void oBeginningOfLines1Click();
    void oEndOfLines1Click();
    void ShowSeparate(const char* mode);
    // SeparateHost: the dialog's OK runs the operation of SeparateMode with the entered text.
    void ApplySeparateMode(const std::string& text) override;
    QString LineParameterMode() const override { return SeparateMode; }
    // A whole-document command's result, as one change of the document.
    void WriteLines(LineResult&& result);
    void TrimLines(TrimSide side);
    void ConvertAll(std::string (*convert)(std::string_view));
    void ConvertSelected(std::string (*convert)(std::string_view));

    // --- analysis (MainAnalysis.cpp) ---
    void ToolButton15Click();
    void Analyzethetext1Click();
    void GenerateWordList1Click();

    // --- extraction (MainExtract.cpp) ---
    void Extract1Click();
    int DocumentLineCount() const override;
    std::string DocumentLine(int i) const override;
    void ShowNotice(QWidget* over, const QString& text) override;

    // --- Go To Line and the caret's position (MainNavigation.cpp) ---
    void GoToLine1Click();
    void AddPositionPanel();
    void ShowCaretPosition();
    // A status panel at least `minimum` pixels wide that grows with its text, so that no
    // count is ever cut.
    static void GrowWithText(QLabel* panel, int minimum);

    // --- recent files (MainRecentFiles.cpp) ---
    void CreateRecentFilesMenu(QMenu* file);
    void ShowRecentFiles();
    // Puts the file first in File > Recent Files (opening, saving as and dropping do).
    void NoteRecentFile(const QString& path);
    void ForgetRecentFile(const QString& path);
    void WriteRecentFiles();
    void OpenRecentFile(int index);
    void ClearRecentFiles1Click();

    // --- recovery copies and files changed on disk (MainRecovery.cpp) ---
    void StartRecovery();
    // True when the user took a recovery copy back into the document.
    bool OfferRecovery();
    // Window activation: says once that the file changed or went behind the editor's back.
    void CheckFileOnDisk();
    // Before a Save writes over a file another program changed: asks; No throws CommandCancelled.
    void ConfirmOverwrite(const QString& path);
    void NoteSaved(const QString& path);
    void RememberFileStamp(const QString& path, const FileStamp& stamp);

    // --- state ---
    std::shared_ptr<IDialogs> m_dialogs;
    int m_commandDepth = 0; // RunGuarded's nesting
    int m_replayed = 0;     // events held during saves and handed on since
    std::unique_ptr<TextDocument> m_document;
    std::unique_ptr<TIniFile> SettingsIni;
    std::unique_ptr<OptionsStore> m_store;
    Options m_options;
    std::unique_ptr<TRecovery> m_recovery;
    std::shared_ptr<QPrinter> m_printer;
    QString AppTitle = QStringLiteral("Quorlex");
    QString m_lastSaveName;
    QPoint m_positionBeforeFullScreen;
    QFont m_baseFont; // the editor's font before the zoom: the design font or Font Properties'
    std::uint32_t m_memoBackground = 0xFF000005u;
    // "separate", "insertbeginning" or "insertend": set just before the dialog is shown.
    QString SeparateMode;
    // The KeyPress simulator: while on, typed keys write the document's old text back.
    struct Simulator {
        bool on = false;
        StringList list;
        std::string text;
        std::int64_t pos = 0;
    } m_simulator;

    // --- components, named as in the stored layout ---
    TMemo* Memo1 = nullptr;
    TSeparate* Separate = nullptr; // the line-parameter dialog, created at start-up
    class TExtract* Extract = nullptr; // the window of the last use, hidden once closed
    class TFindDialog* FindDialog1 = nullptr;
    class TReplaceDialog* ReplaceDialog1 = nullptr;
    QToolBar* ToolBar = nullptr;
    QStatusBar* StatusBar = nullptr;
    QLabel* m_panels[6] = {};
    QLabel* m_positionPanel = nullptr; // "Ln %d, Col %d", after the byte counter
    QAction *FileNew1 = nullptr, *FileOpen1 = nullptr, *FileSave1 = nullptr, *FilePrint1 = nullptr,
            *FilePrintSetup1 = nullptr;
    QAction *EditUndo1 = nullptr, *EditRedo1 = nullptr, *EditCut1 = nullptr, *EditCopy1 = nullptr,
            *EditPaste1 = nullptr, *EditDelete1 = nullptr, *EditSelectAll1 = nullptr;
    QAction *FileSaveAsItem = nullptr, *FileExitItem = nullptr;
    QAction *Find1 = nullptr, *Replace1 = nullptr, *Wordwrap1 = nullptr;
    QAction *StatusBar1 = nullptr, *ToolBar1 = nullptr, *FullScreen1 = nullptr;
    QAction *BackgroundColor1 = nullptr, *FontProperties1 = nullptr, *UndoHistory1 = nullptr;
    QMenu* AddDate1 = nullptr;
    QAction *N8 = nullptr, *N9 = nullptr, *N10 = nullptr, *N11 = nullptr, *N12 = nullptr, *N13 = nullptr;
    QAction *Analyzethetext1 = nullptr, *Extract1 = nullptr, *GenerateWordList1 = nullptr;
    QAction *oBeginningOfLines1 = nullptr, *oEndOfLines1 = nullptr, *KeyPressSimulator1 = nullptr;
    QAction *All1 = nullptr, *Selected1 = nullptr, *All2 = nullptr, *Selected2 = nullptr;
    QAction *RandomizeLines1 = nullptr, *SeparateLines1 = nullptr, *SortLines1 = nullptr;
    QAction *rimBoth1 = nullptr, *rimLeft1 = nullptr, *rimRight1 = nullptr;
    QAction *VersionHistory1 = nullptr, *HelpAboutItem = nullptr;
    QAction *ToolButton12 = nullptr, *ToolButton13 = nullptr, *ToolButton15 = nullptr;
    QAction *GoToLine1 = nullptr, *FilePrintPreview1 = nullptr;
    QAction *ZoomIn1 = nullptr, *ZoomOut1 = nullptr, *ResetZoom1 = nullptr;
    QMenu* RecentFiles1 = nullptr;
    QAction* m_recentItems[Options::kRecentFiles] = {};
    QAction* ClearRecentFiles1 = nullptr;
    QAction *EncodingUtf81 = nullptr, *EncodingWindows12541 = nullptr;
    QAction *ReopenUtf81 = nullptr, *ReopenWindows12541 = nullptr;
    QAction *LineBreaksWindows1 = nullptr, *LineBreaksUnix1 = nullptr;
};

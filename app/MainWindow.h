#pragma once

#include "commands/ui/SeparateHost.h"
#include "document/StringList.h"
#include "extract/ui/ExtractHost.h"
#include "platform/IniFile.h"

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
class TMemo;
class TSeparate;

// The main window. Its handlers are split by subsystem over the MainWindow*.cpp files:
// files and start-up here and in MainFiles.cpp, view and printing in MainView.cpp, find,
// date stamps and the simulator in MainEditing.cpp, line commands in MainLineCommands.cpp,
// analysis in MainAnalysis.cpp and extraction in MainExtract.cpp.
class TAppForm : public QMainWindow, public ExtractHost, public SeparateHost {
    Q_OBJECT
public:
    // `dialogs` answers every dialog and message box; the default shows the real ones.
    explicit TAppForm(std::shared_ptr<IDialogs> dialogs = {}, QWidget* parent = nullptr);
    ~TAppForm() override;

    // --- the document (shared by every subsystem) ---
    TMemo* Memo1 = nullptr;
    QString AppTitle = QStringLiteral("Quorlex");
    QString CurrentFileName;

    bool IsModified() const;
    void SetModified(bool modified);
    IDialogs& Dialogs() const { return *m_dialogs; }
    TIniFile& Settings() const { return *SettingsIni; }
    // Runs a handler's body; an exception ends it and shows the standard error box.
    void RunGuarded(const std::function<void()>& body) override;
    // Caption, and with it the application title.
    void SetCaption(const QString& caption);

    // Part of start-up that reads the command line (the event of the window's first show).
    void FormShow(const QStringList& arguments);
    // The close query when the desktop session ends: false keeps the session (and the window).
    bool SessionEndQuery();

    // Document operations.
    void LoadTextFile(const QString& path) override;
    void LoadDocument(const QString& path);
    void SaveDocument(const QString& path);
    void SetTitleForFile();
    void ResetToUntitled();

    // File commands.
    void FileNew1Execute();
    void FileOpen1Execute();
    void FileSave1Execute();
    void FileSaveAsItemClick();
    void SaveAs();
    void FileExit1Execute();
    // Paths dropped by the desktop, in their order.
    void DropFiles(const QStringList& paths);

    // How the document's file is written: its bytes, or UTF-8 (with or without a mark). Files
    // the user opens are read as UTF-8 when they are UTF-8 of the code page's characters.
    struct FileEncoding {
        bool utf8 = false;
        bool byteOrderMark = false;
    };
    FileEncoding Encoding() const { return m_encoding; }
    void SetEncoding(FileEncoding encoding);
    // Reads a file the user opens into the document; `asUtf8` forces the reading (true fails
    // with the reason when the file is not UTF-8 the document can hold).
    void LoadUserFile(const QString& path, std::optional<bool> asUtf8 = std::nullopt);
    // The bytes Save writes for the document.
    std::string FileBytesOfDocument() const;
    void ChooseEncoding(bool utf8);
    void ReopenAs(bool utf8);
    QAction *EncodingUtf81 = nullptr, *EncodingWindows12541 = nullptr;
    QAction *ReopenUtf81 = nullptr, *ReopenWindows12541 = nullptr;

    // Status bar.
    void Memo1Change();
    QLabel* StatusPanel(int index) const { return m_panels[index]; }

    // --- view, appearance, printing, help (MainView.cpp) ---
    void Wordwrap1Click();
    void StatusBar1Click();
    void ToolBar1Click();
    void FullScreen1Click();
    void BackgroundColor1Click();
    void FontProperties1Click();
    void FilePrint1Execute();
    void FilePrintSetup1Execute();
    void VersionHistory1Click();
    void HelpAbout1Execute();
    // Esc in the editor; true when the key was used.
    bool Memo1KeyDown(QKeyEvent* key);
    // Applies the word-wrap state to the editor (scroll bars and wrapping).
    void ApplyWordWrap(bool on);
    // The editor's background from a settings colour value.
    void SetMemoBackground(std::uint32_t colorValue);
    std::uint32_t MemoBackground() const { return m_memoBackground; }
    // view-section members may be added here
    // The printer of the run: what Print Setup and the print dialog chose stays for the next job.
    QPrinter& Printer();
    // The colour a settings colour value stands for (system colours from the palette).
    QColor ColorOfValue(std::uint32_t colorValue) const;
    std::shared_ptr<QPrinter> m_printer;
    QPoint m_positionBeforeFullScreen;

    // --- find, replace, date stamps, simulator (MainEditing.cpp) ---
    void Find1Click();
    void Replace1Click();
    void ToolButton12Click();
    void ToolButton13Click();
    void Add(const std::string& text, std::int64_t advance);
    void AddDate1Click();
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
    StringList SimulatorList;
    std::string SimulatorText;
    std::int64_t SimulatorPos = 0;
    // editing-section members may be added here
    // The buttons of the Find and Replace dialogs.
    void FindDialog1Find();
    void ReplaceDialog1Find();
    void ReplaceDialog1Replace();
    // Both dialogs are created when first shown and then live as long as the window, so they
    // keep their texts for the whole run.
    class TFindDialog& FindDialog();
    class TReplaceDialog& ReplaceDialog();
    class TFindDialog* FindDialog1 = nullptr;
    class TReplaceDialog* ReplaceDialog1 = nullptr;

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
    TSeparate* Separate = nullptr; // the line-parameter dialog, created at start-up
    // line-command members may be added here
    // "separate", "insertbeginning" or "insertend": set just before the dialog is shown.
    QString SeparateMode;
    // The dialog's OK: the operation of SeparateMode, with the entered text, on the document.
    void ApplySeparateMode(const std::string& text) override;
    QString LineParameterMode() const override { return SeparateMode; }

    // --- analysis (MainAnalysis.cpp) ---
    void ToolButton15Click();
    void Analyzethetext1Click();
    void GenerateWordList1Click();
    // analysis members may be added here

    // --- recovery copies and files changed on disk (MainRecovery.cpp) ---
    // Start-up after the window is shown: the offer of a copy left by a run that died, then
    // the command line's file.
    void Start(const QStringList& arguments);
    // True when the user took a recovery copy back into the document.
    bool OfferRecovery();
    // Window activation: says once that the file changed or went behind the editor's back.
    void CheckFileOnDisk();
    class TRecovery& Recovery() const { return *m_recovery; }

private:
    void StartRecovery();
    void DiscardRecovery();
    void RememberFileStamp(const struct FileStamp& stamp);
    // Before a Save writes over a file another program changed: asks; No throws SaveCancelled.
    void ConfirmOverwrite(const QString& path);
    void NoteSaved(const QString& path);
    std::unique_ptr<class TRecovery> m_recovery;

public:
    // --- extraction (MainExtract.cpp) ---
    void Extract1Click();
    // extraction members may be added here
    // What the Extract Text window reads and shows through its host.
    int DocumentLineCount() const override;
    std::string DocumentLine(int i) const override;
    void ShowNotice(QWidget* over, const QString& text) override;
    class TExtract* Extract = nullptr; // the window of the last use, hidden once closed

    // Components, named as in the stored layout.
    QToolBar* ToolBar = nullptr;
    QStatusBar* StatusBar = nullptr;
    QAction *FileNew1 = nullptr, *FileOpen1 = nullptr, *FileSave1 = nullptr, *FilePrint1 = nullptr,
            *FilePrintSetup1 = nullptr;
    QAction *EditUndo1 = nullptr, *EditCut1 = nullptr, *EditCopy1 = nullptr, *EditPaste1 = nullptr,
            *EditDelete1 = nullptr, *EditSelectAll1 = nullptr;
    QAction *FileSaveAsItem = nullptr, *FileExitItem = nullptr;
    QAction *Find1 = nullptr, *Replace1 = nullptr, *Wordwrap1 = nullptr;
    QAction *StatusBar1 = nullptr, *ToolBar1 = nullptr, *FullScreen1 = nullptr;
    QAction *BackgroundColor1 = nullptr, *FontProperties1 = nullptr;
    QMenu* AddDate1 = nullptr;
    QAction *N8 = nullptr, *N9 = nullptr, *N10 = nullptr, *N11 = nullptr, *N12 = nullptr, *N13 = nullptr;
    QAction *Analyzethetext1 = nullptr, *Extract1 = nullptr, *GenerateWordList1 = nullptr;
    QAction *oBeginningOfLines1 = nullptr, *oEndOfLines1 = nullptr, *KeyPressSimulator1 = nullptr;
    QAction *All1 = nullptr, *Selected1 = nullptr, *All2 = nullptr, *Selected2 = nullptr;
    QAction *RandomizeLines1 = nullptr, *SeparateLines1 = nullptr, *SortLines1 = nullptr;
    QAction *rimBoth1 = nullptr, *rimLeft1 = nullptr, *rimRight1 = nullptr;
    QAction *VersionHistory1 = nullptr, *HelpAboutItem = nullptr;
    QAction *ToolButton12 = nullptr, *ToolButton13 = nullptr, *ToolButton15 = nullptr;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void FormCreate();
    bool FormCloseQuery();
    void FormClose();
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreateEncodingMenu(QMenu* file);
    void AddEncodingPanel();
    void UpdateEditActions();
    void UpdatePasteAction();
    void ReadOption(const char* key, QAction* mark, const std::function<void(bool)>& apply);
    // Client size from the screen: width from its height, height from half its width.
    void ApplyStartSize();
    QString SavePromptText(bool closing) const;
    // The save prompt of New, closing and start-up: Yes saves (an untitled document to a chosen
    // path, without naming the document after it). True when the caller may go on.
    bool AskToSaveKeepingName(bool closing);
    // Save dialog without presetting its name (it keeps what it held last).
    std::optional<QString> AskSavePathUnpreset();
    static QString WithDefaultExtension(const QString& path);

    std::shared_ptr<IDialogs> m_dialogs;
    std::unique_ptr<TIniFile> SettingsIni;
    QLabel* m_panels[5] = {};
    FileEncoding m_encoding;
    QString m_lastSaveName;
    std::uint32_t m_memoBackground = 0xFF000005u;
};

#pragma once

#include "extract/ExtractionScript.h"
#include "extract/ui/ExtractHost.h"
#include "extract/UrlFetch.h"

#include <QDialog>

#include <functional>

class QCloseEvent;
class QPushButton;
class QShowEvent;
class QUrl;
class ScriptEditor;

// The Extract Text window: the script editor, kept in "extractform.txt" as it is typed, and
// OK (run the script on the host's document), Abort and Help.
class TExtract : public QDialog {
    Q_OBJECT
public:
    enum ModalResult { mrOk = QDialog::Accepted, mrAbort = 3 };

    // `parent` owns the window; `host` (usually the same window) holds the document.
    TExtract(QWidget* parent, ExtractHost& host);

    // The editor's text until a saved script replaces it.
    static const char* const kSampleScript;

    ScriptEditor* Memo1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // OK
    QPushButton* BitBtn2 = nullptr; // Abort
    QPushButton* BitBtn3 = nullptr; // Help

    void FormShow();
    void Memo1Change();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();

    // The run's fetch (by default over the network, with a progress dialog that can cancel
    // it) and the desktop's handler for the help page; tests replace them.
    FetchOperation Fetch;
    std::function<void(const QUrl&)> OpenUrl;
    // The time limits of each fetch; tests shorten them.
    FetchLimits Limits;
    // The language the help page is opened in ("tr", "en" ...): the user's locale's until the
    // program sets the language it speaks.
    QString Language;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void FetchWithProgress(const std::string& url, const QString& path);

    ExtractHost& m_host;
    bool m_running = false; // a script is running: the window cannot be closed under it
    bool m_saveFailed = false; // the script file's write failure has been shown
};
